; Setup must not replace or remove files that a running capture program holds open.
; Every program of the family holds its single-instance mutexes for as long as it runs,
; so an existing name means one is running.

!define /ifndef SYNCHRONIZE 0x00100000

!macro _KV90_NOTE_MUTEX NAME
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${NAME}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $1 1
  ${EndIf}
!macroend

; Defines [un.]CaptureProgramRunning: pushes 1 when a program of the family runs, else 0.
!macro KV90_DEFINE_RUNNING_CHECK UN
Function ${UN}CaptureProgramRunning
  Push $0
  Push $1
  StrCpy $1 0
  !insertmacro _KV90_NOTE_MUTEX "Finger_KV90"
  !insertmacro _KV90_NOTE_MUTEX "Finger_LX20"
  !insertmacro _KV90_NOTE_MUTEX "Finger_NR50"
  StrCpy $0 $1
  Pop $1
  Exch $0
FunctionEnd
!macroend

; In .onInit or un.onInit: says why and ends with exit code 2 ("aborted by the script")
; while a capture program runs; a silent run only sets the exit code.
!macro KV90_REFUSE_WHILE_RUNNING UN TEXT
  Call ${UN}CaptureProgramRunning
  Exch $0
  ${If} $0 = 1
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
    Abort
  ${EndIf}
  Pop $0
!macroend
