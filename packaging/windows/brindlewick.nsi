; The Windows installer, built by scripts/windows with Debian's makensis:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder of the zip's files> -DICON=<brindlewick.ico>
;            -DSIZE_KB=<installed size> -DOUTFILE=<setup.exe> -DCOPYRIGHT=<line> brindlewick.nsi
; VERSION is the project's (CMakeLists.txt), as in the game's own version
; resource; COPYRIGHT the copyright file's line, as there too.
; Installs for all users under Program Files with a Start-menu entry and an
; uninstaller listed in Apps & features. Both run silently with /S. Saves live
; in each player's %APPDATA%\Brindlewick and are never touched here.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define NAME "Brindlewick"
!define EXE "brindlewick.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

; The pages and the window's title say which version they install.
Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

!searchparse "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "."
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "The Brindlewick developers"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} installer"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Install"
  ; A reinstall over an older version must not keep data files it no longer has.
  RMDir /r "$INSTDIR\data"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Tells the game it is installed, wherever the player put it: saves then go
  ; to %APPDATA%\Brindlewick, not into the folder it is started from.
  FileOpen $0 "$INSTDIR\brindlewick.installed" w
  FileWrite $0 "Installed by brindlewick-${VERSION}-setup.exe$\r$\n"
  FileClose $0

  ; The shortcut starts the game in its own folder; the game keeps saves in
  ; %APPDATA% when installed, so nothing is written there.
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Brindlewick developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes exactly what the installer put there, so a folder the player chose
; that holds other files keeps them; the player's saves are elsewhere and stay.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\OpenAL32.dll"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\brindlewick.installed"
  RMDir /r "$INSTDIR\data"
  RMDir /r "$INSTDIR\licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
