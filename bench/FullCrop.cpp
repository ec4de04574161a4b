// The straightforward path, kept for comparison: each file is read whole, decoded at full
// size, cut and written, exactly as the batch run did before it learnt to decode only the
// part it needs.
//
//   velmora_fullcrop X Y WIDTH HEIGHT FILE...     writes FILE's crop beside it as *_f.jpg
#include <cstdio>
#include <exception>
#include <string>

#include "PictureCrop.h"

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s X Y WIDTH HEIGHT FILE...\n", argv[0]);
        return 2;
    }
    const TCropTexts texts{argv[1], argv[2], argv[3], argv[4]};
    try {
        for (int i = 5; i < argc; ++i) {
            const std::string path = argv[i];
            const TBitmap crop = CutCropPicture(LoadSourcePicture(path, false), texts);
            SaveCropPicture(crop, path.substr(0, path.size() - 4) + "_f.jpg");
        }
    } catch (const std::exception& failure) {  // a benchmark tool: report and fail the run
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
