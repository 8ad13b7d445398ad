#include "fuzz/fuzz_picture.h"
#include "platform/ui/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzPicture<TIcon>(data, size); }
