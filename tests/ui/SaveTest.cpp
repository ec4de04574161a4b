// The save button: the instruction message, the nine settings written as shown, the end of the
// program, and a refused write that keeps the window.
#include <filesystem>

#include <gtest/gtest.h>

#include "FormSession.h"
#include "Messages.h"

namespace {

std::string Written(const TFormSession& session) { return ReadText(session.IniPath()); }

bool Holds(const std::string& ini, const std::string& line)
{
    return ini.find("\n" + line + "\n") != std::string::npos || ini.rfind(line + "\n", 0) == 0;
}

}  // namespace

TEST(Save, AClickRightAfterOpeningChecksTheWidthFirstAndWritesEverySettingAsShown)
{
    TFormSession session({}, "[main]\nleft=300\ntop=200\nx=1\ny= 2\nxx=5000\nyy=abc\n"
                             "name_bottom=_s\nname_top=pic\nkomoji=1\n");
    TBoxAnswerer answerer;
    std::string widthWhileAsked;
    answerer.whileOpen = [&] { widthWhileAsked = session.form->sizeX->Text(); };
    const int status = session.Run([&] {
        EXPECT_TRUE(session.HasFocus(session.form->xx));
        TFormSession::Click(session.form->Button1);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(widthWhileAsked, "2048");
    ASSERT_EQ(answerer.seen.size(), 1u);
    const TBoxSeen& message = answerer.seen[0];
    EXPECT_EQ(message.text, Messages::Instruction());
    EXPECT_EQ(message.title, "velmora");
    EXPECT_EQ(message.icon, QMessageBox::NoIcon);
    EXPECT_EQ(message.buttonCount, 1);
    EXPECT_EQ(message.firstButtonText, "OK");
    EXPECT_EQ(message.modality, Qt::ApplicationModal);
    EXPECT_LE(message.frame.width(), message.screenArea.width() / 2);
    EXPECT_LE((message.frame.center() - message.screenArea.center()).manhattanLength(), 4);

    const std::string ini = Written(session);
    for (const char* line : {"left=300", "top=200", "x=1", "xx=2048", "yy=abc", "name_bottom=_s",
                             "name_top=pic", "komoji=1"}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(Holds(ini, line)) << ini;
    }
}

TEST(Save, EveryWayOfClosingTheInstructionSavesAsOkDoes)
{
    const struct {
        const char* name;
        TBoxAnswer answer;
    } cases[] = {
        {"OK clicked", TBoxAnswer::clickOk},
        {"Enter", TBoxAnswer::pressEnter},
        {"Esc", TBoxAnswer::pressEscape},
        {"close box", TBoxAnswer::closeBox},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TFormSession session;
        TBoxAnswerer answerer(row.answer);
        const int status = session.Run([&] {
            session.form->cbNM->SetText("_k");
            TFormSession::Click(session.form->Button1);
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(answerer.seen.size(), 1u);
        EXPECT_TRUE(Holds(Written(session), "name_bottom=_k")) << Written(session);
    }
}

TEST(Save, ARefusedWriteIsShownAndTheWindowStaysForAnotherTry)
{
    TFormSession session;
    // A folder where the settings file should be: the system refuses the write, also to root.
    std::filesystem::create_directory(session.IniPath());
    TBoxAnswerer answerer;
    bool stayed = false;
    const int status = session.Run([&] {
        TsumFrm& form = *session.form;
        form.sizeY->SetText("77");
        TFormSession::Click(form.Button1);
        QTest::qWait(50);
        TFormSession::Click(form.Button1);
        QTest::qWait(50);
        stayed = form.Visible() && form.sizeY->Text() == "77";
        form.Close();
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(stayed);
    const std::string refused = Messages::CannotWriteSettings(session.IniPath()) + ".";
    ASSERT_EQ(answerer.seen.size(), 4u);
    EXPECT_EQ(answerer.seen[0].text, Messages::Instruction());
    EXPECT_EQ(answerer.seen[1].text, refused);
    EXPECT_EQ(answerer.seen[1].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.seen[2].text, Messages::Instruction());
    EXPECT_EQ(answerer.seen[3].text, refused);
}
