#include "TByteLimitedEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "ControlKeys.h"
#include "Cp932.h"

namespace {

QString FirstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n')
            return text.left(i);
    }
    return text;
}

// By name where Qt gives one, else by Qt's own caption, which follows its translation.
bool IsPasteAction(const QAction* action)
{
    return action->objectName() == QLatin1String("edit-paste") || action->text().startsWith(QLineEdit::tr("&Paste"));
}

// Focus that goes away with the whole window, or to a popup, comes back to the same place.
bool IsWindowSwitch(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

TByteLimitedEdit::TByteLimitedEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void TByteLimitedEdit::SetByteLimit(int bytes)
{
    byteLimit = bytes;
}

QString TByteLimitedEdit::FittingPart(const QString& insertion, int replacedBytes) const
{
    const QString line = FirstLine(insertion);
    if (byteLimit <= 0)
        return line;
    const int room = byteLimit - Cp932ByteLength(text()) + replacedBytes;
    return room > 0 ? Cp932Prefix(line, room) : QString();
}

void TByteLimitedEdit::PasteWithinLimit(bool fromMouseSelection)
{
    if (isReadOnly())
        return;
    const QClipboard::Mode mode = fromMouseSelection ? QClipboard::Selection : QClipboard::Clipboard;
    const QString fitting = FittingPart(QGuiApplication::clipboard()->text(mode), Cp932ByteLength(selectedText()));
    if (!fitting.isEmpty())
        insert(fitting);
}

void TByteLimitedEdit::keyPressEvent(QKeyEvent* event)
{
    // Taken here, so that neither the field's own signals nor a default button of the window act.
    if (IsEnterKey(event) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteWithinLimit(false);
        event->accept();
        return;
    }
    if (IsTypedText(event) && !isReadOnly()) {
        const QString typed = event->text();
        const QString fitting = FittingPart(typed, Cp932ByteLength(selectedText()));
        if (fitting != typed) {
            if (!fitting.isEmpty())
                insert(fitting);
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TByteLimitedEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        PasteWithinLimit(true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TByteLimitedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (menu == nullptr)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        if (!IsPasteAction(action))
            continue;
        action->disconnect(this);
        connect(action, &QAction::triggered, this, [this] { PasteWithinLimit(false); });
    }
    menu->popup(event->globalPos());
    event->accept();
}

void TByteLimitedEdit::dropEvent(QDropEvent* event)
{
    const QString dropped = event->mimeData()->text();
    const bool movedWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (dropped.isEmpty() || movedWithin || isReadOnly()) {
        QLineEdit::dropEvent(event);
        return;
    }
    // A drop goes in at the pointer and replaces nothing.
    const QString fitting = FittingPart(dropped, 0);
    if (fitting.isEmpty()) {
        event->ignore();
        return;
    }
    QMimeData fittingData;
    fittingData.setText(fitting);
    QDropEvent fittingDrop(event->position(), event->possibleActions(), &fittingData, event->buttons(),
                           event->modifiers(), event->type());
    QLineEdit::dropEvent(&fittingDrop);
    event->setAccepted(fittingDrop.isAccepted());
    // A source that moves its text away must keep what did not fit.
    event->setDropAction(fitting == dropped ? fittingDrop.dropAction() : Qt::CopyAction);
}

void TByteLimitedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    int replacedBytes = Cp932ByteLength(selectedText());
    if (event->replacementLength() > 0)
        replacedBytes += Cp932ByteLength(text().mid(cursorPosition() + event->replacementStart(), event->replacementLength()));
    const QString fitting = FittingPart(committed, replacedBytes);
    if (fitting == committed) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent fittingCommit(event->preeditString(), event->attributes());
    fittingCommit.setCommitString(fitting, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&fittingCommit);
    event->setAccepted(fittingCommit.isAccepted());
}

void TByteLimitedEdit::focusInEvent(QFocusEvent* event)
{
    const bool returning = leftWithWindow && IsWindowSwitch(event->reason());
    leftWithWindow = false;
    QLineEdit::focusInEvent(event);
    // Entering by keyboard or by the program selects the text; a click leaves the caret to the
    // click, and a return to the window keeps the selection as it was.
    if (event->reason() != Qt::MouseFocusReason && !returning)
        selectAll();
}

void TByteLimitedEdit::focusOutEvent(QFocusEvent* event)
{
    leftWithWindow = IsWindowSwitch(event->reason());
    QLineEdit::focusOutEvent(event);
}
