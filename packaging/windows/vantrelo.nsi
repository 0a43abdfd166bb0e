; Vantrelo's setup program. It installs, for the current user only,
; vantrelo.exe (the window, and with arguments the batch command), the hand
; pointer it reads from its own folder and the licence, a Start-menu
; shortcut, and an uninstaller listed with the installed programs.
;
; Per user, because a small tool should not need an administrator: nothing
; here needs the machine, Excel is found through the registry as it is, and
; the one stored option is the user's own already. Windows' own place for a
; user's programs is %LOCALAPPDATA%\Programs.
;
; packaging/windows/CMakeLists.txt passes VERSION, FILES (the staged folder
; of files to install) and OUTFILE.

Target amd64-unicode ; vantrelo.exe is a 64-bit program
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include WinVer.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrelo"
!define SHORTCUT "$SMPROGRAMS\Vantrelo.lnk"

Name "Vantrelo"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vantrelo"
; A new version goes where the last one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be written (a running vantrelo.exe) stops the setup
; rather than leaving an old and a new file side by side.
AllowSkipFiles off

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${FILES}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantrelo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Vantrelo"
VIAddVersionKey CompanyName "Kestravon"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Vantrelo setup"
VIAddVersionKey LegalCopyright "MIT License"

Function .onInit
  ; The window is per-monitor DPI aware, which needs Windows 10.
  ${IfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "Vantrelo needs Windows 10 or newer." /SD IDOK
    Abort
  ${EndIf}
  SetShellVarContext current
FunctionEnd

Section "Vantrelo"
  SetOutPath "$INSTDIR"
  File "${FILES}/vantrelo.exe"
  File "${FILES}/HAND-M.CUR"
  File "${FILES}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\vantrelo.exe" "" "" 0 SW_SHOWNORMAL "" \
    "Find duplicate rows in a block of Excel cells and colour them"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vantrelo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestravon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; Removes what the setup put there and nothing else: the folder goes only
; once it is empty, and the stored option ("Highlight Entire Row") stays,
; as a user's setting does.
Section "Uninstall"
  ; A running vantrelo.exe cannot be deleted; then nothing else is removed
  ; either, so the entry still lists it for a second try.
  ClearErrors
  Delete "$INSTDIR\vantrelo.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Vantrelo is still running. Close it, then uninstall it again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\HAND-M.CUR"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
