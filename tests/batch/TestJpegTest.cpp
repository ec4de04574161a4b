// The fixtures are what their names say, so that the tests built on them test what they claim.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestJpeg.h"

namespace {

using namespace TestJpeg;

bool Has(const std::vector<int>& codes, int code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); }

TEST(TestJpeg, FixturesHaveTheFramesTheyPromise)
{
    TFixture progressive = Color(64, 48);
    progressive.progressive = true;
    TFixture gray = Color(64, 48);
    gray.kind = TKind::gray;
    TFixture cmyk = Color(64, 48);
    cmyk.kind = TKind::cmyk;
    const struct {
        const char* name;
        TFixture fixture;
        int frameCode;
        std::vector<std::vector<int>> sampling;  // h, v of every component
    } cases[] = {
        {"4:2:0", Color(64, 48), kSOF0, {{2, 2}, {1, 1}, {1, 1}}},
        {"4:2:2", Color(64, 48, 2, 1), kSOF0, {{2, 1}, {1, 1}, {1, 1}}},
        {"4:4:4", Color(64, 48, 1, 1), kSOF0, {{1, 1}, {1, 1}, {1, 1}}},
        {"progressive", progressive, kSOF2, {{2, 2}, {1, 1}, {1, 1}}},
        {"gray", gray, kSOF0, {{1, 1}}},
        {"CMYK", cmyk, kSOF0, {{1, 1}, {1, 1}, {1, 1}, {1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TFrame frame = ReadFrame(MakeJpeg(c.fixture));
        EXPECT_EQ(frame.code, c.frameCode);
        EXPECT_EQ(frame.width, 64);
        EXPECT_EQ(frame.height, 48);
        std::vector<std::vector<int>> sampling;
        for (const TFrameComponent& component : frame.components)
            sampling.push_back({component.h, component.v});
        EXPECT_EQ(sampling, c.sampling);
    }
}

TEST(TestJpeg, EditsDoWhatTheySay)
{
    TFixture restarts = Color(64, 48);
    restarts.restartRows = 1;
    const std::vector<int> restartCodes = MarkerCodes(MakeJpeg(restarts));
    EXPECT_TRUE(Has(restartCodes, kDRI));
    EXPECT_TRUE(Has(restartCodes, 0xD0));

    const std::vector<std::uint8_t> plain = MakeJpeg(Color(64, 48));
    const std::vector<std::uint8_t> oriented = InsertExifOrientation(plain, 6);
    const std::vector<int> orientedCodes = MarkerCodes(oriented);
    EXPECT_EQ(orientedCodes[1], kAPP1);
    const std::vector<std::uint8_t> exif = FindMarker(oriented, kAPP1).payload;
    EXPECT_EQ(std::string(exif.begin(), exif.begin() + 4), "Exif");
    EXPECT_EQ(DecodeJpeg(oriented).bgr, DecodeJpeg(plain).bgr) << "the segment changes no pixel";

    const std::vector<std::uint8_t> cut = TruncateAfterHeader(plain, 20);
    const TMarker sos = FindMarker(plain, kSOS);
    EXPECT_EQ(cut.size(), sos.offset + 4 + sos.payload.size() + 20);
    EXPECT_FALSE(Has(MarkerCodes(cut), kEOI));

    const TFrame claimed = ReadFrame(WithClaimedSize(plain, 65500, 300));
    EXPECT_EQ(claimed.width, 65500);
    EXPECT_EQ(claimed.height, 300);
}

TEST(TestJpeg, QuantTablesComeInNaturalOrder)
{
    // At quality 50 the tables are the example tables themselves.
    TFixture fixture = Color(16, 16);
    fixture.quality = 50;
    const auto tables = ReadQuantTables(MakeJpeg(fixture));
    EXPECT_EQ(std::vector<int>(tables.at(0).begin(), tables.at(0).begin() + 8),
              (std::vector<int>{16, 11, 10, 16, 24, 40, 51, 61}));
    EXPECT_EQ(std::vector<int>(tables.at(0).begin() + 8, tables.at(0).begin() + 16),
              (std::vector<int>{12, 12, 14, 19, 26, 58, 60, 55}));
    EXPECT_EQ(std::vector<int>(tables.at(1).begin(), tables.at(1).begin() + 8),
              (std::vector<int>{17, 18, 24, 47, 99, 99, 99, 99}));
}

}  // namespace
