// libFuzzer entry point for the skin archive target.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSkinArchive(data, size);
    return 0;
}
