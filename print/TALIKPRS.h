#pragma once
// "印刷設定": the print options of the record in the record buffer (address choice, company,
// department, honorific, sender). OK changes the buffer only; the record editor stores it.
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace talik {

struct AppState;
struct RecordPrintChoices;

class TALIKPRS : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKPRS(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void showChoices(const RecordPrintChoices& choices);
    void confirm();

    AppState& m_state;
    std::array<QRadioButton*, 2> m_address{}; // Option1(0..1)
    std::array<QCheckBox*, 4> m_checks{};     // Check1(0..3)
    QComboBox* m_honorific = nullptr;         // Combo1
    std::array<QRadioButton*, 2> m_sender{};  // Option2(0..1)
};

} // namespace talik
