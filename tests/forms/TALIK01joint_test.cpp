// The editor's joint-name table driven with real keys and clicks: shown from the side store in
// change and view mode, empty for a new person, added to, reordered and removed, each cell held to
// its field's bytes, and a row without a given name refused on store.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/TALIK01.h"
#include "editor/jointtable.h"
#include "listwin/currentrecord.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

void TypeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        int key = c.unicode() < 0x80 ? QTest::asciiToKey(c.toLatin1()) : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

class EditorJoint : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        state.Joint = family;
        recNo = addRecord("ﾔﾏﾀﾞ", "山田太郎");
        state.Joint.clear();
    }
    void open(std::int32_t curRecNo, char status, bool searchMode = false)
    {
        state.CurRecNo = curRecNo;
        state.EditStatus = status;
        editor = std::make_unique<TALIK01>(state, searchMode);
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        table = editor->findChild<QTableWidget*>("JointNames");
        ASSERT_NE(table, nullptr);
    }
    QPushButton* button(const char* name) { return editor->findChild<QPushButton*>(name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    std::vector<std::string> givenNames()
    {
        std::vector<std::string> names;
        for (int row = 0; row < table->rowCount(); ++row) {
            names.push_back(table->item(row, 1)->text().toStdString());
        }
        return names;
    }
    std::vector<JointName> stored()
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNo, rec, extra));
        return ReadJointNames(state, RecordIdentity(rec));
    }
    QLineEdit* openCell()
    {
        for (auto* cell : table->findChildren<QLineEdit*>()) {
            if (cell->isVisible()) {
                return cell;
            }
        }
        return nullptr;
    }
    // Types into the cell being edited and ends the edit with Enter.
    void typeCell(const QString& text)
    {
        QLineEdit* cell = openCell();
        ASSERT_NE(cell, nullptr);
        TypeText(cell, text);
        QTest::keyClick(cell, Qt::Key_Return);
        QApplication::processEvents(); // the table takes the text in after the key
    }

    const std::vector<JointName> family{{"", "花子", "様"}, {"", "一郎", "くん"}};
    std::int32_t recNo = 0;
    std::unique_ptr<TALIK01> editor;
    QTableWidget* table = nullptr;
};

TEST_F(EditorJoint, ChangeModeShowsAddsReordersRemovesAndStoresTheJointNames)
{
    open(recNo, ' ');
    EXPECT_EQ(givenNames(), (std::vector<std::string>{"花子", "一郎"}));
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "くん");

    click("JointAdd");
    typeCell("洋子");
    EXPECT_EQ(table->item(2, 2)->text().toStdString(), "様");
    table->setCurrentCell(2, 1);
    click("JointUp");
    EXPECT_EQ(givenNames(), (std::vector<std::string>{"花子", "洋子", "一郎"}));
    EXPECT_FALSE(button("JointUp")->isEnabled() && table->currentRow() == 0);
    table->setCurrentCell(0, 1);
    click("JointRemove");
    EXPECT_EQ(givenNames(), (std::vector<std::string>{"洋子", "一郎"}));

    click("Command1_0");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(stored(), (std::vector<JointName>{{"", "洋子", "様"}, {"", "一郎", "くん"}}));
}

TEST_F(EditorJoint, AFifthCannotBeAddedAndEachCellHoldsNoMoreThanItsField)
{
    open(recNo, ' ');
    click("JointAdd");
    typeCell(QString(20, QChar(0x5b50))); // 20 kanji: 40 bytes, the name field holds 30
    EXPECT_EQ(table->item(2, 1)->text().size(), 15);
    click("JointAdd");
    typeCell("四");
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_FALSE(button("JointAdd")->isEnabled());
    click("JointAdd");
    EXPECT_EQ(table->rowCount(), 4);
}

TEST_F(EditorJoint, ARowWithoutAGivenNameIsRefusedAndNothingIsStored)
{
    open(recNo, ' ');
    click("JointAdd");
    QTest::keyClick(openCell(), Qt::Key_Escape); // given name left empty
    table->setCurrentCell(2, 0);
    table->editItem(table->item(2, 0));
    typeCell("佐藤");
    click("Command1_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"連名の名を入力してください。"});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(stored(), family);
}

TEST_F(EditorJoint, ViewModeShowsThemReadOnlyAndANewPersonStartsWithNone)
{
    open(recNo, 'R');
    EXPECT_EQ(givenNames(), (std::vector<std::string>{"花子", "一郎"}));
    EXPECT_FALSE(button("JointAdd")->isVisible());
    EXPECT_FALSE(button("JointRemove")->isVisible());
    table->setFocus();
    table->setCurrentCell(0, 1);
    QTest::keyClick(table, Qt::Key_F2);
    EXPECT_EQ(openCell(), nullptr);
    editor->close();

    ReadCurrent(state); // the buffer holds someone with joint names
    open(0, ' ');
    EXPECT_EQ(table->rowCount(), 0);
    TypeText(editor->findChild<QLineEdit*>("Text1_0"), "ｲ");
    click("Command1_0");
    EXPECT_TRUE(state.Joint.empty());
}

TEST_F(EditorJoint, InSearchModeTheRowsTypedAreTheSearchConditions)
{
    open(0, ' ', true);
    EXPECT_EQ(table->rowCount(), 0);
    click("JointAdd");
    typeCell("花子");
    click("JointAdd"); // left empty: no condition
    click("Command1_0");
    EXPECT_EQ(state.EditStatus, 'S');
    EXPECT_EQ(state.Joint, (std::vector<JointName>{{"", "花子", ""}}));
}

TEST_F(EditorJoint, NoControlOverlapsAnotherInAnyMode)
{
    for (auto [curRecNo, status, search] :
         {std::tuple{recNo, ' ', false}, {recNo, 'R', false}, {0, ' ', false}, {0, ' ', true}}) {
        open(curRecNo, status, search);
        std::vector<QWidget*> shown;
        for (QWidget* child : editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible()) {
                shown.push_back(child);
            }
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << shown[i]->objectName().toStdString() << " / " << shown[j]->objectName().toStdString() << " in "
                    << editor->windowTitle().toStdString();
            }
        }
        editor->close();
    }
}

TEST_F(EditorJoint, TabGoesFromTheNameIntoTheTable)
{
    open(recNo, ' ');
    auto* name = editor->findChild<QLineEdit*>("Text1_1");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), table);
}

} // namespace
} // namespace talik::test
