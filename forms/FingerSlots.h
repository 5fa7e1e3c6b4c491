// The ten finger slots: slot 0 to 4 the left thumb to little finger, 5 to 9
// the right. The slot number is the hint of the slot's image, the index of
// its files and the value the host is told.
#pragma once

struct TFingerSlot {
    const char* panelName;
    const char* imageName;
    int left;
    const char* fingerName;     // the slot label
    const char* currentFinger;  // the status text while the slot is current
};

constexpr TFingerSlot kFingerSlots[10] = {
    {"Panel1", "Img_Left1", 203, "左手拇指", "当前采集的是【左手拇指】"},
    {"Panel2", "Img_Left2", 311, "左手食指", "当前采集的是【左手食指】"},
    {"Panel3", "Img_Left3", 419, "左手中指", "当前采集的是【左手中指】"},
    {"Panel4", "Img_Left4", 527, "左手无名指", "当前采集的是【左手无名指】"},
    {"Panel5", "Img_Left5", 638, "左手小指", "当前采集的是【左手小指】"},
    {"Panel6", "Img_Right1", 203, "右手拇指", "当前采集的是【右手拇指】"},
    {"Panel7", "Img_Right2", 311, "右手食指", "当前采集的是【右手食指】"},
    {"Panel8", "Img_Right3", 419, "右手中指", "当前采集的是【右手中指】"},
    {"Panel9", "Img_Right4", 527, "右手无名指", "当前采集的是【右手无名指】"},
    {"Panel10", "Img_Right5", 638, "右手小指", "当前采集的是【右手小指】"},
};
