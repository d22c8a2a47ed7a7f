; SPDX-License-Identifier: MIT
; The Windows installer. packaging/windows/CMakeLists.txt runs makensis with
; VERSION, STAGE (the folder holding the programs and licences), ICON and
; OUTFILE defined.
;   corvane-VERSION-setup.exe             asks, then installs for every user
;   corvane-VERSION-setup.exe /S          installs the window, asking nothing
;   corvane-VERSION-setup.exe /S /TOOLS   ... and the command-line tools
;   Uninstall.exe /S                      removes everything, asking nothing
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Name "Corvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Corvane"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
BrandingText "Corvane ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Corvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Corvane ${VERSION} setup"
VIAddVersionKey "CompanyName" "The Corvane developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Corvane developers, MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Corvane" SecWindow
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}/corvane.exe"
    File "${STAGE}/LICENSE.txt"
    SetOutPath "$INSTDIR\licences"
    File "${STAGE}/licences/*.txt"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Corvane.lnk" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0

    WriteRegStr HKLM "${KEY}" "DisplayName" "Corvane"
    WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY}" "Publisher" "The Corvane developers"
    WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\corvane.exe,0"
    WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${KEY}" "EstimatedSize" $0
SectionEnd

; Off unless chosen on the components page, or /TOOLS with /S.
Section /o "Command-line tools (corvane-send, corvane-unit-sim, corvane-osc)" SecTools
    SetOutPath "$INSTDIR"
    File "${STAGE}/corvane-send.exe"
    File "${STAGE}/corvane-unit-sim.exe"
!if /FileExists "${STAGE}/corvane-osc.exe"
    File "${STAGE}/corvane-osc.exe"
!endif
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecWindow} "The Corvane window, with a Start menu entry."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecTools} "Programs for scripts and show control, run from a command prompt."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    SetShellVarContext all
    SetRegView 64
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/TOOLS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecTools}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

; Each file by name, so that nothing of the user's is removed with the folder.
Section "Uninstall"
    Delete "$SMPROGRAMS\Corvane.lnk"
    Delete "$INSTDIR\corvane.exe"
    Delete "$INSTDIR\corvane-send.exe"
    Delete "$INSTDIR\corvane-unit-sim.exe"
    Delete "$INSTDIR\corvane-osc.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\licences\THIRD-PARTY.txt"
    Delete "$INSTDIR\licences\LGPL-3.txt"
    Delete "$INSTDIR\licences\GPL-3.txt"
    Delete "$INSTDIR\licences\LGPL-2.1.txt"
    Delete "$INSTDIR\licences\Qt-copyright.txt"
    Delete "$INSTDIR\licences\MinGW-w64-runtime.txt"
    RMDir "$INSTDIR\licences"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
