// Whether this session has a display the toolkit can open, checked before the toolkit starts.
#pragma once

enum class TDisplayKind { None, X11, Wayland };

// The display the session offers: an X server that accepts a connection, else a Wayland
// compositor whose socket accepts one, else none.
TDisplayKind ReachableDisplay();
