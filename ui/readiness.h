#pragma once
// Which buttons and menu entries have their window or action in the program yet. The others are
// present with their captions but stay disabled: a window enables such a control only when its own
// state asks for it and its flag here is on, so turning a flag on is all it takes once the window
// behind it lands. One flag per entry or button; an entry offered by both lists (they build their
// menus with one function) or a control array shares one.

namespace talik {

struct Readiness
{
    // The database menu of the main window (PPM2).
    bool databaseNames = true;    // PMDBSet "ＤＢ名設定"
    bool checkItemNames = true;   // PMDBChk "チェック項目個別設定"
    bool databasePassword = true; // PMDBPWSet "パスワード設定"

    // The settings menu of the main window (PPM5) and its options (PPOpt).
    bool environmentSettings = true; // PPSet "環境設定"
    bool csvImport = true;           // PPCSVIn "ＣＳＶデータの取込み"
    bool csvExportAll = true;        // PPCSVOut "全件ＣＳＶデータ出力"
    bool vcardImport = true;         // "vCardデータの取込み", beside the CSV import
    bool vcardExportAll = true;      // "vCard出力", beside the CSV export of the whole database
    bool duplicateReview = true;     // "重複の確認" (TALIKDUP), beside the imports
    bool backup = true;              // PPBackup "バックアップ"
    bool restore = true;             // PPRestore "復元"
    bool deleteAllData = true;       // PPAllDel "データ全件削除"
    bool version = true;             // PPVer "バージョン"

    // The record menus (PPM4, SPM) and the telephone menus (PPM7, SPM3).
    bool dial = true;                // PPTel1..4, SPMTel1..4, PPBTel1..4, SPMBTel1..4
    bool printRecordPostcard = true; // PPPrtV, SPMPrtV "はがき印刷"
    bool printRecordLabel = true;    // PPPrtW, SPMPrtW "タックシール印刷"
    bool mailRecord = true;          // PPMail, SPMMail "E-Mail"
    bool openRelatedFile = true;     // PPAppl, SPMAppl "関連情報起動"
    bool copyRecord = true;          // PPCopy_Sel(0..3), SPMCopy_Sel(0..3)
    bool copySettings = true;        // PPCopy_Set, SPMCopy_Set "コピー項目の設定"

    // The print menus (PPM6, SPM2).
    bool printPostcards = true; // PPPrtBV, SPMPrt2V
    bool printLabels = true;    // PPPrtBW, SPMPrt2W
    bool printList = true;      // PPPrtBX, SPMPrt2X "一覧表印刷"

    // The buttons of the main window.
    bool mailFromList = true; // Command8 "E-Mail"

    // The buttons of the search-result window.
    bool printSelection = true;     // Command4 "選択印刷"
    bool mailSelection = true;      // Command10 "E-Mail送信"
    bool printAllResults = true;    // Command6(0) "検索全件印刷"
    bool printFromSelection = true; // Command6(1) "選択以降印刷"
    bool csvExportResults = true;   // Command8 "ＣＳＶ出力"
    bool vcardExportResults = true; // "vCard出力", beside Command8
    bool moveCopyResults = true;    // Command11 "移動／複写"
    bool mailAllResults = true;     // Command13 "Mail一括送信"

    // The sub-dialogs opened from the three print dialogs.
    bool printLayoutEditor = true;   // postcards Command4 "印刷位置設定" (TALIKSTV)
    bool printPositionAdjust = true; // TALIKPRP: labels Command4/7/8/10, list Command4
    bool printFonts = true;          // Command5 "フォント選択" of all three (TALIKFNT)
    bool printScale = true;          // list Command7 "縮小率設定" (TALIKPRZ)

    // The buttons of the record editor.
    bool recordPrintSettings = true; // Command1(3) "印刷設定"
    bool mailFromEditor = true;      // Command2 "E-Mail送信"
    bool remarksExtra = true;        // Command3 "追加データ"
    bool relatedFile = true;         // Command4 "関連情報"
    bool addressSupport = true;      // Command5(0..1) "支援"

    // The sync with a CardDAV address book ("同期" in the settings menu).
    bool syncAccount = true;         // the account dialog: URL, user, password, "接続テスト", the address books
    bool syncNow = true;             // "今すぐ同期", with progress, cancel and the summary
    bool syncConflicts = true;       // the conflict window: ours / theirs / field by field
    bool syncAtStartAndExit = true;  // the option to sync at start and at exit
};

// What this build of the program offers.
inline constexpr Readiness Ready{};

} // namespace talik
