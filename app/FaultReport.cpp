#include "app/FaultReport.h"

#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "device/DeviceGuard.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The faulting thread may have no stack left (a stack overflow) or be inside the
// heap's own lock: the report is made on a thread of its own, and given this long.
constexpr DWORD kReportTimeoutMs = 30000;

struct FaultContext {
    EXCEPTION_POINTERS* pointers;
    DWORD threadId;
};

LONG g_reporting = 0;

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// Writes the minidump beside the day's log; the file name, or "" when none was written.
std::string WriteDump(const FaultContext& fault) {
    using WriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                      PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);
    HMODULE dbghelp = LoadLibraryA("dbghelp.dll");
    if (!dbghelp) return std::string();
    const auto write =
        reinterpret_cast<WriteDumpFn>(reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    if (!write) return std::string();
    // Writing a dump looks at every module of the process; unless told to defer it, Wine's dbghelp
    // then reads each one's debug information, which on a busy machine outlasts the report's time
    // and leaves the dump empty. The dump needs none of it.
    using GetOptionsFn = DWORD(WINAPI*)();
    using SetOptionsFn = DWORD(WINAPI*)(DWORD);
    const auto getOptions =
        reinterpret_cast<GetOptionsFn>(reinterpret_cast<void*>(GetProcAddress(dbghelp, "SymGetOptions")));
    const auto setOptions =
        reinterpret_cast<SetOptionsFn>(reinterpret_cast<void*>(GetProcAddress(dbghelp, "SymSetOptions")));
    if (getOptions && setOptions) setOptions(getOptions() | SYMOPT_DEFERRED_LOADS);
    const std::string name = "Finger_KV90_" + FormatDateTime("yyyymmdd_hhnnss", Now()) + "_" +
                             IntToStr(static_cast<int>(GetCurrentProcessId())) + ".dmp";
    const std::string path = TSysOper::GetAppPath() + "LogFiles\\" + name;
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string();
    MINIDUMP_EXCEPTION_INFORMATION exception{fault.threadId, fault.pointers, FALSE};
    // The threads' stacks and what they point at: enough to see where and why, small enough to mail.
    const auto type = static_cast<MINIDUMP_TYPE>(MiniDumpWithIndirectlyReferencedMemory);
    if (!write(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), type, &exception, nullptr, nullptr)) {
        file.Reset();
        DeleteFileA(path.c_str());
        return std::string();
    }
    return name;
}

// Read from the host's block afresh: what the program kept may be what the fault damaged.
void TellHostTheStationCloses() {
    std::string text;
    if (!TSysOper::ReadHostBlock(text)) return;
    const HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtol(text.c_str(), nullptr, 10)));
    if (host && IsWindow(host))
        PostMessageA(host, RegisterWindowMessageA(kFingerMessageName), static_cast<WPARAM>(HOST_CODE_CLOSE), 0);
}

DWORD WINAPI Report(void* parameter) {
    const FaultContext& fault = *static_cast<const FaultContext*>(parameter);
    const EXCEPTION_RECORD& record = *fault.pointers->ExceptionRecord;
    std::string line = "程序遇到未处理的异常而终止,异常代码" + Hex(record.ExceptionCode) + ",地址" +
                       Hex(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(record.ExceptionAddress)));
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        const ULONG_PTR access = record.ExceptionInformation[0];
        line += access == 0 ? ",读取" : access == 1 ? ",写入" : ",执行";
        line += Hex(static_cast<DWORD>(record.ExceptionInformation[1]));
    }
    // The host first: it must not wait, and the log may be held by the thread that faulted,
    // which would keep this one at its first line. Then the line, what an operator's
    // supervisor finds even if the dump fails.
    TellHostTheStationCloses();
    TSysOper::WriteLog(line);
    const std::string dump = WriteDump(fault);
    TSysOper::WriteLog(dump.empty() ? std::string("未能写入异常转储文件") : "异常转储文件:LogFiles\\" + dump);
    return 0;
}

LONG WINAPI LastFilter(EXCEPTION_POINTERS* pointers) {
    // A second fault (in another thread, or in the report itself) ends the process at once.
    if (InterlockedExchange(&g_reporting, 1) != 0)
        TerminateProcess(GetCurrentProcess(), pointers->ExceptionRecord->ExceptionCode);
    FaultContext fault{pointers, GetCurrentThreadId()};
    UniqueHandle thread(CreateThread(nullptr, 0, &Report, &fault, 0, nullptr));
    if (thread) {
        WaitForSingleObject(thread.Get(), kReportTimeoutMs);
        thread.Reset();
    } else {
        Report(&fault);
    }
    TerminateProcess(GetCurrentProcess(), pointers->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool IsFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
        return true;
    default:
        return false;
    }
}

// A window procedure that the system calls back for a message another thread or process sent
// runs under Wine's callback dispatcher, which catches every exception and goes on
// ("KiUserCallbackDispatcher ignoring exception"), as 64-bit Windows does: the last filter
// never sees such a fault, so there would be no report and no close notification, and the
// station would go on in whatever state the aborted procedure left. A fault raised while a
// sent message is handled is therefore reported here, where it is raised, unless a guarded
// device call is under way, whose own frame turns the fault into an error its caller handles.
LONG WINAPI FaultInSentMessage(EXCEPTION_POINTERS* pointers) {
    if (!IsFault(pointers->ExceptionRecord->ExceptionCode) || InsideGuardedCall() || !InSendMessage())
        return EXCEPTION_CONTINUE_SEARCH;
    return LastFilter(pointers);
}

}  // namespace

void InstallFaultReport() {
    // The system's own error box would keep the program (and the host waiting on it) on screen.
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&LastFilter);
    AddVectoredExceptionHandler(1, &FaultInSentMessage);
}
