// The focus-leave event: OnExit of a control when the keyboard focus passes from it to
// another control of the same window.
#pragma once

#include "ToolkitPrivate_qt.h"

// Watches every control of the form (and the widgets inside them, such as a combo box's edit
// part). The event comes as the other control receives the focus, before it reacts to the key
// or click that moved it; never when the focus stays, nor when the window as a whole loses or
// regains the focus, nor while the window closes.
void InstallFocusLeaveEvents(TFormImpl& impl);
