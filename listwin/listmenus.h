#pragma once
// The popup menus of the list windows, with their entries under their designer names.
#include <QString>

#include <array>

#include "ui/readiness.h"

class QAction;
class QMenu;
class QWidget;

namespace talik {

struct AddressRecord;
struct RecordButtons;
struct Settings;

// The record menu of a list (PPM4 in the main window, SPM in the search result), its entries named
// with the menu's prefix ("PP" or "SPM").
struct RecordMenu
{
    QMenu* menu = nullptr;
    QAction* Edit = nullptr;
    QMenu* Tel = nullptr;
    std::array<QAction*, 4> TelN{};
    QMenu* Prt = nullptr;
    QAction* PrtV = nullptr;
    QAction* PrtW = nullptr;
    QAction* Mail = nullptr;
    QAction* Appl = nullptr;
    QMenu* Copy = nullptr;
    std::array<QAction*, 4> Copy_Sel{};
    QAction* Copy_Set = nullptr;
    QAction* Del = nullptr;
    Readiness ready; // which entries may be enabled at all
};
RecordMenu
BuildRecordMenu(QWidget* owner, const QString& menuName, const QString& prefix, const Readiness& ready = Ready);

// A print menu (PPM6, SPM2): postcards, label sheets, address list.
struct PrintMenu
{
    QMenu* menu = nullptr;
    std::array<QAction*, 3> entries{};
};
PrintMenu
BuildPrintMenu(QWidget* owner, const QString& menuName, const QString& entryPrefix, const Readiness& ready = Ready);

// A telephone menu (PPM7, SPM3): the four numbers of the record.
struct TelephoneMenu
{
    QMenu* menu = nullptr;
    std::array<QAction*, 4> entries{};
};
TelephoneMenu BuildTelephoneMenu(QWidget* owner, const QString& menuName, const QString& entryPrefix);

// The record menu's entries enabled as the selected record allows and the menu's readiness permits.
void EnableRecordMenu(RecordMenu& menu, const RecordButtons& buttons);
// The telephone entries of the record menu and of the telephone menu captioned with the record's numbers.
void CaptionTelephoneEntries(const AddressRecord& rec, RecordMenu& menu, TelephoneMenu& telephones);
// The copy entries captioned with the copy settings' names.
void CaptionCopyEntries(RecordMenu& menu, const Settings& settings);

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
    // The card season: the "年賀" column, the filters (none first, then SeasonFilterChoices) and the
    // year's summary.
    QAction* PMSeason = nullptr; // "年賀状モード"
    QMenu* PMSeasonFilter = nullptr;
    std::array<QAction*, 6> PMSeasonFilterN{};
    QAction* PMSeasonSum = nullptr; // "年賀状の集計"
    // PPM4, the record menu (right button on a selected item).
    RecordMenu PPM4;
    // PPM5, settings and more (a click on the status line).
    QMenu* PPM5 = nullptr;
    QAction* PPSet = nullptr;
    QMenu* PPOpt = nullptr;
    QAction* PPCSVIn = nullptr;
    QAction* PPCSVOut = nullptr;
    QAction* PPVCardIn = nullptr;  // "vCardデータの取込み"
    QAction* PPVCardOut = nullptr; // "vCard出力"
    QAction* PPDup = nullptr;      // "重複の確認"
    QAction* PPBackup = nullptr;
    QAction* PPRestore = nullptr;
    QAction* PPAllDel = nullptr;
    // The sync with a CardDAV address book.
    QMenu* PPSync = nullptr;
    QAction* PPSyncSet = nullptr;  // "同期先の設定…"
    QAction* PPSyncNow = nullptr;  // "今すぐ同期"
    QAction* PPSyncAuto = nullptr; // "起動時と終了時に同期", checkable
    QAction* PPHelp = nullptr;
    QAction* PPVer = nullptr;
    // PPM6, print (Command9); PPM7, telephone (Command5).
    PrintMenu PPM6;
    TelephoneMenu PPM7;
};

// Builds every menu of the list window as children of `owner`.
ListMenus BuildListMenus(QWidget* owner, const Readiness& ready = Ready);

} // namespace talik
