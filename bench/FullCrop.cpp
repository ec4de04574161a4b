// The straightforward path, kept for comparison: each file is read whole, decoded at full
// size, cut and written, exactly as the batch run did before it learnt to decode only the
// part it needs.
//
//   velmora_fullcrop [--region] X Y WIDTH HEIGHT FILE...     writes FILE's crop as *_f.jpg
//
// With --region it takes the batch run's own path instead, without the program's start-up, to
// tell the decoding's share of the program's figure.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "JpegRegion.h"
#include "PictureCrop.h"

int main(int argc, char** argv)
{
    const bool region = argc > 1 && std::strcmp(argv[1], "--region") == 0;
    const int first = region ? 2 : 1;
    if (argc < first + 5) {
        std::fprintf(stderr, "usage: %s [--region] X Y WIDTH HEIGHT FILE...\n", argv[0]);
        return 2;
    }
    const TCropTexts texts{argv[first], argv[first + 1], argv[first + 2], argv[first + 3]};
    try {
        for (int i = first + 4; i < argc; ++i) {
            const std::string path = argv[i];
            const auto start = std::chrono::steady_clock::now();
            const TBitmap crop = region ? LoadAndCutCrop(path, texts, false)
                                        : CutCropPicture(LoadSourcePicture(path, false), texts);
            const auto decoded = std::chrono::steady_clock::now();
            SaveCropPicture(crop, path.substr(0, path.size() - 4) + "_f.jpg");
            const auto saved = std::chrono::steady_clock::now();
            if (std::getenv("VELMORA_BENCH_VERBOSE") != nullptr)
                std::fprintf(stderr, "%s: decode and cut %.1f ms, save %.1f ms\n", path.c_str(),
                             std::chrono::duration<double, std::milli>(decoded - start).count(),
                             std::chrono::duration<double, std::milli>(saved - decoded).count());
        }
    } catch (const std::exception& failure) {  // a benchmark tool: report and fail the run
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
