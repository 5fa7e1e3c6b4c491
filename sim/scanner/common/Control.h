#pragma once
// The control file as seen by one library: one instance per loaded library,
// shared by its entry points, whichever thread calls them.

#include <mutex>
#include <string>
#include <string_view>

#include "ControlFile.h"
#include "FaultPlan.h"

namespace kv90sim {

// What the capture device needs to know from the control file.  `generation`
// changes every time the file is read again.
struct DeviceSettings {
    int paceMs = 40;
    FingerScript finger = FingerScript::Roll;
    RollTiming timing;
    std::uint32_t seed = 0;
    unsigned generation = 0;
};

struct CallPlan {
    Outcome outcome;
    bool journal = false;
    DeviceSettings device;
};

class Control {
public:
    explicit Control(const std::wstring& folder);

    // The instance of the library that contains this code, bound to its folder.
    static Control& Instance();

    // Looks at the control file again and decides the next call of `entry`.
    CallPlan Begin(Entry entry);

    // The device settings as they are now, without counting a call.
    DeviceSettings Device();

    void Journal(std::string_view line);

private:
    void RefreshLocked();
    DeviceSettings DeviceLocked() const;

    std::mutex mutex_;
    ControlFile file_;
    FaultPlan plan_;
    std::wstring journalPath_;
    unsigned generation_ = 0;
};

}  // namespace kv90sim
