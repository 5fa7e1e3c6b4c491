; The setup program's own texts (Simplified Chinese). $INSTDIR in a text is filled in
; when the text is used.

!define TEXT_WELCOME "本向导将在这台计算机上安装 ${PRODUCT} ${VERSION}。$\r$\n$\r$\n安装或升级前请关闭所有指纹采集程序。升级时保留原有的设置文件 Config\Config.ini。$\r$\n$\r$\n单击“下一步”继续。"

!define TEXT_SECTION_PROGRAM "指纹采集程序"
!define TEXT_DESC_PROGRAM "Finger_KV90.exe 以及设置（Config）、日志（LogFiles）、指纹图像（Temp）和扫描仪驱动库（KV90DLL）文件夹。"
!define TEXT_SECTION_SIMULATOR "模拟扫描仪（仅供培训和演示）"
!define TEXT_DESC_SIMULATOR "不接扫描仪也能练习采集的模拟驱动库，采集到的是模拟指纹，不能用于真实采集。正式使用时请不要选择，而是装入扫描仪厂商的驱动库。"
!define TEXT_SIMULATOR_KEPT_VENDOR "KV90DLL 文件夹中已有扫描仪厂商的驱动库，没有用模拟扫描仪替换它们。"

!define TEXT_UNINSTALL_SHORTCUT "卸载 ${PRODUCT}"

!define TEXT_RUNNING_INSTALL "指纹采集程序（KV90、LX20 或 NR50）正在运行。$\r$\n$\r$\n请先关闭指纹采集程序，然后再运行安装程序。"
!define TEXT_RUNNING_UNINSTALL "指纹采集程序（KV90、LX20 或 NR50）正在运行。$\r$\n$\r$\n请先关闭指纹采集程序，然后再卸载。"
!define TEXT_RIGHTS_FAILED "未能让普通用户写入文件夹"

; $RefusedFolder is the path that the reason names.
!define TEXT_FOLDER_NOT_FULL_PATH "不能安装到这个位置：$\r$\n$RefusedFolder$\r$\n$\r$\n安装位置必须是完整的文件夹路径，以盘符和反斜杠（如 C:\Program Files\Finger_KV90）或网络共享（如 \\服务器\共享\Finger_KV90）开头，并且不能是驱动器或共享的根文件夹。"
!define TEXT_FOLDER_IS_FILE "安装位置上已有同名的文件，不能在那里创建文件夹：$\r$\n$RefusedFolder$\r$\n$\r$\n请选择其他安装位置。"
!define TEXT_FOLDER_BAD_NAME "不能安装到这个位置：$\r$\n$RefusedFolder$\r$\n$\r$\n文件夹名中不能含有 < > $\" | ? * 这些字符，冒号只能跟在盘符后面。"
!define TEXT_FOLDER_TOO_LONG "不能安装到这个位置：$\r$\n$RefusedFolder$\r$\n$\r$\n文件夹路径太长，指纹采集程序在其中写入的文件会超出系统的路径长度限制。请选择不超过 ${LONGEST_FOLDER} 个字符的文件夹路径。"
; $RefusedFolder is the first file or folder that is missing.
!define TEXT_NOT_INSTALLED "未能把指纹采集程序的文件复制到安装位置：$\r$\n$RefusedFolder$\r$\n$\r$\n安装没有完成，没有创建卸载信息和开始菜单快捷方式。请检查安装位置是否存在并且可以写入。"
!define TEXT_NOTHING_INSTALLED "安装程序已退出，没有安装任何文件。"
!define TEXT_NOT_THIS_INSTALLATION "此卸载程序不在 ${PRODUCT} 的安装文件夹中，不能用它卸载：$\r$\n$INSTDIR$\r$\n$\r$\n没有删除任何文件。请在“添加或删除程序”中卸载 ${PRODUCT}，或运行安装文件夹中的 Uninstall.exe。"

!define TEXT_FINISH_READY "${PRODUCT} ${VERSION} 已安装到：$\r$\n$INSTDIR$\r$\n$\r$\n扫描仪驱动库已在 KV90DLL 文件夹中。"
!define TEXT_FINISH_NO_LIBRARIES "${PRODUCT} ${VERSION} 已安装到：$\r$\n$INSTDIR$\r$\n$\r$\n还缺少扫描仪厂商的两个驱动库 GALS7302.dll 和 GAMC7302.dll。请把扫描仪随附的这两个文件复制到：$\r$\n$INSTDIR\KV90DLL$\r$\n复制之前指纹采集程序不能打开扫描仪。"
!define TEXT_FINISH_SIMULATOR "${PRODUCT} ${VERSION} 已安装到：$\r$\n$INSTDIR$\r$\n$\r$\n装入的是模拟扫描仪，仅供培训和演示，不能采集真实指纹。正式使用前请重新安装且不选模拟扫描仪，再把扫描仪厂商的驱动库复制到 KV90DLL 文件夹。"
; One line each, for the list of details.
!define TEXT_DETAIL_NO_LIBRARIES "KV90DLL 文件夹中还缺少扫描仪厂商的驱动库 GALS7302.dll 和 GAMC7302.dll。"
!define TEXT_HOST_NOT_REGISTERED "未能注册主机控件 $INSTDIR\KV90Host.dll，办公程序不能调用采集站。请以管理员身份运行：regsvr32 $\"$INSTDIR\KV90Host.dll$\""
!define TEXT_HOST_X64_NOT_REGISTERED "未能注册 64 位主机控件 $INSTDIR\x64\KV90Host.dll（regsvr32 返回 $0），64 位的办公程序不能调用采集站。请以管理员身份运行：%SystemRoot%\System32\regsvr32.exe $\"$INSTDIR\x64\KV90Host.dll$\""
!define TEXT_DETAIL_SIMULATOR "KV90DLL 文件夹中装入的是模拟扫描仪，仅供培训和演示。"

!define TEXT_UNSECTION_PROGRAM "指纹采集程序和采集的指纹图像"
!define TEXT_UNDESC_PROGRAM "删除程序、扫描仪驱动库、开始菜单快捷方式，以及 Temp 文件夹中采集的全部指纹图像。不是本程序写入的文件保留。"
!define TEXT_UNSECTION_DATA "日志和设置"
!define TEXT_UNDESC_DATA "同时删除 LogFiles 文件夹中的日志和异常转储文件，以及设置文件 Config\Config.ini。不选择时保留它们，重新安装后继续使用。"
!define TEXT_UNFINISH_KEPT "${PRODUCT} 已从计算机中删除。$\r$\n$\r$\n日志（LogFiles）和设置（Config）保留在：$\r$\n$INSTDIR"
!define TEXT_UNFINISH_ALL "${PRODUCT} 已从计算机中删除，日志和设置也已删除。"
!define TEXT_UNFINISH_ALL_OTHERS_KEPT "${PRODUCT} 已从计算机中删除，日志和设置也已删除。$\r$\n$\r$\n不是本程序写入的文件保留在：$\r$\n$INSTDIR"

; $0 is the code page found.
!define TEXT_CODE_PAGE "注意：这台计算机“非 Unicode 程序的语言”不是中文(简体)（当前代码页 $0，应为 936）。指纹采集程序的标题、提示和日志会显示为乱码，指纹文件的名称也会与主机程序要求的不同。请在“控制面板 → 区域 → 管理 → 非 Unicode 程序的语言 → 更改系统区域设置”中选择“中文(简体，中国)”，然后重新启动计算机。"
