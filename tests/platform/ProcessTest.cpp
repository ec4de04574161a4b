#include "Process.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "SystemFixtures.h"
#include "TestFiles.h"

namespace {

std::string ThisProgram() { return std::filesystem::canonical(TEST_PROGRAM_PATH).string(); }
std::string ThisFolder() { return std::filesystem::canonical(TEST_PROGRAM_FOLDER).string() + "/"; }

TEST(ProcessTest, KnowsItsOwnFileWhateverTheCurrentFolder)
{
    const std::string program = ThisProgram();
    const std::string folder = ThisFolder();
    EXPECT_EQ(ProgramFilePath(), program);
    EXPECT_EQ(ProgramFolder(), folder);

    TTempDir elsewhere;
    TCurrentFolder inside(elsewhere.Path());
    EXPECT_EQ(ProgramFilePath(), program);
    EXPECT_EQ(ProgramFolder(), folder);
    EXPECT_EQ(ProgramFolder().back(), '/');
}

TEST(ProcessTest, ArgumentsLeaveOutTheProgramAndEmptyItems)
{
    std::string items[] = {"/usr/bin/velmora", "a.jpg", "", "b c.jpg", "写真.JPG"};
    char* argv[] = {items[0].data(), items[1].data(), items[2].data(), items[3].data(), items[4].data(),
                    nullptr};
    InitProcess(5, argv);
    EXPECT_EQ(ProgramArguments(), (std::vector<std::string>{"a.jpg", "b c.jpg", "写真.JPG"}));

    InitProcess(1, argv);
    EXPECT_TRUE(ProgramArguments().empty());
}

}  // namespace
