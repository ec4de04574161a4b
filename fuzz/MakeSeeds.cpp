// Writes the seed files of the fuzz corpus: small valid JPEGs of every flavour the program
// meets, damaged ones made from them, and INI files. Each picture seed starts with the byte
// that the picture target reads as its choice of palette mode and crop.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestJpeg.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

void Write(const std::filesystem::path& path, const TBytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WritePicture(const std::filesystem::path& folder, const std::string& name, std::uint8_t choice,
                  const TBytes& jpeg)
{
    TBytes seed{choice};
    seed.insert(seed.end(), jpeg.begin(), jpeg.end());
    Write(folder / name, seed);
}

TBytes Truncated(TBytes bytes, std::size_t size)
{
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

void WritePictureSeeds(const std::filesystem::path& folder)
{
    using namespace TestJpeg;
    std::filesystem::create_directories(folder);
    TFixture progressive = Color(40, 24);
    progressive.progressive = true;
    TFixture gray = Color(33, 17);
    gray.kind = TKind::gray;
    TFixture cmyk = Color(16, 16);
    cmyk.kind = TKind::cmyk;
    TFixture restarts = Color(48, 48);
    restarts.restartRows = 1;
    const TBytes baseline = MakeJpeg(Color(48, 32));

    WritePicture(folder, "baseline", 0, baseline);
    WritePicture(folder, "h2v1", 1, MakeJpeg(Color(37, 21, 2, 1)));
    WritePicture(folder, "h1v1", 2, MakeJpeg(Color(20, 20, 1, 1)));
    WritePicture(folder, "progressive", 3, MakeJpeg(progressive));
    WritePicture(folder, "gray", 0x10, MakeJpeg(gray));
    WritePicture(folder, "cmyk", 0, MakeJpeg(cmyk));
    WritePicture(folder, "restarts", 1, MakeJpeg(restarts));
    WritePicture(folder, "one-row", 2, MakeJpeg(Color(30, 1)));
    WritePicture(folder, "palette-mode", 0x13, baseline);
    WritePicture(folder, "cut-after-header", 0, TruncateAfterHeader(baseline));
    WritePicture(folder, "cut-in-half", 1, Truncated(baseline, baseline.size() / 2));
    WritePicture(folder, "orientation", 0, InsertExifOrientation(baseline, 6));
    WritePicture(folder, "claims-huge", 3, WithClaimedSize(baseline, 65500, 65500));
    WritePicture(folder, "empty", 0, {});
    WritePicture(folder, "text", 0, {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
}

void WriteIniSeeds(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    const std::string files[] = {
        "[main]\nleft=205\ntop=126\nx=0\ny=0\nxx=100\nyy=100\nname_bottom=_x\nname_top=\nkomoji=0\n",
        "[main]\r\nleft=-40\r\nxx=12345\r\nkomoji=2\r\n",
        "; comment\n[Other]\nkey=1\n\n[MAIN]\n  XX = \"2048\"  \nname_bottom=\n",
        "[main]\nx=abc\n[other]\nkey='q'\n[main]\nxx=1\n",
        "left=1\n[main\nxx==5\n[]\n=\n",
    };
    int index = 0;
    for (const std::string& text : files)
        Write(folder / ("ini" + std::to_string(index++)), TBytes(text.begin(), text.end()));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path corpus = argc > 1 ? argv[1] : "tests/corpus";
    WritePictureSeeds(corpus / "fuzz_picture");
    WriteIniSeeds(corpus / "fuzz_ini_text");
    return 0;
}
