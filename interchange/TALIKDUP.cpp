#include "interchange/TALIKDUP.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>
#include <string>

#include "listwin/appstate.h"
#include "store/merge.h"
#include "store/recordmerge.h"
#include "store/recordwriter.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int TakeColumn = 3; // the tick that makes the second record's value win

QPushButton* Button(QWidget* owner, const char* name, const char* caption)
{
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(name);
    return button;
}

} // namespace

TALIKDUP::TALIKDUP(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_list(new QTreeWidget(this)), m_fields(new QTableWidget(this)),
      m_summary(new QLabel(this)), m_merge(Button(this, "MergeButton", "統合")),
      m_apart(Button(this, "ApartButton", "別人")), m_later(Button(this, "LaterButton", "後で")),
      m_undo(Button(this, "UndoButton", "元に戻す"))
{
    setObjectName("TALIKDUP");
    setWindowTitle("重複の確認");
    resize(760, 620);
    buildControls();
    reloadPairs(0);
}

void TALIKDUP::buildControls()
{
    m_list->setObjectName("PairList");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({"番号", "番号", "点数", "理由"});
    m_fields->setObjectName("FieldTable");
    m_fields->setColumnCount(4);
    m_fields->setHorizontalHeaderLabels({"項目", "残す方", "統合する方", "右を採る"});
    m_fields->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_fields->verticalHeader()->hide();
    m_summary->setObjectName("Summary");
    auto* buttons = new QHBoxLayout;
    auto* close = Button(this, "CloseButton", "閉じる");
    for (QPushButton* button : {m_merge, m_apart, m_later, m_undo, close}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_summary);
    layout->addWidget(m_fields, 3);
    layout->addLayout(buttons);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { showPair(); });
    connect(m_merge, &QPushButton::clicked, this, &TALIKDUP::mergeCurrent);
    connect(m_apart, &QPushButton::clicked, this, &TALIKDUP::markApart);
    connect(m_later, &QPushButton::clicked, this, &TALIKDUP::later);
    connect(m_undo, &QPushButton::clicked, this, &TALIKDUP::undoMerge);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_undo->setEnabled(false);
}

void TALIKDUP::reloadPairs(int row)
{
    m_pairs = ProposedDuplicates(m_state).value_or(std::vector<DuplicatePair>{});
    m_list->clear();
    for (const DuplicatePair& pair : m_pairs) {
        m_list->addTopLevelItem(new QTreeWidgetItem({QString::number(pair.a), QString::number(pair.b),
                                                     QString::number(pair.match.score), Qs(ReasonText(pair.match))}));
    }
    if (!m_pairs.empty()) {
        m_list->setCurrentItem(m_list->topLevelItem(std::min(row, static_cast<int>(m_pairs.size()) - 1)));
    }
    showPair();
}

const DuplicatePair* TALIKDUP::currentPair() const
{
    int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row >= 0 && row < static_cast<int>(m_pairs.size()) ? &m_pairs[static_cast<std::size_t>(row)] : nullptr;
}

void TALIKDUP::showPair()
{
    const DuplicatePair* pair = currentPair();
    for (QPushButton* button : {m_merge, m_apart, m_later}) {
        button->setEnabled(pair != nullptr);
    }
    m_fields->setRowCount(0);
    if (pair == nullptr) {
        m_summary->setText(m_pairs.empty() ? "重複と見られるデータはありません。" : "");
        return;
    }
    AddressRecord a{};
    AddressRecord b{};
    ExtraRecord extraA{};
    ExtraRecord extraB{};
    ReadRecord(m_state, pair->a, a, extraA);
    ReadRecord(m_state, pair->b, b, extraB);
    m_summary->setText(QString("%1 と %2（%3 点：%4）")
                           .arg(pair->a)
                           .arg(pair->b)
                           .arg(pair->match.score)
                           .arg(Qs(ReasonText(pair->match))));
    for (const FieldPair& field : SideBySide(a, extraA, b, extraB)) {
        int row = m_fields->rowCount();
        m_fields->insertRow(row);
        auto* caption = new QTableWidgetItem(Qs(std::string(MergedFieldCaption(field.field))));
        caption->setData(Qt::UserRole, Qs(std::string(field.field)));
        m_fields->setItem(row, 0, caption);
        m_fields->setItem(row, 1, new QTableWidgetItem(Qs(field.a)));
        m_fields->setItem(row, 2, new QTableWidgetItem(Qs(field.b)));
        auto* take = new QTableWidgetItem;
        // Only a field whose values differ has a choice; an empty value never wins over another.
        take->setFlags(field.differs && !field.a.empty() && !field.b.empty()
                           ? Qt::ItemIsUserCheckable | Qt::ItemIsEnabled
                           : Qt::NoItemFlags);
        if (field.differs) {
            take->setCheckState(field.a.empty() ? Qt::Checked : Qt::Unchecked);
        }
        m_fields->setItem(row, TakeColumn, take);
    }
}

void TALIKDUP::mergeCurrent()
{
    const DuplicatePair* pair = currentPair();
    if (pair == nullptr) {
        return;
    }
    std::set<std::string, std::less<>> takeFromB;
    for (int row = 0; row < m_fields->rowCount(); ++row) {
        if (m_fields->item(row, TakeColumn)->checkState() == Qt::Checked) {
            takeFromB.insert(m_fields->item(row, 0)->data(Qt::UserRole).toString().toStdString());
        }
    }
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    const std::int32_t survivor = pair->a;
    MergeOutcome outcome = MergeDuplicates(m_state, pair->a, pair->b, takeFromB);
    if (outcome == MergeOutcome::Missing) {
        m_state.ui.message("どちらかのデータがもうありません。", MessageIcon::Exclamation);
    }
    if (outcome == MergeOutcome::Merged) {
        m_merged.push_back(survivor);
    }
    m_undo->setEnabled(!m_merged.empty());
    reloadPairs(row);
}

void TALIKDUP::markApart()
{
    const DuplicatePair* pair = currentPair();
    if (pair == nullptr) {
        return;
    }
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (!MarkNotDuplicate(m_state, pair->a, pair->b)) {
        m_state.ui.message("別人として記録できませんでした。", MessageIcon::Exclamation);
    }
    reloadPairs(row);
}

void TALIKDUP::later()
{
    int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row + 1 < m_list->topLevelItemCount()) {
        m_list->setCurrentItem(m_list->topLevelItem(row + 1));
    }
}

void TALIKDUP::undoMerge()
{
    if (m_merged.empty()) {
        return;
    }
    if (UndoLastMerge(m_state, m_merged.back()) == 0) {
        m_state.ui.message("統合を元に戻せませんでした。", MessageIcon::Exclamation);
    }
    m_merged.pop_back();
    m_undo->setEnabled(!m_merged.empty());
    reloadPairs(0);
}

void TALIKDUP::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

} // namespace talik
