// When leaving a control counts as the focus-leave event of the settings window's controls.
#pragma once

class QWidget;

// True when the focus passes from control to another control of the same window: by keys, by
// a click or by the program. Not when the window as a whole loses the focus, a popup opens,
// the focus goes nowhere (the window closes) or stays inside the control.
// Call it from the control's focus-out handler: the new focus widget is set by then, and it has
// not yet seen its own focus-in.
bool IsFocusLeaveWithinWindow(const QWidget* control);
