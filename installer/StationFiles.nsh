; The files the capture station itself writes beside the program, by name, so that removal
; takes exactly those: an office may keep its own files in the installation folder, and an
; installation may go into a folder that already held a Temp, Config or LogFiles of its own.
; Nothing is removed by wildcard or with its folder; a folder goes only once it is empty.

; What setup has to tell when nobody sees its pages (a silent installation), in LogFiles\.
!define SETUP_NOTES "Setup.txt"

; Pushes 1 when the name on the stack is that of a file the station was still writing when it
; stopped (a power cut): it writes each file under a temporary name kv9<hex>.tmp beside its
; target first. Else 0.
Function un.IsStagedName
  Exch $0
  Push $1
  Push $2
  StrLen $1 $0
  StrCpy $2 $0 3
  StrCpy $0 $0 4 -4
  ${If} $2 == "kv9"
  ${AndIf} $0 == ".tmp"
  ${AndIf} $1 >= 8
  ${AndIf} $1 <= 11
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pushes 1 when the name on the stack is that of a finger image the station writes in Temp\,
; else 0: the slot files 0.bmp..9.bmp, their companions 0.jpg..9.jpg, the person files
; <key>$<name>_<n>.bmp (n 0..9), the preview FPTemp.bmp, the view file EditImage.jpg, and
; any of them left half written under its temporary name.
Function un.IsFingerImageName
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $0
  Call un.IsStagedName
  Pop $3
  StrLen $1 $0
  StrCpy $2 $0 4 -4
  ${If} $3 = 1
  ${OrIf} $0 == "FPTemp.bmp"
  ${OrIf} $0 == "EditImage.jpg"
    StrCpy $0 1
  ${ElseIf} $1 = 5
    ; A slot file or its companion: one digit and the extension.
    ${If} $2 == ".bmp"
    ${OrIf} $2 == ".jpg"
      StrCpy $1 $0 1
      Push "0123456789"
      Push $1
      Call un.IsOneOf
      Pop $0
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${ElseIf} $1 >= 7
  ${AndIf} $2 == ".bmp"
    ; A person file: "_", the slot's digit, ".bmp", after a key and a name joined by "$".
    StrCpy $2 $0 1 -6
    StrCpy $3 $0 1 -5
    ${If} $2 == "_"
      Push "0123456789"
      Push $3
      Call un.IsOneOf
      Pop $3
    ${Else}
      StrCpy $3 0
    ${EndIf}
    ${If} $3 = 1
      ; The "$" lies somewhere in what comes before "_<n>.bmp".
      IntOp $1 $1 - 6
      StrCpy $0 $0 $1
      StrCpy $3 0
      ${Do}
        IntOp $1 $1 - 1
        ${If} $1 < 0
          ${Break}
        ${EndIf}
        StrCpy $2 $0 1 $1
        ${If} $2 == "$$"
          StrCpy $3 1
          ${Break}
        ${EndIf}
      ${Loop}
    ${EndIf}
    StrCpy $0 $3
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pushes 1 when the name on the stack is that of a file the station writes in LogFiles\, else
; 0: the day's log FINGERyyyymmdd.txt, the fault minidumps Finger_KV90_*.dmp and setup's own
; notes, Setup.txt.
Function un.IsStationLogName
  Exch $0
  Push $1
  Push $2
  Push $3
  StrLen $1 $0
  StrCpy $2 $0 6
  StrCpy $3 $0 4 -4
  ${If} $0 == "${SETUP_NOTES}"
    StrCpy $0 1
  ${ElseIf} $1 = 18
  ${AndIf} $2 == "FINGER"
  ${AndIf} $3 == ".txt"
    ; Eight digits of the date between the two.
    StrCpy $1 6
    StrCpy $3 1
    ${Do}
      StrCpy $2 $0 1 $1
      Push "0123456789"
      Push $2
      Call un.IsOneOf
      Pop $2
      ${If} $2 = 0
        StrCpy $3 0
        ${Break}
      ${EndIf}
      IntOp $1 $1 + 1
    ${LoopUntil} $1 >= 14
    StrCpy $0 $3
  ${Else}
    StrCpy $2 $0 12
    ${If} $1 > 16
    ${AndIf} $2 == "Finger_KV90_"
    ${AndIf} $3 == ".dmp"
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; With a folder and then a function's address (GetFunctionAddress) on the stack: deletes the
; files directly in the folder whose names the function takes (it is called with a name and
; pushes 1 or 0).
; Sub-folders and their contents are never touched.
Function un.DeleteStationFiles
  Exch $0 ; the test
  Exch
  Exch $1 ; the folder
  Push $2
  Push $3
  Push $4
  ClearErrors
  FindFirst $2 $3 "$1\*"
  ${DoUntil} ${Errors}
    Push $3
    Call $0
    Pop $4
    ; Delete takes files only: a sub-folder of a matching name stays.
    ${If} $4 = 1
      Delete "$1\$3"
    ${EndIf}
    ClearErrors
    FindNext $2 $3
  ${Loop}
  FindClose $2
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
