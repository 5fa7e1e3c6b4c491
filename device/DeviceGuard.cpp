#include "device/DeviceGuard.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// An exception registration record of our own on the thread's handler chain
// (fs:[0]). Handlers the library registered itself sit above it and see
// their exceptions first; only what escapes the library reaches this one.
struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD record;
    void* jump[5];  // __builtin_setjmp buffer
    DWORD code;
    void* address;
    ULONG_PTR accessKind;
    ULONG_PTR accessAddress;
};

thread_local GuardFrame* t_frame = nullptr;

[[noreturn]] void __attribute__((noinline)) Landing() { __builtin_longjmp(t_frame->jump, 1); }

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT* context, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    auto frame = static_cast<GuardFrame*>(establisher);
    frame->code = record->ExceptionCode;
    frame->address = record->ExceptionAddress;
    frame->accessKind = record->NumberParameters >= 2 ? record->ExceptionInformation[0] : 0;
    frame->accessAddress = record->NumberParameters >= 2 ? record->ExceptionInformation[1] : 0;
    // Resume in Landing, which jumps back to RunGuarded with the registers it saved.
    context->Eip = reinterpret_cast<DWORD>(&Landing);
    return ExceptionContinueExecution;
}

std::string ModuleNameAt(void* address) {
    HMODULE module = nullptr;
    char name[MAX_PATH] = "";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(address), &module))
        GetModuleFileNameA(module, name, sizeof name);
    const char* base = name;
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    return base;
}

std::string Describe(const GuardFrame& f) {
    char text[256];
    if (f.code == EXCEPTION_ACCESS_VIOLATION) {
        std::snprintf(text, sizeof text, "Access violation at address %08lX in module '%s'. %s of address %08lX",
                      static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(f.address)),
                      ModuleNameAt(f.address).c_str(), f.accessKind == 1 ? "Write" : "Read",
                      static_cast<unsigned long>(f.accessAddress));
    } else {
        std::snprintf(text, sizeof text, "External exception %08lX at address %08lX",
                      static_cast<unsigned long>(f.code),
                      static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(f.address)));
    }
    return text;
}

}  // namespace

bool InsideGuardedCall() { return t_frame != nullptr; }

void __attribute__((noinline)) RunGuarded(void (*call)(void* context), void* context) {
    // A fault leaves through the library's code without its epilogue, so the
    // registers it was to restore for us hold its values. Declaring them
    // clobbered here makes this function save and restore them itself.
    __asm__ volatile("" ::: "ebx", "esi", "edi", "memory");
    GuardFrame frame{};
    NT_TIB* tib;
    __asm__("movl %%fs:0x18, %0" : "=r"(tib));  // the thread's information block
    GuardFrame* outer = t_frame;
    frame.record.Next = tib->ExceptionList;
    frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&GuardHandler);
    t_frame = &frame;
    if (__builtin_setjmp(frame.jump) == 0) {
        tib->ExceptionList = &frame.record;
        call(context);
        tib->ExceptionList = frame.record.Next;
        t_frame = outer;
        return;
    }
    // Back from a fault: drop whatever the library left on the chain above us.
    tib->ExceptionList = frame.record.Next;
    t_frame = outer;
    throw EExternalException(Describe(frame));
}
