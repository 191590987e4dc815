# Shared by scripts/run, scripts/test and scripts/bench: install what a fresh
# Debian 12 machine lacks, build a preset, and keep one Wine prefix under build/.
# Every step checks first and does nothing when its work is already done.

set -euo pipefail

TWINSEEK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export DEBIAN_FRONTEND=noninteractive
export WINEPREFIX="$TWINSEEK_ROOT/build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono and no Gecko: a prefix made without network must not ask for them.
export WINEDLLOVERRIDES="mscoree,mshtml="

TWINSEEK_PACKAGES=(
  cmake make g++ googletest libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine64 xvfb xauth x11-utils locales
  fonts-ipafont-gothic fonts-wine imagemagick
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

log() { printf '== %s\n' "$*" >&2; }

install_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
}

ensure_japanese_locale() {
  if locale -a 2>/dev/null | grep -qx 'ja_JP.utf8'; then return 0; fi
  log "generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
}

install_dependencies() {
  install_packages "${TWINSEEK_PACKAGES[@]}"
  ensure_japanese_locale
}

# build_preset NAME [TARGET...]: configure (once) and build one CMake preset,
# or only the targets named.
build_preset() {
  local preset=$1
  shift
  cd "$TWINSEEK_ROOT"
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    log "configuring $preset"
    cmake --preset "$preset" >/dev/null
  fi
  if [ $# -gt 0 ]; then
    log "building $preset: $*"
    cmake --build --preset "$preset" --target "$@"
  else
    log "building $preset"
    cmake --build --preset "$preset"
  fi
}

# The prefix is made once; the stamp file says it is complete.
ensure_wine_prefix() {
  local stamp="$WINEPREFIX/.twinseek-ready"
  if [ ! -f "$stamp" ]; then
    create_wine_prefix
    touch "$stamp"
  fi
  ensure_wine_fonts
}

# This Wine does not load the TrueType fonts of fonts-wine from its data
# folder: without Marlett the caption buttons read "0 1 r". The prefix's own
# Fonts folder is searched.
ensure_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
  done
}

create_wine_prefix() {
  log "creating the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  LANG=ja_JP.UTF-8 "$WINE64" wineboot -i >/dev/null 2>&1
  # Without a window manager under Xvfb, managed windows take about 2 s to
  # close; unmanaged ones close at once.
  local reg="$WINEPREFIX/twinseek-x11.reg"
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n' >"$reg"
  LANG=ja_JP.UTF-8 "$WINE64" regedit /S "$reg" >/dev/null 2>&1
  "$WINESERVER" -w
}

# The shell's recycle bin under Wine deletes for good when this folder is
# missing, and reports success: make sure it exists before anything deletes.
ensure_trash_home() {
  mkdir -p "${XDG_DATA_HOME:-$HOME/.local/share}"
}
