#include "TByteLimitedEdit.h"
#include "TCompletingComboBox.h"
#include "TFocusButton.h"
#include "TFocusCheckBox.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

// A window in focus order first, second, combo, check, button, with a label that takes no
// focus. Leaving first corrects second, as the size check does in the settings window.
struct TLeaveWindow {
    TLeaveWindow()
        : label(new QLabel(QStringLiteral("label"), &window))
        , first(new TByteLimitedEdit(&window))
        , second(new TByteLimitedEdit(&window))
        , combo(new TCompletingComboBox(&window))
        , check(new TFocusCheckBox(QStringLiteral("check"), &window))
        , button(new TFocusButton(QStringLiteral("button"), &window))
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                           static_cast<QWidget*>(combo), static_cast<QWidget*>(check), static_cast<QWidget*>(button)})
            layout->addWidget(w);
        second->setText(QStringLiteral("5000"));
        combo->SetItems({QStringLiteral("_x")});
        QObject::connect(first, &TByteLimitedEdit::Exited, &window, [this] {
            log << QStringLiteral("first left");
            second->setText(QStringLiteral("2048"));
        });
        QObject::connect(second, &TByteLimitedEdit::Exited, &window, [this] { log << QStringLiteral("second left"); });
        QObject::connect(combo, &TCompletingComboBox::Exited, &window, [this] { log << QStringLiteral("combo left"); });
        QObject::connect(check, &TFocusCheckBox::Exited, &window, [this] { log << QStringLiteral("check left"); });
        QObject::connect(button, &TFocusButton::Exited, &window, [this] { log << QStringLiteral("button left"); });
        QObject::connect(button, &QPushButton::clicked, &window, [this] { log << QStringLiteral("clicked"); });
    }
    QWidget window;
    QLabel* label;
    TByteLimitedEdit* first;
    TByteLimitedEdit* second;
    TCompletingComboBox* combo;
    TFocusCheckBox* check;
    TFocusButton* button;
    QStringList log;
};

} // namespace

TEST(FocusLeave, TabAndBacktabRaiseTheLeftControlsEvent)
{
    const struct { const char* name; const char* from; Qt::Key key; QString expected; } cases[] = {
        {"edit by Tab",           "second", Qt::Key_Tab,     QStringLiteral("second left")},
        {"edit by Backtab",       "second", Qt::Key_Backtab, QStringLiteral("second left")},
        {"combo box",             "combo",  Qt::Key_Tab,     QStringLiteral("combo left")},
        {"check box",             "check",  Qt::Key_Tab,     QStringLiteral("check left")},
        {"button, wrapping round", "button", Qt::Key_Tab,    QStringLiteral("button left")},
        {"check box by arrow",    "check",  Qt::Key_Down,    QStringLiteral("check left")},
    };
    for (const auto& c : cases) {
        TLeaveWindow f;
        ASSERT_TRUE(ShowActive(f.window));
        const QString name = QString::fromLatin1(c.from);
        QWidget* from = name == QLatin1String("second") ? static_cast<QWidget*>(f.second)
             : name == QLatin1String("combo")  ? static_cast<QWidget*>(f.combo)
             : name == QLatin1String("check")  ? static_cast<QWidget*>(f.check)
                                               : static_cast<QWidget*>(f.button);
        from->setFocus();
        f.log.clear();
        PressKeyWhereFocused(c.key);
        EXPECT_EQ(f.log, QStringList{c.expected}) << c.name;
    }
}

TEST(FocusLeave, ComesBeforeTheNextControlSelectsItsText)
{
    TLeaveWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.first->setFocus();
    PressKeyWhereFocused(Qt::Key_Tab);
    ASSERT_TRUE(f.second->hasFocus());
    EXPECT_EQ(f.log, QStringList{QStringLiteral("first left")});
    EXPECT_EQ(f.second->selectedText(), QStringLiteral("2048"));
}

TEST(FocusLeave, AButtonPressTakesTheFocusSoTheLeaveComesBeforeTheClick)
{
    TLeaveWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.first->setFocus();

    QTest::mousePress(f.button, Qt::LeftButton);
    EXPECT_TRUE(f.button->hasFocus());
    EXPECT_EQ(f.log, QStringList{QStringLiteral("first left")});
    QTest::mouseRelease(f.button, Qt::LeftButton);
    EXPECT_EQ(f.log, (QStringList{QStringLiteral("first left"), QStringLiteral("clicked")}));
    EXPECT_EQ(f.second->text(), QStringLiteral("2048"));
}

TEST(FocusLeave, NotRaisedWhenTheFocusStaysOrLeavesWithTheWindow)
{
    TLeaveWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    f.first->setFocus();

    f.log.clear();

    QTest::mouseClick(f.label, Qt::LeftButton);
    QTest::mouseClick(&f.window, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_TRUE(f.first->hasFocus()) << "a label or the empty window took the focus";

    QWidget other;
    ASSERT_TRUE(ShowActive(other));
    ASSERT_TRUE(ShowActive(f.window));
    EXPECT_TRUE(f.first->hasFocus()) << "the focus did not come back";
    EXPECT_TRUE(f.log.isEmpty()) << f.log.join(QStringLiteral(", ")).toStdString();

    f.combo->setFocus();
    f.log.clear();
    f.combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.combo->view()->window()));
    f.combo->hidePopup();
    EXPECT_TRUE(f.log.isEmpty()) << "opening the list left the combo box";

    f.window.close();
    QTest::qWait(50); // the window system reports the deactivation afterwards
    EXPECT_TRUE(f.log.isEmpty()) << f.log.join(QStringLiteral(", ")).toStdString();
}
