#include "FocusLeave.h"

#include <QApplication>
#include <QWidget>

bool IsFocusLeaveWithinWindow(const QWidget* control)
{
    // A deactivated window leaves no focus widget, and a popup has a window of its own.
    const QWidget* next = QApplication::focusWidget();
    if (next == nullptr || next == control || control->isAncestorOf(next))
        return false;
    return next->window() == control->window();
}
