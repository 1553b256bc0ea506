; The Velkin installer: installs for the current user only, into the user's
; own programs folder, so that it needs no administrator rights. Built by
; scripts/make-dist.sh:
;   makensis -DVERSION=1.0.0 -DSTAGE=<packaged files> -DFILES=<files.nsh>
;            -DOUTFILE=<setup.exe> -DSOURCE=<repository> velkin.nsi
; FILES defines the macros VelkinInstallFiles and VelkinRemoveFiles for
; exactly the files packaged, so that the uninstaller removes those and
; nothing else (the user may have added skins of their own).

; A 64-bit installer for 64-bit programs: it runs wherever they can.
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "${FILES}"

; The organiser's own names: its window class and title, the Run entry.
!define APP_TITLE "Velkin 1.0"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkin"
!define TRAY_EXIT 555

Name "Velkin"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Velkin"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Velkin"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Velkin ${VERSION} Setup"
VIAddVersionKey /LANG=0 "OriginalFilename" "Velkin-${VERSION}-setup.exe"
; Windows expects the key; the project names no copyright holder.
VIAddVersionKey /LANG=0 "LegalCopyright" ""

!define MUI_ICON "${SOURCE}/resources/velkin.ico"
!define MUI_UNICON "${SOURCE}/resources/velkin.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup will install Velkin ${VERSION} for you alone, in your own programs folder; it needs no administrator rights.$\r$\n$\r$\nIf Velkin is running, Setup ends it as its Exit command does, so that your lists are saved first. Your tasks, backups and settings are kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Velkin now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartVelkin
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Ends a running Velkin the way its tray menu's Exit does, so that its lists
; are saved and its files can be replaced or removed. Gives up after 10 s
; (Exit may be waiting for the user's answer to a question).
!macro CloseVelkin
  FindWindow $0 "${APP_TITLE}" "${APP_TITLE}"
  ${If} $0 <> 0
    DetailPrint "Ending the running Velkin (its lists are saved first)"
    SendMessage $0 ${WM_COMMAND} ${TRAY_EXIT} 0 /TIMEOUT=5000
    ${For} $1 1 50
      Sleep 200
      FindWindow $0 "${APP_TITLE}" "${APP_TITLE}"
      ${IfThen} $0 = 0 ${|} ${ExitFor} ${|}
    ${Next}
    ${If} $0 <> 0
      MessageBox MB_OK|MB_ICONEXCLAMATION "Velkin is still running. Choose Exit on its tray menu, then try again." /SD IDOK
      Abort
    ${EndIf}
    ; The window goes before the process has let go of its files.
    Sleep 1000
  ${EndIf}
!macroend

; Shown normally, as from the Start menu: a program started without a show
; command would stay hidden in the tray.
Function StartVelkin
  ExecShell "open" "$INSTDIR\velkin.exe" "" SW_SHOWNORMAL
FunctionEnd

Section "Velkin"
  !insertmacro CloseVelkin
  SetOutPath "$INSTDIR"
  !insertmacro VelkinInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Velkin"
  CreateShortcut "$SMPROGRAMS\Velkin\Velkin.lnk" "$INSTDIR\velkin.exe"
  !ifdef HAVE_SKINEDIT
    CreateShortcut "$SMPROGRAMS\Velkin\Velkin Skin Editor.lnk" "$INSTDIR\skinedit.exe"
  !endif
  CreateShortcut "$SMPROGRAMS\Velkin\Velkin Help.lnk" "$INSTDIR\Velkin.chm"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkin.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; "/start" starts Velkin after a silent install, as the finish page's box
; does after an interactive one.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/start" $1
    ${IfNot} ${Errors}
      Call StartVelkin
    ${EndIf}
  ${EndIf}
FunctionEnd

; Removes what the installer put there, and never the user's data folder
; (%APPDATA%\Velkin 1.0) nor the settings key (Software\Velkin 1.0).
Section "Uninstall"
  !insertmacro CloseVelkin
  !insertmacro VelkinRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Velkin\Velkin.lnk"
  Delete "$SMPROGRAMS\Velkin\Velkin Skin Editor.lnk"
  Delete "$SMPROGRAMS\Velkin\Velkin Help.lnk"
  RMDir "$SMPROGRAMS\Velkin"

  DeleteRegValue HKCU "${RUN_KEY}" "${APP_TITLE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
