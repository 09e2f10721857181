// libFuzzer entry; GF_FUZZ_TARGET names the reader.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return gffuzz::GF_FUZZ_TARGET(data, size);
}
