// The main window's settings entries: the environment settings and the database's check items.
#include <QTreeView>

#include "app/TALIKLST.h"
#include "editor/TALIKCHK.h"
#include "editor/TALIKDBC.h"
#include "listwin/appstate.h"
#include "listwin/listfont.h"

namespace talik {

void TALIKLST::openEnvironmentSettings()
{
    m_state.MainIdle = false;
    TALIKCHK settings(m_state, this);
    const bool stored = settings.exec() == QDialog::Accepted;
    m_state.MainIdle = true;
    if (settings.columnsChanged()) {
        columnsChanged();
    }
    if (stored && settings.stored().listFontChanged) {
        ApplyListFont(m_list, m_state.settings);
    }
    // The tables describe the old folder's database: the next save must not reach a stranger's record.
    if (!m_state.TablesLoaded && loadIfNeeded() && stored && settings.stored().dataFolderChanged) {
        m_state.ui.message(std::string(ReloadedNotice), MessageIcon::Information);
    }
}

void TALIKLST::openCheckItemNames()
{
    m_state.MainIdle = false;
    TALIKDBC checkItems(m_state, this);
    checkItems.exec();
    m_state.MainIdle = true;
}

} // namespace talik
