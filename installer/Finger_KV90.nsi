; Setup program of the KV90 fingerprint capture station: installs, upgrades and removes one
; program folder laid out as the program expects it, since the program never creates one.
;
; Deployment switches: /S (silent), /SIMULATOR (with the simulated scanner), /D=folder (last,
; unquoted). The uninstaller takes /S and /PURGE (also remove the logs and the settings).
;
; Exit codes besides NSIS's own (0 done, 1 cancelled): 2 a capture program runs; 3 the
; uninstaller is not in the installation the uninstall entry names; 4 setup cannot use the
; folder given with /D= (not a full path, a drive's or share's root, a device path, a name
; Windows does not allow, too long for the station's files, or a file in the way); 5 the
; station's files are not all in the folder after copying (setup then registers nothing).

; Wide-character texts, so that the Chinese pages show whatever the system's code page.
Unicode true
; Before anything is added to the data.
SetCompressor /SOLID lzma
; The files' times would make every build's setup program differ; the installed files get the
; time of the installation instead.
SetDateSave off

!ifndef PRODUCT_NSH
  !error "makensis -DPRODUCT_NSH=<build>/installer/Product.nsh: the build supplies the names and the version"
!endif
!include "${PRODUCT_NSH}"
!ifndef PROGRAM_FOLDER
  !error "makensis -DPROGRAM_FOLDER=<folder>: installer/pack.py supplies the program folder"
!endif
!ifndef OUT_FILE
  !error "makensis -DOUT_FILE=<setup.exe>: installer/pack.py supplies the setup's file name"
!endif
; A signed release: the uninstaller is signed once made, before it is packed into setup.
!ifdef SIGN_UNINSTALLER
  !uninstfinalize '${SIGN_UNINSTALLER} "%1"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
; The longest path the station writes below its folder is a fault's minidump,
; "\LogFiles\Finger_KV90_yyyymmdd_hhnnss_<pid>.dmp" with a ten-digit process id: 52 characters,
; and the system's paths hold at most 259 and a zero. Every other fixed name is shorter (the
; temporary names in Temp\ and Config\ among them), and a person's file name gets what is left.
!define LONGEST_FOLDER 207
!include "Texts.nsh"
!include "RunningCheck.nsh"
!include "FolderRights.nsh"
!include "Folders.nsh"
!include "StationFiles.nsh"
!include "WebService.nsh"
!include "HostControl.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Finger_KV90"
!define UNINSTALLER "Uninstall.exe"
!define EXIT_NOT_THIS_INSTALLATION 3
!define EXIT_FOLDER_REFUSED 4
!define EXIT_NOT_INSTALLED 5
; Lies beside the simulated scanner's libraries, so that they are never taken for the vendor's.
!define SIMULATOR_MARKER "模拟扫描仪.txt"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Finger_KV90"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Roots are refused by setup's own checks, with their own exit code; without this NSIS itself
; would refuse an uninstaller started on a root (_?=C:\) before it could say why.
AllowRootDirInstall true
; Program Files, the machine's uninstall entry and the rights on the folders need an administrator.
RequestExecutionLevel admin
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

Var FinishText
; The folder that setup refuses, as the message names it.
Var RefusedFolder

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
; The details of the work stay on screen until the person goes on.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!define MUI_WELCOMEPAGE_TEXT "${TEXT_WELCOME}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_FOUR}"
VIFileVersion "${VERSION_FOUR}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${PUBLISHER}"

!insertmacro KV90_DEFINE_RUNNING_CHECK ""
!insertmacro KV90_DEFINE_RUNNING_CHECK "un."
!insertmacro KV90_DEFINE_FULL_PATH ""
!insertmacro KV90_DEFINE_FULL_PATH "un."
!insertmacro KV90_DEFINE_IS_ONE_OF ""
!insertmacro KV90_DEFINE_IS_ONE_OF "un."
!insertmacro KV90_DEFINE_REGSVR32_X64 ""
!insertmacro KV90_DEFINE_REGSVR32_X64 "un."

; ---------------------------------------------------------------------------------------
; Installation

Section "${TEXT_SECTION_PROGRAM}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${PROGRAM_FOLDER}/Finger_KV90.exe"
  ; The host control for the office's own programs (registered once the copy is whole).
  File "${PROGRAM_FOLDER}/KV90Host.dll"
  File "${PROGRAM_FOLDER}/KV90Host.txt"
  ; The converter of slot files into the images and records identification systems take.
  File "${PROGRAM_FOLDER}/KV90Records.exe"
  SetOutPath "$INSTDIR\x64"
  File "${PROGRAM_FOLDER}/x64/KV90Host.dll"
  CreateDirectory "$INSTDIR\KV90DLL"
  CreateDirectory "$INSTDIR\LogFiles"
  CreateDirectory "$INSTDIR\Temp"
  CreateDirectory "$INSTDIR\Config"
  Push "$INSTDIR\LogFiles"
  Call GrantUsersModify
  Push "$INSTDIR\Temp"
  Call GrantUsersModify
  Push "$INSTDIR\Config"
  Call GrantUsersModify
  ; An upgrade keeps the office's settings.
  SetOutPath "$INSTDIR\Config"
  SetOverwrite off
  File "${PROGRAM_FOLDER}/Config/Config.ini"
  File "${PROGRAM_FOLDER}/Config/Records.ini"
  SetOverwrite on

SectionEnd

Section /o "${TEXT_SECTION_SIMULATOR}" SecSimulator
  ; Libraries already in KV90DLL without the marker are the vendor's: they are never replaced.
  ${If} ${FileExists} "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
    StrCpy $0 0
  ${ElseIf} ${FileExists} "$INSTDIR\KV90DLL\GALS7302.dll"
    StrCpy $0 1
  ${ElseIf} ${FileExists} "$INSTDIR\KV90DLL\GAMC7302.dll"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  ${If} $0 = 1
    DetailPrint "${TEXT_SIMULATOR_KEPT_VENDOR}"
  ${Else}
    SetOutPath "$INSTDIR\KV90DLL"
    File "${SIMULATOR_FOLDER}/GALS7302.dll"
    File "${SIMULATOR_FOLDER}/GAMC7302.dll"
    File "/oname=${SIMULATOR_MARKER}" "SimulatedScanner.txt"
  ${EndIf}
SectionEnd

Section /o "${TEXT_SECTION_WEB_SERVICE}" SecWebService
  Call InstallWebService
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecWebService}
  ${AndIf} ${FileExists} "$INSTDIR\${WEB_SERVICE_EXE}"
    Call RemoveWebService
  ${EndIf}
  ; A simulator from an earlier installation goes once it is no longer chosen.
  ${IfNot} ${SectionIsSelected} ${SecSimulator}
  ${AndIf} ${FileExists} "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
    Call RemoveSimulator
  ${EndIf}

  ; The station is registered only once every file of it is where it belongs: a copy that
  ; failed (a share that is not there, a folder the system refuses) is no installation.
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  Call MissingStationFile
  Pop $0
  ${If} $0 != ""
    StrCpy $RefusedFolder $0
    DetailPrint "${TEXT_NOT_INSTALLED}"
    ${If} ${Silent}
      Push "${TEXT_NOT_INSTALLED}"
      Call WriteSetupNote
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "${TEXT_NOT_INSTALLED}" /SD IDOK
    SetErrorLevel ${EXIT_NOT_INSTALLED}
    Abort
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ; The host controls are registered for the whole machine only now, so that a copy that
  ; failed leaves no class pointing at a file that is not there.
  Call RegisterHostControl
  Call RegisterHostControlX64
  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Finger_KV90.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${TEXT_UNINSTALL_SHORTCUT}.lnk" "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Finger_KV90.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} ${FileExists} "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
    StrCpy $FinishText "${TEXT_FINISH_SIMULATOR}"
    DetailPrint "${TEXT_DETAIL_SIMULATOR}"
  ${ElseIf} ${FileExists} "$INSTDIR\KV90DLL\GALS7302.dll"
  ${AndIf} ${FileExists} "$INSTDIR\KV90DLL\GAMC7302.dll"
    StrCpy $FinishText "${TEXT_FINISH_READY}"
  ${Else}
    StrCpy $FinishText "${TEXT_FINISH_NO_LIBRARIES}"
    DetailPrint "${TEXT_DETAIL_NO_LIBRARIES}"
  ${EndIf}

  ; The station's texts, the person names it gets and the file names it writes are GBK,
  ; through the system's code page for programs that are not Unicode.
  System::Call 'kernel32::GetACP() i .r0'
  ${If} $0 <> 936
    StrCpy $FinishText "$FinishText$\r$\n$\r$\n${TEXT_CODE_PAGE}"
    DetailPrint "${TEXT_CODE_PAGE}"
    ${If} ${Silent}
      Push "${TEXT_CODE_PAGE}"
      Call WriteSetupNote
    ${EndIf}
  ${EndIf}
SectionEnd

; Pushes the first file or folder of the station that is not in $INSTDIR after copying, or ""
; when every one is there.
Function MissingStationFile
  Push $0
  StrCpy $0 ""
  ${IfNot} ${FileExists} "$INSTDIR\Finger_KV90.exe"
    StrCpy $0 "$INSTDIR\Finger_KV90.exe"
  ${ElseIfNot} ${FileExists} "$INSTDIR\KV90Host.dll"
    StrCpy $0 "$INSTDIR\KV90Host.dll"
  ${ElseIfNot} ${FileExists} "$INSTDIR\${HOST_X64_DLL}"
    StrCpy $0 "$INSTDIR\${HOST_X64_DLL}"
  ${ElseIfNot} ${FileExists} "$INSTDIR\Config\Config.ini"
    StrCpy $0 "$INSTDIR\Config\Config.ini"
  ${ElseIfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    StrCpy $0 "$INSTDIR\${UNINSTALLER}"
  ${ElseIfNot} ${FileExists} "$INSTDIR\KV90DLL\*.*"
    StrCpy $0 "$INSTDIR\KV90DLL"
  ${ElseIfNot} ${FileExists} "$INSTDIR\LogFiles\*.*"
    StrCpy $0 "$INSTDIR\LogFiles"
  ${ElseIfNot} ${FileExists} "$INSTDIR\Temp\*.*"
    StrCpy $0 "$INSTDIR\Temp"
  ${ElseIf} ${SectionIsSelected} ${SecSimulator}
    ; Chosen, the simulator is there whole, or the vendor's libraries were kept in its place.
    ${IfNot} ${FileExists} "$INSTDIR\KV90DLL\GALS7302.dll"
      StrCpy $0 "$INSTDIR\KV90DLL\GALS7302.dll"
    ${ElseIfNot} ${FileExists} "$INSTDIR\KV90DLL\GAMC7302.dll"
      StrCpy $0 "$INSTDIR\KV90DLL\GAMC7302.dll"
    ${EndIf}
  ${EndIf}
  Exch $0
FunctionEnd

; Appends the text on the stack, with the time, to LogFiles\Setup.txt (UTF-16 with its byte
; order mark, so that any Windows reads the Chinese whatever its code page); when the folder
; has no LogFiles\ (setup could not make it), to Setup.txt in the temporary folder.
Function WriteSetupNote
  Exch $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $9
  StrCpy $2 "$INSTDIR\LogFiles\${SETUP_NOTES}"
  ${IfNot} ${FileExists} "$INSTDIR\LogFiles\*.*"
    StrCpy $2 "$TEMP\${SETUP_NOTES}"
  ${EndIf}
  ClearErrors
  ${IfNot} ${FileExists} $2
    FileOpen $3 $2 w
    FileWriteWord $3 0xFEFF
  ${Else}
    FileOpen $3 $2 a
    FileSeek $3 0 END
  ${EndIf}
  ${IfNot} ${Errors}
    ${GetTime} "" "L" $4 $5 $6 $7 $8 $9 $2
    FileWriteUTF16LE $3 "$6-$5-$4 $8:$9:$2 : $1$\r$\n"
    FileClose $3
  ${EndIf}
  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Function RemoveSimulator
  Delete "$INSTDIR\KV90DLL\GALS7302.dll"
  Delete "$INSTDIR\KV90DLL\GAMC7302.dll"
  Delete "$INSTDIR\KV90DLL\scanner_sim.ini"
  Delete "$INSTDIR\KV90DLL\scanner_sim_calls.log"
  Delete "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
FunctionEnd

; Pushes the reason why setup cannot install into $INSTDIR, "" when it can, after making
; $INSTDIR the full path it stands for; $RefusedFolder is then the path the reason names.
Function CheckTargetFolder
  Push $1
  Push $0
  StrCpy $RefusedFolder $INSTDIR
  Push $INSTDIR
  Call FolderNameKind
  Pop $0
  ${If} $0 = 1
    StrCpy $0 "${TEXT_FOLDER_NOT_FULL_PATH}"
  ${ElseIf} $0 = 2
    StrCpy $0 "${TEXT_FOLDER_BAD_NAME}"
  ${Else}
    Push $INSTDIR
    Call FullPath
    Pop $INSTDIR
    Push $INSTDIR
    Call IsBelowRoot
    Pop $0
    StrLen $1 $INSTDIR
    ${If} $0 = 0
      StrCpy $0 "${TEXT_FOLDER_NOT_FULL_PATH}"
    ${ElseIf} $1 > ${LONGEST_FOLDER}
      StrCpy $RefusedFolder $INSTDIR
      StrCpy $0 "${TEXT_FOLDER_TOO_LONG}"
    ${Else}
      Push $INSTDIR
      Call FileInTheWay
      Pop $RefusedFolder
      ${If} $RefusedFolder == ""
        StrCpy $0 ""
      ${Else}
        StrCpy $0 "${TEXT_FOLDER_IS_FILE}"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Exch $0
  Exch
  Pop $1
FunctionEnd

; The folder is also checked once chosen on the page: NSIS itself takes a typed "..", and a
; file in the way would only show as a failure halfway through the installation.
Function DirectoryLeave
  Call CheckTargetFolder
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext all
  !insertmacro KV90_REFUSE_WHILE_RUNNING "" "${TEXT_RUNNING_INSTALL}"
  ; The folder exactly as given: a deployment tool must learn that setup did not use it,
  ; rather than find the program installed somewhere else.
  Call GivenFolder
  Pop $1
  Pop $0
  ${If} $1 = 1
    ; NSIS drops from $INSTDIR the characters it does not take (also when it is assigned):
    ; the name as given is checked.
    Push $0
    Call FolderNameKind
    Pop $2
    Push $0
    Call IsRootedPath
    Pop $1
    StrCpy $INSTDIR $0
    ${If} $1 = 0
    ${OrIf} $2 = 1
      StrCpy $RefusedFolder $0
      StrCpy $0 "${TEXT_FOLDER_NOT_FULL_PATH}"
    ${ElseIf} $2 = 2
      StrCpy $RefusedFolder $0
      StrCpy $0 "${TEXT_FOLDER_BAD_NAME}"
    ${Else}
      Call CheckTargetFolder
      Pop $0
    ${EndIf}
  ${Else}
    Call CheckTargetFolder
    Pop $0
  ${EndIf}
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0$\r$\n$\r$\n${TEXT_NOTHING_INSTALLED}" /SD IDOK
    SetErrorLevel ${EXIT_FOLDER_REFUSED}
    Abort
  ${EndIf}
  ; An upgrade keeps the simulator where it was installed before.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SIMULATOR" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSimulator}
  ${ElseIf} ${FileExists} "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
    !insertmacro SelectSection ${SecSimulator}
  ${EndIf}
  ; Likewise the web service.
  ClearErrors
  ${GetOptions} $0 "/WEBSERVICE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecWebService}
  ${ElseIf} ${FileExists} "$INSTDIR\${WEB_SERVICE_EXE}"
    !insertmacro SelectSection ${SecWebService}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "${TEXT_DESC_PROGRAM}"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} "${TEXT_DESC_SIMULATOR}"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecWebService} "${TEXT_DESC_WEB_SERVICE}"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------------------
; Removal

Section "un.${TEXT_UNSECTION_PROGRAM}" UnSecProgram
  SectionIn RO
  Call un.RemoveWebService
  Delete "$INSTDIR\Finger_KV90.exe"
  ; Unregistered first: removal leaves no registry entry pointing at a deleted file.
  UnRegDLL "$INSTDIR\KV90Host.dll"
  Delete "$INSTDIR\KV90Host.dll"
  Delete "$INSTDIR\KV90Host.txt"
  Delete "$INSTDIR\KV90Records.exe"
  Call un.RemoveHostControlX64
  Delete "$INSTDIR\KV90DLL\GALS7302.dll"
  Delete "$INSTDIR\KV90DLL\GAMC7302.dll"
  Delete "$INSTDIR\KV90DLL\scanner_sim.ini"
  Delete "$INSTDIR\KV90DLL\scanner_sim_calls.log"
  Delete "$INSTDIR\KV90DLL\${SIMULATOR_MARKER}"
  ; Whatever else an office put there is not ours to delete.
  RMDir "$INSTDIR\KV90DLL"
  ; The captured finger images are biometric data: none of them stays behind. Files of other
  ; kinds and sub-folders in Temp are someone else's.
  GetFunctionAddress $0 un.IsFingerImageName
  Push "$INSTDIR\Temp"
  Push $0
  Call un.DeleteStationFiles
  RMDir "$INSTDIR\Temp"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${TEXT_UNINSTALL_SHORTCUT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.${TEXT_UNSECTION_DATA}" UnSecData
  GetFunctionAddress $0 un.IsStationLogName
  Push "$INSTDIR\LogFiles"
  Push $0
  Call un.DeleteStationFiles
  RMDir "$INSTDIR\LogFiles"
  Delete "$INSTDIR\Config\Config.ini"
  Delete "$INSTDIR\Config\Service.ini"
  Delete "$INSTDIR\Config\Records.ini"
  GetFunctionAddress $0 un.IsStagedName
  Push "$INSTDIR\Config"
  Push $0
  Call un.DeleteStationFiles
  RMDir "$INSTDIR\Config"
SectionEnd

Section "-un.Finish"
  ; Only an empty folder goes: nothing that someone else put into it is lost.
  RMDir "$INSTDIR"
  ${If} ${SectionIsSelected} ${UnSecData}
  ${AndIf} ${FileExists} "$INSTDIR\*.*"
    StrCpy $FinishText "${TEXT_UNFINISH_ALL_OTHERS_KEPT}"
  ${ElseIf} ${SectionIsSelected} ${UnSecData}
    StrCpy $FinishText "${TEXT_UNFINISH_ALL}"
  ${Else}
    StrCpy $FinishText "${TEXT_UNFINISH_KEPT}"
  ${EndIf}
SectionEnd

; Pushes 1 when $INSTDIR, the folder the uninstaller acts on (as FullPath gives it), is the
; installation that the uninstall entry names, else 0.
Function un.IsRegisteredInstallation
  Push $0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    StrCpy $0 0
  ${Else}
    Push $0
    Call un.FullPath
    Pop $0
    ; StrCmp ignores case, as Windows does in file names.
    ${If} $0 == $INSTDIR
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
  Exch $0
FunctionEnd

Function un.onInit
  SetShellVarContext all
  ; NSIS runs a copy of the uninstaller from the temporary folder with _?= set to the folder the
  ; uninstaller was started from, and that folder is $INSTDIR. An uninstaller copied elsewhere
  ; would otherwise remove files from that folder and the real installation's entry.
  Push $INSTDIR
  Call un.FullPath
  Pop $INSTDIR
  Call un.IsRegisteredInstallation
  Pop $0
  ${If} $0 <> 1
    MessageBox MB_OK|MB_ICONSTOP "${TEXT_NOT_THIS_INSTALLATION}" /SD IDOK
    SetErrorLevel ${EXIT_NOT_THIS_INSTALLATION}
    Abort
  ${EndIf}
  !insertmacro KV90_REFUSE_WHILE_RUNNING "un." "${TEXT_RUNNING_UNINSTALL}"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecData}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "${TEXT_UNDESC_PROGRAM}"
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecData} "${TEXT_UNDESC_DATA}"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
