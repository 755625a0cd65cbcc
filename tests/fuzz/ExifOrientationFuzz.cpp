// Coverage-guided fuzzing of the orientation reader: whatever the bytes, it
// reads nothing outside them and answers an orientation from 1 to 8.
#include "imaging/ExifOrientation.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation = pelmira::PictureOrientation({data, size});
    if (orientation < 1 || orientation > 8)
        std::abort();
    return 0;
}
