// One file's whole path on arbitrary bytes: decoding fails only with one of the program's
// messages, and whatever decodes can be cut and encoded. The first byte picks palette mode and
// the crop rectangle, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "Errors.h"
#include "PictureCrop.h"

namespace {

TCropTexts CropFor(std::uint8_t choice)
{
    switch (choice % 4) {
    case 0:
        return {"0", "0", "100", "100"};
    case 1:
        return {"-3", "-5", "16", "9"};
    case 2:
        return {"7", "3", "1", "1"};
    default:
        return {"60", "40", "200", "30"};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool paletteMode = (data[0] & 0x10) != 0;
    const std::vector<std::uint8_t> file(data + 1, data + size);
    TBitmap source;
    try {
        source = DecodeSourcePicture(file, "fuzz.jpg", paletteMode);
    } catch (const EVelmoraError&) {  // a refusal with the program's own message is the answer
        return 0;
    }
    const TBitmap crop = CutCropPicture(source, CropFor(data[0]));
    if (EncodeCropPicture(crop).empty())
        std::abort();
    return 0;
}
