// libFuzzer entry point for the skin bmp target.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSkinBmp(data, size);
    return 0;
}
