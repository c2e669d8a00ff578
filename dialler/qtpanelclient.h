#pragma once
// PanelClient for a widget: its geometry on its parent, its own size, and the surfaces that are
// painting it and its parent right now (either may be null).
#include "dialler/panelclient.h"

class QWidget;

namespace talik::dialler {

class QtPanelClient : public PanelClient
{
public:
    QtPanelClient(const QWidget& widget, LineCanvas* surface, LineCanvas* parentSurface = nullptr);

    PixelRect bounds() const override;
    int scaleWidth() const override;
    int scaleHeight() const override;
    LineCanvas* surface() const override { return m_surface; }
    LineCanvas* parentSurface() const override { return m_parentSurface; }

private:
    const QWidget& m_widget;
    LineCanvas* m_surface;
    LineCanvas* m_parentSurface;
};

} // namespace talik::dialler
