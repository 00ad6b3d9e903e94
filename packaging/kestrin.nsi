; The Windows installer: a per-user install that needs no administrator
; rights, into a folder the user can write to, since Kestrin keeps its
; settings and logs beside kestrin.exe.
;   makensis -DSTAGE=<folder with kestrin.exe, config.cfg, README.txt> -DOUTFILE=<setup.exe> kestrin.nsi

; A 64-bit installer for the 64-bit program; it also runs where no 32-bit layer is installed.
Target amd64-unicode
!include "MUI2.nsh"

!define NAME "Kestrin"
!define VERSION "2.4"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrin"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrin"
InstallDirRegKey HKCU "Software\Kestrin" "InstallDir"
SetCompressor /SOLID lzma

VIProductVersion "2.4.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "© 2026 The Kestrin developers"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestrin.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Kestrin"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}/kestrin.exe"
    File "${STAGE}/README.txt"
    ; The user's settings survive an update or a reinstall.
    SetOverwrite off
    File "${STAGE}/config.cfg"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Kestrin.lnk" "$INSTDIR\kestrin.exe"
    WriteRegStr HKCU "Software\Kestrin" "InstallDir" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME} ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kestrin developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes the program; the settings, the log files and the address history
; are the user's and stay.
Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\kestrin.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Kestrin.lnk"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Kestrin"
SectionEnd
