#include "ui/progress.h"

#include <QProgressDialog>

#include <algorithm>

namespace talik {
namespace {

constexpr int ShowAfterMs = 500;
constexpr std::size_t Scale = 1000; // steps of the bar, whatever the size of the run

} // namespace

ProgressDialog::ProgressDialog(QWidget* parent, const QString& text) : m_parent(parent), m_text(text) {}

ProgressDialog::~ProgressDialog()
{
    delete m_dialog;
}

// Made at the first report, when the work itself begins: a dialog made earlier would start its clock
// while the user still answers the file dialog and the questions, and show up over them.
QProgressDialog* ProgressDialog::dialog()
{
    if (m_dialog == nullptr) {
        m_dialog = new QProgressDialog(m_text, QString(), 0, static_cast<int>(Scale), m_parent);
        m_dialog->setObjectName("Progress");
        if (m_parent != nullptr) {
            m_dialog->setWindowTitle(m_parent->window()->windowTitle());
        }
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setCancelButton(nullptr);
        m_dialog->setMinimumDuration(ShowAfterMs);
        m_dialog->setAutoClose(true); // gone once the work is done, before the closing message
        m_dialog->setAutoReset(true); // at the end: hidden, and its show timer stopped
        m_dialog->setValue(0); // starts the clock of the minimum duration
    }
    return m_dialog;
}

std::function<void(std::size_t, std::size_t)> ProgressDialog::reporter()
{
    return [this](std::size_t done, std::size_t total) {
        const std::size_t step = total == 0 ? Scale : std::min(done, total) * Scale / total;
        dialog()->setValue(static_cast<int>(step));
    };
}

} // namespace talik
