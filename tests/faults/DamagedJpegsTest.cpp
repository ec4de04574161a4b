// Many damaged JPEG files through the real program, a batch at a time: it never crashes or
// hangs, ends with one of its messages or a completed run, and leaves nothing on disk but the
// sources, untouched, and valid crops of the files it could decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "DamagedJpegs.h"
#include "ProgramChecks.h"
#include "ProgramRun.h"
#include "SystemFixtures.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

using DamagedJpegs::TDamaged;

std::string NameOf(const std::string& family, std::size_t index)
{
    char number[8];
    std::snprintf(number, sizeof number, "%03zu", index);
    return family + "-" + number;
}

// A crop the program wrote: a baseline file of the default crop size, 100 by 100.
testing::AssertionResult IsValidCrop(const std::vector<std::uint8_t>& bytes)
{
    try {  // the fixtures' decoder throws on data it cannot decode, which is what this reports
        if (TestJpeg::ReadFrame(bytes).code != TestJpeg::kSOF0)
            return testing::AssertionFailure() << "not baseline";
        const TestJpeg::TDecoded decoded = TestJpeg::DecodeJpeg(bytes);
        if (decoded.width != 100 || decoded.height != 100)
            return testing::AssertionFailure() << decoded.width << " x " << decoded.height;
    } catch (const std::exception& e) {
        return testing::AssertionFailure() << e.what();
    }
    return testing::AssertionSuccess();
}

// Runs the program over the files in order; after a failure, again over the files after the one
// that failed (the first without an output), until every file has been taken.
void RunAll(const std::string& family, const std::vector<TDamaged>& files, const TRunLimits& limits = {})
{
    TProgramCopy program;
    TTempDir dir;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < files.size(); ++i) {
        names.push_back(NameOf(family, i) + ".jpg");
        WriteBytes(dir / names.back(), files[i].bytes);
    }
    auto outputOf = [&](std::size_t i) { return NameOf(family, i) + "_x.jpg"; };

    std::map<std::size_t, std::string> failures;  // file, its stderr line
    std::size_t runs = 0;
    long peakKiB = 0;
    for (std::size_t first = 0; first < files.size();) {
        const std::vector<std::string> arguments(names.begin() + static_cast<std::ptrdiff_t>(first), names.end());
        const TRunResult run = program.Run(arguments, dir.Path(), limits);
        ++runs;
        peakKiB = std::max(peakKiB, run.peakKiB);
        ASSERT_TRUE(EndedCleanly(run)) << "in the run from " << names[first] << " (" << files[first].what << ")";
        std::size_t failed = first;
        while (failed < files.size() && FileExists(dir / outputOf(failed)))
            ++failed;
        if (run.exitStatus == 0) {
            EXPECT_EQ(failed, files.size()) << "completed without a crop of " << names[failed] << " ("
                                            << files[failed].what << ")";
            break;
        }
        ASSERT_LT(failed, files.size()) << "failed with every crop written: " << run.err;
        if (run.err.find("ファイル ") != std::string::npos) {
            EXPECT_NE(run.err.find(names[failed]), std::string::npos)
                << run.err << " for " << names[failed] << " (" << files[failed].what << ")";
        }
        failures[failed] = run.err;
        first = failed + 1;
    }

    std::vector<std::string> expectedEntries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(names[i] + ": " + files[i].what);
        expectedEntries.push_back(names[i]);
        EXPECT_EQ(ReadBytes(dir / names[i]), files[i].bytes);
        if (failures.count(i) != 0)
            continue;
        expectedEntries.push_back(outputOf(i));
        EXPECT_TRUE(IsValidCrop(ReadBytes(dir / outputOf(i))));
    }
    std::sort(expectedEntries.begin(), expectedEntries.end());
    EXPECT_EQ(FolderEntries(dir.Path()), expectedEntries);
    std::map<std::string, int> lines;
    for (const auto& [file, line] : failures)
        ++lines[line];
    std::printf("[ damaged  ] %s: %zu files, %zu refused, %zu runs, peak %ld MiB\n", family.c_str(), files.size(),
                failures.size(), runs, peakKiB / 1024);
    for (const auto& [line, count] : lines)
        std::printf("[ damaged  ] %4d x %s", count, line.c_str());
}

}  // namespace

TEST(DamagedJpegs, FilesCutShort) { RunAll("cut", DamagedJpegs::Truncations()); }

TEST(DamagedJpegs, FlippedBytes) { RunAll("flip", DamagedJpegs::Flips(72)); }

TEST(DamagedJpegs, DamagedMarkers) { RunAll("marker", DamagedJpegs::MarkerDamage()); }

// Files that claim large pictures, where a tight limit makes the library's allocations fail.
TEST(DamagedJpegs, DamagedMarkersUnderATightMemoryLimit)
{
    if (kUnderAddressSanitizer)
        GTEST_SKIP() << "a memory limit cannot hold a program under AddressSanitizer";
    TRunLimits limits;
    limits.addressSpace = rlim_t{256} << 20;
    RunAll("tight", DamagedJpegs::MarkerDamage(), limits);
}
