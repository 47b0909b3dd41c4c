; Quotario's installer for Windows, for one user and without administrator rights: the program's
; folder goes into the user's own programs folder (%LOCALAPPDATA%\Programs\Quotario), where
; quotario.exe can write Allinea.ini beside itself; a shortcut in the Start menu, one on the
; desktop on request, and an entry in "App installate" with the icon, the version and the
; uninstaller. The texts are Italian. /S installs (and the uninstaller uninstalls) without a
; window; /DESKTOP adds the desktop shortcut then too.
;
; Made by scripts/windows-setup, which gives:
;   VERSION          the program's version
;   PUBLISHER        who publishes it
;   WEB_ADDRESS      the program's web site
;   COPYRIGHT        the copyright line of the program's files
;   ICON             the program's .ico
;   PICTURE          the program's picture on the welcome and finish pages (164 x 314 BMP)
;   FOLDER           the program's folder, as the zip holds it
;   INSTALL_FILES    an include that installs every file of FOLDER but Allinea.ini
;   UNINSTALL_FILES  an include that removes them again, and their folders once empty
;   OUTFILE          the installer to write

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PROGRAM "Quotario"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quotario"
; The taxpayer's data files (*.ici) open with the program, for this user only.
!define DATA_EXTENSION_KEY "Software\Classes\.ici"
!define DATA_TYPE "Quotario.DatiICI"
!define DATA_TYPE_KEY "Software\Classes\${DATA_TYPE}"
!define UNINSTALLER "disinstalla.exe"

Name "${PROGRAM} ${VERSION}"
; The line under every page names the program, not the tool that made the installer.
BrandingText "${PROGRAM} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PROGRAM}"
; An update goes where the program already is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PROGRAM}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PROGRAM} ${VERSION}"
VIAddVersionKey /LANG=1040 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quotario.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\leggimi-prima.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Apri leggimi-prima.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "Quotario (programma)" SectionProgram
    SectionIn RO
    !include "${INSTALL_FILES}"
    ; The alignment the user saved stays as it is: over an older version (or the same one) the
    ; shipped Allinea.ini goes in only where there is none.
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "${FOLDER}\Allinea.ini"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; The shortcuts start the program in its own folder.
    CreateShortcut "$SMPROGRAMS\${PROGRAM}.lnk" "$INSTDIR\quotario.exe" "" "$INSTDIR\quotario.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PROGRAM}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quotario.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_ADDRESS}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; A double click on a data file opens it in the program.
    WriteRegStr HKCU "${DATA_EXTENSION_KEY}" "" "${DATA_TYPE}"
    WriteRegStr HKCU "${DATA_EXTENSION_KEY}\OpenWithProgids" "${DATA_TYPE}" ""
    WriteRegStr HKCU "${DATA_TYPE_KEY}" "" "Dati ICI di Quotario"
    WriteRegStr HKCU "${DATA_TYPE_KEY}\DefaultIcon" "" "$INSTDIR\quotario.exe,0"
    WriteRegStr HKCU "${DATA_TYPE_KEY}\shell\open\command" "" '"$INSTDIR\quotario.exe" "%1"'
    ; SHCNE_ASSOCCHANGED: Explorer shows the new type at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Collegamento sul desktop" SectionDesktop
    SetOutPath "$INSTDIR"
    CreateShortcut "$DESKTOP\${PROGRAM}.lnk" "$INSTDIR\quotario.exe" "" "$INSTDIR\quotario.exe" 0
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/DESKTOP" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionDesktop} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; Sets $R2 to 1 when the files $R0 and $R1 hold the same bytes, else to 0.
Function un.SameContent
    StrCpy $R2 0
    ClearErrors
    FileOpen $3 $R0 r
    IfErrors done
    FileOpen $4 $R1 r
    IfErrors close_first
    ${Do}
        ClearErrors
        FileReadByte $3 $5
        ${If} ${Errors}
            ; The first file has ended: the same only if the second ends here too.
            ClearErrors
            FileReadByte $4 $6
            ${If} ${Errors}
                StrCpy $R2 1
            ${EndIf}
            ${Break}
        ${EndIf}
        FileReadByte $4 $6
        ${IfThen} ${Errors} ${|} ${Break} ${|}
        ${IfThen} $5 != $6 ${|} ${Break} ${|}
    ${Loop}
    FileClose $4
close_first:
    FileClose $3
done:
FunctionEnd

Section "Uninstall"
    !include "${UNINSTALL_FILES}"
    ; An Allinea.ini with a saved alignment is the user's: it stays, and with it the folder. The
    ; shipped one goes, and so do the temporary files of a save that was cut short.
    InitPluginsDir
    File "/oname=$PLUGINSDIR\Allinea.ini" "${FOLDER}\Allinea.ini"
    StrCpy $R0 "$INSTDIR\Allinea.ini"
    StrCpy $R1 "$PLUGINSDIR\Allinea.ini"
    Call un.SameContent
    ${If} $R2 == 1
        Delete "$INSTDIR\Allinea.ini"
    ${ElseIf} ${FileExists} "$INSTDIR\Allinea.ini"
        DetailPrint "L'allineamento salvato resta in $INSTDIR\Allinea.ini"
    ${EndIf}
    Delete "$INSTDIR\Allinea.ini.*.tmp"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PROGRAM}.lnk"
    Delete "$DESKTOP\${PROGRAM}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; The data files' type goes; the extension only as far as it is still ours.
    DeleteRegKey HKCU "${DATA_TYPE_KEY}"
    DeleteRegValue HKCU "${DATA_EXTENSION_KEY}\OpenWithProgids" "${DATA_TYPE}"
    DeleteRegKey /ifempty HKCU "${DATA_EXTENSION_KEY}\OpenWithProgids"
    ReadRegStr $0 HKCU "${DATA_EXTENSION_KEY}" ""
    ${If} $0 == "${DATA_TYPE}"
        DeleteRegValue HKCU "${DATA_EXTENSION_KEY}" ""
    ${EndIf}
    DeleteRegKey /ifempty HKCU "${DATA_EXTENSION_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
