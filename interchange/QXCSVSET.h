#pragma once
// The mapping dialog of the CSV import: a CSV column for each of the 18 importable fields, chosen
// from the fields of the file's first line, and how the file is read.
#include <QDialog>

#include <array>
#include <string>

#include "interchange/csvimport.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

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
    void buildOptions();
    void orderTabs();
    // Shows the first line as the chosen encoding reads it and offers its fields in every list.
    void fillFromFirstLine(bool preselect);
    void accept() override;
    void reject() override;

    AppState& m_state;
    std::string_view m_file;
    CsvImportOptions& m_options;
    std::array<QComboBox*, CsvSlotTotal> m_columns{}; // Combo1(0..17)
    QLineEdit* m_firstLine;                           // Text1
    QCheckBox* m_skipFirst;                           // Check1
    QCheckBox* m_halfKana;                            // Check2
    QCheckBox* m_fillPostal;                          // a missing postal code or address from the list
    QComboBox* m_encoding;                            // Combo2 "文字コード"
};

} // namespace talik
