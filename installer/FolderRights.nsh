; Operators work as standard users, and the capture program writes its log, its finger
; images and its settings beside itself. Rather than moving the program out of Program
; Files (where standard users cannot change the program itself), setup gives the local
; Users group the right to change what lies in the three folders the program writes.
; The grant is an explicit entry on the folder, inherited by everything in it; what the
; folder inherits from its parent stays as it was.

; Modify (read, write, execute, delete) for BUILTIN\Users, to files and sub-folders.
!define KV90_USERS_MAY_MODIFY "D:(A;OICI;0x1301bf;;;BU)"
!define /ifndef SE_FILE_OBJECT 1
; DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION
!define KV90_SET_DACL_KEEP_INHERITED 0x20000004

; Call with the folder on the stack; a failure is written to the details, not fatal.
Function GrantUsersModify
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $2 -1
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${KV90_USERS_MAY_MODIFY}", i 1, *p .r1, p 0) i .r3'
  ${If} $3 <> 0
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r5, *p .r4, *i .r5) i .r3'
    ${If} $3 <> 0
      System::Call 'advapi32::SetNamedSecurityInfoW(w r0, i ${SE_FILE_OBJECT}, i ${KV90_SET_DACL_KEEP_INHERITED}, p 0, p 0, p r4, p 0) i .r2'
    ${EndIf}
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
  ${If} $2 <> 0
    DetailPrint "${TEXT_RIGHTS_FAILED} $0 ($2)"
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
