// Values shared across the program: the capture size, the configuration
// section and the finger slots.
#pragma once

constexpr int kImageWidth = 640;
constexpr int kImageHeight = 640;

constexpr char kConfigFile[] = "Config\\Config.ini";
constexpr char kConfigSection[] = "KV90";

constexpr int kSlotCount = 10;

// The registered messages of the host link: the host's commands, and the station's notifications.
constexpr char kActiveMessageName[] = "ACTIVEMSG";
constexpr char kFingerMessageName[] = "FINGERMSG";

// Codes carried in the first parameter of the notifications to the host.
constexpr int HOST_CODE_READY = 3124;
constexpr int HOST_CODE_COLLECTED = 3224;
constexpr int HOST_CODE_CLOSE = 3324;
