#include "listwin/listmenus.h"

#include <QMenu>

namespace talik {
namespace {

QMenu* NewMenu(QWidget* owner, const char* name, const QString& title = {})
{
    auto* menu = new QMenu(title, owner);
    menu->setObjectName(name);
    return menu;
}

QAction* Entry(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QMenu* SubMenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    return sub;
}

void BuildDatabaseMenu(QWidget* owner, ListMenus& m)
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

    m.PPM3 = NewMenu(owner, "PPM3");
    m.PMList[0] = Entry(m.PPM3, "PMList_0", "個別一覧表示");
    m.PMList[1] = Entry(m.PPM3, "PMList_1", "行一覧表示");
    for (QAction* entry : m.PMList) {
        entry->setCheckable(true);
    }
}

void BuildRecordMenu(QWidget* owner, ListMenus& m)
{
    m.PPM4 = NewMenu(owner, "PPM4");
    m.PPEdit = Entry(m.PPM4, "PPEdit", "内容変更");
    m.PPTel = SubMenu(m.PPM4, "PPTel", "電話");
    for (int i = 0; i < 4; ++i) {
        m.PPTelN[i] = Entry(m.PPTel, QString("PPTel%1").arg(i + 1), {});
    }
    m.PPPrt = SubMenu(m.PPM4, "PPPrt", "選択印刷");
    m.PPPrtV = Entry(m.PPPrt, "PPPrtV", "はがき印刷");
    m.PPPrtW = Entry(m.PPPrt, "PPPrtW", "タックシール印刷");
    m.PPMail = Entry(m.PPM4, "PPMail", "E-Mail");
    m.PPAppl = Entry(m.PPM4, "PPAppl", "関連情報起動");
    m.PPM4->addSeparator();
    m.PPCopy = SubMenu(m.PPM4, "PPCopy", "コピー");
    for (int i = 0; i < 4; ++i) {
        m.PPCopy_Sel[i] = Entry(m.PPCopy, QString("PPCopy_Sel_%1").arg(i), {});
    }
    m.PPCopy->addSeparator();
    m.PPCopy_Set = Entry(m.PPCopy, "PPCopy_Set", "コピー項目の設定");
    m.PPM4->addSeparator();
    m.PPDel = Entry(m.PPM4, "PPDel", "削除");
}

void BuildSettingsMenu(QWidget* owner, ListMenus& m)
{
    m.PPM5 = NewMenu(owner, "PPM5");
    m.PPSet = Entry(m.PPM5, "PPSet", "環境設定");
    m.PPOpt = SubMenu(m.PPM5, "PPOpt", "オプション");
    m.PPCSVIn = Entry(m.PPOpt, "PPCSVIn", "ＣＳＶデータの取込み");
    m.PPCSVOut = Entry(m.PPOpt, "PPCSVOut", "全件ＣＳＶデータ出力");
    m.PPOpt->addSeparator();
    m.PPBackup = Entry(m.PPOpt, "PPBackup", "バックアップ");
    m.PPRestore = Entry(m.PPOpt, "PPRestore", "復元");
    m.PPOpt->addSeparator();
    m.PPAllDel = Entry(m.PPOpt, "PPAllDel", "データ全件削除");
    m.PPM5->addSeparator();
    m.PPHelp = Entry(m.PPM5, "PPHelp", "ヘルプ");
    m.PPVer = Entry(m.PPM5, "PPVer", "バージョン");
}

void BuildButtonMenus(QWidget* owner, ListMenus& m)
{
    m.PPM6 = NewMenu(owner, "PPM6");
    m.PPPrtBV = Entry(m.PPM6, "PPPrtBV", "はがき印刷");
    m.PPPrtBW = Entry(m.PPM6, "PPPrtBW", "タックシール印刷");
    m.PPPrtBX = Entry(m.PPM6, "PPPrtBX", "一覧表印刷");
    m.PPM7 = NewMenu(owner, "PPM7");
    for (int i = 0; i < 4; ++i) {
        m.PPBTel[i] = Entry(m.PPM7, QString("PPBTel%1").arg(i + 1), {});
    }
}

} // namespace

ListMenus BuildListMenus(QWidget* owner)
{
    ListMenus menus;
    BuildDatabaseMenu(owner, menus);
    BuildRecordMenu(owner, menus);
    BuildSettingsMenu(owner, menus);
    BuildButtonMenus(owner, menus);
    return menus;
}

} // namespace talik
