; The Letterwire installer: for the current user (the default, no
; administrator rights needed) or for all users; Start-menu entries; an
; uninstaller registered in the hive of the install that removes exactly what
; was installed.
;
; Built by scripts/package-windows, which passes:
;   VERSION      the project's version, e.g. 0.1
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
!define README_LINK "Letterwire - Read me.lnk"

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

!include "${FILES}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show README.txt"
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; Japanese Windows gets Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

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

Function .onInit
  SetRegView 64
  ; /D= sets $INSTDIR before .onInit; the install mode would overwrite it.
  StrCpy $CommandLineDir $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

Section "Letterwire"
  SetOutPath "$INSTDIR"
  !insertmacro LW_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  !ifdef HAVE_WINDOW
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Letterwire.exe"
  !endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${README_LINK}" "$INSTDIR\README.txt"

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
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for all users; removing it needs administrator rights." /SD IDOK
      Quit
    ${EndIf}
    Call un.MultiUser.InstallMode.AllUsers
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
  StrCpy $INSTDIR $CommandLineDir
FunctionEnd

Section "Uninstall"
  ; Only what the installer put there, and the WIT export's work files
  ; (tmp*.wmf): never a whole folder, which may hold the user's own files.
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${README_LINK}"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  !insertmacro LW_UNINSTALL_FILES
  Delete "$INSTDIR\tmp*.wmf"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
