#include "device/ScriptedDevice.h"

#include "framework/SysUtils.h"

namespace {

DeviceScript* g_script = nullptr;
std::mutex g_mutex;
std::vector<std::string> g_journal;
int g_fetches = 0;

// An access violation inside the library, as a faulty vendor library raises it.
void Fault() { *static_cast<volatile int*>(nullptr) = 0; }

int Take(std::deque<int>& queue, int otherwise) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (queue.empty()) return otherwise;
    const int value = queue.front();
    queue.pop_front();
    return value;
}

int __stdcall SetCaptWindow(int, int, int, int, int) {
    ScriptedDevice::Note("SetCaptWindow");
    if (g_script->faultInSetCaptWindow) Fault();
    return g_script->setCaptWindow;
}
int __stdcall SetRollMode(int) {
    ScriptedDevice::Note("SetRollMode");
    return g_script->setRollMode;
}
int __stdcall BeginCapture(int) {
    ScriptedDevice::Note("Begin");
    return Take(g_script->begin, 0);
}
int __stdcall GetFPRawData(int, unsigned char* buffer) {
    ScriptedDevice::Note("Fetch");
    if (g_script->fetchGate) WaitForSingleObject(g_script->fetchGate, INFINITE);
    const int n = g_fetches++;
    if (g_script->faultEveryFetch || n == g_script->faultAtFetch) Fault();
    buffer[0] = 0;
    const int collect = Take(g_script->collect, -1);
    if (collect >= 0) DM->CollectEnabled = collect != 0;
    return Take(g_script->fetch, 1);
}
int __stdcall EndCapture(int) {
    ScriptedDevice::Note("End");
    return 1;
}
int __stdcall IsFinger(unsigned char*, int, int) {
    ScriptedDevice::Note("IsFinger");
    return Take(g_script->isFinger, 0);
}
int __stdcall Start(unsigned char*, int, int) {
    ScriptedDevice::Note("Start");
    return 1;
}
int __stdcall DoMosaic(unsigned char*, int, int) {
    ScriptedDevice::Note("DoMosaic");
    if (g_script->faultInDoMosaic) Fault();
    return Take(g_script->doMosaic, 2);
}
int __stdcall Stop() {
    ScriptedDevice::Note("Stop");
    return 1;
}
int __stdcall SaveToFile(unsigned char*, int, int, const char* path, int) {
    ScriptedDevice::Note("Save");
    if (!Take(g_script->saveWrites, 1)) {
        DeleteFileA(path);  // the save failed and left no file
        return 1;
    }
    // A 1 x 1 grey 24-bit bitmap stands for the stitched image.
    static const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40,   0,    0,    0, 1, 0,
                                          0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,    0,    0,    0, 0, 0,
                                          0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 0x80, 0x80, 0x80, 0};
    std::string file(reinterpret_cast<const char*>(bmp), sizeof bmp);
    if (!g_script->saves.empty()) {
        file = g_script->saves.front();
        g_script->saves.pop_front();
    }
    WriteFileBytes(path, file);
    g_script->savePath = path;
    return 1;
}

}  // namespace

void ScriptedDevice::Bind(TDM& dm, DeviceScript& script) {
    g_script = &script;
    dm.LIVESCAN_SetCaptWindow = SetCaptWindow;
    dm.MOSAIC_SetRollMode = SetRollMode;
    dm.LIVESCAN_BeginCapture = BeginCapture;
    dm.LIVESCAN_GetFPRawData = GetFPRawData;
    dm.LIVESCAN_EndCapture = EndCapture;
    dm.MOSAIC_IsFinger = IsFinger;
    dm.MOSAIC_Start = Start;
    dm.MOSAIC_DoMosaic = DoMosaic;
    dm.MOSAIC_Stop = Stop;
    dm.LIVESCAN_SaveToFile = SaveToFile;
}

std::vector<std::string> ScriptedDevice::Journal() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_journal;
}

void ScriptedDevice::Note(const std::string& event) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_journal.push_back(event);
}

void ScriptedDevice::Reset() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_journal.clear();
    g_fetches = 0;
}

void ScriptedDevice::EndLoop() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_script) g_script->begin.clear();
}
