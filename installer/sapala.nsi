; sapala-setup.exe: installs Sapala Bahasa Vova into the folder the program reads its data from,
; "C:\Program Files\Sapala Vova": the program, the dictionary workbook "sapala.bat", the skin
; DiruriZedaz (packed file and folder, when the build has them), a Start-menu shortcut and an
; uninstaller that removes exactly those files.
;
; The workbook is the user's to change. Its size and time are recorded when it is installed; a
; workbook that differs from the record (or that was there before us) is "changed": it is never
; overwritten without asking and is kept on uninstall unless the user says otherwise.
; Silent runs (/S) keep a changed workbook; /OVERWRITEWORKBOOK (setup) and /REMOVEWORKBOOK
; (uninstall) say otherwise.
;
; Made by scripts/make-installer.sh, which defines:
;   ARCH      i686 or x86_64 (the program's machine; the x86_64 setup is a 64-bit program too)
;   VERSION   X.Y.Z, the program's version
;   EXE       the stripped sapala.exe      WORKBOOK  the dictionary workbook
;   FILES     an include file with the macros InstallSkin and RemoveSkin
;   OUTFILE   where the setup program goes

Unicode true
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
; On the 64-bit target ${RunningX64} is known while compiling, and LogicLib then leaves an
; else label unused (warning 6012).
!pragma warning disable 6012
!include MUI2.nsh
!include "${FILES}"

!define PRODUCT "Sapala Bahasa Vova"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SapalaVova"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program opens "C:\Program Files\Sapala Vova\sapala.bat" by that name, so this folder is
; not a choice (a 32-bit program on 64-bit Windows reads it too: only System32 is redirected).
InstallDir "C:\Program Files\Sapala Vova"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup (${ARCH})"
VIAddVersionKey /LANG=0 "CompanyName" "Sapala"
VIAddVersionKey /LANG=0 "LegalCopyright" "Sapala"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\sapala.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the fallback; Windows set to Indonesian gets Indonesian.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Indonesian"

LangString Need64 ${LANG_ENGLISH} "This is the 64-bit ${PRODUCT}. Please use the 32-bit setup on this Windows."
LangString Need64 ${LANG_INDONESIAN} "Ini ${PRODUCT} 64-bit. Pakailah setup 32-bit untuk Windows ini."
LangString AskOverwrite ${LANG_ENGLISH} "The dictionary workbook$\r$\n$INSTDIR\sapala.bat$\r$\nhas been changed since it was installed (or was not installed by this setup).$\r$\n$\r$\nReplace it with the workbook of this version? Your changes would be lost.$\r$\nChoose No to keep your workbook."
LangString AskOverwrite ${LANG_INDONESIAN} "Buku kerja kamus$\r$\n$INSTDIR\sapala.bat$\r$\ntelah diubah sejak dipasang (atau tidak dipasang oleh setup ini).$\r$\n$\r$\nGanti dengan buku kerja versi ini? Perubahan Anda akan hilang.$\r$\nPilih No (Tidak) untuk menyimpan buku kerja Anda."
LangString KeptWorkbook ${LANG_ENGLISH} "Kept your changed workbook $INSTDIR\sapala.bat"
LangString KeptWorkbook ${LANG_INDONESIAN} "Buku kerja Anda yang telah diubah disimpan: $INSTDIR\sapala.bat"
LangString AskKeep ${LANG_ENGLISH} "The dictionary workbook$\r$\n$INSTDIR\sapala.bat$\r$\nhas been changed since it was installed.$\r$\n$\r$\nKeep it? Choose No to delete it as well."
LangString AskKeep ${LANG_INDONESIAN} "Buku kerja kamus$\r$\n$INSTDIR\sapala.bat$\r$\ntelah diubah sejak dipasang.$\r$\n$\r$\nSimpan? Pilih No (Tidak) untuk menghapusnya juga."

; The record of the installed workbook lives in the uninstall key, in the 64-bit view of the
; registry wherever there is one, so that both setups (32- and 64-bit) read the same record.
!macro RegistryView
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

; Pushes "none" (no workbook), "ours" (as this setup recorded it) or "changed".
!macro WorkbookState UN
Function ${UN}WorkbookState
  Push $0
  Push $1
  Push $2
  Push $3
  ${IfNot} ${FileExists} "$INSTDIR\sapala.bat"
    StrCpy $0 "none"
  ${Else}
    StrCpy $0 "changed"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "WorkbookStamp"
    ${If} $1 != ""
      FileOpen $2 "$INSTDIR\sapala.bat" r
      FileSeek $2 0 END $3
      FileClose $2
      GetFileTime "$INSTDIR\sapala.bat" $2 $0
      ${If} $1 == "$3:$2:$0"
        StrCpy $0 "ours"
      ${Else}
        StrCpy $0 "changed"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro WorkbookState ""
!insertmacro WorkbookState "un."

; Records the installed workbook's size and last-write time.
Function RecordWorkbook
  FileOpen $0 "$INSTDIR\sapala.bat" r
  FileSeek $0 0 END $1
  FileClose $0
  GetFileTime "$INSTDIR\sapala.bat" $2 $3
  WriteRegStr HKLM "${UNINSTALL_KEY}" "WorkbookStamp" "$1:$2:$3"
FunctionEnd

Function .onInit
  !if "${ARCH}" == "x86_64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "$(Need64)" /SD IDOK
      Abort
    ${EndIf}
  !endif
  ; /D= cannot move the program: it reads its data from the fixed folder.
  StrCpy $INSTDIR "C:\Program Files\Sapala Vova"
  !insertmacro RegistryView
FunctionEnd

Function un.onInit
  StrCpy $INSTDIR "C:\Program Files\Sapala Vova"
  !insertmacro RegistryView
FunctionEnd

Section "Sapala Bahasa Vova" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=sapala.exe" "${EXE}"

  Call WorkbookState
  Pop $0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/OVERWRITEWORKBOOK" $R1
  StrCpy $R2 "install"
  ${If} $0 == "changed"
  ${AndIf} ${Errors}
    StrCpy $R2 "keep"
    ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(AskOverwrite)" /SD IDNO IDYES`
      StrCpy $R2 "install"
    ${EndIf}
  ${EndIf}
  ${If} $R2 == "install"
    File "/oname=sapala.bat" "${WORKBOOK}"
    Call RecordWorkbook
  ${Else}
    DetailPrint "$(KeptWorkbook)"
  ${EndIf}

  !insertmacro InstallSkin
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "${SHORTCUT}" "$INSTDIR\sapala.exe" "" "$INSTDIR\sapala.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Sapala"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\sapala.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.WorkbookState
  Pop $0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEWORKBOOK" $R1
  ${If} $0 == "ours"
    Delete "$INSTDIR\sapala.bat"
  ${ElseIf} $0 == "changed"
    ${IfNot} ${Errors}
      Delete "$INSTDIR\sapala.bat"
    ${ElseIfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "$(AskKeep)" /SD IDYES IDYES`
      Delete "$INSTDIR\sapala.bat"
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\sapala.exe"
  !insertmacro RemoveSkin
  SetShellVarContext all
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: whatever the user put into the folder stays, and so does the folder then.
  RMDir "$INSTDIR"
SectionEnd
