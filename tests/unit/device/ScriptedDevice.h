// A scanner played from a script, bound into the data module's entry points,
// recording every call in order.
#pragma once

#include "forms/DataModule.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

struct DeviceScript {
    std::deque<int> begin;     // BeginCapture results; when empty: 0, the loop ends
    std::deque<int> fetch;     // GetFPRawData results; when empty: 1
    std::deque<int> isFinger;  // IsFinger results; when empty: 0
    std::deque<int> doMosaic;  // DoMosaic results; when empty: 2
    std::deque<int> collect;   // per fetch, the frame switch the GUI thread set meanwhile
    int faultAtFetch = -1;     // the fetch (counted from 0) that faults inside the library
    bool faultEveryFetch = false;
    bool faultInSetCaptWindow = false;
    bool faultInDoMosaic = false;
    std::deque<int> saveWrites;  // per save, 0: the file is not written; when empty: written
    int setCaptWindow = 1;
    int setRollMode = 0;
    std::deque<std::string> saves;  // per SaveToFile, the file it writes; when empty: a 1 x 1 bitmap
    std::string savePath;           // where SaveToFile wrote, when it did
    HANDLE fetchGate = nullptr;     // when set, every fetch waits for it
};

class ScriptedDevice {
public:
    // Binds the script into the data module's entry points.
    static void Bind(TDM& dm, DeviceScript& script);
    // The calls in order, with the preview changes the GUI thread made among them.
    static std::vector<std::string> Journal();
    static void Note(const std::string& event);
    static void Reset();
    // From now on BeginCapture fails, so that a running loop ends at its next frame.
    static void EndLoop();
};
