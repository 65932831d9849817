; The Windows installer, built by scripts/package windows with Debian's makensis:
;   makensis -DVERSION=1.0 -DFILES=FOLDER -DOUTFILE=setup.exe quillon.nsi
; where FOLDER holds quillon.exe, quillon-cli.exe, LICENSE.txt and NOTICES.txt (the texts
; in CR LF lines, as the licence page reads them). For every user of the computer,
; so administrators only. Silent: setup.exe /S [/ADDTOPATH=1] [/D=FOLDER], where
; /ADDTOPATH=1 chooses the component that puts the install folder on the system PATH
; (off unless chosen; 0 leaves it off, any other value ends the installer with exit
; code 2); uninstall.exe /S removes what the installer put there.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh
!include StrFunc.nsh
${StrLoc}

!ifdef VERSION & FILES & OUTFILE
!else
    !error "VERSION, FILES and OUTFILE must be given with /D"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tesmar Quillon"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define SHORTCUT "$SMPROGRAMS\Tesmar Quillon.lnk"
; A string here holds NSIS_MAX_STRLEN - 1 characters, and reading a registry value that
; fills them exactly writes one past them: a PATH that might not fit is left alone,
; since writing it back would cut off the user's entries.
!define /math PATH_LIMIT ${NSIS_MAX_STRLEN} - 2

Name "Tesmar Quillon"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tesmar\Quillon"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tesmar Quillon ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${FILES}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; WithoutEntry: takes ENTRY (top of the stack) and PATH (below it), leaves PATH without
; the entries equal to ENTRY (ignoring case, as Windows does), every other entry kept as
; it was, empty ones included. Added as the installer adds it, the entry goes again
; without a trace.
!macro WithoutEntryFunction prefix
Function ${prefix}WithoutEntry
    Exch $1
    Exch
    Exch $0
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $2 ""
    StrCpy $3 ""
    StrCpy $5 0
    StrCpy $6 ""
    ${Do}
        StrCpy $4 $0 1 $5
        ${If} $4 == ";"
        ${OrIf} $4 == ""
            ${If} $3 != $1
                StrCpy $2 "$2$6$3"
                StrCpy $6 ";"
            ${EndIf}
            ${If} $4 == ""
                ${ExitDo}
            ${EndIf}
            StrCpy $3 ""
        ${Else}
            StrCpy $3 "$3$4"
        ${EndIf}
        IntOp $5 $5 + 1
    ${Loop}
    StrCpy $0 $2
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Exch $0
    Exch
    Pop $1
FunctionEnd
!macroend
!insertmacro WithoutEntryFunction ""
!insertmacro WithoutEntryFunction "un."

; Programs started later see the changed PATH; those running keep theirs.
!macro AnnounceEnvironment
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Section "Tesmar Quillon" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${FILES}/quillon.exe"
    File "${FILES}/quillon-cli.exe"
    File "${FILES}/LICENSE.txt"
    File "${FILES}/NOTICES.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\quillon.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tesmar Quillon"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tesmar"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; PathLeftAlone REASON: tells the user why the installer did not touch the system PATH.
!macro PathLeftAlone reason
    MessageBox MB_OK|MB_ICONEXCLAMATION "${reason}, so the system PATH was left as it is. Add $INSTDIR to it yourself to run quillon-cli from any folder." /SD IDOK
    DetailPrint "The system PATH was left as it is: ${reason}"
!macroend

Section /o "Add to the system PATH" SectionPath
    ; A folder name may hold the PATH's separator, which would make two entries of it.
    ${StrLoc} $0 "$INSTDIR" ";" ">"
    ${If} $0 != ""
        !insertmacro PathLeftAlone "The install folder's name has a semicolon, which the PATH takes as a separator"
        Return
    ${EndIf}

    ClearErrors
    ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
    ${If} ${Errors}
        !insertmacro PathLeftAlone "The system PATH is too long for this installer to change it safely"
        Return
    ${EndIf}

    Push $0
    Push $INSTDIR
    Call WithoutEntry
    Pop $1
    ${If} $1 != $0
        DetailPrint "The system PATH has $INSTDIR already"
        Return
    ${EndIf}

    ; Appended before a trailing separator, so that taking the entry out gives back the
    ; PATH as it was.
    StrCpy $2 $0 1 -1
    ${If} $0 == ""
        StrCpy $1 "$INSTDIR"
    ${ElseIf} $2 == ";"
        StrCpy $1 "$0$INSTDIR;"
    ${Else}
        StrCpy $1 "$0;$INSTDIR"
    ${EndIf}
    StrLen $3 $0
    StrLen $4 $INSTDIR
    IntOp $3 $3 + $4
    IntOp $3 $3 + 1
    ${If} $3 > ${PATH_LIMIT}
        !insertmacro PathLeftAlone "The system PATH would grow too long for this installer to change it safely"
        Return
    ${EndIf}

    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" $1
    ; The uninstaller takes out only an entry that this installer put in.
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToPath" 1
    !insertmacro AnnounceEnvironment
SectionEnd

; Last, so that it counts everything installed.
Section "-Size"
    ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "The program, quillon.exe, with its Start-menu entry, and the command-line client, quillon-cli.exe."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionPath} "Lets quillon-cli be run from any folder in a new command prompt."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Both change what every user of the computer shares; without an administrator's rights
; their writes would fail one by one, and leave a half install.
!macro RequireAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "Tesmar Quillon is installed for every user of this computer: run this as an administrator." /SD IDOK
        SetErrorLevel 740
        Quit
    ${EndIf}
!macroend

Function .onInit
    SetShellVarContext all
    !insertmacro RequireAdministrator

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ADDTOPATH=" $1
    ${IfNot} ${Errors}
        ${If} $1 == "1"
            !insertmacro SelectSection ${SectionPath}
        ${ElseIf} $1 != "0"
            MessageBox MB_OK|MB_ICONSTOP "/ADDTOPATH= takes 1 (put the install folder on the system PATH) or 0 (leave the PATH alone)." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    !insertmacro RequireAdministrator
FunctionEnd

Section "Uninstall"
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $0 == 1
        ClearErrors
        ReadRegStr $1 HKLM "${ENVIRONMENT_KEY}" "Path"
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONEXCLAMATION "The system PATH is too long for this uninstaller to change it safely, so it was left as it is. Take $INSTDIR out of it yourself." /SD IDOK
            DetailPrint "The system PATH was left as it is: too long to change safely"
        ${Else}
            Push $1
            Push $INSTDIR
            Call un.WithoutEntry
            Pop $2
            ${If} $2 != $1
                WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" $2
                !insertmacro AnnounceEnvironment
            ${EndIf}
        ${EndIf}
    ${EndIf}

    Delete "${SHORTCUT}"
    Delete "$INSTDIR\quillon.exe"
    Delete "$INSTDIR\quillon-cli.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\NOTICES.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: files the user put there stay, and so does their folder.
    RMDir "$INSTDIR"
    ${GetParent} "$INSTDIR" $0
    ${If} $0 == "$PROGRAMFILES64\Tesmar"
        RMDir "$0"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
