#include "TFocusCheckBox.h"

#include <QKeyEvent>

#include "ControlKeys.h"

TFocusCheckBox::TFocusCheckBox(QWidget* parent)
    : TFocusCheckBox(QString(), parent)
{
}

TFocusCheckBox::TFocusCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent)
{
    setTristate(false);
    setFocusPolicy(Qt::StrongFocus);
}

void TFocusCheckBox::keyPressEvent(QKeyEvent* event)
{
    // Enter and Esc do nothing here, and must not reach a default button or close the window.
    if (IsEnterKey(event) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    const TFocusStep step = FocusStepOfArrowKey(event);
    if (step != TFocusStep::None) {
        focusNextPrevChild(step == TFocusStep::Next);
        event->accept();
        return;
    }
    QCheckBox::keyPressEvent(event);
}
