// Helpers shared by the picture tests: running one file's work in a folder and checking what
// it wrote.
#pragma once

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "PictureCrop.h"
#include "TestJpeg.h"

namespace PictureTest {

// The message of the failure that f ends with, or "" when it ends normally.
template <class F>
std::string FailureOf(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {  // the message is what the test compares
        return e.what();
    }
    return "";
}

// The size of this process's address space now.
inline std::size_t AddressSpaceInUse()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// f's failure message, from a child process that may take only `extra` more bytes of address
// space than this one has now.
template <class F>
std::string FailureWithLittleMemory(F&& f, std::size_t extra)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    const std::size_t limit = AddressSpaceInUse() + extra;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlimit memory{limit, limit};
        setrlimit(RLIMIT_AS, &memory);
        const std::string message = FailureOf(f);
        [[maybe_unused]] const ssize_t written = write(channel[1], message.data(), message.size());
        _exit(0);
    }
    close(channel[1]);
    std::string message;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return "the child crashed";
    return message;
}

// Positions to probe a decoded pattern at: block centres, or the middle of a crop that is
// smaller than one block.
inline std::vector<int> ProbePositions(int size)
{
    if (size <= TestJpeg::kPatternBlock / 2)
        return {size / 2};
    std::vector<int> positions;
    for (int at = TestJpeg::kPatternBlock / 2; at < size; at += TestJpeg::kPatternBlock)
        positions.push_back(at);
    return positions;
}

inline bool Near(int actual, int expected, int tolerance) { return std::abs(actual - expected) <= tolerance; }

// Every probe of the decoded crop (whose top-left pixel is the source's 0, 0) lies within
// tolerance of the pattern colour.
inline void ExpectPattern(const TestJpeg::TDecoded& decoded, int tolerance)
{
    for (int row : ProbePositions(decoded.height))
        for (int column : ProbePositions(decoded.width)) {
            const TestJpeg::TRgb got = decoded.At(column, row);
            const TestJpeg::TRgb want = TestJpeg::PatternColor(column, row);
            EXPECT_TRUE(Near(got.red, want.red, tolerance) && Near(got.green, want.green, tolerance) &&
                        Near(got.blue, want.blue, tolerance))
                << "at " << column << "," << row << ": got " << got.red << " " << got.green << " "
                << got.blue << ", want " << want.red << " " << want.green << " " << want.blue;
        }
}

inline void ExpectGrayPattern(const TestJpeg::TDecoded& decoded, int tolerance)
{
    for (int row : ProbePositions(decoded.height))
        for (int column : ProbePositions(decoded.width)) {
            const TestJpeg::TRgb got = decoded.At(column, row);
            const int want = TestJpeg::PatternGray(column, row);
            EXPECT_TRUE(got.red == got.green && got.green == got.blue && Near(got.green, want, tolerance))
                << "at " << column << "," << row << ": got " << got.red << " " << got.green << " "
                << got.blue << ", want gray " << want;
        }
}

// The file is exactly what the library writes for a baseline JFIF file of quality 90 with
// 2x2 subsampled colour, of the given size.
inline void ExpectCropFile(const std::vector<std::uint8_t>& bytes, int width, int height)
{
    using namespace TestJpeg;
    const std::vector<int> markers = {kSOI, kAPP0, kDQT, kDQT, kSOF0, kDHT, kDHT,
                                      kDHT, kDHT, kSOS, kEOI};
    ASSERT_EQ(MarkerCodes(bytes), markers);

    const std::vector<std::uint8_t> jfif = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(FindMarker(bytes, kAPP0).payload, jfif) << "JFIF 1.01, no unit, 1:1, no thumbnail";

    const TFrame frame = ReadFrame(bytes);
    EXPECT_EQ(frame.code, kSOF0);
    EXPECT_EQ(frame.precision, 8);
    EXPECT_EQ(frame.width, width);
    EXPECT_EQ(frame.height, height);
    ASSERT_EQ(frame.components.size(), 3u);
    const int expected[3][4] = {{1, 2, 2, 0}, {2, 1, 1, 1}, {3, 1, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        const TFrameComponent& c = frame.components[i];
        EXPECT_EQ((std::vector<int>{c.id, c.h, c.v, c.quantTable}),
                  (std::vector<int>(expected[i], expected[i] + 4)))
            << "component " << i;
    }

    const auto tables = ReadQuantTables(bytes);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(std::vector<int>(tables.at(0).begin(), tables.at(0).begin() + 8),
              (std::vector<int>{3, 2, 2, 3, 5, 8, 10, 12}));
    EXPECT_EQ(std::vector<int>(tables.at(1).begin(), tables.at(1).begin() + 8),
              (std::vector<int>{3, 4, 5, 9, 20, 20, 20, 20}));
}

}  // namespace PictureTest
