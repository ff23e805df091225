; The Letterwire installer: for the current user (the default, no
; administrator rights needed) or for all users; Start-menu entries; an
; uninstaller registered in the hive of the install that removes exactly what
; was installed, the program folder on PATH (a choice, on by default) and the
; settings once no install is left; it waits while a program of the install
; runs. English and Japanese, chosen by the system's language.
;
; Built by scripts/package-windows, which passes:
;   VERSION      the project's version, e.g. 1.0.0
;   STAGE        the folder holding the files to install
;   FILES        a generated .nsh with the macros LW_INSTALL_FILES and
;                LW_UNINSTALL_FILES (one line per staged file)
;   OUTFILE      the installer to write
;   HAVE_WINDOW  defined when Letterwire.exe is among the files

Unicode true
Target amd64-unicode
; zlib keeps the installer's own licence terms to the zlib licence.
SetCompressor /SOLID zlib
ManifestDPIAware true

!define PRODUCT "Letterwire"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Letterwire"
!define UNINSTALLER "Uninstall Letterwire.exe"
; The README's Start-menu entry is named in the install's language; the
; uninstaller removes either name, whichever language it runs in.
!define README_LINK_EN "Letterwire - Read me.lnk"
!define README_LINK_JA "Letterwire - お読みください.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

; Four numbers, as Windows' version resource wants them.
!searchparse /noerrors "${VERSION}.0.0.0" "" V1 "." V2 "." V3 "." V4 "."
VIProductVersion "${V1}.${V2}.${V3}.${V4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
; No administrator rights needed, and the program's folder stays the user's
; to write: the WIT export makes its work file there.
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_FUNCTION onInstallModeChanged
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

!include "${FILES}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ShowReadme)"
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; Japanese Windows gets Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include /CHARSET=UTF8 "strings.nsh"

; PATH lives in a different key for each hive.
!define ENV_USER "Environment"
!define ENV_MACHINE "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define SETTINGS_KEY "Software\${PRODUCT}"

Var CommandLineDir

; An earlier install of the same kind is updated where it is.
Function onInstallModeChanged
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd


; $R9: the key that holds PATH in the hive of this install.
!macro LW_ENV_KEY
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $R9 "${ENV_MACHINE}"
  ${Else}
    StrCpy $R9 "${ENV_USER}"
  ${EndIf}
!macroend

; $R0: PATH of the install's hive; error flag set when it exists but is too
; long for NSIS strings (ReadRegStr then gives "" as for no value at all,
; and writing that back would destroy it).
!macro LW_READ_PATH
  ClearErrors
  ReadRegStr $R0 SHCTX $R9 "Path"
  ${If} ${Errors}
    StrCpy $R0 ""
    StrCpy $R1 0
    ClearErrors
    ${Do}
      EnumRegValue $R2 SHCTX $R9 $R1
      ${If} ${Errors}
      ${OrIf} $R2 == ""
        ClearErrors
        ${Break}
      ${EndIf}
      ${If} $R2 == "Path"
        SetErrors
        ${Break}
      ${EndIf}
      IntOp $R1 $R1 + 1
    ${Loop}
  ${EndIf}
!macroend

Section "Letterwire" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro LW_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  !ifdef HAVE_WINDOW
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Letterwire.exe"
  !endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(ReadmeLink)" "$INSTDIR\README.txt"

  ; SHCTX is HKLM for all users, HKCU for the current user.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Letterwire authors"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
  !ifdef HAVE_WINDOW
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Letterwire.exe"
  !endif
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; letterwire-cli.exe and launcher.exe from any command prompt.
Section "$(SectionPath)" SecPath
  !insertmacro LW_ENV_KEY
  !insertmacro LW_READ_PATH
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(PathTooLong)" /SD IDOK
    Return
  ${EndIf}
  ; Already there (an update, or put there by hand): nothing to add.
  ClearErrors
  ${WordReplace} ";$R0;" ";$INSTDIR;" ";" "E+" $R1
  ${IfNot} ${Errors}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AddedToPath" 1
    Return
  ${EndIf}
  StrLen $R1 "$R0;$INSTDIR"
  ${If} $R1 >= ${NSIS_MAX_STRLEN}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(PathTooLong)" /SD IDOK
    Return
  ${EndIf}
  ${If} $R0 == ""
    StrCpy $R0 "$INSTDIR"
  ${Else}
    StrCpy $R0 "$R0;$INSTDIR"
  ${EndIf}
  WriteRegExpandStr SHCTX $R9 "Path" $R0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AddedToPath" 1
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(SectionProgramText)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPath} $(SectionPathText)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  SetRegView 64
  ; /D= sets $INSTDIR before .onInit; the install mode would overwrite it.
  StrCpy $CommandLineDir $INSTDIR
  !insertmacro MULTIUSER_INIT
  ; /NoPath: a silent install that leaves PATH alone.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NoPath" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPath} 0
  ${EndIf}
FunctionEnd

; $0: the first of the install's programs that is running, or "". A running
; program cannot be opened for writing; the test writes nothing.
!macro LW_RUNNING_PROGRAM NAME
  ${If} $0 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${NAME}"
    ClearErrors
    FileOpen $1 "$INSTDIR\${NAME}" a
    ${If} ${Errors}
      StrCpy $0 "${NAME}"
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
!macroend

Function un.onInit
  SetRegView 64
  ; The uninstaller belongs to the install whose folder it sits in, whatever
  ; the command line says: an all-users and a per-user install may coexist.
  StrCpy $CommandLineDir $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  StrCpy $INSTDIR $CommandLineDir
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    ${If} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      Quit
    ${EndIf}
    Call un.MultiUser.InstallMode.AllUsers
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
  StrCpy $INSTDIR $CommandLineDir
  ; Files of a running program cannot go: wait for it rather than leave half
  ; an install behind. Silent, the uninstaller ends with status 2.
  ${Do}
    StrCpy $0 ""
    !insertmacro LW_RUNNING_PROGRAM "Letterwire.exe"
    !insertmacro LW_RUNNING_PROGRAM "letterwire-cli.exe"
    !insertmacro LW_RUNNING_PROGRAM "launcher.exe"
    ${If} $0 == ""
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY lw_retry
    SetErrorLevel 2
    Quit
    lw_retry:
  ${Loop}
FunctionEnd

; The WIT export's work files by the names it gives them, "tmp-", twelve
; lower-case hex digits, ".wmf": a user's own tmp.wmf or tmp-1.wmf beside
; them stays. Each found name is checked whole, since a wildcard also matches
; a long name through its short one.
Function un.DeleteWorkFiles
  FindFirst $R0 $R1 "$INSTDIR\tmp-*.wmf"
  ${DoWhile} $R1 != ""
    StrLen $R2 $R1
    StrCpy $R3 $R1 4
    StrCpy $R4 $R1 "" 16
    ${If} $R2 = 20
    ${AndIf} $R3 S== "tmp-"
    ${AndIf} $R4 S== ".wmf"
      StrCpy $R5 1
      ${For} $R6 4 15
        StrCpy $R7 $R1 1 $R6
        StrCpy $R8 0
        ${For} $R9 0 15
          StrCpy $R2 "0123456789abcdef" 1 $R9
          ${If} $R7 S== $R2
            StrCpy $R8 1
          ${EndIf}
        ${Next}
        ${If} $R8 = 0
          StrCpy $R5 0
        ${EndIf}
      ${Next}
      ${If} $R5 = 1
        Delete "$INSTDIR\$R1"
      ${EndIf}
    ${EndIf}
    FindNext $R0 $R1
  ${Loop}
  FindClose $R0
FunctionEnd

Section "Uninstall"
  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "AddedToPath"
  ${If} $0 == 1
    !insertmacro LW_ENV_KEY
    !insertmacro LW_READ_PATH
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(PathNotRemoved)" /SD IDOK
    ${Else}
      ${un.WordReplace} ";$R0;" ";$INSTDIR;" ";" "+" $R1
      ; The two semicolons added for the search go again.
      StrCpy $R1 $R1 "" 1
      StrCpy $R1 $R1 -1
      ${If} $R1 != $R0
        ${If} $R1 == ""
          DeleteRegValue SHCTX $R9 "Path"
        ${Else}
          WriteRegExpandStr SHCTX $R9 "Path" $R1
        ${EndIf}
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ; Only what the installer put there, and the WIT export's work files:
  ; never a whole folder, which may hold the user's own files.
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${README_LINK_EN}"
  Delete "$SMPROGRAMS\${PRODUCT}\${README_LINK_JA}"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  !insertmacro LW_UNINSTALL_FILES
  Call un.DeleteWorkFiles
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The user's remembered settings go with the last install: an all-users
  ; and a per-user install may share them.
  ClearErrors
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${AndIf} $1 == ""
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd
