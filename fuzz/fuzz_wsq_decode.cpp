// libFuzzer entry point for the WSQ decoder.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzWsqDecode(data, size);
    return 0;
}
