#include "editor/editorextras.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "editor/TALIKLNK.h"
#include "editor/TALIKTXT.h"
#include "editor/mail.h"
#include "editor/relatedfile.h"
#include "listwin/appstate.h"
#include "platform/launcher.h"
#include "platform/mailhandler.h"
#include "ui/qtinteraction.h"

namespace talik {

EditorExtras::EditorExtras(QWidget* editor, AppState& state, const EditorExtraControls& controls, bool readOnly)
    : QObject(editor), m_editor(editor), m_state(state), m_controls(controls), m_readOnly(readOnly),
      m_systemLauncher(std::make_unique<SystemLauncher>()), m_launcher(m_systemLauncher.get()),
      m_support(std::make_unique<AddressSupport>(state, *m_systemLauncher))
{
    connect(controls.mail, &QPushButton::clicked, this, &EditorExtras::mail);
    connect(controls.remarksExtra, &QPushButton::clicked, this, &EditorExtras::editRemarks);
    connect(controls.relatedFile, &QPushButton::clicked, this, &EditorExtras::openRelated);
    controls.relatedFile->installEventFilter(this);
    for (QPushButton* button : controls.support) {
        connect(button, &QPushButton::clicked, this, [this] { m_support->run(SupportTrigger::Button); });
    }
}

EditorExtras::~EditorExtras() = default;

void EditorExtras::setLauncher(Launcher& launcher, WindowSeams windows)
{
    m_launcher = &launcher;
    m_support = std::make_unique<AddressSupport>(m_state, launcher, std::move(windows));
}

void EditorExtras::colourMarkers()
{
    auto colour = [](QFrame* line, bool set) {
        line->setStyleSheet(set ? "background: #FF0000;" : "background: #00FFFF;");
    };
    colour(m_controls.remarksMarker, !GetText(m_state.Extra.RemarksExtra).empty());
    colour(m_controls.relatedMarker, !GetText(m_state.Extra.RelatedInfo).empty());
}

void EditorExtras::mail()
{
    MailFromEditor(m_state, *m_launcher, Us(m_controls.email->text()), XdgFoldersFromEnvironment());
}

void EditorExtras::editRemarks()
{
    TALIKTXT dialog(m_state, m_readOnly, m_editor);
    dialog.exec();
    colourMarkers();
}

void EditorExtras::openRelated()
{
    std::string related = GetText(m_state.Extra.RelatedInfo);
    if (related.empty()) {
        m_state.ui.message(NoRelatedFile, MessageIcon::Exclamation);
        return;
    }
    OpenRelatedFile(m_state, *m_launcher, related);
}

void EditorExtras::editRelated()
{
    TALIKLNK dialog(m_state, m_readOnly, m_editor);
    dialog.exec();
    colourMarkers();
}

void EditorExtras::supportFromKey()
{
    if (m_state.settings.UseHarupo != 0 && m_controls.support[0]->isEnabled()) {
        m_support->run(SupportTrigger::Key);
    }
}

void EditorExtras::supportFromFocus(QLineEdit* address)
{
    if (m_state.settings.UseHarupo == 0 || m_state.settings.HarupoRun == 0 || !m_controls.support[0]->isEnabled() ||
        !address->text().trimmed().isEmpty() || m_support->gaveUp() || m_supportQueued) {
        return;
    }
    // After the focus change is over, and never while a box of ours is up.
    m_supportQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_supportQueued = false;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_editor) {
            m_support->run(SupportTrigger::Focus);
        }
    });
}

bool EditorExtras::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.relatedFile && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && m_controls.relatedFile->isEnabled()) {
        editRelated();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace talik
