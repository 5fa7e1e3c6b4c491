// libFuzzer entry point for the bitmap file reader of the program's pictures.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzBitmapFile(data, size);
    return 0;
}
