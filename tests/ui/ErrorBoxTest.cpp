// The error box: the closing "." rule, the box's look and caption, and its stderr line.
#include <gtest/gtest.h>

#include "ErrorBoxText.h"
#include "FormSession.h"

TEST(ErrorBoxText, AppendsAFullStopAfterACharacterAboveTheFullStop)
{
    const struct {
        const char* name;
        const char* message;
        const char* shown;
    } cases[] = {
        {"empty stays empty", "", ""},
        {"ends in a full stop", "done.", "done."},
        {"ends in a closing parenthesis", "(x)", "(x)"},
        {"ends in a space", "a ", "a "},
        {"ends in an exclamation mark", "stop!", "stop!"},
        {"ends in a hyphen", "a-", "a-"},
        {"ends in a control character", "a\n", "a\n"},
        {"ends in a slash, code 47", "a/", "a/."},
        {"ends in a digit", "JPEG エラー #41", "JPEG エラー #41."},
        {"ends in a letter", "abc", "abc."},
        {"ends in a Japanese character", "に書き込めません", "に書き込めません."},
        {"ends in a full-width parenthesis", "（x）", "（x）."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ErrorBoxText(row.message), row.shown);
    }
}

TEST(ErrorBoxText, TheStderrLineStaysOneLine)
{
    EXPECT_EQ(ReportLineText("velmora", "JPEG エラー #41."), "velmora: JPEG エラー #41.\n");
    EXPECT_EQ(ReportLineText("velmora", "ファイル /p/a\nb.jpg は開けません."),
              "velmora: ファイル /p/a\\nb.jpg は開けません.\n");
    EXPECT_EQ(ReportLineText("Velmora", "a\r\nb"), "Velmora: a\\r\\nb\n");
}

namespace {

// The error box of a failure that leaves a handler, as the user and a script see it.
struct TFailureShown {
    std::vector<TBoxSeen> boxes;
    std::string stderrText;
    bool handlerResult = true;
};

TFailureShown ShowFailureOf(const std::string& exeName, const TNotifyEvent& handler)
{
    TTempDir dir;
    SetExeNameForTests(exeName);
    TBareCommandLine commandLine;
    TApplication application(commandLine.argc, commandLine.argv);
    TFailureShown shown;
    {
        TBoxAnswerer answerer;
        TStderrCapture capture(dir / "stderr");
        shown.handlerResult = application.HandleEvent(handler, nullptr);
        shown.stderrText = capture.Text();
        shown.boxes = answerer.seen;
    }
    SetExeNameForTests(std::string());
    return shown;
}

}  // namespace

TEST(ErrorBox, ShowsTheMessageWithTheErrorIconUnderTheApplicationTitle)
{
    const TFailureShown shown = ShowFailureOf("/opt/tools/VELMORA.EXE", [](TObject*) {
        throw std::runtime_error("ファイル /tmp/写真/a.jpg は開けません");
    });
    EXPECT_FALSE(shown.handlerResult);
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].title, "Velmora");
    EXPECT_EQ(shown.boxes[0].text, "ファイル /tmp/写真/a.jpg は開けません.");
    EXPECT_EQ(shown.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(shown.boxes[0].buttonCount, 1);
    EXPECT_EQ(shown.stderrText, "Velmora: ファイル /tmp/写真/a.jpg は開けません.\n");
}

TEST(ErrorBox, AFailureOfAnotherKindIsCaughtAsWellAndShowsAnEmptyBox)
{
    const TFailureShown shown = ShowFailureOf("/usr/bin/velmora", [](TObject*) { throw 42; });
    EXPECT_FALSE(shown.handlerResult);
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].title, "velmora");
    EXPECT_EQ(shown.boxes[0].text, "");
    EXPECT_EQ(shown.stderrText, "velmora: \n");
}

TEST(ErrorBox, AHandlerThatReturnsShowsNothing)
{
    bool ran = false;
    const TFailureShown shown = ShowFailureOf("/usr/bin/velmora", [&ran](TObject*) { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(shown.handlerResult);
    EXPECT_TRUE(shown.boxes.empty());
    EXPECT_EQ(shown.stderrText, "");
}
