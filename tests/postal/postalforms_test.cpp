// The editor's postal code help driven with real keys and clicks: a code fills the address (asking
// first when the box holds another one), several places give a choice list, a large office offers
// its name, and an address finds its code.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "editor/TALIKCHI.h"
#include "interchange/QXCSVSET.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class PostalEditor : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        // The program folder holds the index, as a build tree's does.
        std::filesystem::create_symlink(TALIK_POSTAL_INDEX, dir.path() / "postal.idx");
        load();
    }
    void open(std::int32_t recNo = 0, char status = ' ')
    {
        state.CurRecNo = recNo;
        state.EditStatus = status;
        editor = std::make_unique<TALIK01>(state, false);
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    QLineEdit* text(const char* name) { return editor->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return editor->findChild<QPushButton*>(name); }
    // Types into a box and leaves it with `leaveKey`, as a user does.
    void type(const char* name, const QString& keys, Qt::Key leaveKey = Qt::Key_Tab)
    {
        QLineEdit* box = text(name);
        box->setFocus();
        box->selectAll();
        TypeKeys(box, keys);
        QTest::keyClick(box, leaveKey);
    }
    void set(const char* name, const QString& value) { text(name)->setText(value); }
    std::string shown(const char* name) { return text(name)->text().toStdString(); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    std::vector<std::string> questions() const
    {
        std::vector<std::string> asked;
        for (const auto& m : ui.shown) {
            if (m.kind == "question" || m.kind == "choice") {
                asked.push_back(m.kind + ": " + m.text);
            }
        }
        return asked;
    }

    std::unique_ptr<TALIK01> editor;
};

TEST_F(PostalEditor, ACodeTypedAndLeftFillsAnEmptyAddressWithoutAQuestion)
{
    open();
    type("Text3_0", "150-0001");
    EXPECT_EQ(shown("Text5_0"), "東京都渋谷区神宮前");
    // The second address's code box, left with Enter.
    type("Text3_1", "1500001", Qt::Key_Return);
    EXPECT_EQ(shown("Text5_1"), "東京都渋谷区神宮前");
    // Full-width digits, as a record stored by hand holds them, through the button.
    set("Text5_1", "");
    set("Text3_1", "１５０－０００１");
    click("PostalToAddress_1");
    EXPECT_EQ(shown("Text5_1"), "東京都渋谷区神宮前");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PostalEditor, AnotherAddressIsReplacedOnlyWhenTheUserSaysSo)
{
    open();
    set("Text5_0", "東京都港区芝公園４－２－８");
    ui.yesNoAnswers = {false};
    type("Text3_0", "1500001");
    EXPECT_EQ(shown("Text5_0"), "東京都港区芝公園４－２－８");
    EXPECT_EQ(questions(), std::vector<std::string>{"question: 住所を「東京都渋谷区神宮前」に置き換えますか？"});
    ui.yesNoAnswers = {true};
    click("PostalToAddress_0");
    EXPECT_EQ(shown("Text5_0"), "東京都渋谷区神宮前");
    // The address already begins with the code's place: nothing to ask.
    ui.shown.clear();
    set("Text5_0", "東京都渋谷区神宮前１－２－３");
    click("PostalToAddress_0");
    EXPECT_EQ(shown("Text5_0"), "東京都渋谷区神宮前１－２－３");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PostalEditor, SeveralPlacesOfOneCodeGiveAChoiceList)
{
    open();
    ui.choiceAnswers = {1};
    type("Text3_0", "4980000");
    EXPECT_EQ(shown("Text5_0"), "三重県桑名郡木曽岬町");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "choice");
    EXPECT_EQ(ui.shown[0].text, "498-0000　愛知県弥富市\n498-0000　三重県桑名郡木曽岬町");
    // Cancelled: nothing changes.
    ui.choiceAnswers = {std::nullopt};
    click("PostalToAddress_0");
    EXPECT_EQ(shown("Text5_0"), "三重県桑名郡木曽岬町");
}

TEST_F(PostalEditor, ALargeOfficesCodeFillsItsAddressAndOffersItsName)
{
    open();
    ui.yesNoAnswers = {true};
    type("Text3_0", "0608621");
    EXPECT_EQ(shown("Text5_0"), "北海道札幌市中央区北一条西６丁目１－２アーバンネット札幌ビル２Ｆ");
    EXPECT_EQ(questions(),
              std::vector<std::string>{"question: 会社名を「株式会社　日本経済新聞社　札幌支社」にしますか？"});
    EXPECT_EQ(shown("Text8_0"), "株式会社　日本経済新聞社　札幌支社");
}

TEST_F(PostalEditor, TheAddressFindsItsCode)
{
    open();
    set("Text5_1", "東京都渋谷区神宮前１－２－３");
    click("PostalToCode_1");
    EXPECT_EQ(shown("Text3_1"), "150-0001");
    // Several codes for the town: the choice list, its lines with the list's notes.
    set("Text5_0", "北海道札幌市中央区大通西２５丁目");
    set("Text3_0", "999-9999");
    ui.choiceAnswers = {1};
    ui.yesNoAnswers = {true};
    click("PostalToCode_0");
    EXPECT_EQ(questions(), (std::vector<std::string>{"choice: 060-0042　北海道札幌市中央区大通西（１～１９丁目）\n"
                                                     "064-0820　北海道札幌市中央区大通西（２０～２８丁目）",
                                                     "question: 郵便番号を「064-0820」に置き換えますか？"}));
    EXPECT_EQ(shown("Text3_0"), "064-0820");
}

TEST_F(PostalEditor, WhatCannotBeFoundIsSaidAndChangesNothing)
{
    open();
    set("Text5_0", "東京都港区");
    // A code of no place left alone says nothing; asked for, it says so.
    type("Text3_0", "0000000");
    EXPECT_TRUE(ui.shown.empty());
    click("PostalToAddress_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"郵便番号 000-0000 の住所は見つかりません。"});
    EXPECT_EQ(shown("Text5_0"), "東京都港区");
    // Nor does a half-typed code; asked for, it says what is wrong.
    ui.shown.clear();
    type("Text3_0", "150");
    EXPECT_TRUE(ui.shown.empty());
    click("PostalToAddress_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"郵便番号は７桁の数字で入力して下さい。"});
    ui.shown.clear();
    set("Text5_1", "どこにもない所");
    click("PostalToCode_1");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"「どこにもない所」の郵便番号は見つかりません。"});
    EXPECT_EQ(shown("Text3_1"), "");
}

TEST_F(PostalEditor, WithoutTheIndexTheUserIsTold)
{
    std::filesystem::remove(dir.path() / "postal.idx");
    open();
    // Left with a code, the box is quiet; the button tells.
    type("Text3_0", "1500001");
    EXPECT_TRUE(ui.shown.empty());
    click("PostalToAddress_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"郵便番号データがありません。"});
    EXPECT_EQ(shown("Text5_0"), "");
}

TEST_F(PostalEditor, ARecordOnlyShownIsNotChanged)
{
    std::int32_t recNo = addRecord("ﾔﾏﾀﾞ", "山田");
    open(recNo, 'R');
    EXPECT_FALSE(button("PostalToAddress_0")->isEnabled());
    EXPECT_FALSE(button("PostalToCode_0")->isEnabled());
}

// The CSV import from the list window with its option to fill from the list ticked.
class PostalCsvImport : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        std::filesystem::create_symlink(TALIK_POSTAL_INDEX, dir.path() / "postal.idx");
        load();
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
        // ｱｵｷ,青木 with postal code 1 only, in CP932.
        std::ofstream(dir.str() + "/in.csv", std::ios::binary)
            << "\"\xB1\xB5\xB7\",\"\x90\xC2\x96\xD8\",,,,\"1500001\"\r\n";
    }
    void import(bool fill)
    {
        ui.fileAnswers = {dir.str() + "/in.csv"};
        ui.yesNoAnswers = {true};
        WhenModalShows<QXCSVSET>([fill](QXCSVSET* dialog) {
            dialog->findChild<QCheckBox*>("FillPostal")->setChecked(fill);
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
        });
        WhenModalShows<TALIKCHI>(
            [](TALIKCHI* dialog) { QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton); });
        window->menus().PPCSVIn->trigger();
    }
    std::string address(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        EXPECT_TRUE(ReadCurrent(state));
        return GetText(state.Rec.Address1);
    }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(PostalCsvImport, TheTickedOptionFillsTheAddressAndTheReportCountsIt)
{
    import(true);
    EXPECT_EQ(ui.messages().back(),
              "1 件のデータを取込みました。\r\n内 1 件は郵便番号か住所を郵便番号データで補いました。");
    EXPECT_EQ(address(2), "東京都渋谷区神宮前");
}

TEST_F(PostalCsvImport, UntickedAsItStartsNothingIsFilled)
{
    ui.fileAnswers = {dir.str() + "/in.csv"};
    WhenModalShows<QXCSVSET>([](QXCSVSET* dialog) {
        EXPECT_FALSE(dialog->findChild<QCheckBox*>("FillPostal")->isChecked());
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_1"), Qt::LeftButton);
    });
    window->menus().PPCSVIn->trigger();
    ui.shown.clear();
    import(false);
    EXPECT_EQ(ui.messages().back(), "1 件のデータを取込みました。");
    EXPECT_EQ(address(2), "");
}

// The vCard import offers the same option beside its check items.
TEST_F(PostalCsvImport, TheVcardImportFillsTooWhenItsBoxIsTicked)
{
    std::ofstream(dir.str() + "/in.vcf", std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:青木\r\nX-PHONETIC-LAST-NAME:アオキ\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:伊藤\r\nX-PHONETIC-LAST-NAME:イトウ\r\n"
           "ADR;TYPE=home:;;;;;1500001;\r\nEND:VCARD\r\n";
    for (bool fill : {false, true}) {
        SCOPED_TRACE(fill);
        ui.fileAnswers = {dir.str() + "/in.vcf"};
        ui.yesNoAnswers = {true};
        WhenModalShows<TALIKCHI>([fill](TALIKCHI* dialog) {
            auto* box = dialog->findChild<QCheckBox*>("FillPostal");
            ASSERT_NE(box, nullptr);
            EXPECT_FALSE(box->isChecked());
            box->setChecked(fill);
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
        });
        window->menus().PPVCardIn->trigger();
    }
    EXPECT_EQ(ui.messages().back(),
              "2 件のデータを取込みました。\r\n内 1 件は郵便番号か住所を郵便番号データで補いました。");
    EXPECT_EQ(address(5), "東京都渋谷区神宮前");
    EXPECT_EQ(address(3), "");
}

} // namespace
} // namespace talik::test
