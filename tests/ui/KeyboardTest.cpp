// The window's keyboard and pointer: the focus order, Enter and Esc, the first focus, and
// which controls show a hint.
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "FormSession.h"

namespace {

QLabel* VisibleTipWithText(const std::string& text)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* label = qobject_cast<QLabel*>(window);
        if (label != nullptr && label->isVisible() && label->text().toStdString() == text)
            return label;
    }
    return nullptr;
}

}  // namespace

TEST(Focus, TheFirstActivationPutsTheFocusInTheHorizontalStartWithItsTextSelected)
{
    TFormSession session({}, "[main]\nx=123\n");
    session.Run([&] {
        EXPECT_TRUE(session.HasFocus(session.form->xx));
        auto* edit = static_cast<QLineEdit*>(TFormSession::Widget(session.form->xx));
        EXPECT_EQ(edit->selectedText().toStdString(), "123");
        session.form->Close();
    });
}

TEST(Focus, TabWalksTheFocusOrderAndWrapsAroundBothWays)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        const TControl* order[] = {form.xx,   form.yy,   form.sizeX,     form.sizeY,
                                   form.cbNM, form.cbFT, form.chkKOMOJI, form.Button1};
        for (int i = 1; i <= 8; ++i) {
            const TControl* next = order[i % 8];
            TFormSession::Press(Qt::Key_Tab);
            EXPECT_TRUE(session.HasFocus(next)) << "Tab should reach " << next->Name();
        }
        for (int i = 7; i >= 0; --i) {
            TFormSession::Press(Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_TRUE(session.HasFocus(order[i])) << "Shift+Tab should reach " << order[i]->Name();
        }
        form.Close();
    });
}

TEST(Focus, ReturningToTheWindowGivesTheFocusBackToItsControl)
{
    TFormSession session;
    session.Run([&] {
        TsumFrm& form = *session.form;
        TFormSession::Click(form.cbFT);
        QWidget other;
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
        session.Window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(session.Window()));
        EXPECT_TRUE(session.HasFocus(form.cbFT));
        form.Close();
    });
}

TEST(Keys, EnterAndEscInAFieldDoNothing)
{
    TFormSession session;
    TBoxAnswerer answerer;
    session.Run([&] {
        TsumFrm& form = *session.form;
        form.sizeX->SetText("5000");
        TFormSession::Press(Qt::Key_Return);
        TFormSession::Press(Qt::Key_Enter);
        TFormSession::Press(Qt::Key_Escape);
        QTest::qWait(50);
        EXPECT_TRUE(form.Visible());
        EXPECT_TRUE(session.HasFocus(form.xx));
        EXPECT_EQ(form.sizeX->Text(), "5000");
        form.Close();
    });
    EXPECT_TRUE(answerer.seen.empty());
    EXPECT_FALSE(FileExists(session.IniPath()));
}

TEST(Keys, EnterPressesTheButtonOnlyWhileItHasTheFocus)
{
    TFormSession session;
    TBoxAnswerer answerer;
    const int status = session.Run([&] {
        TFormSession::Click(session.form->chkKOMOJI);
        TFormSession::Press(Qt::Key_Return);
        EXPECT_TRUE(answerer.seen.empty());
        TFormSession::Press(Qt::Key_Tab);
        TFormSession::Press(Qt::Key_Return);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(answerer.seen.size(), 1u);
    EXPECT_TRUE(FileExists(session.IniPath()));
}

TEST(Hints, OnlyTheComboBoxesShowTheirHints)
{
    const struct {
        const char* name;
        std::function<const TControl*(const TsumFrm&)> control;
        const char* hint;  // nullptr: shows none
    } cases[] = {
        {"suffix", [](const TsumFrm& f) { return f.cbNM; },
         "ファイル名の末尾（拡張子の前）に付加する名前です（空だと上書きされます）"},
        {"prefix", [](const TsumFrm& f) { return f.cbFT; }, "ファイル名の先頭に付加する名前です"},
        {"crop width", [](const TsumFrm& f) { return f.sizeX; }, nullptr},
        {"check box", [](const TsumFrm& f) { return f.chkKOMOJI; }, nullptr},
        {"button", [](const TsumFrm& f) { return f.Button1; }, nullptr},
    };
    TFormSession session;
    session.Run([&] {
        for (const auto& row : cases) {
            SCOPED_TRACE(row.name);
            QWidget* widget = TFormSession::Widget(row.control(*session.form));
            EXPECT_TRUE(widget->toolTip().isEmpty());
            QTest::mouseMove(session.Window(), QPoint(140, 230));
            QTest::mouseMove(widget, QPoint(10, widget->height() / 2));
            QTest::qWait(1000);
            const bool shown = row.hint != nullptr && VisibleTipWithText(row.hint) != nullptr;
            EXPECT_EQ(shown, row.hint != nullptr);
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* label = qobject_cast<QLabel*>(window);
                EXPECT_FALSE(row.hint == nullptr && label != nullptr && label->isVisible())
                    << "a tip showed: " << label->text().toStdString();
            }
        }
        session.form->Close();
    });
}
