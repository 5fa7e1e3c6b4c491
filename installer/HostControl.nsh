; The x64 host control for 64-bit office programs, in x64\ of the installation. A 32-bit
; setup cannot load a 64-bit library to register it (RegDLL would), so the system's 64-bit
; regsvr32 does it, in the 64-bit registry view. 32-bit Windows has no use for it: the file
; stays, unregistered, for an installation copied to a 64-bit machine by hand.

!include x64.nsh

!define HOST_X64_DLL "x64\KV90Host.dll"

; With regsvr32's switches on the stack ("/s" or "/s /u"): runs the 64-bit regsvr32 on the x64
; control, on 64-bit Windows only; pushes what it exited with, or "" when it was not run.
!macro KV90_DEFINE_REGSVR32_X64 UN
Function ${UN}RegSvr32X64
  Exch $0
  ${If} ${RunningX64}
    ; Without the redirection off, $SYSDIR\regsvr32.exe would be the 32-bit one.
    ${DisableX64FSRedirection}
    ClearErrors
    ExecWait '"$SYSDIR\regsvr32.exe" $0 "$INSTDIR\${HOST_X64_DLL}"' $0
    ${If} ${Errors}
      StrCpy $0 "-1"
    ${EndIf}
    ${EnableX64FSRedirection}
  ${Else}
    StrCpy $0 ""
  ${EndIf}
  Exch $0
FunctionEnd
!macroend

Function RegisterHostControl
  ClearErrors
  RegDLL "$INSTDIR\KV90Host.dll"
  ${If} ${Errors}
    ; The station works without it; the integrator learns why no program finds the control.
    DetailPrint "${TEXT_HOST_NOT_REGISTERED}"
    ${If} ${Silent}
      Push "${TEXT_HOST_NOT_REGISTERED}"
      Call WriteSetupNote
    ${EndIf}
  ${EndIf}
FunctionEnd

Function RegisterHostControlX64
  Push "/s"
  Call RegSvr32X64
  Pop $0
  ${If} $0 != ""
  ${AndIf} $0 != 0
    ; The station works without it; the integrator learns why a 64-bit program finds no control.
    DetailPrint "${TEXT_HOST_X64_NOT_REGISTERED}"
    ${If} ${Silent}
      Push "${TEXT_HOST_X64_NOT_REGISTERED}"
      Call WriteSetupNote
    ${EndIf}
  ${EndIf}
FunctionEnd

; Unregistered before the file goes, so that no 64-bit entry points at a deleted file.
Function un.RemoveHostControlX64
  ${If} ${FileExists} "$INSTDIR\${HOST_X64_DLL}"
    Push "/s /u"
    Call un.RegSvr32X64
    Pop $0
    Delete "$INSTDIR\${HOST_X64_DLL}"
  ${EndIf}
  ; Whatever else an office put there is not ours to delete.
  RMDir "$INSTDIR\x64"
FunctionEnd
