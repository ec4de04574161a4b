// The crop size checks and the focus-leave event that runs them.
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "FormSession.h"

namespace {

// Puts the focus into a control as a mouse click does, without the handlers seeing a leave.
void FocusByClick(const TControl* control) { TFormSession::Click(control); }

}  // namespace

TEST(SizeCheck, LeavingTheCropWidthFieldBringsItIntoRange)
{
    const struct {
        const char* name;
        const char* text;
        const char* after;
    } cases[] = {
        {"empty", "", "0"},
        {"letters", "abc", "0"},
        {"negative", "-5", "0"},
        {"trailing space", "100 ", "0"},
        {"exponent form", "1e3", "0"},
        {"zero", "0", "0"},
        {"minus zero stays", "-0", "-0"},
        {"leading space stays", " 100", " 100"},
        {"plus sign stays", "+7", "+7"},
        {"leading zeros stay", "007", "007"},
        {"highest", "2048", "2048"},
        {"one above the highest", "2049", "2048"},
        {"far above", "9999", "2048"},
        {"hexadecimal highest stays", "$800", "$800"},
        {"hexadecimal above", "$801", "2048"},
        {"hexadecimal with minus, sign ignored", "-$10", "-$10"},
        {"five digits set by the program", "12345", "2048"},
    };
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        for (const auto& row : cases) {
            SCOPED_TRACE(row.name);
            FocusByClick(form.sizeX);
            form.sizeX->SetText(row.text);
            TFormSession::Press(Qt::Key_Tab);
            EXPECT_EQ(form.sizeX->Text(), row.after);
            EXPECT_TRUE(session.HasFocus(form.sizeY));
        }
        form.Close();
    });
}

TEST(SizeCheck, EachStartFieldChecksItsOwnSizeFieldAndStaysAsItIs)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        form.xx->SetText("abc");
        form.yy->SetText("xyz");
        form.sizeX->SetText("5000");
        form.sizeY->SetText("-5");
        FocusByClick(form.xx);
        TFormSession::Press(Qt::Key_Tab);
        EXPECT_EQ(form.xx->Text(), "abc");
        EXPECT_EQ(form.sizeX->Text(), "2048");
        EXPECT_EQ(form.sizeY->Text(), "-5");
        TFormSession::Press(Qt::Key_Tab);
        EXPECT_EQ(form.yy->Text(), "xyz");
        EXPECT_EQ(form.sizeY->Text(), "0");
        form.Close();
    });
}

TEST(SizeCheck, LeavingTheHeightFieldBackwardsChecksTheHeight)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.sizeY);
        form.sizeX->SetText("7000");
        form.sizeY->SetText("7000");
        TFormSession::Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(session.HasFocus(form.sizeX));
        EXPECT_EQ(form.sizeY->Text(), "2048");
        EXPECT_EQ(form.sizeX->Text(), "7000");
        form.Close();
    });
}

TEST(SizeCheck, TypedTextIsCheckedOnTabWithTheFocusMovingOn)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.sizeX);
        static_cast<QLineEdit*>(TFormSession::Widget(form.sizeX))->selectAll();
        TFormSession::Type("5000");
        EXPECT_EQ(form.sizeX->Text(), "5000");
        TFormSession::Press(Qt::Key_Tab);
        EXPECT_EQ(form.sizeX->Text(), "2048");
        EXPECT_TRUE(session.HasFocus(form.sizeY));
        form.Close();
    });
}

TEST(SizeCheck, AClickOnAnotherControlLeavesTheField)
{
    const struct {
        const char* name;
        std::function<void(TsumFrm&)> click;
    } cases[] = {
        {"another edit field", [](TsumFrm& f) { TFormSession::Click(f.yy); }},
        {"a combo box's text part", [](TsumFrm& f) { TFormSession::Click(f.cbFT); }},
        {"a combo box's button",
         [](TsumFrm& f) {
             QWidget* combo = TFormSession::Widget(f.cbNM);
             QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
         }},
        {"the check box", [](TsumFrm& f) { TFormSession::Click(f.chkKOMOJI); }},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TFormSession session;
        session.Run([&] {
            TsumFrm& form = *session.form;
            FocusByClick(form.sizeX);
            form.sizeX->SetText("3000");
            row.click(form);
            EXPECT_EQ(form.sizeX->Text(), "2048");
            if (auto* combo = qobject_cast<QComboBox*>(TFormSession::Widget(form.cbNM)))
                combo->hidePopup();
            form.Close();
        });
    }
}

TEST(SizeCheck, NoCheckWhileTheFocusStaysInTheWindow)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.sizeX);
        form.sizeX->SetText("5000");
        TFormSession::Click(form.Label1);
        QTest::mouseClick(session.Window(), Qt::LeftButton, {}, QPoint(140, 100));
        EXPECT_TRUE(session.HasFocus(form.sizeX));
        EXPECT_EQ(form.sizeX->Text(), "5000");
        form.Close();
    });
}

TEST(SizeCheck, LeavingAComboBoxRunsNoCheck)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.cbNM);
        form.sizeX->SetText("5000");
        form.sizeY->SetText("abc");
        TFormSession::Press(Qt::Key_Tab);
        TFormSession::Press(Qt::Key_Backtab, Qt::ShiftModifier);
        TFormSession::Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(session.HasFocus(form.sizeY));
        EXPECT_EQ(form.sizeX->Text(), "5000");
        EXPECT_EQ(form.sizeY->Text(), "abc");
        form.Close();
    });
}

TEST(SizeCheck, SwitchingToAnotherWindowAndBackRunsNoCheck)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.sizeX);
        form.sizeX->SetText("5000");
        QWidget other;
        QLineEdit otherField(&other);
        otherField.setFocus();
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
        session.Window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(session.Window()));
        EXPECT_TRUE(session.HasFocus(form.sizeX));
        EXPECT_EQ(form.sizeX->Text(), "5000");
        form.Close();
    });
}

TEST(SizeCheck, ClosingTheWindowRunsNoCheckAndSavesNothing)
{
    const char* ini = "[main]\nxx=100\n";
    TFormSession session({}, ini);
    const int status = session.Run([&] {
        TsumFrm& form = *session.form;
        FocusByClick(form.sizeX);
        static_cast<QLineEdit*>(TFormSession::Widget(form.sizeX))->selectAll();
        TFormSession::Type("5000");
        form.Close();
        EXPECT_EQ(form.sizeX->Text(), "5000");
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadText(session.IniPath()), ini);
}
