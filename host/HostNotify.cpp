// Finding the host's window and telling it what happens: the window is
// ready, a finger is stored, the window closes.
#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

#include <cstring>

namespace {

// How long a sent notification may keep the station waiting. The host may
// show a dialog of its own before it returns, so the wait is generous; a
// host that never returns must still not freeze the capture window for good.
constexpr UINT kSendTimeoutMs = 60000;

// The zero-terminated text at the start of a view, never read past the view's region.
std::string ViewText(const char* data) {
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(data, &info, sizeof info)) return std::string();
    const size_t room = static_cast<const char*>(info.BaseAddress) + info.RegionSize - data;
    return std::string(data, strnlen(data, room));
}

// The host's window, read from its block again when the one kept is gone: a host
// program that was restarted has a new window and a new block.
bool FindHost() {
    if (!DM->HostWnd || !IsWindow(DM->HostWnd)) DM->HostWnd = TSysOper::GetNetAPIHandle();
    return DM->HostWnd != nullptr;
}

// A notification that reached no host: the log keeps what the host never learned, and
// why, when the system said (error 0: there was no host to send it to).
void LogLost(int code, int value, DWORD error) {
    std::string line = "通知未送达主机程序,代码" + IntToStr(code) + ",值" + IntToStr(value);
    if (error) line += ",错误:" + SysErrorMessage(error);
    TSysOper::WriteLog(line);
}

}  // namespace

bool TSysOper::ReadHostBlock(std::string& text) {
    UniqueHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, "FINGER_ACTIVEX_FILE"));
    if (!mapping) return false;
    MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    text = ViewText(static_cast<const char*>(view.Get()));
    return true;
}

HWND TSysOper::GetNetAPIHandle() {
    try {
        std::string text;
        if (!ReadHostBlock(text)) return nullptr;
        const int handle = StrToInt(text);
        DM->HostWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
        return DM->HostWnd;
    } catch (const std::exception& e) {
        WriteLog("从映像文件中获取通讯程序句柄时失败,函数GetNetAPIHandle中错误:" + ExceptionMessage(e));
        return nullptr;
    }
}

void TDM::PostMsgToActiveX(int code, int value) {
    if (!FindHost()) {
        TSysOper::WriteLog("异步发送消息到ActiveX控件中失败,未找到此程序句柄");
        LogLost(code, value, 0);
        return;
    }
    if (!PostMessageA(HostWnd, FingerMsgId, static_cast<WPARAM>(code), static_cast<LPARAM>(value))) {
        const DWORD error = GetLastError();
        LogLost(code, value, error ? error : ERROR_INVALID_WINDOW_HANDLE);
    }
}

bool TDM::TellHostClosing() {
    if (HostToldClosing) return false;
    HostToldClosing = true;
    PostMsgToActiveX(HOST_CODE_CLOSE, 0);
    return true;
}

void TDM::SendMsgToActiveX(int code, int value) {
    if (!FindHost()) {
        TSysOper::WriteLog("同步发送消息到ActiveX控件中失败,未找到此程序句柄");
        LogLost(code, value, 0);
        return;
    }
    // While waiting, messages sent to the station's windows are still answered.
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (!SendMessageTimeoutA(HostWnd, FingerMsgId, static_cast<WPARAM>(code), static_cast<LPARAM>(value), SMTO_NORMAL,
                             kSendTimeoutMs, &result)) {
        const DWORD error = GetLastError();
        if (error == ERROR_TIMEOUT || error == ERROR_SUCCESS)
            TSysOper::WriteLog("同步发送消息到ActiveX控件超时,主机程序在" + IntToStr(kSendTimeoutMs / 1000) +
                               "秒内未处理此消息,代码" + IntToStr(code) + ",值" + IntToStr(value));
        else
            LogLost(code, value, error);
    }
}
