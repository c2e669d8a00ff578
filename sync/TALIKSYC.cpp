#include "sync/TALIKSYC.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "sync/conflictmerge.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

QTableWidgetItem* ReadOnlyItem(const std::string& text)
{
    auto* item = new QTableWidgetItem(Qs(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

TALIKSYC::TALIKSYC(const SyncConflict& conflict, const FieldCaptions& captions, QWidget* parent) : QDialog(parent)
{
    setObjectName("TALIKSYC");
    setWindowTitle("同期の競合");
    buildControls(conflict, captions);
}

void TALIKSYC::buildControls(const SyncConflict& conflict, const FieldCaptions& captions)
{
    auto* label = new QLabel(Qs(conflict.name + " さんは、この住所録とサーバーの両方で変更されています。\n"
                                                "サーバーの値を使う項目に印を付けてください。"),
                             this);
    label->setObjectName("Label1");
    m_fields = new QTableWidget(this);
    m_fields->setObjectName("TableFields");
    m_fields->setColumnCount(3);
    m_fields->setHorizontalHeaderLabels({"項目", "この住所録", "サーバー"});
    m_fields->verticalHeader()->hide();
    const std::vector<ConflictField> differences = Differences(conflict);
    m_fields->setRowCount(static_cast<int>(differences.size()));
    for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
        const ConflictField& difference = differences[row];
        auto* name = ReadOnlyItem(FieldCaption(captions, difference.field->name));
        name->setData(Qt::UserRole, Qs(std::string(difference.field->name)));
        m_fields->setItem(row, 0, name);
        m_fields->setItem(row, 1, ReadOnlyItem(difference.ours));
        auto* theirs = ReadOnlyItem(difference.theirs);
        theirs->setFlags(theirs->flags() | Qt::ItemIsUserCheckable);
        theirs->setCheckState(Qt::Unchecked);
        m_fields->setItem(row, 2, theirs);
    }
    m_fields->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* buttons = new QHBoxLayout;
    const struct
    {
        const char* name;
        const char* caption;
        Choice choice;
    } commands[] = {{"CommandOurs", "この住所録を優先", Choice::Ours},
                    {"CommandTheirs", "サーバーを優先", Choice::Theirs},
                    {"CommandFields", "印の項目だけサーバーから", Choice::Fields},
                    {"CommandLater", "あとで", Choice::Later}};
    for (const auto& command : commands) {
        auto* button = new QPushButton(QString::fromUtf8(command.caption), this);
        button->setObjectName(command.name);
        connect(button, &QPushButton::clicked, this, [this, choice = command.choice] { choose(choice); });
        // Enter decides nothing: a person's data is changed only by a button the user picked.
        button->setAutoDefault(false);
        button->setDefault(command.choice == Choice::Later);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_fields);
    layout->addLayout(buttons);
    resize(640, 360);
}

void TALIKSYC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKSYC::choose(Choice choice)
{
    m_choice = choice;
    if (choice == Choice::Later) {
        reject();
    } else {
        accept();
    }
}

std::vector<std::string> TALIKSYC::takeTheirs() const
{
    std::vector<std::string> names;
    for (int row = 0; row < m_fields->rowCount(); ++row) {
        if (m_fields->item(row, 2)->checkState() == Qt::Checked) {
            names.push_back(m_fields->item(row, 0)->data(Qt::UserRole).toString().toStdString());
        }
    }
    return names;
}

} // namespace talik
