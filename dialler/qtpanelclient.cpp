#include "dialler/qtpanelclient.h"

#include <QWidget>

namespace talik::dialler {

QtPanelClient::QtPanelClient(const QWidget& widget, LineCanvas* surface, LineCanvas* parentSurface)
    : m_widget(widget), m_surface(surface), m_parentSurface(parentSurface)
{}

PixelRect QtPanelClient::bounds() const
{
    const QRect geometry = m_widget.geometry();
    return {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

int QtPanelClient::scaleWidth() const
{
    return m_widget.width();
}

int QtPanelClient::scaleHeight() const
{
    return m_widget.height();
}

} // namespace talik::dialler
