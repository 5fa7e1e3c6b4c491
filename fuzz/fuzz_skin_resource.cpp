// libFuzzer entry point for the skin resource target.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSkinResource(data, size);
    return 0;
}
