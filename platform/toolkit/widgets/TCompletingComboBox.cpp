#include "TCompletingComboBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include "ControlKeys.h"
#include "TByteLimitedEdit.h"

TCompletingComboBox::TCompletingComboBox(QWidget* parent)
    : QComboBox(parent)
    , edit(new TByteLimitedEdit(this))
{
    setLineEdit(edit);
    // Qt's completer would pick entries on its own terms; the list completion here replaces it.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    edit->installEventFilter(this);
    view()->installEventFilter(this);
}

void TCompletingComboBox::SetByteLimit(int bytes)
{
    edit->SetByteLimit(bytes);
}

void TCompletingComboBox::SetItems(const QStringList& items)
{
    const QString text = currentText();
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(text);
    setMaxVisibleItems(qMax(1, count()));
}

bool TCompletingComboBox::CompleteTypedText(const QString& typed)
{
    if (edit->isReadOnly())
        return false;
    const QString front = edit->hasSelectedText() ? edit->text().left(edit->selectionStart()) : edit->text();
    const QString candidate = front + typed;
    for (int i = 0; i < count(); ++i) {
        const QString entry = itemText(i);
        if (!entry.startsWith(candidate, Qt::CaseInsensitive))
            continue;
        const QString rest = entry.mid(candidate.size());
        // Through the edit's own insert, so that undo takes the completion back in one step.
        edit->selectAll();
        edit->insert(candidate + rest);
        if (rest.isEmpty())
            edit->setCursorPosition(candidate.size());
        else
            edit->setSelection(candidate.size(), rest.size());
        return true;
    }
    return false;
}

// With the list open, Enter and Esc only close it; the entry under the highlight is not taken.
bool TCompletingComboBox::CloseListOnKey(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!IsEnterKey(key) && key->key() != Qt::Key_Escape)
        return false;
    hidePopup();
    key->accept();
    return true;
}

void TCompletingComboBox::keyPressEvent(QKeyEvent* event)
{
    if (IsTypedText(event) && CompleteTypedText(event->text())) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

bool TCompletingComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view())
        return CloseListOnKey(event) || QComboBox::eventFilter(watched, event);
    // Keys reach the text part directly only when it holds the focus itself.
    if (watched == edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTypedText(key) && CompleteTypedText(key->text()))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}
