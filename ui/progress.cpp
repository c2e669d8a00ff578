#include "ui/progress.h"

#include <QProgressDialog>

#include <algorithm>

namespace talik {
namespace {

constexpr int ShowAfterMs = 500;
constexpr std::size_t Scale = 1000; // steps of the bar, whatever the size of the run

} // namespace

ProgressDialog::ProgressDialog(QWidget* parent, const QString& text)
    : m_dialog(new QProgressDialog(text, QString(), 0, static_cast<int>(Scale), parent))
{
    m_dialog->setObjectName("Progress");
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setCancelButton(nullptr);
    m_dialog->setMinimumDuration(ShowAfterMs);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0); // starts the clock of the minimum duration
}

ProgressDialog::~ProgressDialog()
{
    delete m_dialog;
}

std::function<void(std::size_t, std::size_t)> ProgressDialog::reporter()
{
    return [dialog = m_dialog](std::size_t done, std::size_t total) {
        const std::size_t step = total == 0 ? Scale : std::min(done, total) * Scale / total;
        dialog->setValue(static_cast<int>(step));
    };
}

} // namespace talik
