#include "ControlKeys.h"

#include <QKeyEvent>

bool IsTypedText(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers commandKeys = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && (event->modifiers() & commandKeys) == 0;
}

bool IsEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

TFocusStep FocusStepOfArrowKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        return TFocusStep::Next;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return TFocusStep::Previous;
    default:
        return TFocusStep::None;
    }
}
