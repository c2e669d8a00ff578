#include "ui/qtinteraction.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "ui/TALIKDIR.h"
#include "ui/TALIKPSW.h"

namespace talik {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The extension of the first pattern of a filter: "qxm" for "メッセージファイル (*.qxm)".
QString FirstSuffix(const QString& filter)
{
    QRegularExpressionMatch match = QRegularExpression(R"(\*\.(\w+))").match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

// Check boxes below the file dialog's own controls; the system's dialog has no room for them, so
// the dialog is Qt's own when there are any.
std::vector<QCheckBox*> AddCheckBoxes(QFileDialog& dialog, const std::vector<std::string>& captions)
{
    std::vector<QCheckBox*> boxes;
    if (captions.empty()) {
        return boxes;
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    for (const std::string& caption : captions) {
        auto* box = new QCheckBox(Qs(caption), &dialog);
        box->setObjectName("SaveOption" + QString::number(boxes.size()));
        if (grid != nullptr) {
            grid->addWidget(box, grid->rowCount(), 0, 1, -1);
        }
        boxes.push_back(box);
    }
    return boxes;
}

std::optional<std::string> ChosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return Us(dialog.selectedFiles().constFirst());
}

} // namespace

QString QtInteraction::boxTitle(const std::string& title) const
{
    return Qs(title.empty() ? m_untitledBoxTitle : title);
}

void QtInteraction::message(const std::string& text, MessageIcon icon, const std::string& title)
{
    QMessageBox box(BoxIcon(icon), boxTitle(title), Qs(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool QtInteraction::askYesNo(const std::string& text, MessageIcon icon, const std::string& title)
{
    QMessageBox box(BoxIcon(icon), boxTitle(title), Qs(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtInteraction::promptPassword(const std::string& dbDisplayName)
{
    TALIKPSW dialog(Qs(dbDisplayName), QApplication::activeWindow());
    if (!dialog.ask()) {
        return std::nullopt;
    }
    return Us(dialog.password());
}

std::optional<std::string> QtInteraction::chooseOpenFile(const std::string& title, const std::string& filter)
{
    QFileDialog dialog(QApplication::activeWindow(), Qs(title), QString(), Qs(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChosenFile(dialog);
}

std::optional<std::string> QtInteraction::chooseSaveFile(const std::string& title, const std::string& filter)
{
    QFileDialog dialog(QApplication::activeWindow(), Qs(title), QString(), Qs(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(FirstSuffix(Qs(filter)));
    return ChosenFile(dialog);
}

std::optional<std::string> QtInteraction::chooseFolder(const std::string& title, const std::string& start)
{
    TALIKDIR dialog(title, start, QApplication::activeWindow());
    dialog.exec();
    return dialog.chosen();
}

std::optional<std::size_t> QtInteraction::chooseItem(const std::string& title, const std::vector<std::string>& items)
{
    QStringList lines;
    for (const std::string& item : items) {
        lines << QString::fromStdString(item);
    }
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(title));
    dialog.setOptions(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(lines);
    dialog.setComboBoxEditable(false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    qsizetype picked = lines.indexOf(dialog.textValue());
    return picked < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(picked));
}

std::optional<Interaction::SaveChoice> QtInteraction::chooseSaveFileOfType(const std::string& title,
                                                                           const std::vector<std::string>& types)
{
    return chooseSaveFileWithChecks(title, types, {});
}

std::optional<Interaction::SaveChoice> QtInteraction::chooseSaveFileWithChecks(const std::string& title,
                                                                               const std::vector<std::string>& types,
                                                                               const std::vector<std::string>& checks)
{
    QStringList filters;
    for (const std::string& type : types) {
        filters << Qs(type);
    }
    QFileDialog dialog(QApplication::activeWindow(), Qs(title));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(FirstSuffix(filters.value(0)));
    // A name typed without an extension takes the one of the type picked.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(FirstSuffix(filter)); });
    std::vector<QCheckBox*> boxes = AddCheckBoxes(dialog, checks);
    std::optional<std::string> path = ChosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    const auto type = static_cast<std::size_t>(std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0));
    SaveChoice choice{*path, type, {}};
    for (QCheckBox* box : boxes) {
        choice.checks.push_back(box->isChecked());
    }
    return choice;
}

void QtInteraction::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtInteraction::processEvents()
{
    QApplication::processEvents();
}

} // namespace talik
