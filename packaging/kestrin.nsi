; The Windows installer: a per-user install that needs no administrator
; rights, into a folder the user can write to, since Kestrin keeps its
; settings and logs beside kestrin.exe.
;   makensis -DVERSION=<major.minor> -DSTAGE=<folder with kestrin.exe, config.cfg, README.txt>
;            -DOUTFILE=<setup.exe> kestrin.nsi
;
; Its last page offers "Start Kestrin when I log on" (the per-user Run
; value, ticked) and "Start Kestrin now". A silent install (/S) starts
; Kestrin at logon unless given /LOGON=0.
;
; Windows cannot replace or delete the image of a running program, so the
; install and the uninstall first close the Kestrin that runs from the
; folder, and stop, leaving every file as it was, when it does not end.
; A silent run then ends with a non-zero exit code.

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
; A file that cannot be written stops the install (Retry or Cancel; Cancel
; when silent), never a file skipped without a word.
AllowSkipFiles off

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "© 2026 The Kestrin developers"

!insertmacro MUI_PAGE_DIRECTORY
PageEx custom
    PageCallbacks WaitPage
    Caption ": Closing Kestrin"
PageExEnd
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestrin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Kestrin now"
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Kestrin when I log on"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartAtLogon
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeft
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
PageEx un.custom
    PageCallbacks un.WaitPage
    Caption ": Closing Kestrin"
PageExEnd
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Kestrin's hidden task-bar window: a WM_CLOSE to it is Kestrin's own close,
; which stores the balloon switch in config.cfg and ends the program.
!define APP_WINDOW_CLASS "KestrinApplication"
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define PROCESS_WAIT_AND_NAME 0x00101000
; Longer than the longest start-up Kestrin can have (about 62 s with both
; address services silent): its close is handled only once that is over.
!define CLOSE_WAIT_MS 75000
; The wizard's own: the Cancel button's command, and going on to the next page.
!define IDCANCEL 2
!define WM_NOTIFY_OUTER_NEXT 0x408

; The Kestrin being closed: its task-bar window (0: none) and its process,
; opened to wait for it (0 when it could not be opened), and when it was asked.
Var KestrinWindow
Var KestrinProcess
Var CloseAskedAt

; Closes every Kestrin that runs from $INSTDIR and waits for each process to
; end: its image stays locked until then, not just until its window goes.
; Another Kestrin, from another folder, is left alone. One that does not end
; within the wait (its close was refused, as when config.cfg cannot be
; written, and it shows why in an error box; or it runs as administrator,
; and this installer may not close it) stops the run; the user may retry
; once it is dealt with. The wait page does this where the user can cancel;
; the section does it again for a silent run and for a Kestrin started since.
!macro DEFINE_CLOSE_KESTRIN un what
!define /redef NOT_CLOSED_TEXT "Kestrin is running from $INSTDIR and did not close within 75 seconds.$\r$\n$\r$\nThe likely causes:$\r$\n- Kestrin cannot write its config.cfg (the file is read-only, or another program holds it open). Kestrin then shows an error box: make the file writable or close the other program, and press OK in that box.$\r$\n- Kestrin runs as administrator, and this ${what} cannot close it: close it yourself (Close in its window), or end it in Task Manager.$\r$\n$\r$\nThen press Retry. Cancel stops the ${what} and leaves everything as it is."

; Finds the first Kestrin that runs from $INSTDIR.
Function ${un}FindKestrin
    Push $R0
    Push $R2
    Push $R4
    Push $R5
    System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR\kestrin.exe", w .R5, i ${NSIS_MAX_STRLEN}) i .R4'
    ${If} $R4 = 0
        StrCpy $R5 "$INSTDIR\kestrin.exe"
    ${EndIf}
    StrCpy $R0 0
    ${Do}
        ; The next task-bar window after $R0.
        System::Call 'user32::FindWindowExW(p 0, p R0, w "${APP_WINDOW_CLASS}", p 0) p .s'
        Pop $KestrinWindow
        StrCpy $KestrinProcess 0
        ${If} $KestrinWindow == 0
            ${Break}
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p $KestrinWindow, *i .R2) i'
        System::Call 'kernel32::OpenProcess(i ${PROCESS_WAIT_AND_NAME}, i 0, i R2) p .s'
        Pop $KestrinProcess
        ${If} $KestrinProcess == 0
            ; Ended meanwhile: search again.
            System::Call 'user32::IsWindow(p $KestrinWindow) i .R4'
            ${If} $R4 = 0
                StrCpy $R0 0
                ${Continue}
            ${EndIf}
        ${EndIf}
        ; Whose image it is: one that cannot be told is closed as ours.
        System::Call 'kernel32::QueryFullProcessImageNameW(p $KestrinProcess, i 0, w .R2, *i ${NSIS_MAX_STRLEN}) i .R4'
        ${If} $R4 <> 0
            System::Call 'kernel32::GetLongPathNameW(w R2, w .R2, i ${NSIS_MAX_STRLEN}) i'
            ${If} $R2 != $R5
                System::Call 'kernel32::CloseHandle(p $KestrinProcess)'
                StrCpy $R0 $KestrinWindow
                ${Continue}
            ${EndIf}
        ${EndIf}
        ${Break}
    ${Loop}
    Pop $R5
    Pop $R4
    Pop $R2
    Pop $R0
FunctionEnd

; Posted, not sent: a refused close holds its sender until its error box goes.
Function ${un}AskKestrinToClose
    System::Call 'user32::PostMessageW(p $KestrinWindow, i ${WM_CLOSE}, p 0, p 0)'
    System::Call 'kernel32::GetTickCount() i .s'
    Pop $CloseAskedAt
FunctionEnd

Function ${un}CloseKestrin
    Push $R4
    ${Do}
        Call ${un}FindKestrin
        ${If} $KestrinWindow == 0
            ${Break}
        ${EndIf}
        ; Still starting, it may be asking the address services for up to a minute.
        DetailPrint "Waiting for Kestrin to close…"
        Call ${un}AskKestrinToClose
        System::Call 'kernel32::WaitForSingleObject(p $KestrinProcess, i ${CLOSE_WAIT_MS}) i .R4'
        System::Call 'kernel32::CloseHandle(p $KestrinProcess)'
        ${If} $R4 <> 0
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NOT_CLOSED_TEXT}" /SD IDCANCEL IDRETRY retry
            Abort "Kestrin did not close; nothing was changed."
          retry:
        ${EndIf}
    ${Loop}
    Pop $R4
FunctionEnd

; The page before the files: shown only while a Kestrin runs from $INSTDIR.
; It asks each to close and goes on by itself once none is left; Cancel
; stops the run at any moment, with every file as it was.
Function ${un}WaitPage
    Call ${un}FindKestrin
    ${If} $KestrinWindow == 0
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Closing Kestrin" "Kestrin is running from $INSTDIR."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 100% "Waiting for Kestrin to close…$\r$\n$\r$\nKestrin closes once it has finished starting: when the address services do not answer, that takes up to a minute. The ${what} goes on by itself once Kestrin has closed.$\r$\n$\r$\nCancel stops the ${what} and leaves everything as it is."
    Pop $1
    ; Only Cancel: Kestrin has been asked, and the wait goes on by itself.
    GetDlgItem $0 $HWNDPARENT 1
    EnableWindow $0 0
    GetDlgItem $0 $HWNDPARENT 3
    EnableWindow $0 0
    ; The keyboard on the text: Escape cancels, and an Enter meant for the
    ; page before cancels nothing.
    ${NSD_SetFocus} $1
    Call ${un}AskKestrinToClose
    ${NSD_CreateTimer} ${un}WaitPageTick 250
    nsDialogs::Show
FunctionEnd

Function ${un}WaitPageTick
    StrCpy $1 0
    ${If} $KestrinProcess <> 0
        System::Call 'kernel32::WaitForSingleObject(p $KestrinProcess, i 0) i .s'
        Pop $0
        ${If} $0 = 0
            System::Call 'kernel32::CloseHandle(p $KestrinProcess)'
            StrCpy $1 1
        ${EndIf}
    ${Else}
        ; A process that could not be opened has ended once its window is gone.
        System::Call 'user32::IsWindow(p $KestrinWindow) i .s'
        Pop $0
        ${If} $0 = 0
            StrCpy $1 1
        ${EndIf}
    ${EndIf}
    ${If} $1 = 1
        Call ${un}FindKestrin
        ${If} $KestrinWindow == 0
            ${NSD_KillTimer} ${un}WaitPageTick
            GetDlgItem $0 $HWNDPARENT 1
            EnableWindow $0 1
            SendMessage $HWNDPARENT ${WM_NOTIFY_OUTER_NEXT} 1 0
        ${Else}
            Call ${un}AskKestrinToClose
        ${EndIf}
        Return
    ${EndIf}
    System::Call 'kernel32::GetTickCount() i .s'
    Pop $0
    IntOp $0 $0 - $CloseAskedAt
    ${If} $0 U< ${CLOSE_WAIT_MS}
        Return
    ${EndIf}
    ; No tick during the box: each would show another.
    ${NSD_KillTimer} ${un}WaitPageTick
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NOT_CLOSED_TEXT}" IDRETRY retry
    System::Call 'kernel32::CloseHandle(p $KestrinProcess)'
    SendMessage $HWNDPARENT ${WM_COMMAND} ${IDCANCEL} 0
    Return
  retry:
    Call ${un}AskKestrinToClose
    ${NSD_CreateTimer} ${un}WaitPageTick 250
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_KESTRIN "" "installation"
!insertmacro DEFINE_CLOSE_KESTRIN "un." "removal"

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
    Call CloseKestrin
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
    Call un.CloseKestrin
    ; The program goes first and surely: without it nothing else is removed.
    ${Do}
        ClearErrors
        Delete "$INSTDIR\kestrin.exe"
        ${IfNot} ${Errors}
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$INSTDIR\kestrin.exe cannot be removed." \
            /SD IDCANCEL IDRETRY retry
        Abort "kestrin.exe cannot be removed; nothing was changed."
      retry:
    ${Loop}
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Kestrin.lnk"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${RUN_KEY}" "Kestrin"
    DeleteRegKey HKCU "Software\Kestrin"
SectionEnd
