; The suite's Windows installer, for one user: the program folder as the build installs it, a
; Start-menu entry for the configuration program, the device service started at logon and at the
; end of the installation, and an uninstaller that keeps the user's settings.
; make-installer.sh defines STAGE (the program folder to pack), UNINSTALL_LIST (its files and
; folders as Delete and RMDir lines), ICON and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Selvin V212 Gaming Mouse"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Settings, Run key and shortcut are the user's: so is the program folder, and no elevation is
; asked for that would put them under another account.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends the suite so that its files can be replaced or removed: the windows are asked to close
; (the service also tells the other two), and what still runs after ten seconds is ended.
!macro END_SUITE prefix
Function ${prefix}EndSuite
    Push $0
    Push $1
    FindWindow $0 "" "Selvin V212 Gaming Mouse"
    ${If} $0 <> 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    FindWindow $0 "" "V212Hid"
    ${If} $0 <> 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    FindWindow $0 "" "V212MousePennrack"
    ${If} $0 <> 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    StrCpy $1 0
    ${Do}
        FindWindow $0 "" "Selvin V212 Gaming Mouse"
        ${If} $0 = 0
            FindWindow $0 "" "V212Hid"
        ${EndIf}
        ${If} $0 = 0
            FindWindow $0 "" "V212MousePennrack"
        ${EndIf}
        ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
        Sleep 200
        IntOp $1 $1 + 1
    ${LoopUntil} $1 >= 50
    ; A window may be gone before its program has ended; the companion and the firmware tool
    ; have no window of their own to ask.
    nsExec::Exec '"$SYSDIR\taskkill.exe" /f /im config.exe /im tolvane.exe /im pennrack.exe /im pallwick.exe /im KPT_FW_Update_Tool.exe'
    Pop $0
    Sleep 500
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro END_SUITE ""
!insertmacro END_SUITE "un."

Section "Install"
    Call EndSuite
    ; An earlier installation goes first, so that no file the new version dropped stays behind;
    ; its uninstaller keeps the user's settings as it always does.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    ${EndIf}
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\config.exe" "" "$INSTDIR\config.exe" 0
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\tolvane.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\config.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; The service starts the tray program itself.
    Exec '"$INSTDIR\tolvane.exe"'
SectionEnd

; Removes only what the installer put there: a folder the user chose that holds other files
; keeps them.
Section "Uninstall"
    Call un.EndSuite
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
