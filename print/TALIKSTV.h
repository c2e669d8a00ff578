#pragma once
// "印刷位置設定": the six postcard items dragged on a picture of the card, in the writing
// direction of "PrintDirection". Only the items the user moved are stored, on "閉じる".
#include <QDialog>

#include <array>
#include <optional>

#include "print/layoutedit.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;
struct PrintTable;
class ItemLabel;

class TALIKSTV : public QDialog
{
    Q_OBJECT
public:
    // `job`: the open postcard job, whose first recipient (and sender) the labels show; without it
    // they show the names of the items.
    explicit TALIKSTV(AppState& state, const PrintTable* job = nullptr, QWidget* parent = nullptr);

    // True when a stored setting changed: a moved item on "閉じる", or the printer offset set
    // through "印刷位置調整" (stored at once, even when this dialog is then cancelled).
    bool changed() const { return m_changed; }

    // The picture's pixels per millimetre of the picture (the card is shown at LayoutPreviewScale).
    static constexpr double PixelsPerMm = 4.0;
    // Where a label stands in picture millimetres (top-left), for tests and the boxes.
    PicturePoint labelPlace(LayoutItem item) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPicture(const PrintTable* job);
    void buildPanel();
    void placeLabel(LayoutItem item);
    void placeAll();
    void select(LayoutItem item);
    void showSelected();
    void typedPosition();
    bool dragEvent(LayoutItem item, QEvent* event);
    bool nudgeKey(QKeyEvent* event);
    void closeStoring();
    void resetDefaults();
    void openAdjust();
    std::optional<LayoutItem> itemOf(QObject* object) const;
    int marginPixels() const;

    AppState& m_state;
    LayoutEdit m_edit;
    bool m_changed = false;
    QWidget* m_picture = nullptr; // Picture1
    std::array<ItemLabel*, LayoutItemTotal> m_labels{};
    std::optional<LayoutItem> m_selected;
    std::optional<LayoutItem> m_dragging;
    QPointF m_grab; // where the label was pressed, label pixels
    QLabel* m_selectedCaption = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
};

} // namespace talik
