#pragma once
// The mapping dialog of the CSV import: the CSV columns for each importable field, chosen from the
// fields of the file's first line ("+" adds a further column to a field, joined after the first),
// how the file is read, and what becomes of a person already stored.
#include <QDialog>

#include <array>
#include <string>

#include "interchange/csvimport.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class QXCSVSET : public QDialog
{
    Q_OBJECT
public:
    // `file` is the whole file (it must outlive the dialog); OK writes the choices into `options`.
    QXCSVSET(AppState& state, std::string_view file, CsvImportOptions& options, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildSlots();
    void buildJoins(int slot, int left, int top);
    // Shows the next further column of `slot`.
    void addColumn(int slot);
    // Sets every list from a map (further columns shown as the map needs them).
    void showMap(const CsvMap& map);
    void buildOptions();
    void orderTabs();
    // Shows the first line as the chosen encoding reads it and offers its fields in every list.
    void fillFromFirstLine(bool preselect);
    // The columns chosen for each slot, joined in the order shown.
    CsvMap chosenMap() const;
    void accept() override;
    void reject() override;

    AppState& m_state;
    std::string_view m_file;
    CsvImportOptions& m_options;
    std::array<QComboBox*, CsvSlotTotal> m_columns{}; // Combo1(0..18)
    // The further columns of each slot, "Combo3_<slot>_<n>" (n from 1), hidden until added.
    std::array<std::array<QComboBox*, MaxJoinedColumns - 1>, CsvSlotTotal> m_joined{};
    std::array<QPushButton*, CsvSlotTotal> m_join{}; // "Join_<slot>": "+"
    QLineEdit* m_firstLine;                          // Text1
    QCheckBox* m_skipFirst;                          // Check1
    QCheckBox* m_halfKana;                           // Check2
    QCheckBox* m_fillPostal;                         // a missing postal code or address from the list
    QComboBox* m_encoding;                           // Combo2 "文字コード"
    QComboBox* m_onDuplicate;                        // "DuplicateAction": a person already stored
};

} // namespace talik
