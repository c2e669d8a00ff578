#include "listwin/listmenus.h"

#include <QActionGroup>
#include <QMenu>

#include "listwin/listwindow.h"
#include "listwin/seasonlist.h"
#include "store/settings.h"
#include "ui/qtinteraction.h"
#include "ui/readiness.h"

namespace talik {
namespace {

QMenu* NewMenu(QWidget* owner, const QString& name)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    return menu;
}

QAction* Entry(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QMenu* SubMenu(QMenu* menu, const QString& name, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    return sub;
}

void BuildSeasonEntries(ListMenus& m)
{
    m.PPM3->addSeparator();
    m.PMSeason = Entry(m.PPM3, "PMSeason", "年賀状モード");
    m.PMSeason->setCheckable(true);
    m.PMSeasonFilter = SubMenu(m.PPM3, "PMSeasonFilter", "年賀状の絞り込み");
    auto* group = new QActionGroup(m.PMSeasonFilter);
    for (std::size_t i = 0; i < m.PMSeasonFilterN.size(); ++i) {
        const QString caption =
            i == 0 ? Qs(NoSeasonFilterCaption) : QString::fromUtf8(SeasonFilterChoices[i - 1].caption);
        m.PMSeasonFilterN[i] = Entry(m.PMSeasonFilter, QString("PMSeasonFilter_%1").arg(i), caption);
        m.PMSeasonFilterN[i]->setCheckable(true);
        group->addAction(m.PMSeasonFilterN[i]);
    }
    m.PMSeasonSum = Entry(m.PPM3, "PMSeasonSum", "年賀状の集計");
}

void BuildDatabaseMenus(QWidget* owner, ListMenus& m, const Readiness& ready)
{
    m.PPM2 = NewMenu(owner, "PPM2");
    for (int i = 0; i < 10; ++i) {
        m.PMDB[i] = Entry(m.PPM2, QString("PMDB_%1").arg(i), {});
        m.PMDB[i]->setCheckable(true);
    }
    m.PPM2->addSeparator();
    m.PMDBSet = Entry(m.PPM2, "PMDBSet", "ＤＢ名設定");
    m.PMDBChk = Entry(m.PPM2, "PMDBChk", "チェック項目個別設定");
    m.PMDBPWSet = Entry(m.PPM2, "PMDBPWSet", "パスワード設定");
    m.PMDBSet->setEnabled(ready.databaseNames);
    m.PMDBChk->setEnabled(ready.checkItemNames);
    m.PMDBPWSet->setEnabled(ready.databasePassword);

    m.PPM3 = NewMenu(owner, "PPM3");
    m.PMList[0] = Entry(m.PPM3, "PMList_0", "個別一覧表示");
    m.PMList[1] = Entry(m.PPM3, "PMList_1", "行一覧表示");
    for (QAction* entry : m.PMList) {
        entry->setCheckable(true);
    }
    BuildSeasonEntries(m);
}

void BuildSyncEntries(ListMenus& m, const Readiness& ready)
{
    m.PPSync = SubMenu(m.PPM5, "PPSync", "同期");
    m.PPSyncSet = Entry(m.PPSync, "PPSyncSet", "同期先の設定…");
    m.PPSyncNow = Entry(m.PPSync, "PPSyncNow", "今すぐ同期");
    m.PPSync->addSeparator();
    m.PPSyncAuto = Entry(m.PPSync, "PPSyncAuto", "起動時と終了時に同期");
    m.PPSyncAuto->setCheckable(true);
    m.PPSyncSet->setEnabled(ready.syncAccount);
    m.PPSyncNow->setEnabled(ready.syncNow);
    m.PPSyncAuto->setEnabled(ready.syncAtStartAndExit);
}

void BuildSettingsMenu(QWidget* owner, ListMenus& m, const Readiness& ready)
{
    m.PPM5 = NewMenu(owner, "PPM5");
    m.PPSet = Entry(m.PPM5, "PPSet", "環境設定");
    m.PPOpt = SubMenu(m.PPM5, "PPOpt", "オプション");
    m.PPCSVIn = Entry(m.PPOpt, "PPCSVIn", "ＣＳＶデータの取込み");
    m.PPCSVOut = Entry(m.PPOpt, "PPCSVOut", "全件ＣＳＶデータ出力");
    m.PPVCardIn = Entry(m.PPOpt, "PPVCardIn", "vCardデータの取込み");
    m.PPVCardOut = Entry(m.PPOpt, "PPVCardOut", "vCard出力");
    m.PPDup = Entry(m.PPOpt, "PPDup", "重複の確認");
    m.PPOpt->addSeparator();
    m.PPBackup = Entry(m.PPOpt, "PPBackup", "バックアップ");
    m.PPRestore = Entry(m.PPOpt, "PPRestore", "復元");
    m.PPOpt->addSeparator();
    m.PPAllDel = Entry(m.PPOpt, "PPAllDel", "データ全件削除");
    BuildSyncEntries(m, ready);
    m.PPM5->addSeparator();
    m.PPHelp = Entry(m.PPM5, "PPHelp", "ヘルプ");
    m.PPVer = Entry(m.PPM5, "PPVer", "バージョン");
    m.PPSet->setEnabled(ready.environmentSettings);
    m.PPCSVIn->setEnabled(ready.csvImport);
    m.PPCSVOut->setEnabled(ready.csvExportAll);
    m.PPVCardIn->setEnabled(ready.vcardImport);
    m.PPVCardOut->setEnabled(ready.vcardExportAll);
    m.PPDup->setEnabled(ready.duplicateReview);
    m.PPBackup->setEnabled(ready.backup);
    m.PPRestore->setEnabled(ready.restore);
    m.PPAllDel->setEnabled(ready.deleteAllData);
    m.PPVer->setEnabled(ready.version);
}

} // namespace

RecordMenu BuildRecordMenu(QWidget* owner, const QString& menuName, const QString& prefix, const Readiness& ready)
{
    RecordMenu m;
    m.ready = ready;
    m.menu = NewMenu(owner, menuName);
    m.Edit = Entry(m.menu, prefix + "Edit", "内容変更");
    m.Tel = SubMenu(m.menu, prefix + "Tel", "電話");
    for (int i = 0; i < 4; ++i) {
        m.TelN[i] = Entry(m.Tel, prefix + QString("Tel%1").arg(i + 1), {});
    }
    m.Prt = SubMenu(m.menu, prefix + "Prt", "選択印刷");
    m.PrtV = Entry(m.Prt, prefix + "PrtV", "はがき印刷");
    m.PrtW = Entry(m.Prt, prefix + "PrtW", "タックシール印刷");
    m.Mail = Entry(m.menu, prefix + "Mail", "E-Mail");
    m.Appl = Entry(m.menu, prefix + "Appl", "関連情報起動");
    m.menu->addSeparator();
    m.Copy = SubMenu(m.menu, prefix + "Copy", "コピー");
    for (int i = 0; i < 4; ++i) {
        m.Copy_Sel[i] = Entry(m.Copy, prefix + QString("Copy_Sel_%1").arg(i), {});
        m.Copy_Sel[i]->setEnabled(ready.copyRecord);
    }
    m.Copy->addSeparator();
    m.Copy_Set = Entry(m.Copy, prefix + "Copy_Set", "コピー項目の設定");
    m.Copy_Set->setEnabled(ready.copySettings);
    m.menu->addSeparator();
    m.Del = Entry(m.menu, prefix + "Del", "削除");
    m.PrtV->setEnabled(ready.printRecordPostcard);
    m.PrtW->setEnabled(ready.printRecordLabel);
    return m;
}

PrintMenu BuildPrintMenu(QWidget* owner, const QString& menuName, const QString& entryPrefix, const Readiness& ready)
{
    PrintMenu m;
    m.menu = NewMenu(owner, menuName);
    static const char* Suffixes[3] = {"V", "W", "X"};
    static const char* Captions[3] = {"はがき印刷", "タックシール印刷", "一覧表印刷"};
    const bool entryReady[3] = {ready.printPostcards, ready.printLabels, ready.printList};
    for (int i = 0; i < 3; ++i) {
        m.entries[i] = Entry(m.menu, entryPrefix + Suffixes[i], Captions[i]);
        m.entries[i]->setEnabled(entryReady[i]);
    }
    return m;
}

TelephoneMenu BuildTelephoneMenu(QWidget* owner, const QString& menuName, const QString& entryPrefix)
{
    TelephoneMenu m;
    m.menu = NewMenu(owner, menuName);
    for (int i = 0; i < 4; ++i) {
        m.entries[i] = Entry(m.menu, entryPrefix + QString::number(i + 1), {});
    }
    return m;
}

void EnableRecordMenu(RecordMenu& menu, const RecordButtons& buttons)
{
    bool selected = buttons.recordSelected;
    menu.Edit->setEnabled(selected);
    menu.Tel->setEnabled(selected);
    menu.Del->setEnabled(selected);
    menu.Prt->setEnabled(selected);
    menu.Mail->setEnabled(buttons.mailEnabled && menu.ready.mailRecord);
    menu.Appl->setEnabled(buttons.relatedEnabled && menu.ready.openRelatedFile);
}

void CaptionTelephoneEntries(const AddressRecord& rec, RecordMenu& menu, TelephoneMenu& telephones)
{
    auto entries = TelephoneEntries(rec);
    for (int slot = 0; slot < 4; ++slot) {
        for (QAction* entry : {menu.TelN[slot], telephones.entries[slot]}) {
            entry->setText(Qs(entries[slot].caption));
            entry->setEnabled(entries[slot].enabled && menu.ready.dial);
        }
    }
}

void CaptionCopyEntries(RecordMenu& menu, const Settings& settings)
{
    for (int i = 0; i < 4; ++i) {
        // "&" is shown as itself, not taken as the mark of an access key.
        menu.Copy_Sel[i]->setText(Qs(settings.Copy[i].title).replace("&", "&&"));
    }
}

ListMenus BuildListMenus(QWidget* owner, const Readiness& ready)
{
    ListMenus menus;
    BuildDatabaseMenus(owner, menus, ready);
    menus.PPM4 = BuildRecordMenu(owner, "PPM4", "PP", ready);
    BuildSettingsMenu(owner, menus, ready);
    menus.PPM6 = BuildPrintMenu(owner, "PPM6", "PPPrtB", ready);
    menus.PPM7 = BuildTelephoneMenu(owner, "PPM7", "PPBTel");
    return menus;
}

} // namespace talik
