# The Windows release: what scripts/package builds and gathers, and what the
# installation test (scripts/lib/install_test.sh) checks. Sourced after
# common.sh.

RELEASE_PACKAGES=(nsis zip unzip p7zip-full)
RELEASE_DIR="$TWINSEEK_ROOT/build/release"
RELEASE_WORK="$TWINSEEK_ROOT/build/release-work"

# The sample comparator plug-ins shipped in the "plugins" folder, by the
# name of their DLL. Each is taken from anywhere below the build's plugins/
# folder; one the build does not have is left out (with a note).
PLUGIN_DLLS=(twinseek-names twinseek-picture twinseek-headtail twinseek-look)

# release_preset x64|x86: the CMake preset of that bitness.
release_preset() {
  case $1 in
    x64) echo release-win64 ;;
    x86) echo release-win32 ;;
    *) log "unknown architecture $1"; return 1 ;;
  esac
}

release_build() { echo "$TWINSEEK_ROOT/build/$(release_preset "$1")"; }

# pe_product_version FILE: the product version of a Windows program's
# VERSIONINFO, written as the About box writes it: "major.minor.patch", and
# ".build" when the fourth number is not 0. Read from the VS_FIXEDFILEINFO
# that follows the signature 0xFEEF04BD.
pe_product_version() {
  local file=$1 offset words
  offset=$(LC_ALL=C grep -obUaP '\xBD\x04\xEF\xFE' "$file" | head -n 1 | cut -d: -f1)
  [ -n "$offset" ] || { log "no version information in $file"; return 1; }
  # dwSignature, dwStrucVersion, dwFileVersionMS, dwFileVersionLS,
  # dwProductVersionMS, dwProductVersionLS
  read -r -a words < <(od -An -t u4 -w24 -j "$offset" -N 24 "$file")
  local ms=${words[4]} ls=${words[5]}
  local text="$((ms >> 16)).$((ms & 0xffff)).$((ls >> 16))"
  [ $((ls & 0xffff)) -eq 0 ] || text+=".$((ls & 0xffff))"
  echo "$text"
}

release_version() { pe_product_version "$(release_build x64)/src/app/twinseek.exe"; }

# to_windows_text IN OUT: a UTF-8 text file as code page 932 with "\r\n".
to_windows_text() {
  iconv -f UTF-8 -t CP932 "$1" | sed 's/\r*$/\r/' >"$2"
}

# find_built NAME BUILD: the first file called NAME below BUILD, or nothing.
find_built() {
  find "$2" -name "$1" -type f -not -path '*/CMakeFiles/*' 2>/dev/null | sort | head -n 1
}

# stage_release ARCH VERSION: gathers what that bitness ships into
# $RELEASE_WORK/ARCH/Twinseek-VERSION-ARCH/ and prints that folder.
stage_release() {
  local arch=$1 version=$2
  local build stage name dll
  build=$(release_build "$arch")
  stage="$RELEASE_WORK/$arch/Twinseek-$version-$arch"
  mkdir -p "$stage/manual"
  cp "$build/src/app/twinseek.exe" "$build/src/app/VellmorThumbCtl.dll" "$stage/"
  cp "$build/cli/twinseek-scan.exe" "$stage/"
  to_windows_text "$TWINSEEK_ROOT/packaging/twinseek.INI" "$stage/twinseek.INI"
  cp "$TWINSEEK_ROOT/docs/twinseek.html" "$stage/"
  cp "$TWINSEEK_ROOT/docs/manual/"*.png "$stage/manual/"
  for name in "${PLUGIN_DLLS[@]}"; do
    dll=$(find_built "$name.dll" "$build/plugins")
    if [ -n "$dll" ]; then
      mkdir -p "$stage/plugins"
      cp "$dll" "$stage/plugins/"
    else
      log "$arch: no $name.dll in $build/plugins, left out"
    fi
  done
  local note
  if [ "$arch" = x64 ]; then
    note="この版は 64 ビット版 Windows 用です。32 ビットの比較プラグイン (TOOL1.DLL など) を
使うときは x86 版を使ってください (64 ビットのプログラムは 32 ビットの DLL を
読み込めません)。"
  else
    note="この版は 32 ビットのプログラムです。既存の 32 ビットの比較プラグインは、
この x86 版でだけ読み込めます。64 ビット版 Windows では、上の regsvr32 の
代わりに %SystemRoot%\\SysWOW64\\regsvr32.exe を使ってください。"
  fi
  local readme="$RELEASE_WORK/$arch/README.txt"
  sed -e "s/{version}/$version/" -e "s/{arch}/$arch/" "$TWINSEEK_ROOT/packaging/README.txt" |
    awk -v note="$note" '{ if ($0 == "{bitness_note}") print note; else print }' >"$readme"
  to_windows_text "$readme" "$stage/README.txt"
  echo "$stage"
}

# installed_files STAGE: the files an installer built from STAGE installs,
# relative, one a line, "/" as separator (the README is the zip's alone;
# the sample twinseek.INI is installed apart).
installed_files() {
  (cd "$1" && find . -type f ! -name README.txt ! -name twinseek.INI | sed 's|^\./||' | sort)
}

# make_installer ARCH VERSION STAGE OUT: the NSIS installer of the staged
# files.
make_installer() {
  local arch=$1 version=$2 stage=$3 out=$4
  local list="$RELEASE_WORK/$arch/files.nsh" file folder dir
  {
    echo '!macro TWINSEEK_INSTALL_FILES'
    folder=.
    while IFS= read -r file; do
      dir=$(dirname "$file")
      if [ "$dir" != "$folder" ]; then
        folder=$dir
        if [ "$dir" = . ]; then echo '  SetOutPath "$INSTDIR"'; else echo "  SetOutPath \"\$INSTDIR\\${dir//\//\\}\""; fi
      fi
      echo "  File \"$stage/$file\""
    done < <(installed_files "$stage" | awk -F/ '{ print NF "\t" $0 }' | sort -n | cut -f2-)
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro TWINSEEK_REMOVE_FILES'
    installed_files "$stage" | while IFS= read -r file; do
      echo "  Delete \"\$INSTDIR\\${file//\//\\}\""
    done
    installed_files "$stage" | xargs -r -n 1 dirname | grep -vx '\.' | sort -u -r | while IFS= read -r dir; do
      echo "  RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done
    echo '!macroend'
  } >"$list"
  log "makensis $arch"
  makensis -V2 -INPUTCHARSET UTF8 \
    -DARCH="$arch" -DVERSION="$version" -DFILES="$list" -DSETTINGS="$stage/twinseek.INI" \
    -DICON="$TWINSEEK_ROOT/src/resources/twinseek.ico" -DOUTFILE="$out" \
    "$TWINSEEK_ROOT/packaging/twinseek.nsi" >&2
}
