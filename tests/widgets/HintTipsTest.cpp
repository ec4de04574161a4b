#include "HintTips.h"
#include "TCompletingComboBox.h"

#include <QElapsedTimer>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

const QString kHint = QStringLiteral("ファイル名の先頭に付加する名前です");

// A window with a hinted combo box beside a plain edit field.
struct THintWindow {
    THintWindow()
        : combo(new TCompletingComboBox(&window))
        , plain(new QLineEdit(&window))
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(plain);
        InstallHintTip(combo, kHint);
    }
    QWidget window;
    TCompletingComboBox* combo;
    QLineEdit* plain;
};

QPoint PointIn(QWidget* widget)
{
    return widget->mapToGlobal(QPoint(3, widget->height() / 2));
}

void PointerEnters(QWidget* widget)
{
    const QPoint local(3, widget->height() / 2);
    QEnterEvent enter(local, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &enter);
}

void PointerLeaves(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

void PointerMoves(QWidget* widget, const QPoint& local)
{
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Timers never fire early, so measured lower bounds hold however busy the machine is.
bool TipShowsWithin(int ms)
{
    return QTest::qWaitFor([] { return VisibleHintTip() != nullptr; }, ms);
}

bool TipGoneWithin(int ms)
{
    return QTest::qWaitFor([] { return VisibleHintTip() == nullptr; }, ms);
}

} // namespace

TEST(HintTips, ShownAfterARestOnlyOnAHintedControl)
{
    THintWindow f;
    ASSERT_TRUE(ShowActive(f.window));

    PointerEnters(f.plain);
    QTest::qWait(700);
    EXPECT_EQ(VisibleHintTip(), nullptr) << "the plain edit has no hint";
    PointerLeaves(f.plain);

    QElapsedTimer resting;
    resting.start();
    PointerEnters(f.combo);
    ASSERT_TRUE(TipShowsWithin(1500));
    EXPECT_GE(resting.elapsed(), 495) << "shown before the pointer rested half a second";
    QLabel* tip = VisibleHintTip();
    EXPECT_EQ(tip->text(), kHint);

    const QPoint pointer = PointIn(f.combo);
    EXPECT_GT(tip->y(), pointer.y()) << "below the pointer";
    EXPECT_LE(tip->y(), pointer.y() + 32) << "just below the pointer";
    EXPECT_EQ(tip->x(), pointer.x());
    EXPECT_GE(tip->width(), tip->fontMetrics().horizontalAdvance(kHint)) << "the whole text";
    EXPECT_EQ(tip->palette().color(QPalette::ToolTipBase), QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(tip->palette().color(QPalette::ToolTipText), QToolTip::palette().color(QPalette::ToolTipText));
}

TEST(HintTips, HiddenAfterTheShowTimeAndNotAgainUntilThePointerComesBack)
{
    THintWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    PointerEnters(f.combo);
    ASSERT_TRUE(TipShowsWithin(1500));
    QElapsedTimer shown;
    shown.start();
    ASSERT_TRUE(TipGoneWithin(4000));
    EXPECT_GE(shown.elapsed(), 2400) << "hidden too early";

    PointerMoves(f.combo, QPoint(5, 5));
    QTest::qWait(700);
    EXPECT_EQ(VisibleHintTip(), nullptr) << "shown again without leaving";

    PointerLeaves(f.combo);
    PointerEnters(f.combo);
    EXPECT_TRUE(TipShowsWithin(1500)) << "not shown after coming back";
}

TEST(HintTips, KeyPressClickAndLeavingHideTheTip)
{
    const struct { const char* name; void (*act)(THintWindow&); } cases[] = {
        {"key press",   [](THintWindow& f) { QTest::keyClick(f.plain, Qt::Key_A); }},
        {"modifier key", [](THintWindow& f) { QTest::keyClick(f.plain, Qt::Key_Shift); }},
        {"mouse click", [](THintWindow& f) { QTest::mouseClick(f.plain, Qt::LeftButton); }},
        {"leaving",     [](THintWindow& f) { PointerLeaves(f.combo); }},
    };
    for (const auto& c : cases) {
        THintWindow f;
        ASSERT_TRUE(ShowActive(f.window));
        PointerEnters(f.combo);
        ASSERT_TRUE(TipShowsWithin(1500)) << c.name;
        c.act(f);
        EXPECT_EQ(VisibleHintTip(), nullptr) << c.name;
        QTest::qWait(700);
        EXPECT_EQ(VisibleHintTip(), nullptr) << c.name << ": shown again";
    }
}

TEST(HintTips, ARestOnTheTextPartCountsAndMovingRestartsTheWait)
{
    THintWindow f;
    ASSERT_TRUE(ShowActive(f.window));
    QWidget* textPart = f.combo->lineEdit();
    PointerEnters(f.combo);
    QTest::qWait(300);
    const QPoint local(10, textPart->height() / 2);
    QElapsedTimer sinceMove;
    sinceMove.start();
    PointerMoves(textPart, local);
    ASSERT_TRUE(TipShowsWithin(1500));
    EXPECT_GE(sinceMove.elapsed(), 495) << "the move should restart the wait";
    EXPECT_EQ(VisibleHintTip()->x(), textPart->mapToGlobal(local).x()) << "at the pointer's last place";
}
