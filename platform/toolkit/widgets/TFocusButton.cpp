#include "TFocusButton.h"

#include <QKeyEvent>

#include "ControlKeys.h"

TFocusButton::TFocusButton(QWidget* parent)
    : TFocusButton(QString(), parent)
{
}

TFocusButton::TFocusButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    // Enter anywhere else in the window must not press it.
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void TFocusButton::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterKey(event)) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    const TFocusStep step = FocusStepOfArrowKey(event);
    if (step != TFocusStep::None) {
        focusNextPrevChild(step == TFocusStep::Next);
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
    // Esc stays here: it must not reach the window as a request to close.
    if (event->key() == Qt::Key_Escape)
        event->accept();
}
