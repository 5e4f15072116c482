; The Windows installer: quarvel.exe under Program Files, a Start-menu entry
; and an uninstaller, registered with Apps & features. 64-bit throughout.
; Built by CMake (target quarvel_installer), which defines VERSION, PUBLISHER,
; EXE and OUTFILE: the Start-menu entry and Apps & features show the version
; and publisher given there. Both the installer and the uninstaller take /S to run silently.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarvel"

Name "Quarvel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quarvel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Quarvel"
VIAddVersionKey "FileDescription" "Quarvel ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Quarvel"
  SetOutPath "$INSTDIR"
  File "/oname=quarvel.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quarvel.lnk" "$INSTDIR\quarvel.exe" "" "$INSTDIR\quarvel.exe" 0 \
    SW_SHOWNORMAL "" "Quarvel ${VERSION} by ${PUBLISHER}: the back side of an imposed press sheet"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quarvel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quarvel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Quarvel.lnk"
  Delete "$INSTDIR\quarvel.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
