#include "listwin/TALIKLST.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "store/TALIKIN.h"
#include "store/database.h"
#include "store/qtinteraction.h"
#include "store/startup.h"
#include "store/state.h"
#include "store/units.h"

namespace talik {

TALIKLST::TALIKLST(AppState& state, TALIKIN* startForm, QWidget* parent)
    : QWidget(parent), m_state(state), m_startForm(startForm), m_title(new QLabel(this)), m_dbName(new QLabel(this)),
      m_loading(new QLabel("データ設定中．．．", this)), m_count(new QLabel(this)), m_list(new QTreeView(this)),
      m_close(new QPushButton("終了", this))
{
    setObjectName("TALIKLST");
    setWindowTitle(Qs(MainWindowTitle(state.Mode)));
    setWindowIcon(AppIcon());
    buildControls();
    applyGeometry();
}

void TALIKLST::buildControls()
{
    m_title->setObjectName("Label1");
    m_dbName->setObjectName("Label3");
    m_loading->setObjectName("Label4");
    m_count->setObjectName("Label5");
    m_list->setObjectName("ListView1");
    m_close->setObjectName("Command4");
    m_count->setStyleSheet("color: #FF0000; background: #C0FFFF;");
    m_loading->hide();
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_dbName);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_loading);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
}

void TALIKLST::applyGeometry()
{
    const WindowGeometry& g = m_state.settings.ListWindow;
    double dpi = logicalDpiX();
    move(TwipsToPixels(g.left, dpi), TwipsToPixels(g.top, dpi));
    resize(TwipsToPixels(g.width, dpi), TwipsToPixels(g.height, dpi));
}

void TALIKLST::storeGeometry()
{
    if (isMinimized() || isMaximized() || isFullScreen()) {
        return;
    }
    double dpi = logicalDpiX();
    WindowGeometry& g = m_state.settings.ListWindow;
    g = {PixelsToTwips(x(), dpi), PixelsToTwips(y(), dpi), PixelsToTwips(width(), dpi), PixelsToTwips(height(), dpi)};
}

bool TALIKLST::loadIfNeeded()
{
    if (m_state.TablesLoaded) {
        return true;
    }
    m_loading->show();
    m_dbName->setText(Qs(m_state.settings.AddrDBName[m_state.DbNo - 1]));
    LoadResult result = LoadTables(m_state);
    m_loading->hide();
    if (result == LoadResult::EndProgram) {
        m_ending = true;
        emit programEnds();
        return false;
    }
    showTexts();
    return true;
}

void TALIKLST::showTexts()
{
    m_dbName->setText(Qs(m_state.texts.DbName));
    m_count->setText(Qs(m_state.texts.CountLabel));
    m_title->setText(Qs(m_state.texts.ListTitle));
}

bool TALIKLST::event(QEvent* event)
{
    bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !m_ending) {
        // Loading waits for the splash, which needs the event loop: start it from there.
        QTimer::singleShot(0, this, [this] { loadIfNeeded(); });
    }
    return handled;
}

void TALIKLST::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

void TALIKLST::requestExit()
{
    m_state.ExitRequested = true;
    close();
}

void TALIKLST::closeEvent(QCloseEvent* event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    EndingSteps steps{[this] { storeGeometry(); }, [this] { WriteAllSettings(m_state); },
                      [this] {
                          if (m_startForm != nullptr) {
                              m_startForm->unload();
                          }
                      }};
    switch (CloseMainWindow(m_state, qApp->isSavingSession(), steps)) {
    case CloseOutcome::Hide:
        event->ignore();
        hide();
        return;
    case CloseOutcome::Cancel:
        event->ignore();
        return;
    case CloseOutcome::End:
        m_ending = true;
        event->accept();
        emit programEnds();
        return;
    }
}

} // namespace talik
