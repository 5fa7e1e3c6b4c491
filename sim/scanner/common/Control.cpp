#include "Control.h"

#include "FileIo.h"
#include "ModuleFolder.h"
#include "SimFiles.h"

namespace kv90sim {

Control::Control(const std::wstring& folder)
    : file_(folder + kControlFileName), journalPath_(folder + kJournalFileName) {}

Control& Control::Instance() {
    static Control instance(ModuleFolder(ThisModule()));
    return instance;
}

void Control::RefreshLocked() {
    if (!file_.Refresh()) return;
    ++generation_;
    plan_.Restart();
    const Settings& settings = file_.settings();
    if (settings.journal > 0) {
        for (const std::string& problem : settings.problems) AppendLine(journalPath_, "# scanner_sim.ini " + problem);
    }
}

DeviceSettings Control::DeviceLocked() const {
    const Settings& settings = file_.settings();
    DeviceSettings device;
    device.paceMs = settings.paceMs;
    device.finger = settings.finger;
    device.timing = settings.timing;
    device.seed = settings.seed;
    device.generation = generation_;
    return device;
}

CallPlan Control::Begin(Entry entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    RefreshLocked();
    CallPlan plan;
    plan.outcome = plan_.Next(file_.settings(), entry);
    const int journal = file_.settings().journal;
    plan.journal = journal >= 2 || (journal == 1 && !IsPerFrame(entry));
    plan.device = DeviceLocked();
    return plan;
}

DeviceSettings Control::Device() {
    std::lock_guard<std::mutex> lock(mutex_);
    RefreshLocked();
    return DeviceLocked();
}

void Control::Journal(std::string_view line) { AppendLine(journalPath_, line); }

}  // namespace kv90sim
