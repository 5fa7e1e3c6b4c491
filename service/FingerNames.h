// The slots' names as the station shows them, in UTF-8 for the web pages.
#pragma once

constexpr int kSlotCount = 10;

// "左手拇指" for slot 0 to "右手小指" for slot 9; "" for any other number.
const char* FingerName(int slot);
