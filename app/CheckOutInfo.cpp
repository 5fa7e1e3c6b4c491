#include "app/CheckOutInfo.h"

#include "common/Prompts.h"
#include "framework/Forms.h"

#include <windows.h>

namespace {

// In the order in which they are claimed: this program first, then its siblings.
const char* const kGuardNames[] = {"Finger_KV90", "Finger_LX20", "Finger_NR50"};

}  // namespace

bool TCheckOutInfo::CheckRunning() {
    bool running = false;
    try {
        for (const char* name : kGuardNames) {
            // The handle is deliberately never closed: the name stays claimed
            // until the process ends and the system releases it.
            CreateMutexA(nullptr, TRUE, name);
            if (GetLastError() == ERROR_ALREADY_EXISTS) {
                running = true;
                ShowWarning("已经有一个指纹采集窗口运行...");
                return true;
            }
        }
    } catch (...) {
    }
    return running;
}
