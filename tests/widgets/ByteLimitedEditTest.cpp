#include "TByteLimitedEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

struct TLimitedEditFixture {
    TLimitedEditFixture(const QString& text, int limit = 4)
    {
        edit.SetByteLimit(limit);
        edit.setText(text);
    }
    TByteLimitedEdit edit;
};

} // namespace

TEST(ByteLimitedEdit, ProgramTextShowsWholeAndOnlyDeletingChangesIt)
{
    TLimitedEditFixture f(QStringLiteral("12345"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("12345"));

    f.edit.end(false);
    QTest::keyClicks(&f.edit, QStringLiteral("6"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("12345"));

    QTest::keyClick(&f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.edit.text(), QStringLiteral("1234"));
    QTest::keyClick(&f.edit, Qt::Key_Home);
    QTest::keyClick(&f.edit, Qt::Key_Delete);
    EXPECT_EQ(f.edit.text(), QStringLiteral("234"));

    QTest::keyClicks(&f.edit, QStringLiteral("xy"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("x234"));
}

TEST(ByteLimitedEdit, TypingStopsAtFourBytes)
{
    const struct { const char* name; QString start; QString typed; QString result; } cases[] = {
        {"four single bytes take no fifth", QStringLiteral("abcd"), QStringLiteral("e"),   QStringLiteral("abcd")},
        {"single bytes fill up",            QStringLiteral("a"),    QStringLiteral("bcdef"), QStringLiteral("abcd")},
        {"double byte takes a double byte", QStringLiteral("日"),   QStringLiteral("本"),  QStringLiteral("日本")},
        {"double byte takes two singles",   QStringLiteral("日"),   QStringLiteral("abc"), QStringLiteral("日ab")},
        {"three bytes take no double byte", QStringLiteral("日a"),  QStringLiteral("本b"), QStringLiteral("日ab")},
        {"two double bytes are full",       QStringLiteral("日本"), QStringLiteral("a"),   QStringLiteral("日本")},
        {"half-width katakana counts one",  QStringLiteral("ｱｲｳ"),  QStringLiteral("ｴｵ"),  QStringLiteral("ｱｲｳｴ")},
        {"full-width letter counts two",    QStringLiteral("abc"),  QStringLiteral("Ａ"),  QStringLiteral("abc")},
    };
    for (const auto& c : cases) {
        TLimitedEditFixture f(c.start);
        TypeText(&f.edit, c.typed);
        EXPECT_EQ(f.edit.text(), c.result) << c.name;
    }
}

TEST(ByteLimitedEdit, TypingOverASelectionCountsTheSelectionAsFreed)
{
    TLimitedEditFixture f(QStringLiteral("12345"));
    f.edit.setSelection(0, 2);
    TypeText(&f.edit, QStringLiteral("a"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("a345"));

    f.edit.setText(QStringLiteral("日本"));
    f.edit.setSelection(1, 1);
    TypeText(&f.edit, QStringLiteral("xy"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("日xy"));
}

TEST(ByteLimitedEdit, NoLimitTakesEverything)
{
    TLimitedEditFixture f(QStringLiteral("abcd"), 0);
    TypeText(&f.edit, QStringLiteral("日本語"));
    EXPECT_EQ(f.edit.text(), QStringLiteral("abcd日本語"));
}

namespace {

enum class TPastePath { CtrlV, ShiftInsert, ContextMenu };

void PasteBy(TPastePath path, TByteLimitedEdit& edit)
{
    switch (path) {
    case TPastePath::CtrlV:
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        break;
    case TPastePath::ShiftInsert:
        QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case TPastePath::ContextMenu:
        EXPECT_TRUE(PasteByContextMenu(&edit)) << "no paste entry in a context menu";
        break;
    }
}

} // namespace

TEST(ByteLimitedEdit, PasteIsCutToWhatFits)
{
    const struct { const char* name; QString start; int selStart; int selLength; QString clip; QString result; } cases[] = {
        {"into empty field",            QString(),              0, 0, QStringLiteral("abcdef"),   QStringLiteral("abcd")},
        {"double byte not halved",      QStringLiteral("a"),    1, 0, QStringLiteral("日本語"),   QStringLiteral("a日")},
        {"over a selection",            QStringLiteral("abcd"), 1, 2, QStringLiteral("xyz"),      QStringLiteral("axyd")},
        {"over the whole text",         QStringLiteral("12345"), 0, 5, QStringLiteral("日本語"),  QStringLiteral("日本")},
        {"full field takes nothing",    QStringLiteral("abcd"), 4, 0, QStringLiteral("x"),        QStringLiteral("abcd")},
        {"over-long field keeps all",   QStringLiteral("12345"), 5, 0, QStringLiteral("x"),       QStringLiteral("12345")},
        {"only the first line",         QString(),              0, 0, QStringLiteral("ab\ncd"),   QStringLiteral("ab")},
        {"half-width katakana",         QStringLiteral("a"),    1, 0, QStringLiteral("ｱｲｳｴ"),     QStringLiteral("aｱｲｳ")},
    };
    const struct { const char* name; TPastePath path; } paths[] = {
        {"Ctrl+V", TPastePath::CtrlV},
        {"Shift+Insert", TPastePath::ShiftInsert},
        {"context menu", TPastePath::ContextMenu},
    };
    for (const auto& p : paths) {
        for (const auto& c : cases) {
            TLimitedEditFixture f(c.start);
            f.edit.setSelection(c.selStart, c.selLength);
            if (c.selLength == 0)
                f.edit.setCursorPosition(c.selStart);
            QGuiApplication::clipboard()->setText(c.clip);
            PasteBy(p.path, f.edit);
            EXPECT_EQ(f.edit.text(), c.result) << p.name << ": " << c.name;
        }
    }
}

TEST(ByteLimitedEdit, DropIsCutToWhatFitsAndLeavesTheSourceItsText)
{
    const struct { const char* name; QString start; QString dropped; QString result; bool cut; } cases[] = {
        {"fits whole",          QString(),            QStringLiteral("ab"),     QStringLiteral("ab"),   false},
        {"cut single bytes",    QString(),            QStringLiteral("abcdef"), QStringLiteral("abcd"), true},
        {"cut double bytes",    QStringLiteral("12"), QStringLiteral("日本"),   QStringLiteral("12日"), true},
    };
    for (const auto& c : cases) {
        TLimitedEditFixture f(c.start);
        QMimeData data;
        data.setText(c.dropped);
        // At the far right, so the drop goes in behind the text.
        const QPointF at(f.edit.width() - 2, f.edit.height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.edit, &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(&f.edit, &drop);
        EXPECT_EQ(f.edit.text(), c.result) << c.name;
        if (c.cut) {
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << c.name;
        }
    }
}

TEST(ByteLimitedEdit, InputMethodCommitIsCutToWhatFits)
{
    const struct { const char* name; QString start; QString committed; QString result; } cases[] = {
        {"fits whole",        QString(),             QStringLiteral("日本"),   QStringLiteral("日本")},
        {"cut",               QString(),             QStringLiteral("日本語"), QStringLiteral("日本")},
        {"after two bytes",   QStringLiteral("ab"),  QStringLiteral("日本"),   QStringLiteral("ab日")},
        {"full field",        QStringLiteral("日本"), QStringLiteral("a"),     QStringLiteral("日本")},
    };
    for (const auto& c : cases) {
        TLimitedEditFixture f(c.start);
        QInputMethodEvent commit;
        commit.setCommitString(c.committed);
        QApplication::sendEvent(&f.edit, &commit);
        EXPECT_EQ(f.edit.text(), c.result) << c.name;
    }
}

TEST(ByteLimitedEdit, EnterAndEscDoNothingInTheWindow)
{
    const struct { const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; } keys[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
        {"Esc", Qt::Key_Escape, Qt::NoModifier},
    };
    for (const auto& k : keys) {
        QDialog window;
        auto* edit = new TByteLimitedEdit(&window);
        auto* defaultButton = new QPushButton(QStringLiteral("default"), &window);
        defaultButton->setDefault(true);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(defaultButton);
        edit->setText(QStringLiteral("ab"));
        ASSERT_TRUE(ShowActive(window));
        edit->setFocus();

        QSignalSpy clicked(defaultButton, &QPushButton::clicked);
        QSignalSpy returnPressed(edit, &QLineEdit::returnPressed);
        QSignalSpy rejected(&window, &QDialog::rejected);
        QTest::keyClick(edit, k.key, k.modifiers);
        EXPECT_EQ(clicked.count(), 0) << k.name;
        EXPECT_EQ(returnPressed.count(), 0) << k.name;
        EXPECT_EQ(rejected.count(), 0) << k.name;
        EXPECT_TRUE(window.isVisible()) << k.name;
        EXPECT_EQ(edit->text(), QStringLiteral("ab")) << k.name;
    }
}

TEST(ByteLimitedEdit, KeyboardEntrySelectsAllAndAClickPlacesTheCaret)
{
    QWidget window;
    auto* first = new TByteLimitedEdit(&window);
    auto* second = new TByteLimitedEdit(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setText(QStringLiteral("abcd"));
    second->setText(QStringLiteral("wxyz"));
    ASSERT_TRUE(ShowActive(window));

    // The window's first activation counts as entering the field.
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(first->selectedText(), QStringLiteral("abcd"));

    PressKeyWhereFocused(Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->selectedText(), QStringLiteral("wxyz"));

    first->setCursorPosition(2);
    PressKeyWhereFocused(Qt::Key_Backtab);
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(first->selectedText(), QStringLiteral("abcd"));

    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, QPoint(1, second->height() / 2));
    ASSERT_TRUE(second->hasFocus());
    EXPECT_FALSE(second->hasSelectedText());
    EXPECT_EQ(second->cursorPosition(), 0);
}

TEST(ByteLimitedEdit, ReturningToTheWindowKeepsCaretAndSelection)
{
    TLimitedEditFixture f(QStringLiteral("abcd"));
    QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&f.edit, &enter);
    f.edit.setCursorPosition(2);

    QFocusEvent windowLeft(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&f.edit, &windowLeft);
    QFocusEvent windowBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&f.edit, &windowBack);
    EXPECT_FALSE(f.edit.hasSelectedText());
    EXPECT_EQ(f.edit.cursorPosition(), 2);
}
