; The Twinseek installer, one script for both bitnesses. scripts/package
; runs makensis with:
;   ARCH     x64 or x86
;   VERSION  the program's version, read from twinseek.exe's VERSIONINFO
;   FILES    an include that defines the macros TWINSEEK_INSTALL_FILES and
;            TWINSEEK_REMOVE_FILES, made from the staged folder: one File and
;            one Delete per shipped file (twinseek.INI apart, see below)
;   SETTINGS the staged sample twinseek.INI
;   ICON     the program's icon
;   OUTFILE  the installer to write
;
; The x64 installer is itself a 64-bit program, the x86 one a 32-bit one,
; so $SYSDIR\regsvr32.exe is the one of the control's bitness on 64-bit
; Windows, and the x86 installer's uninstall entry and registration land in
; the 32-bit views, beside those of the x64 one.
;
; Installed per machine (the installer asks for elevation): the files, the
; image preview control registered for every user, one Start-menu shortcut
; and the uninstall entry. The uninstaller unregisters the control and
; removes exactly what was installed: a twinseek.INI the user changed, and
; anything the user added (a TOOL1.DLL beside the program...), stay, and so
; does the folder that holds them.

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define SHORTCUT "Twinseek.lnk"
!else if "${ARCH}" == "x86"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define SHORTCUT "Twinseek (x86).lnk"
!else
  !error "ARCH must be x64 or x86"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Twinseek"
!define PUBLISHER "Twinseek"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "Twinseek ${VERSION} (${ARCH})"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
RequestExecutionLevel admin
InstallDir "${PROGRAM_FILES}\Twinseek"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "Twinseek"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "Twinseek ${VERSION} (${ARCH}) セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2026 Twinseek"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Twinseek ${VERSION} (${ARCH}) のセットアップ"
!define MUI_WELCOMEPAGE_TEXT "Twinseek は、コピーと思われるファイルを探し出し、整理を手伝うツールです。$\r$\n$\r$\nこのセットアップは Twinseek をこのコンピューターのすべてのユーザー用にインストールし、画像を表示する部品 VellmorThumbCtl を登録して、スタート メニューにショートカットを作ります。$\r$\n$\r$\n続けるには [次へ] を押してください。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\twinseek.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Twinseek を起動する"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\twinseek.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "マニュアルを開く"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

!include "${FILES}"

; regsvr32 for the control in the installed folder: "" to register it for
; every user, "/u" to remove that registration. Sets $0 to its exit code.
!macro RUN_REGSVR32 UNDO
  ExecWait '"$SYSDIR\regsvr32.exe" /s ${UNDO} /n /i:machine "$INSTDIR\VellmorThumbCtl.dll"' $0
  ${If} ${Errors}
    StrCpy $0 "-"
  ${EndIf}
!macroend

Section "Twinseek"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !insertmacro TWINSEEK_INSTALL_FILES
  ; The sample settings file never replaces one the user keeps there.
  SetOverwrite off
  File "/oname=twinseek.INI" "${SETTINGS}"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ClearErrors
  !insertmacro RUN_REGSVR32 ""
  ${If} $0 != 0
    DetailPrint "VellmorThumbCtl.dll を登録できませんでした (regsvr32: $0)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "画像を表示する部品 VellmorThumbCtl.dll を登録できませんでした。$\r$\n「ファイル情報」の画像ページでは絵が表示されません (そのほかの機能は使えます)。" /SD IDOK
    SetErrorLevel 2
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\twinseek.exe" "" "$INSTDIR\twinseek.exe" 0 \
    SW_SHOWNORMAL "" "重複の可能性のあるファイルを探して整理します"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Twinseek ${VERSION} (${ARCH})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\twinseek.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; $R0 := "1" when the files $R1 and $R2 hold the same bytes, else "0".
Function un.SameContent
  StrCpy $R0 "0"
  ClearErrors
  FileOpen $R3 $R1 r
  ${If} ${Errors}
    Return
  ${EndIf}
  FileOpen $R4 $R2 r
  ${If} ${Errors}
    FileClose $R3
    Return
  ${EndIf}
  ${Do}
    ClearErrors
    FileReadByte $R3 $R5
    ${If} ${Errors}
      ClearErrors
      FileReadByte $R4 $R6
      ${If} ${Errors}
        StrCpy $R0 "1"  ; both ended together
      ${EndIf}
      ${Break}
    ${EndIf}
    FileReadByte $R4 $R6
    ${If} ${Errors}
      ${Break}
    ${EndIf}
  ${LoopWhile} $R5 == $R6
  FileClose $R4
  FileClose $R3
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ClearErrors
  !insertmacro RUN_REGSVR32 "/u"
  ${If} $0 != 0
    DetailPrint "VellmorThumbCtl.dll の登録を解除できませんでした (regsvr32: $0)"
    SetErrorLevel 2
  ${EndIf}

  ; twinseek.INI goes only while it is still the sample that was installed.
  InitPluginsDir
  File "/oname=$PLUGINSDIR\sample.INI" "${SETTINGS}"
  StrCpy $R1 "$INSTDIR\twinseek.INI"
  StrCpy $R2 "$PLUGINSDIR\sample.INI"
  Call un.SameContent
  ${If} $R0 == "1"
    Delete "$INSTDIR\twinseek.INI"
  ${Else}
    DetailPrint "変更された twinseek.INI は残します"
  ${EndIf}

  !insertmacro TWINSEEK_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
