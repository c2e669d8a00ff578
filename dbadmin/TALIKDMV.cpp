#include "dbadmin/TALIKDMV.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dbadmin/movecopyreport.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {

TALIKDMV::TALIKDMV(AppState& state, ListModel& results, QWidget* parent)
    : QDialog(parent), m_state(state), m_results(results), m_list(new QListWidget(this)),
      m_move(new QRadioButton("移動", this)), m_copy(new QRadioButton("複写", this)),
      m_execute(new QPushButton("実行", this)), m_cancel(new QPushButton("取消し", this))
{
    setObjectName("TALIKDMV");
    setWindowTitle("他ＤＢへの移動／複写");
    m_list->setObjectName("List1");
    for (const std::string& name : state.settings.AddrDBName) {
        m_list->addItem(Qs(name));
    }
    auto* frame = new QGroupBox("移動／複写の選択", this);
    frame->setObjectName("Frame1");
    m_move->setObjectName("Option1_0");
    m_copy->setObjectName("Option1_1");
    // Copying is the default: it cannot take anything away from the open database.
    m_copy->setChecked(true);
    auto* options = new QHBoxLayout(frame);
    options->addWidget(m_move);
    options->addWidget(m_copy);
    m_execute->setObjectName("Command1");
    m_cancel->setObjectName("Command2");
    m_execute->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_execute);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, &TALIKDMV::chooseTarget);
    connect(m_move, &QRadioButton::toggled, this, [this](bool on) { m_moveMode = on; });
    connect(m_execute, &QPushButton::clicked, this, &TALIKDMV::execute);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_moveMode = false;
        reject();
    });
}

void TALIKDMV::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    m_list->setFocus();
}

// The open database cannot be its own target.
void TALIKDMV::chooseTarget(int row)
{
    int dbNo = row + 1;
    bool other = row >= 0 && dbNo != m_state.DbNo;
    m_targetDbNo = other ? dbNo : 0;
    m_execute->setEnabled(other);
}

void TALIKDMV::execute()
{
    if (m_targetDbNo == 0) {
        return;
    }
    const std::string target = m_state.settings.AddrDBName[static_cast<std::size_t>(m_targetDbNo - 1)];
    if (m_moveMode &&
        !m_state.ui.askYesNo(MoveQuestion(static_cast<int>(m_results.size()), target), MessageIcon::Question, "確認")) {
        return;
    }
    const std::vector<std::int32_t> records = RecordsOf(m_results);
    m_outcome = MoveCopyRecords(m_state, records, {m_targetDbNo, m_moveMode, std::nullopt});
    const std::string report = MoveCopyReport(m_outcome, m_moveMode, target);
    if (!report.empty()) {
        m_state.ui.message(report, MessageIcon::Information);
    }
    accept();
}

} // namespace talik
