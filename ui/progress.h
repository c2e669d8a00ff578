#pragma once
// A progress dialog for a long run (an export or an import): it shows only when the work lasts
// longer than about half a second from its first report, and it has no cancel button, since a run stopped halfway would
// leave a half-done job behind.
#include <QString>

#include <cstddef>
#include <functional>

class QProgressDialog;
class QWidget;

namespace talik {

class ProgressDialog
{
public:
    ProgressDialog(QWidget* parent, const QString& text);
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // The callback the core reports `done` of `total` steps through.
    std::function<void(std::size_t done, std::size_t total)> reporter();

private:
    QProgressDialog* dialog();

    QWidget* m_parent;
    QString m_text;
    QProgressDialog* m_dialog = nullptr;
};

} // namespace talik
