#pragma once
// The index panel of the list window (Picture1): the kana tabs, the marker behind the shown tab,
// and the search button, inside a light grey box.
#include <QLabel>
#include <QWidget>

#include <array>

#include "listwin/listwindow.h"

class QPushButton;

namespace talik {

// A tab label that says when it is clicked.
class TabLabel : public QLabel
{
    Q_OBJECT
public:
    TabLabel(int index, QWidget* parent);
signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_index;
};

class IndexPanel : public QWidget
{
    Q_OBJECT
public:
    explicit IndexPanel(QWidget* parent);

    // Captions, colours and places the tabs as laid out for the current mode.
    void layoutTabs(const std::array<TabLook, TabLabelTotal>& tabs);
    // Puts the marker behind tab `index`.
    void markTab(int index);
    QPushButton* searchButton() const { return m_search; }
    TabLabel* tab(int index) const { return m_tabs[index]; }

signals:
    void tabClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int px(int twips) const;
    QRect toPixels(const TwipRect& rect) const;

    std::array<TabLabel*, TabLabelTotal> m_tabs{};
    std::array<TabLook, TabLabelTotal> m_looks{};
    QLabel* m_marker;
    QPushButton* m_search;
};

} // namespace talik
