#pragma once
// The conflict window: a person changed both here and on the server, both versions side by side,
// field by field. The user keeps this address book's version, takes the server's, picks field by
// field (ticked fields come from the server), or leaves the person for a later run.
#include <QDialog>

#include <string>
#include <vector>

#include "store/settings.h"
#include "sync/syncsummary.h"

class QTableWidget;

namespace talik {

class TALIKSYC : public QDialog
{
    Q_OBJECT
public:
    enum class Choice
    {
        Later,
        Ours,
        Theirs,
        Fields,
    };
    // The fields are named as the record editor names them, by `captions`.
    TALIKSYC(const SyncConflict& conflict, const FieldCaptions& captions = {}, QWidget* parent = nullptr);

    Choice choice() const { return m_choice; }
    // The fields ticked to come from the server (for Choice::Fields).
    std::vector<std::string> takeTheirs() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls(const SyncConflict& conflict, const FieldCaptions& captions);
    void choose(Choice choice);

    QTableWidget* m_fields;
    Choice m_choice = Choice::Later;
};

} // namespace talik
