#pragma once
// The check-item picker: the 15 check items to set or clear in many records at once.
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace talik {

struct AppState;

class TALIKCHI : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKCHI(AppState& state, QWidget* parent = nullptr);

    // The caller's message above the boxes (Label1(12)), in its colour (&HBBGGRR).
    void setMessage(const QString& text, std::uint32_t bgrColour);
    // A box of the caller's beside the buttons (an import's option), named `objectName`, unticked.
    void offerOption(const QString& caption, const char* objectName);
    // Whether the offered box was ticked (false when none was offered).
    bool optionChosen() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void finish(bool ok);

    AppState& m_state;
    std::array<QCheckBox*, 15> m_checks{};
    QLabel* m_message;
    QCheckBox* m_option = nullptr;
};

} // namespace talik
