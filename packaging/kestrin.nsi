; The Windows installer: a per-user install that needs no administrator
; rights, into a folder the user can write to, since Kestrin keeps its
; settings and logs beside kestrin.exe.
;   makensis -DVERSION=<major.minor> -DSTAGE=<folder with kestrin.exe, config.cfg, README.txt>
;            -DOUTFILE=<setup.exe> kestrin.nsi
;
; Its last page offers "Start Kestrin when I log on" (the per-user Run
; value, ticked) and "Start Kestrin now". A silent install (/S) starts
; Kestrin at logon unless given /LOGON=0.

; A 64-bit installer for the 64-bit program; it also runs where no 32-bit layer is installed.
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define NAME "Kestrin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrin"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrin"
InstallDirRegKey HKCU "Software\Kestrin" "InstallDir"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "© 2026 The Kestrin developers"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestrin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Kestrin now"
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Kestrin when I log on"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartAtLogon
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeft
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A tray receiver that is not running receives nothing: by default it starts
; with the user's session.
Function StartAtLogon
    WriteRegStr HKCU "${RUN_KEY}" "Kestrin" '"$INSTDIR\kestrin.exe"'
FunctionEnd

Function NoStartAtLogon
    DeleteRegValue HKCU "${RUN_KEY}" "Kestrin"
FunctionEnd

; The page itself calls StartAtLogon when the box is ticked; an untick also
; takes back what an earlier install set.
Function FinishPageLeft
    ${NSD_GetState} $mui.FinishPage.ShowReadme $0
    ${If} $0 <> ${BST_CHECKED}
        Call NoStartAtLogon
    ${EndIf}
FunctionEnd

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
    ; A silent install shows no last page: /LOGON=0 leaves Kestrin out of the logon.
    ${If} ${Silent}
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/LOGON=" $1
        ${If} ${Errors}
        ${OrIf} $1 != "0"
            Call StartAtLogon
        ${Else}
            Call NoStartAtLogon
        ${EndIf}
    ${EndIf}
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
    DeleteRegValue HKCU "${RUN_KEY}" "Kestrin"
    DeleteRegKey HKCU "Software\Kestrin"
SectionEnd
