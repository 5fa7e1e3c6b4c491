// The engine's window hook: it sees this thread's windows as they are created
// and activated, refuses size grips and brings activated windows under the skin.
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinRules.h"

namespace {

HHOOK g_hook = nullptr;
TSkinEngine* g_hookEngine = nullptr;

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinEngine* engine = g_hookEngine;
    if (code >= 0 && engine && engine->IsSkinning()) {
        try {
            if (code == HCBT_CREATEWND) {
                const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
                char name[64] = "";
                GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
                // Answering non-zero without passing the event on refuses the creation.
                if (RefusesCreation(name, create->lpcs->style, create->lpcs->dwExStyle)) return 1;
            } else if (code == HCBT_ACTIVATE) {
                engine->WindowActivating(reinterpret_cast<HWND>(wParam));
            }
        } catch (...) {
            // A window that cannot be skinned keeps the system's frame.
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

void TSkinEngine::InstallHook() {
    if (g_hookEngine) return;
    g_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (g_hook) g_hookEngine = this;
}

void TSkinEngine::RemoveHook() {
    if (g_hookEngine != this) return;
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_hookEngine = nullptr;
}
