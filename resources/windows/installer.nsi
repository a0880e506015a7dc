; The Windows installer: a per-user installation (no administrator rights)
; in %LOCALAPPDATA%\Programs\Velmora, a Start-menu entry, velmora-tool.exe on
; the user's PATH when asked, and an uninstaller that removes exactly the
; files it installed. scripts/package-windows builds it with makensis:
;   VERSION  the version, as velmora --version gives it
;   STAGE    the folder whose files are installed
;   FILES    the generated File lines; UNFILES the matching Delete lines
;   ICON     the program's icon; OUTFILE the installer to write
;
; Silent: setup.exe /S [/ADDTOPATH] [/D=FOLDER]  (/D= last, unquoted)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define ENVIRONMENT_KEY "Environment"

Name "Velmora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velmora"
BrandingText "Velmora ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Splits $R0 at ";" and joins again every entry but $R1 (compared as Windows
; compares folder names: case aside, with or without a final "\"); the
; result in $R2. Empty entries are kept as they were.
!macro DEFINE_PATH_WITHOUT un
Function ${un}PathWithout
  StrCpy $R2 ""
  StrCpy $R3 0
  StrCpy $R4 ""
  StrCpy $R6 0
  ${Do}
    StrCpy $R5 $R0 1 $R3
    ${If} $R5 == ";"
    ${OrIf} $R5 == ""
      ${IfNot} $R4 == $R1
      ${AndIfNot} $R4 == "$R1\"
        ${If} $R6 == 1
          StrCpy $R2 "$R2;$R4"
        ${Else}
          StrCpy $R2 $R4
          StrCpy $R6 1
        ${EndIf}
      ${EndIf}
      ${IfThen} $R5 == "" ${|} ${ExitDo} ${|}
      StrCpy $R4 ""
    ${Else}
      StrCpy $R4 "$R4$R5"
    ${EndIf}
    IntOp $R3 $R3 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_PATH_WITHOUT ""
!insertmacro DEFINE_PATH_WITHOUT "un."

; Reads the user's PATH into $R0; $R7 is 1 when it may have been cut short
; (as long as the installer's strings), and then it must not be written back.
!define /math LONGEST_STRING ${NSIS_MAX_STRLEN} - 1
!macro READ_USER_PATH
  ReadRegStr $R0 HKCU "${ENVIRONMENT_KEY}" "Path"
  StrLen $R7 $R0
  ${If} $R7 >= ${LONGEST_STRING}
    StrCpy $R7 1
  ${Else}
    StrCpy $R7 0
  ${EndIf}
!macroend

; Deletes an installed Splines.xml only while it is the one installed (its
; time of last writing unchanged): once saved, it is the user's.
!macro DELETE_IF_UNCHANGED INSTALLED SOURCE
  GetFileTimeLocal "${SOURCE}" $R8 $R9
  ClearErrors
  GetFileTime "${INSTALLED}" $R6 $R7
  ${IfNot} ${Errors}
  ${AndIf} $R6 == $R8
  ${AndIf} $R7 == $R9
    Delete "${INSTALLED}"
  ${EndIf}
!macroend

!macro WRITE_USER_PATH
  ${If} $R2 == ""
    DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
  ${Else}
    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" $R2
  ${EndIf}
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Section "Velmora" SectionProgram
  SectionIn RO
  SetShellVarContext current
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
!if /FileExists "${STAGE}/velmora.exe"
  CreateShortCut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\velmora.exe" "--choose-folder" \
    "$INSTDIR\velmora.exe" 0
!endif
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velmora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Velmora developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Add velmora-tool.exe to my PATH" SectionPath
  !insertmacro READ_USER_PATH
  ${If} $R7 == 1
    DetailPrint "Your PATH is too long to change safely here; add $INSTDIR to it yourself."
    Return
  ${EndIf}
  StrCpy $R1 $INSTDIR
  Call PathWithout
  ${If} $R2 != $R0
    DetailPrint "$INSTDIR is on your PATH already."
    Return
  ${EndIf}
  ${If} $R0 == ""
    StrCpy $R2 $INSTDIR
  ${Else}
    StrCpy $R2 "$R0;$INSTDIR"
  ${EndIf}
  !insertmacro WRITE_USER_PATH
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "AddedToPath" 1
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ADDTOPATH" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SectionPath} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "AddedToPath"
  ${If} $0 == 1
    !insertmacro READ_USER_PATH
    ${If} $R7 == 0
      StrCpy $R1 $INSTDIR
      Call un.PathWithout
      !insertmacro WRITE_USER_PATH
    ${Else}
      DetailPrint "Your PATH is too long to change safely here; remove $INSTDIR from it yourself."
    ${EndIf}
  ${EndIf}
  Delete "$SMPROGRAMS\Velmora.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Only the files installed, each by name; a folder goes only once empty,
  ; so the user's own files (a Splines.xml, its backups) stay with it.
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
