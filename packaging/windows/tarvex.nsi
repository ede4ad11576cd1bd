; The Windows setup program of Tarvex: installs per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tarvex, and upgrades an earlier install in place. packaging/windows/
; CMakeLists.txt makes it:
;   makensis -DVERSION=0.7.0 -DSTAGE=<stripped Tarvex.exe and tarvex-cli.exe> -DICON=<app.ico>
;            -DOUTFILE=<...\Tarvex-0.7.0-setup.exe> tarvex.nsi
; Command line: /S installs silently (with the log-in entry, without starting Tarvex); /RUN starts
; Tarvex afterwards; /NOLOGIN leaves the log-in entry out; /D=FOLDER installs elsewhere.
; The uninstaller removes what this put in place and keeps the data files (ZRDTIMES.DAT,
; ZRDDIR.DAT, TARVEX.INI), wherever Tarvex keeps them.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvex"
; The log-in entry: the value "Tarvex", the quoted path of Tarvex.exe, as Tarvex's own
; "Start at Log-in" writes it.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Tarvex's hidden main window (platform/win32/names.h); WM_CLOSE makes it save its pair and end.
!define MAIN_WINDOW_CLASS "TarvexMain"

Name "Tarvex"
Caption "Tarvex ${VERSION} Setup"
UninstallCaption "Tarvex Uninstall"
BrandingText "Tarvex ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvex"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tarvex"
VIAddVersionKey "CompanyName" "Tarvex"
VIAddVersionKey "FileDescription" "Tarvex Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
!pragma warning disable 9100  ; no LegalCopyright, as in the programs' own version block

Var LogIn     ; 1: the log-in entry is written
Var StartNow  ; 1: Tarvex starts when setup has installed it
Var LogInBox
Var StartNowBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Tarvex ${VERSION}, the Kestrune clock and moon \
  companion of the notification area, for you alone: it needs no administrator rights.$\r$\n$\r$\n\
  If Tarvex is running, Setup closes it first; your calibration and settings are kept.$\r$\n$\r$\n\
  Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "Tarvex is free software under the MIT licence."
!define MUI_LICENSEPAGE_TEXT_TOP "Copyright (c) 2026 The Tarvex authors. The MIT licence:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "The licence asks nothing of you to use Tarvex. Click Next \
  to continue."
!define MUI_LICENSEPAGE_BUTTON "&Next >"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Tarvex is installed. You find it in the Start menu; while it runs, \
  its icon is in the notification area of the taskbar. Right-click the icon and choose Set Date \
  and Time to enter the game's date and time; once they are set, the icon shows the moon's \
  phase.$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Tarvex will be removed from the folder below. Your \
  calibration, game folder and moon alarm settings are kept. Click Uninstall to start."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Closes a running Tarvex as the desktop would, with WM_CLOSE to its main window, so that it saves
; its pair, and waits a bounded time for its process to end. One that stays is reported (cancel
; in silent mode), since its programs cannot be replaced or removed while it runs.
!macro CloseTarvex
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    DetailPrint "Closing Tarvex"
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"  ; SYNCHRONIZE
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call "kernel32::WaitForSingleObject(p r2, i 10000) i .r3"
    System::Call "kernel32::CloseHandle(p r2)"
    ${If} $3 <> 0  ; not WAIT_OBJECT_0: it is still running
    ${AndIf} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Tarvex is still running. Choose Exit in its menu, then Retry." /SD IDCANCEL IDCANCEL`
      Abort "Tarvex is still running."
    ${EndIf}
  ${Loop}
!macroend

; Removes the log-in entry unless it names another Tarvex.exe that exists (a portable copy):
; it goes when it names this install's, or a program that is gone.
!macro RemoveLogInEntry
  ReadRegStr $0 HKCU "${RUN_KEY}" "Tarvex"
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $0 $0 -1
  ${EndIf}
  ${If} $0 == "$INSTDIR\Tarvex.exe"
  ${OrIfNot} ${FileExists} $0
    DeleteRegValue HKCU "${RUN_KEY}" "Tarvex"
  ${EndIf}
!macroend

Function .onInit
  ; A first install starts at log-in; an upgrade keeps what the user chose since.
  StrCpy $LogIn 1
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $1 HKCU "${RUN_KEY}" "Tarvex"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    StrCpy $LogIn 0
  ${EndIf}
  ; Shown, the options page offers to start Tarvex; silent, only /RUN starts it.
  StrCpy $StartNow 1
  ${If} ${Silent}
    StrCpy $StartNow 0
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RUN" $1
  ${IfNot} ${Errors}
    StrCpy $StartNow 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/NOLOGIN" $1
  ${IfNot} ${Errors}
    StrCpy $LogIn 0
  ${EndIf}
FunctionEnd

Function OptionsPage
  !insertmacro MUI_HEADER_TEXT "Options" "Choose when Tarvex starts."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Start Tarvex when I log in"
  Pop $LogInBox
  ${NSD_SetState} $LogInBox $LogIn
  ${NSD_CreateCheckbox} 0 18u 100% 12u "Start Tarvex now"
  Pop $StartNowBox
  ${NSD_SetState} $StartNowBox $StartNow
  nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
  ${NSD_GetState} $LogInBox $LogIn
  ${NSD_GetState} $StartNowBox $StartNow
FunctionEnd

Section "Tarvex"
  !insertmacro CloseTarvex
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tarvex.exe"
  File "${STAGE}\tarvex-cli.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tarvex.lnk" "$INSTDIR\Tarvex.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarvex"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvex.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tarvex"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $LogIn = 1
    WriteRegStr HKCU "${RUN_KEY}" "Tarvex" '"$INSTDIR\Tarvex.exe"'
  ${Else}
    !insertmacro RemoveLogInEntry
  ${EndIf}
  ${If} $StartNow = 1
    Exec '"$INSTDIR\Tarvex.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  !insertmacro CloseTarvex
  ; The folder goes only when empty: data files that Tarvex keeps beside its programs stay.
  SetOutPath "$TEMP"
  Delete "$INSTDIR\Tarvex.exe"
  Delete "$INSTDIR\tarvex-cli.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tarvex.lnk"
  !insertmacro RemoveLogInEntry
  ; Last, so that the list of installed apps shows Tarvex until everything else has gone.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
