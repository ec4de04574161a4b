// Run by the region tests as an unprivileged user: prints what the region decoder and the full
// path each give for the file named by the argument, cut at 0, 0, 10 by 10.
#include <cstdio>
#include <exception>
#include <string>

#include "JpegRegion.h"
#include "PictureCrop.h"

namespace {

template <class Call>
std::string Outcome(Call call)
{
    try {
        call();
    } catch (const std::exception& failure) {  // the message is what the probe reports
        return failure.what();
    }
    return "no failure";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string path = argv[1];
    const TCropTexts texts{"0", "0", "10", "10"};
    std::printf("region: %s\n", Outcome([&] { LoadAndCutCrop(path, texts, false); }).c_str());
    std::printf("full: %s\n", Outcome([&] { CutCropPicture(LoadSourcePicture(path, false), texts); }).c_str());
    return 0;
}
