; Folder names as Windows resolves them. Setup must install into the folder it reports and
; record that folder exactly, and the uninstaller must recognise the installation whichever
; way its folder is spelt (another case, a trailing backslash, "..", a short 8.3 name).

!define /ifndef INVALID_FILE_ATTRIBUTES -1
!define /ifndef FILE_ATTRIBUTE_DIRECTORY 0x10

; Defines [un.]FullPath: replaces the path on the stack with the absolute one Windows makes of
; it ("." and ".." resolved, "/" as "\", the long names of the parts that exist), without a
; trailing backslash unless it is a drive's root.
!macro KV90_DEFINE_FULL_PATH UN
Function ${UN}FullPath
  Exch $0
  Push $1
  Push $2
  System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  ; Fails for a folder not made yet, which keeps the name as given.
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  ${Do}
    StrCpy $1 $0 1 -1
    StrLen $2 $0
    ${If} $1 != "\"
    ${OrIf} $2 <= 3
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend

; Pushes 1 when the path on the stack names a folder from a root: a drive letter, a colon and
; a backslash ("C:\..."), or a network share ("\\server\share..."); else 0. "C:folder",
; "\folder" and "folder" depend on the current drive and folder of whoever starts setup.
Function IsRootedPath
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 2
  StrCpy $2 $0 2 1
  ${If} $1 == "\\"
    StrCpy $0 1
  ${ElseIf} $2 == ":\"
    StrCpy $1 $0 1
    Push "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    Push $1
    Call IsOneOf
    Pop $0
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pushes what kind of name the folder on the stack is, as given: 1 a device path ("\\.\" or
; "\\?\", which no folder of the station's may be), 2 a name holding a character Windows does
; not allow in names (< > " | ? *, or a colon anywhere but after the drive letter), else 0.
Function FolderNameKind
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 4
  ${If} $1 == "\\.\"
  ${OrIf} $1 == "\\?\"
    StrCpy $0 1
  ${Else}
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${If} $1 == ""
        StrCpy $0 0
        ${Break}
      ${EndIf}
      ${If} $1 == ":"
      ${AndIf} $2 <> 1
        StrCpy $0 2
        ${Break}
      ${EndIf}
      Push '<>"|?*'
      Push $1
      Call IsOneOf
      Pop $1
      ${If} $1 = 1
        StrCpy $0 2
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pushes 1 when the absolute path on the stack (as FullPath gives it) names a folder below a
; drive's root or a share's root, else 0: setup lays out its folders in a folder of its own.
Function IsBelowRoot
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 $0 2
  ${If} $1 == "\\"
    ; "\\server\share\folder": two more backslashes, each after a name, and a name after them.
    StrCpy $0 $0 "" 2
    StrCpy $2 0
    StrCpy $3 "\"
    ${Do}
      StrCpy $1 $0 1
      ${If} $1 == ""
        ${Break}
      ${ElseIf} $1 == "\"
        ${If} $3 == "\"
          StrCpy $2 -1000
        ${EndIf}
        IntOp $2 $2 + 1
      ${EndIf}
      StrCpy $3 $1
      StrCpy $0 $0 "" 1
    ${Loop}
    ${If} $2 >= 2
    ${AndIf} $3 != "\"
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${Else}
    StrLen $1 $0
    ${If} $1 > 3
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

; Defines [un.]IsOneOf: with a set of characters and then one character on the stack, pushes
; 1 when the character is one of the set (letters in either case), else 0.
!macro KV90_DEFINE_IS_ONE_OF UN
Function ${UN}IsOneOf
  Exch $0 ; the character
  Exch
  Exch $1 ; the set
  Push $2
  Push $3
  StrCpy $2 0
  ${Do}
    StrCpy $3 $1 1 $2
    ${If} $3 == ""
      StrCpy $0 0
      ${Break}
    ${ElseIf} $3 == $0
    ${AndIf} $0 != ""
      StrCpy $0 1
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend

; Pushes the first existing file (not folder) among the absolute path on the stack and its
; parents, or "" when there is none: no folder can be made there.
Function FileInTheWay
  Exch $0
  Push $1
  Push $2
  ${Do}
    System::Call 'kernel32::GetFileAttributesW(w r0) i .r1'
    ${If} $1 <> ${INVALID_FILE_ATTRIBUTES}
      IntOp $2 $1 & ${FILE_ATTRIBUTE_DIRECTORY}
      ${If} $2 = 0
        ${Break}
      ${EndIf}
    ${EndIf}
    ; The parent: up to the last backslash, if any is left after the root.
    StrLen $2 $0
    ${Do}
      IntOp $2 $2 - 1
      StrCpy $1 $0 1 $2
      ${If} $2 <= 2
      ${OrIf} $1 == "\"
        ${Break}
      ${EndIf}
    ${Loop}
    ${If} $2 <= 2
      StrCpy $0 ""
      ${Break}
    ${EndIf}
    StrCpy $0 $0 $2
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pushes the folder given with /D= exactly as typed, then 1; or "" then 0 without /D=.
; NSIS itself replaces a folder it cannot use (a relative path, a path through a file) with the
; one recorded by the last installation or the default before .onInit runs, and keeps in
; $CMDLINE only what comes before " /D=": the switch is read from the process's command line.
Function GivenFolder
  Push $0
  Push $1
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $1 $CMDLINE
  StrCpy $0 $0 "" $1
  StrCpy $1 $0 4
  ${If} $1 S== " /D="
    StrCpy $0 $0 "" 4
    StrCpy $1 1
  ${Else}
    StrCpy $0 ""
    StrCpy $1 0
  ${EndIf}
  Exch $1
  Exch
  Exch $0
  Exch
FunctionEnd
