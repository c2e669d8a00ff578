#pragma once
// The popup menus of the list window, with their entries under their designer names.
#include <array>

class QAction;
class QMenu;
class QWidget;

namespace talik {

struct ListMenus
{
    // PPM2, the database menu (a click on the database name).
    QMenu* PPM2 = nullptr;
    std::array<QAction*, 10> PMDB{};
    QAction* PMDBSet = nullptr;
    QAction* PMDBChk = nullptr;
    QAction* PMDBPWSet = nullptr;
    // PPM3, the list mode (a click on the list title).
    QMenu* PPM3 = nullptr;
    std::array<QAction*, 2> PMList{};
    // PPM4, the record menu (right button on a selected item).
    QMenu* PPM4 = nullptr;
    QAction* PPEdit = nullptr;
    QMenu* PPTel = nullptr;
    std::array<QAction*, 4> PPTelN{};
    QMenu* PPPrt = nullptr;
    QAction* PPPrtV = nullptr;
    QAction* PPPrtW = nullptr;
    QAction* PPMail = nullptr;
    QAction* PPAppl = nullptr;
    QMenu* PPCopy = nullptr;
    std::array<QAction*, 4> PPCopy_Sel{};
    QAction* PPCopy_Set = nullptr;
    QAction* PPDel = nullptr;
    // PPM5, settings and more (a click on the status line).
    QMenu* PPM5 = nullptr;
    QAction* PPSet = nullptr;
    QMenu* PPOpt = nullptr;
    QAction* PPCSVIn = nullptr;
    QAction* PPCSVOut = nullptr;
    QAction* PPBackup = nullptr;
    QAction* PPRestore = nullptr;
    QAction* PPAllDel = nullptr;
    QAction* PPHelp = nullptr;
    QAction* PPVer = nullptr;
    // PPM6, print (Command9).
    QMenu* PPM6 = nullptr;
    QAction* PPPrtBV = nullptr;
    QAction* PPPrtBW = nullptr;
    QAction* PPPrtBX = nullptr;
    // PPM7, telephone (Command5).
    QMenu* PPM7 = nullptr;
    std::array<QAction*, 4> PPBTel{};
};

// Builds every menu of the list window as children of `owner`.
ListMenus BuildListMenus(QWidget* owner);

} // namespace talik
