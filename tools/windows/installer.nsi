; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: a Russian wizard that puts the program into
; Program Files\Вирталаб, adds a Start-menu shortcut and registers the
; uninstaller in the system's list of programs. /S installs silently, for
; administrators who set up a whole classroom.
; The installer itself is 32-bit, so that it starts on any Windows and can
; say in Russian why it installs nothing on a 32-bit Windows or one older
; than Windows 10 version 1607 (build 14393), which Qt 6 needs; silent, it
; then ends with exit code 2.
; Defines from make-packages.sh: VERSION, STAGE (the laid-out program),
; FILES and REMOVE (the install and uninstall lists), ICON, OUTFILE, SIZE_KB;
; TARGET only for the test's 64-bit twin.
Unicode true
!ifndef TARGET
    !define TARGET x86-unicode
!endif
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include LogicLib.nsh
!include MUI2.nsh
!include WinVer.nsh
!include x64.nsh

!define PROGRAM "Вирталаб"
!define EXE "Вирталаб.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PROGRAM}"

Name "${PROGRAM} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PROGRAM}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PROGRAM} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
    ${IfNot} ${RunningX64}
    ${OrIfNot} ${AtLeastBuild} 14393
        MessageBox MB_OK|MB_ICONSTOP "«Вирталаб» работает только в 64-разрядной Windows 10 версии 1607 или новее и в Windows 11.$\r$\n$\r$\nНа этом компьютере программа работать не сможет, поэтому ничего не установлено." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    ; The program is 64-bit: its registry entries and Program Files.
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "${PROGRAM}"
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${PROGRAM}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PROGRAM}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    ; Only what the installer put there: files the user left beside the
    ; program stay, and so does the folder then.
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PROGRAM}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
