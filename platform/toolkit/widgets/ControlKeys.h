// Key rules shared by the controls of this folder.
#pragma once

class QKeyEvent;

// True when the key would type its text into an edit field: printable text and no Ctrl, Alt or
// Meta held.
bool IsTypedText(const QKeyEvent* event);

bool IsEnterKey(const QKeyEvent* event);

enum class TFocusStep { None, Next, Previous };

// Right and Down step forward along the focus chain, Left and Up back; other keys not at all.
TFocusStep FocusStepOfArrowKey(const QKeyEvent* event);
