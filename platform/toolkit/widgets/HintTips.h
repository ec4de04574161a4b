// Hint tips switched on per control: a control shows its hint only if it was installed here.
#pragma once

#include <QString>

class QWidget;

// After the pointer rests 500 ms on the control or one of its child widgets, the whole hint
// shows just below the pointer in the tool-tip colours. It hides after 2500 ms, when the pointer
// leaves the control, or at any key press or mouse click, and shows again only after the
// pointer has left the control and come back. The tip belongs to the control.
void InstallHintTip(QWidget* control, const QString& hint);
