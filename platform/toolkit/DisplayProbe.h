// Whether this session has a display the toolkit can open, checked before the toolkit starts.
#pragma once

#include <memory>

enum class TDisplayKind { None, X11, Wayland };

struct TDisplayProbeImpl;

// Looks for a display: an X server that accepts a connection, else a Wayland compositor whose
// socket accepts one. The connection stays open while the probe lives: an X server without
// other clients resets when its last one leaves and refuses connections for that moment, so
// the toolkit should open its own before the probe goes.
class TDisplayProbe {
public:
    TDisplayProbe();
    ~TDisplayProbe();
    TDisplayProbe(const TDisplayProbe&) = delete;
    TDisplayProbe& operator=(const TDisplayProbe&) = delete;

    TDisplayKind Kind() const { return kind; }

private:
    std::unique_ptr<TDisplayProbeImpl> impl;
    TDisplayKind kind = TDisplayKind::None;
};
