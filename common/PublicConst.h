// Values shared across the program: the capture size, the configuration
// section and the finger slots.
#pragma once

constexpr int IMAGE_WIDTH = 640;
constexpr int IMAGE_HEIGHT = 640;

constexpr char CONFIG_FILE[] = "Config\\Config.ini";
constexpr char CONFIG_SECTION[] = "KV90";

constexpr int SLOT_COUNT = 10;

// Codes carried in the first parameter of the notifications to the host.
constexpr int HOST_CODE_READY = 3124;
constexpr int HOST_CODE_COLLECTED = 3224;
constexpr int HOST_CODE_CLOSE = 3324;
