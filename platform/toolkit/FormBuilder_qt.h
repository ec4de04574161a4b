// Builds a form's window and controls from its stored layout.
#pragma once

#include "Layout.h"
#include "ToolkitPrivate_qt.h"

// Creates the window (hidden) and every control, binds the published fields and wires the
// layout's events to the published handlers. Throws std::logic_error when a name the layout
// uses is not published, or a published field has no control of its kind.
void BuildForm(TForm& form, TFormImpl& impl, const TLayoutForm& layout);
