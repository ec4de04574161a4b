#include "TByteLimitedEdit.h"
#include "TFocusButton.h"
#include "TFocusCheckBox.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

// A small window in focus order: check box, edit, button.
struct TFocusWindow {
    TFocusWindow()
        : check(new TFocusCheckBox(QStringLiteral("check"), &window))
        , edit(new TByteLimitedEdit(&window))
        , button(new TFocusButton(QStringLiteral("button"), &window))
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(check);
        layout->addWidget(edit);
        layout->addWidget(button);
        edit->setText(QStringLiteral("ab"));
    }
    QWidget* ByName(const char* name) const
    {
        const QString wanted = QString::fromLatin1(name);
        if (wanted == QLatin1String("check"))
            return check;
        if (wanted == QLatin1String("edit"))
            return edit;
        return button;
    }
    QDialog window;
    TFocusCheckBox* check;
    TByteLimitedEdit* edit;
    TFocusButton* button;
};

} // namespace

TEST(FocusControls, ArrowKeysMoveTheFocusWithWrapAround)
{
    const struct { const char* from; Qt::Key key; const char* to; } cases[] = {
        {"check",  Qt::Key_Right, "edit"},
        {"check",  Qt::Key_Down,  "edit"},
        {"check",  Qt::Key_Left,  "button"},
        {"check",  Qt::Key_Up,    "button"},
        {"button", Qt::Key_Right, "check"},
        {"button", Qt::Key_Down,  "check"},
        {"button", Qt::Key_Left,  "edit"},
        {"button", Qt::Key_Up,    "edit"},
    };
    TFocusWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    for (const auto& c : cases) {
        f.ByName(c.from)->setFocus();
        const bool checkedBefore = f.check->isChecked();
        PressKeyWhereFocused(c.key);
        EXPECT_TRUE(f.ByName(c.to)->hasFocus()) << c.from << " " << QTest::toString(c.key);
        EXPECT_EQ(f.check->isChecked(), checkedBefore) << c.from;
    }
}

TEST(FocusControls, ArrowKeyIntoAnEditSelectsItsText)
{
    TFocusWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.check->setFocus();
    PressKeyWhereFocused(Qt::Key_Down);
    ASSERT_TRUE(f.edit->hasFocus());
    EXPECT_EQ(f.edit->selectedText(), QStringLiteral("ab"));
}

TEST(FocusControls, ButtonKeysPressItOnlyWhileItHasTheFocus)
{
    const struct { const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; } keys[] = {
        {"Space",        Qt::Key_Space,  Qt::NoModifier},
        {"Return",       Qt::Key_Return, Qt::NoModifier},
        {"keypad Enter", Qt::Key_Enter,  Qt::KeypadModifier},
    };
    for (const auto& k : keys) {
        // A plain edit lets Enter through to the window, where a default button would take it.
        QDialog window;
        auto* plainEdit = new QLineEdit(&window);
        auto* button = new TFocusButton(QStringLiteral("save"), &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(plainEdit);
        layout->addWidget(button);
        ASSERT_TRUE(ShowActive(window));
        QSignalSpy clicked(button, &QPushButton::clicked);

        button->setFocus();
        PressKeyWhereFocused(k.key, k.modifiers);
        EXPECT_EQ(clicked.count(), 1) << k.name << " on the focused button";

        plainEdit->setFocus();
        PressKeyWhereFocused(k.key, k.modifiers);
        EXPECT_EQ(clicked.count(), 1) << k.name << " in another control";
        EXPECT_TRUE(window.isVisible()) << k.name;
    }
}

TEST(FocusControls, MousePressGivesTheButtonTheFocusBeforeTheClick)
{
    TFocusWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.edit->setFocus();
    QStringList happenings;
    QObject::connect(qApp, &QApplication::focusChanged, f.button, [&](QWidget* from, QWidget* to) {
        if (from == f.edit && to == f.button)
            happenings << QStringLiteral("edit left");
    });
    QObject::connect(f.button, &QPushButton::clicked, f.button, [&] { happenings << QStringLiteral("clicked"); });

    QTest::mousePress(f.button, Qt::LeftButton);
    EXPECT_TRUE(f.button->hasFocus());
    EXPECT_EQ(happenings, QStringList{QStringLiteral("edit left")});
    QTest::mouseRelease(f.button, Qt::LeftButton);
    EXPECT_EQ(happenings, (QStringList{QStringLiteral("edit left"), QStringLiteral("clicked")}));
}

TEST(FocusControls, EscOnButtonAndCheckBoxAndEnterOnCheckBoxDoNothing)
{
    const struct { const char* name; const char* control; Qt::Key key; } cases[] = {
        {"Esc on the button",      "button", Qt::Key_Escape},
        {"Esc on the check box",   "check",  Qt::Key_Escape},
        {"Enter on the check box", "check",  Qt::Key_Return},
    };
    for (const auto& c : cases) {
        TFocusWindow f;
        auto* defaultButton = new QPushButton(QStringLiteral("default"), &f.window);
        f.window.layout()->addWidget(defaultButton);
        defaultButton->setDefault(true);
        ASSERT_TRUE(ShowActive(f.window));
        QSignalSpy defaultClicked(defaultButton, &QPushButton::clicked);
        QSignalSpy buttonClicked(f.button, &QPushButton::clicked);
        QSignalSpy rejected(&f.window, &QDialog::rejected);

        f.ByName(c.control)->setFocus();
        PressKeyWhereFocused(c.key);
        EXPECT_EQ(defaultClicked.count(), 0) << c.name;
        EXPECT_EQ(buttonClicked.count(), 0) << c.name;
        EXPECT_EQ(rejected.count(), 0) << c.name;
        EXPECT_FALSE(f.check->isChecked()) << c.name;
    }
}

TEST(FocusControls, CheckBoxHasTwoStates)
{
    TFocusWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.check->setFocus();
    const struct { const char* action; bool space; Qt::CheckState after; } steps[] = {
        {"click",       false, Qt::Checked},
        {"click again", false, Qt::Unchecked},
        {"space",       true,  Qt::Checked},
        {"space again", true,  Qt::Unchecked},
        {"third click", false, Qt::Checked},
    };
    for (const auto& s : steps) {
        if (s.space)
            PressKeyWhereFocused(Qt::Key_Space);
        else
            QTest::mouseClick(f.check, Qt::LeftButton, Qt::NoModifier, QPoint(4, f.check->height() / 2));
        EXPECT_EQ(f.check->checkState(), s.after) << s.action;
    }
}
