#pragma once
// The control (or window) a panel frame belongs to, as the frame sees it: where it sits on its
// parent, how large its own drawing area is, and the surfaces the frame may draw on.
#include "dialler/linecanvas.h"

namespace talik::dialler {

struct PixelRect
{
    int left = 0, top = 0, width = 0, height = 0;
};

class PanelClient
{
public:
    virtual ~PanelClient() = default;
    // The outer rectangle in the parent's pixels.
    virtual PixelRect bounds() const = 0;
    // The size of the client's own drawing area in pixels.
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;
    // The client's own surface and its parent's; null when there is none to draw on right now.
    virtual LineCanvas* surface() const = 0;
    virtual LineCanvas* parentSurface() const = 0;
};

} // namespace talik::dialler
