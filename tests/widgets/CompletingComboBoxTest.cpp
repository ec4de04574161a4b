#include "TCompletingComboBox.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

const QStringList kSuffixes = {QStringLiteral("_x"), QStringLiteral("0"), QStringLiteral("_0"), QStringLiteral("_1")};
const QStringList kPrefixes = {QString(), QStringLiteral("img"), QStringLiteral("pic")};

struct TComboFixture {
    explicit TComboFixture(const QStringList& items, const QString& text = QString())
    {
        combo.SetByteLimit(4);
        combo.SetItems(items);
        combo.setEditText(text);
    }
    QLineEdit* Edit() { return combo.lineEdit(); }
    TCompletingComboBox combo;
};

// Opens the list and clicks the entry in the given row.
void PickEntry(TCompletingComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    const QRect place = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

} // namespace

TEST(CompletingComboBox, KeepsTheListAsGivenAndTheText)
{
    TComboFixture f(kPrefixes, QStringLiteral("ab"));
    ASSERT_EQ(f.combo.count(), 3);
    EXPECT_EQ(f.combo.itemText(0), QString());
    EXPECT_EQ(f.combo.itemText(1), QStringLiteral("img"));
    EXPECT_EQ(f.combo.itemText(2), QStringLiteral("pic"));
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("ab"));

    f.combo.SetItems(kSuffixes);
    EXPECT_EQ(f.combo.itemText(1), QStringLiteral("0"));
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("ab"));
}

TEST(CompletingComboBox, TypedCharacterCompletesToTheFirstMatchingEntry)
{
    const struct {
        const char* name;
        QStringList items;
        QString start;
        int cursor; // -1: at the end
        QString typed;
        QString text;
        QString selected;
    } cases[] = {
        {"underscore into empty suffix",     kSuffixes, QString(), -1, QStringLiteral("_"),  QStringLiteral("_x"),  QStringLiteral("x")},
        {"then zero replaces the rest",      kSuffixes, QString(), -1, QStringLiteral("_0"), QStringLiteral("_0"),  QString()},
        {"zero alone",                       kSuffixes, QString(), -1, QStringLiteral("0"),  QStringLiteral("0"),   QString()},
        {"small i into empty prefix",        kPrefixes, QString(), -1, QStringLiteral("i"),  QStringLiteral("img"), QStringLiteral("mg")},
        {"capital I keeps its case",         kPrefixes, QString(), -1, QStringLiteral("I"),  QStringLiteral("Img"), QStringLiteral("mg")},
        {"mixed case keeps what was typed",  kPrefixes, QString(), -1, QStringLiteral("pI"), QStringLiteral("pIc"), QStringLiteral("c")},
        {"typed through to the end",         kPrefixes, QString(), -1, QStringLiteral("img"), QStringLiteral("img"), QString()},
        {"no match is typed as usual",       kPrefixes, QString(), -1, QStringLiteral("q"),  QStringLiteral("q"),   QString()},
        {"no match replaces the selection",  kPrefixes, QString(), -1, QStringLiteral("iq"), QStringLiteral("iq"),  QString()},
        {"past an entry within the limit",   kPrefixes, QString(), -1, QStringLiteral("imgxy"), QStringLiteral("imgx"), QString()},
        {"without selection the whole text", kPrefixes, QStringLiteral("pi"), 1, QStringLiteral("c"), QStringLiteral("pic"), QString()},
        {"text not in the list",             kPrefixes, QStringLiteral("ab"), -1, QStringLiteral("c"), QStringLiteral("abc"), QString()},
    };
    for (const auto& c : cases) {
        TComboFixture f(c.items, c.start);
        if (c.cursor >= 0)
            f.Edit()->setCursorPosition(c.cursor);
        TypeText(&f.combo, c.typed);
        EXPECT_EQ(f.combo.currentText(), c.text) << c.name;
        EXPECT_EQ(f.Edit()->selectedText(), c.selected) << c.name;
    }
}

TEST(CompletingComboBox, TypingIntoTheTextPartCompletesAsWell)
{
    TComboFixture f(kPrefixes);
    TypeText(f.Edit(), QStringLiteral("p"));
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("pic"));
    EXPECT_EQ(f.Edit()->selectedText(), QStringLiteral("ic"));
}

TEST(CompletingComboBox, BackspaceDeletesAndCompletesNothing)
{
    TComboFixture f(kSuffixes);
    TypeText(&f.combo, QStringLiteral("_"));
    ASSERT_EQ(f.combo.currentText(), QStringLiteral("_x"));

    QTest::keyClick(&f.combo, Qt::Key_Backspace);
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("_"));
    EXPECT_FALSE(f.Edit()->hasSelectedText());

    QTest::keyClick(&f.combo, Qt::Key_Backspace);
    EXPECT_EQ(f.combo.currentText(), QString());
}

TEST(CompletingComboBox, ByteLimitBindsTypingAndPastingOnly)
{
    TComboFixture f(kSuffixes, QStringLiteral("12345"));
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("12345"));
    TypeText(&f.combo, QStringLiteral("a"));
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("12345"));

    f.combo.setEditText(QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("abcdef"));
    QTest::keyClick(&f.combo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("abcd"));

    f.combo.setEditText(QStringLiteral("x"));
    f.Edit()->end(false);
    EXPECT_TRUE(PasteByContextMenu(f.Edit())) << "the text part has no paste in a context menu";
    EXPECT_EQ(f.combo.currentText(), QStringLiteral("xabc"));
}

TEST(CompletingComboBox, PickingAnEntryReplacesTheText)
{
    const struct { const char* name; int row; QString text; } cases[] = {
        {"the empty first entry empties the prefix", 0, QString()},
        {"a named entry",                            2, QStringLiteral("pic")},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* combo = new TCompletingComboBox(&window);
        combo->SetItems(kPrefixes);
        combo->setEditText(QStringLiteral("img"));
        ASSERT_TRUE(ShowActive(window));
        PickEntry(combo, c.row);
        EXPECT_EQ(combo->currentText(), c.text) << c.name;
        EXPECT_FALSE(combo->view()->isVisible()) << c.name;

        // The same entry once more, after the text was typed over.
        combo->setFocus();
        combo->lineEdit()->selectAll();
        TypeText(combo, QStringLiteral("q"));
        ASSERT_EQ(combo->currentText(), QStringLiteral("q")) << c.name;
        PickEntry(combo, c.row);
        EXPECT_EQ(combo->currentText(), c.text) << c.name << ", picked again";
    }
}

TEST(CompletingComboBox, EnterAndEscOnlyCloseTheOpenList)
{
    const struct { const char* name; Qt::Key key; } keys[] = {
        {"Return", Qt::Key_Return},
        {"Enter", Qt::Key_Enter},
        {"Esc", Qt::Key_Escape},
    };
    for (const auto& k : keys) {
        QDialog window;
        auto* combo = new TCompletingComboBox(&window);
        auto* defaultButton = new QPushButton(QStringLiteral("default"), &window);
        defaultButton->setDefault(true);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(defaultButton);
        combo->SetItems(kPrefixes);
        combo->setEditText(QStringLiteral("ab"));
        ASSERT_TRUE(ShowActive(window));
        combo->setFocus();
        QSignalSpy clicked(defaultButton, &QPushButton::clicked);
        QSignalSpy rejected(&window, &QDialog::rejected);

        combo->showPopup();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->view()->window()));
        // A highlighted entry that is not the text must not be taken.
        combo->view()->setCurrentIndex(combo->model()->index(2, 0));
        PressKeyWhereFocused(k.key);

        EXPECT_FALSE(combo->view()->isVisible()) << k.name;
        EXPECT_EQ(combo->currentText(), QStringLiteral("ab")) << k.name;
        EXPECT_TRUE(window.isVisible()) << k.name;
        EXPECT_EQ(clicked.count(), 0) << k.name;
        EXPECT_EQ(rejected.count(), 0) << k.name;

        // With the list closed, the same key does nothing either.
        PressKeyWhereFocused(k.key);
        EXPECT_EQ(combo->currentText(), QStringLiteral("ab")) << k.name;
        EXPECT_TRUE(window.isVisible()) << k.name;
        EXPECT_EQ(clicked.count(), 0) << k.name;
    }
}

TEST(CompletingComboBox, LeavingKeepsTheTypedLetterCase)
{
    QWidget window;
    auto* combo = new TCompletingComboBox(&window);
    auto* other = new QLineEdit(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(combo);
    layout->addWidget(other);
    combo->SetItems(kPrefixes);
    ASSERT_TRUE(ShowActive(window));
    combo->setFocus();

    TypeText(combo, QStringLiteral("I"));
    QTest::keyClick(combo, Qt::Key_End);
    ASSERT_EQ(combo->currentText(), QStringLiteral("Img"));
    PressKeyWhereFocused(Qt::Key_Tab);
    ASSERT_TRUE(other->hasFocus());
    EXPECT_EQ(combo->currentText(), QStringLiteral("Img"));
}

TEST(CompletingComboBox, KeyboardEntrySelectsAllAndAClickPlacesTheCaret)
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* combo = new TCompletingComboBox(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(other);
    layout->addWidget(combo);
    combo->SetItems(kPrefixes);
    combo->setEditText(QStringLiteral("abcd"));
    // Wide enough that the text does not scroll, so the left edge is the caret's first place.
    combo->setMinimumWidth(120);
    ASSERT_TRUE(ShowActive(window));
    other->setFocus();

    PressKeyWhereFocused(Qt::Key_Tab);
    ASSERT_TRUE(combo->hasFocus());
    EXPECT_EQ(combo->lineEdit()->selectedText(), QStringLiteral("abcd"));

    other->setFocus();
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton, Qt::NoModifier, QPoint(1, combo->lineEdit()->height() / 2));
    ASSERT_TRUE(combo->hasFocus());
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);
}
