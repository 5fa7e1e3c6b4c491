; The optional local web service (KV90Service.exe): installed beside the station, started at
; every user's logon from the common Start-up folder, and taken out again on removal.

!define WEB_SERVICE_EXE "KV90Service.exe"
!define WEB_SERVICE_WINDOW_CLASS "KV90ServiceTray"
!define WEB_SERVICE_EXIT_COMMAND 100
!define TEXT_SECTION_WEB_SERVICE "网页采集服务"
!define TEXT_DESC_WEB_SERVICE "让网页（浏览器中的采集系统）通过本机 127.0.0.1 上的服务驱动采集站。登录时自动启动，在通知区域显示图标。只有 Config\Service.ini 中列出的网站可以调用。"
!define TEXT_WEB_SERVICE_SHORTCUT "KV90网页采集服务"

; Ends a running service through its tray menu's exit, so that its file can be replaced or
; removed; waits up to five seconds for it to go.
!macro KV90_STOP_WEB_SERVICE PREFIX
Function ${PREFIX}StopWebService
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${WEB_SERVICE_WINDOW_CLASS}"
    ${If} $0 = 0
    ${OrIf} $1 >= 50
      ${Break}
    ${EndIf}
    SendMessage $0 ${WM_COMMAND} ${WEB_SERVICE_EXIT_COMMAND} 0 /TIMEOUT=1000
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro KV90_STOP_WEB_SERVICE ""
!insertmacro KV90_STOP_WEB_SERVICE "un."

Function InstallWebService
  Call StopWebService
  SetOutPath "$INSTDIR"
  File "${PROGRAM_FOLDER}/${WEB_SERVICE_EXE}"
  ; An upgrade keeps the office's allowed sites.
  SetOutPath "$INSTDIR\Config"
  SetOverwrite off
  File "${PROGRAM_FOLDER}/Config/Service.ini"
  SetOverwrite on
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\${TEXT_WEB_SERVICE_SHORTCUT}.lnk" "$INSTDIR\${WEB_SERVICE_EXE}"
FunctionEnd

; The settings stay (removal of the settings is the /PURGE part's).
!macro KV90_REMOVE_WEB_SERVICE PREFIX
Function ${PREFIX}RemoveWebService
  Call ${PREFIX}StopWebService
  Delete "$SMSTARTUP\${TEXT_WEB_SERVICE_SHORTCUT}.lnk"
  Delete "$INSTDIR\${WEB_SERVICE_EXE}"
FunctionEnd
!macroend
!insertmacro KV90_REMOVE_WEB_SERVICE ""
!insertmacro KV90_REMOVE_WEB_SERVICE "un."
