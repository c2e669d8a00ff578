#pragma once
// "フォント選択": the font name (and, but for the list, the size) of each printed item of the
// postcard ("V"), the label sheet ("W") or the list ("X"), the kind coming in PrintKind.
#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;

namespace talik {

struct AppState;

class TALIKFNT : public QDialog
{
    Q_OBJECT
public:
    // `redraw` is called after each stored change, so the opener's preview follows at once.
    explicit TALIKFNT(AppState& state, std::function<void()> redraw = {}, QWidget* parent = nullptr);

    // True when a font or size was stored (the sizes set on opening count).
    bool changed() const { return m_changed; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildRow(int row, int item, const QString& caption, bool withSize, const std::vector<std::string>& families);
    void chooseFont(int item, QComboBox* combo);
    void leaveSize(int item, QLineEdit* box);
    void stored();

    AppState& m_state;
    std::function<void()> m_redraw;
    bool m_changed = false;
};

} // namespace talik
