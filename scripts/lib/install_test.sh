#!/usr/bin/env bash
# The installation test, run by scripts/test under Xvfb once scripts/package
# has written build/release/. In a fresh Wine prefix of its own:
# - the x64 installer, run silently into a folder with a Japanese name,
#   installs every file, registers the image preview control for the machine
#   (a probe creates it the way the program does), makes the Start-menu
#   shortcut and the uninstall entry, and the installed twinseek.exe opens
#   its main window; the silent uninstaller then leaves no installed file,
#   shortcut, uninstall key or registration, and no folder;
# - installed again, a twinseek.INI the user edited survives a reinstall and
#   the uninstaller, alone in its folder;
# - the x64 zip's twinseek.exe opens its main window too, and its README.txt
#   is code page 932 text;
# - the x86 installer (not runnable here) is a 32-bit installer whose payload
#   holds every file, each program a 32-bit one; the x64 one likewise 64-bit.
# Prints one line per check and "install test: N passed, M failed"; exits 1
# on any failure. Every wait is for a state, bounded (30 s).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$TWINSEEK_ROOT/scripts/lib/release.sh"

export LANG=ja_JP.UTF-8
work="$TWINSEEK_ROOT/build/install-test"
export WINEPREFIX="$work/prefix"
probe="$TWINSEEK_ROOT/build/win64/tests/report/twinseek_control_probe.exe"
version=$(release_version)
clsid='{5B0E3A52-8C41-4D7A-9F3E-2A6C1D7B9E41}'
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Twinseek'
class_key="HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$clsid"
target_windows='C:\twinseek-test\インストール先'
target="$WINEPREFIX/drive_c/twinseek-test/インストール先"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Twinseek.lnk"

passed=0
failed=0
pass() { passed=$((passed + 1)); printf 'PASS: %s\n' "$*"; }
fail() { failed=$((failed + 1)); printf 'FAIL: %s\n' "$*"; }
# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# wait_for SECONDS COMMAND...: true once the command succeeds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# Every Wine process of the prefix has ended (the uninstaller runs on from a
# copy of itself in the temporary folder).
wine_settled() { "$WINESERVER" -w; }

# reg_export KEY: the key as .reg text (UTF-8), or nothing when it is absent.
reg_export() {
  local file="$work/export.reg"
  rm -f "$file"
  "$WINE64" regedit /E "$("$WINE64" winepath -w "$file")" "$1" >/dev/null 2>&1 || true
  [ -f "$file" ] && iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r'
}
key_exists() { [ -n "$(reg_export "$1")" ]; }
key_absent() { ! key_exists "$1"; }
# has_value KEY LINE: the key's .reg text holds LINE ("@=..." for the
# default value).
has_value() {
  local key=$1 line=$2
  reg_export "$key" | grep -qxF -- "$line"
}

main_window_viewable() { xwininfo -name Twinseek 2>/dev/null | grep -q 'Map State: IsViewable'; }

# main_window_shows EXE: starts the program and waits until its main window
# "Twinseek" is on the X display; then ends every process of the prefix.
main_window_shows() {
  "$WINE64" "$1" >/dev/null 2>&1 &
  local shown=1
  wait_for 30 main_window_viewable && shown=0
  "$WINESERVER" -k 2>/dev/null || true
  wait 2>/dev/null || true
  return $shown
}

pe_format() { LC_ALL=C "$1" -f "$2" 2>/dev/null | sed -n 's/.*file format //p' | head -n 1; }

# The file is code page 932 text naming regsvr32, every line ending in CRLF.
windows_readme() {
  iconv -f CP932 -t UTF-8 "$1" | grep -q 'regsvr32' && ! LC_ALL=C grep -q -v $'\r$' "$1"
}

# payload_is ARCH SETUP OBJDUMP FORMAT: the installer is of FORMAT and its
# payload holds every staged file, each program of FORMAT.
payload_is() {
  local arch=$1 setup=$2 objdump=$3 format=$4 dir="$work/payload-$1" file
  [ "$(pe_format "$objdump" "$setup")" = "$format" ] || { echo "  $setup is no $format file"; return 1; }
  rm -rf "$dir"
  7z x -y -o"$dir" "$setup" >/dev/null || return 1
  local stage="$RELEASE_WORK/$arch/Twinseek-$version-$arch" ok=0
  while IFS= read -r file; do
    if [ ! -f "$dir/$file" ]; then echo "  missing from the payload: $file"; ok=1; continue; fi
    case $file in
      *.exe | *.dll)
        [ "$(pe_format "$objdump" "$dir/$file")" = "$format" ] || { echo "  not $format: $file"; ok=1; } ;;
    esac
  done < <(installed_files "$stage")
  cmp -s "$dir/twinseek.INI" "$stage/twinseek.INI" || { echo "  the payload's twinseek.INI differs"; ok=1; }
  return $ok
}

every_file_installed() {
  local stage=$1 file ok=0
  while IFS= read -r file; do
    [ -f "$target/$file" ] || { echo "  not installed: $file"; ok=1; }
  done < <(installed_files "$stage")
  [ -f "$target/uninstall.exe" ] || { echo "  no uninstall.exe"; ok=1; }
  return $ok
}

# Only the named files are left in the target (none: the folder is gone).
only_left() {
  if [ $# -eq 0 ]; then
    [ ! -e "$target" ] || { find "$target" | sed 's/^/  left: /'; return 1; }
    return 0
  fi
  local left expected
  left=$(cd "$target" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | sort)
  expected=$(printf '%s\n' "$@" | sort)
  [ "$left" = "$expected" ] || { printf '  left: %s\n' $left; return 1; }
}

install_silently() {
  "$WINE64" "$RELEASE_DIR/Twinseek-$version-x64-setup.exe" /S "/D=$target_windows" >/dev/null 2>&1
}
uninstall_silently() {
  "$WINE64" "$target_windows\\uninstall.exe" /S >/dev/null 2>&1 && wine_settled
}
probe_creates_control() { "$WINE64" "$probe" >/dev/null 2>&1; }
probe_fails() { ! probe_creates_control; }
estimated_size_set() { reg_export "$uninstall_key" | grep -q '^"EstimatedSize"=dword:0*[1-9a-f]'; }

stage_x64="$RELEASE_WORK/x64/Twinseek-$version-x64"
[ -d "$stage_x64" ] && [ -x "$probe" ] || { echo "run scripts/package and build win64 first"; exit 1; }

log "install test: a fresh Wine prefix in $WINEPREFIX"
rm -rf "$work"
mkdir -p "$work"
create_wine_prefix
ensure_wine_fonts

# The installers themselves.
check "x64 installer: a 64-bit installer with 64-bit programs and every file inside" \
  payload_is x64 "$RELEASE_DIR/Twinseek-$version-x64-setup.exe" x86_64-w64-mingw32-objdump pei-x86-64
check "x86 installer: a 32-bit installer with 32-bit programs and every file inside" \
  payload_is x86 "$RELEASE_DIR/Twinseek-$version-x86-setup.exe" i686-w64-mingw32-objdump pei-i386
check "SHA256SUMS matches the release files" sh -c "cd '$RELEASE_DIR' && sha256sum --quiet -c SHA256SUMS"

# A silent installation and what it leaves.
check "the x64 installer installs silently into $target_windows" install_silently
wine_settled
check "every file is installed, with uninstall.exe" every_file_installed "$stage_x64"
check "the sample twinseek.INI is installed as shipped" cmp -s "$target/twinseek.INI" "$stage_x64/twinseek.INI"
check "the Start-menu shortcut exists" test -f "$shortcut"
uninstall_entry=(
  "\"DisplayName\"=\"Twinseek $version (x64)\""
  "\"DisplayVersion\"=\"$version\""
  '"Publisher"="Twinseek"'
  "\"InstallLocation\"=\"${target_windows//\\/\\\\}\""
  "\"UninstallString\"=\"\\\"${target_windows//\\/\\\\}\\\\uninstall.exe\\\"\""
)
for line in "${uninstall_entry[@]}"; do
  check "the uninstall entry holds $line" has_value "$uninstall_key" "$line"
done
check "the uninstall entry holds EstimatedSize" estimated_size_set
check "the control is registered for the machine, in the installed folder" \
  has_value "$class_key\\InprocServer32" "@=\"${target_windows//\\/\\\\}\\\\VellmorThumbCtl.dll\""
check "the registered control can be created" probe_creates_control
check "the installed twinseek.exe shows its main window" main_window_shows "$target_windows\\twinseek.exe"

check "the silent uninstaller runs" uninstall_silently
check "no installed file and no folder are left" only_left
check "no shortcut is left" test ! -e "$shortcut"
check "no uninstall entry is left" key_absent "$uninstall_key"
check "no registration of the control is left" key_absent "$class_key"
check "the control can no longer be created" probe_fails

# A twinseek.INI the user edited stays, through a reinstall and the
# uninstaller.
install_silently && wine_settled
printf '[CRC16]\r\nLOADLIMIT=1\r\n' >"$target/twinseek.INI"
cp "$target/twinseek.INI" "$work/edited.INI"
install_silently && wine_settled
check "a reinstall keeps the edited twinseek.INI" cmp -s "$target/twinseek.INI" "$work/edited.INI"
uninstall_silently
check "the uninstaller leaves the edited twinseek.INI alone in its folder" only_left twinseek.INI
check "the edited twinseek.INI is unchanged" cmp -s "$target/twinseek.INI" "$work/edited.INI"
rm -rf "$WINEPREFIX/drive_c/twinseek-test"

# The zip, for use without installing.
portable="$WINEPREFIX/drive_c/portable"
mkdir -p "$portable"
check "the x64 zip unpacks" unzip -q "$RELEASE_DIR/Twinseek-$version-x64.zip" -d "$portable"
check "the zip holds README.txt in code page 932 with CRLF line ends" \
  windows_readme "$portable/Twinseek-$version-x64/README.txt"
check "the zip's twinseek.exe shows its main window" \
  main_window_shows "C:\\portable\\Twinseek-$version-x64\\twinseek.exe"

"$WINESERVER" -k 2>/dev/null || true
printf 'install test: %d passed, %d failed\n' "$passed" "$failed"
[ "$failed" -eq 0 ]
