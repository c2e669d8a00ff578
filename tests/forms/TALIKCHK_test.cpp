// The environment settings dialog driven for real: its controls filled from the settings, the
// enabling of Check5, the tray notice, byte limits and digit keys, 登録 and 取り消し, the folder
// chooser, the modem test against a fake modem on a pseudo-terminal, and the main window taking
// over the list font and a new data folder.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIKCHK.h"
#include "editor/modemtest.h"
#include "listwin/TALIKSET.h"
#include "platform/profile.h"
#include "platform/serialport.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class EnvironmentDialog : public StoreTest
{
protected:
    EnvironmentDialog()
    {
        state.ProfileFolder = dir.str();
        state.settings.AddressCheck[0] = "年賀状";
        state.settings.ComPort = 3;
        state.settings.ComTelType = 2;
        state.settings.DBLClickOPT = 0;
        state.settings.FromPost = "102-0082";
        state.settings.ListFontName = "見当たらないフォント";
        state.settings.ListFontSize = 11;
        state.settings.DBPathAddr = "*";
        std::ofstream(iniPath(), std::ios::binary) << "[System]\r\nComPort=3\r\nComTelType=2\r\nOther=kept\r\n";
    }

    std::string iniPath() const { return dir.str() + "/QXSCH.INI"; }
    std::string iniBytes() const
    {
        auto bytes = ReadFileBytes(iniPath());
        return std::string(bytes.begin(), bytes.end());
    }
    template <class T> T* child(TALIKCHK& dialog, const QString& name)
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* text(TALIKCHK& dialog, int index) { return child<QLineEdit>(dialog, QString("Text1_%1").arg(index)); }
    void click(TALIKCHK& dialog, const QString& name) { child<QAbstractButton>(dialog, name)->click(); }
    int run(TALIKCHK& dialog, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, script);
        return dialog.exec();
    }
};

TEST_F(EnvironmentDialog, OpensWithEveryValueInItsControl)
{
    TALIKCHK dialog(state);
    EXPECT_EQ(dialog.windowTitle(), "住所録チェック項目登録　＆　環境設定");
    EXPECT_EQ(text(dialog, 0)->text(), "年賀状");
    EXPECT_EQ(text(dialog, 19)->text(), "102-0082");
    EXPECT_EQ(text(dialog, 20)->text(), "*");
    EXPECT_EQ(text(dialog, 21)->text(), "11");
    for (int i = 0; i <= 24; ++i) {
        EXPECT_NE(text(dialog, i), nullptr) << i;
    }
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option1_2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option2_1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option3_0")->isChecked()); // an unset action reads as 1
    auto* fonts = child<QComboBox>(dialog, "Combo1");
    EXPECT_EQ(fonts->currentText(), "見当たらないフォント"); // kept although this system lacks it
    for (int i = 0; i < fonts->count(); ++i) {
        EXPECT_FALSE(fonts->itemText(i).startsWith('@')) << fonts->itemText(i).toStdString();
    }
    EXPECT_EQ(child<QLabel>(dialog, "FontSample")->font().pointSize(), 11);
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), "モデム設定等は自動ダイヤル機能を利用する時に必要となります。");
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), "表示項目選択");
    EXPECT_EQ(child<QPushButton>(dialog, "Command2_0")->text(), "登録");
    EXPECT_EQ(child<QPushButton>(dialog, "Command2_1")->text(), "取り消し");
    EXPECT_EQ(dialog.findChild<QCheckBox*>("Check1"), nullptr); // no input-method switch here
}

TEST_F(EnvironmentDialog, Check5IsEnabledOnlyWhileCheck4IsChecked)
{
    TALIKCHK dialog(state);
    auto* harupo = child<QCheckBox>(dialog, "Check4");
    auto* autoStart = child<QCheckBox>(dialog, "Check5");
    EXPECT_FALSE(autoStart->isEnabled());
    harupo->click();
    EXPECT_TRUE(autoStart->isEnabled());
    harupo->click();
    EXPECT_FALSE(autoStart->isEnabled());
}

TEST_F(EnvironmentDialog, ClickingTheTraySwitchTellsItTakesEffectAtTheNextStart)
{
    state.settings.TaskTray = -1;
    TALIKCHK dialog(state);
    EXPECT_TRUE(child<QCheckBox>(dialog, "Check3")->isChecked());
    EXPECT_TRUE(ui.shown.empty()); // filling the box tells nothing
    click(dialog, "Check3");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "タスクトレイの設定は、次回のRinmaro\r\n起動時に有効になります。");
}

TEST_F(EnvironmentDialog, BoxesTakeOnlyWhatReadsBackAndPostalCodesOnlyDigits)
{
    TALIKCHK dialog(state);
    QTest::keyClicks(text(dialog, 1), QString(45, 'a'));
    EXPECT_EQ(text(dialog, 1)->text().size(), 39);
    QTest::keyClicks(text(dialog, 17), QString(85, 'b'));
    EXPECT_EQ(text(dialog, 17)->text().size(), 79);
    text(dialog, 2)->clear();
    TypeText(text(dialog, 2), "あいうえおかきくけこさしすせそたちつてとな"); // 21 characters, 42 bytes
    EXPECT_EQ(text(dialog, 2)->text(), "あいうえおかきくけこさしすせそたちつて");
    for (int box : {19, 21, 24}) {
        text(dialog, box)->clear();
        QTest::keyClicks(text(dialog, box), "1a2-x");
        EXPECT_EQ(text(dialog, box)->text(), "12-") << box;
    }
}

TEST_F(EnvironmentDialog, StoringWritesTheChoicesAndCloses)
{
    TALIKCHK dialog(state);
    int result = run(dialog, [&] {
        click(dialog, "Option1_0");
        click(dialog, "Option2_0");
        click(dialog, "Option3_4");
        click(dialog, "Check4");
        click(dialog, "Check5");
        text(dialog, 3)->setText("暑中見舞い");
        text(dialog, 21)->setText("4");
        click(dialog, "Command2_0");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ProfileDocument doc = ProfileDocument::load(iniPath());
    EXPECT_EQ(doc.value("System", "ComPort"), "1");
    EXPECT_EQ(doc.value("System", "ComTelType"), "1");
    EXPECT_EQ(doc.value("System", "DBLClickOPT"), "5");
    EXPECT_EQ(doc.value("System", "UseHarupo"), "-1");
    EXPECT_EQ(doc.value("System", "HarupoRun"), "0");
    EXPECT_EQ(doc.value("System", "AddressCheck3"), "暑中見舞い");
    EXPECT_EQ(doc.value("System", "ListFontSize"), "6");
    EXPECT_EQ(doc.value("System", "DBPathAddr"), "*");
    EXPECT_EQ(doc.value("System", "Other"), "kept");
    EXPECT_EQ(state.settings.DBLClickOPT, 5);
    EXPECT_TRUE(dialog.stored().listFontChanged);
}

TEST_F(EnvironmentDialog, CancelLeavesTheFileAndTheProgramAsTheyWere)
{
    const std::string before = iniBytes();
    const Settings was = state.settings;
    TALIKCHK dialog(state);
    int result = run(dialog, [&] {
        click(dialog, "Option1_4");
        click(dialog, "Option2_0");
        click(dialog, "Option3_2");
        click(dialog, "Check2");
        text(dialog, 0)->setText("変更");
        click(dialog, "Command2_1");
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(state.EditStatus, ' ');
    EXPECT_EQ(iniBytes(), before);
    EXPECT_EQ(state.settings.ComPort, was.ComPort);
    EXPECT_EQ(state.settings.ComTelType, was.ComTelType);
    EXPECT_EQ(state.settings.DBLClickOPT, was.DBLClickOPT);
    EXPECT_EQ(state.settings.AddressCheck, was.AddressCheck);
}

TEST_F(EnvironmentDialog, ABadFolderOrSizeKeepsTheDialogOpenAndStoresNothing)
{
    const std::string before = iniBytes();
    TALIKCHK dialog(state);
    bool stillOpen = false;
    int result = run(dialog, [&] {
        text(dialog, 20)->setText(QString::fromStdString(dir.str() + "/missing"));
        click(dialog, "Command2_0");
        text(dialog, 20)->setText("*");
        text(dialog, 21)->setText(".");
        click(dialog, "Command2_0");
        stillOpen = dialog.isVisible();
        click(dialog, "Command2_1");
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].text, "ディレクトリーの指定が正しくありません。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.shown[1].text, "正しい数値を入力してください。");
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(EnvironmentDialog, TheChooserPutsTheChosenFolderIntoTheBox)
{
    state.DataPath = dir.str();
    ui.fileAnswers.push_back(dir.str() + "/chosen");
    ui.fileAnswers.push_back(std::nullopt);
    TALIKCHK dialog(state);
    click(dialog, "Command3");
    EXPECT_EQ(text(dialog, 20)->text().toStdString(), dir.str() + "/chosen");
    click(dialog, "Command3"); // cancelled: the box keeps its text
    EXPECT_EQ(text(dialog, 20)->text().toStdString(), dir.str() + "/chosen");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].kind, "folder");
    EXPECT_EQ(ui.shown[0].text, dir.str()); // "*" starts at the folder in use
}

TEST_F(EnvironmentDialog, TheColumnChoiceOpensTheListColumnSettings)
{
    TALIKCHK dialog(state);
    WhenModalShows<TALIKSET>([](TALIKSET* columns) { columns->findChild<QPushButton*>("Command1_1")->click(); });
    click(dialog, "Command1");
    EXPECT_FALSE(dialog.columnsChanged());
    WhenModalShows<TALIKSET>([](TALIKSET* columns) { columns->findChild<QPushButton*>("Command1_0")->click(); });
    click(dialog, "Command1");
    EXPECT_TRUE(dialog.columnsChanged());
}

// --- the modem test -----------------------------------------------------------------------------

// The other side of a pseudo-terminal: answers every command line ending in CR with `answer`.
class FakeModem
{
public:
    explicit FakeModem(std::string answer) : m_answer(std::move(answer))
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_GE(m_master, 0);
        grantpt(m_master);
        unlockpt(m_master);
        m_slavePath = ptsname(m_master);
        m_slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~FakeModem()
    {
        close(m_slave);
        close(m_master);
    }
    const std::string& slavePath() const { return m_slavePath; }
    void serve()
    {
        char chunk[256];
        ssize_t got = 0;
        while ((got = read(m_master, chunk, sizeof(chunk))) > 0) {
            received.append(chunk, static_cast<std::size_t>(got));
        }
        if (!m_answered && received.find('\r') != std::string::npos) {
            m_answered = true;
            (void)!write(m_master, m_answer.data(), m_answer.size());
        }
    }
    std::string received;

private:
    std::string m_answer;
    std::string m_slavePath;
    int m_master = -1;
    int m_slave = -1;
    bool m_answered = false;
};

// The modem answers while the test lets events run, as a real one answers while the program waits.
class ModemInteraction : public ScriptedInteraction
{
public:
    explicit ModemInteraction(FakeModem& modem) : m_modem(modem) {}
    void processEvents() override
    {
        ScriptedInteraction::processEvents();
        m_modem.serve();
    }

private:
    FakeModem& m_modem;
};

TEST(ModemTest, SendsTheInitialisationStringAndShowsTheModemsAnswer)
{
    FakeModem modem("\r\nOK\r\n");
    ModemInteraction ui(modem);
    FixedClock clock;
    PosixSerialPort port;
    setenv("TALIK_COM2", modem.slavePath().c_str(), 1);
    ModemTestResult result = RunModemTest(port, clock, ui, 2, "ATZ E0");
    unsetenv("TALIK_COM2");
    EXPECT_EQ(result.outcome, ModemTestOutcome::Answered);
    EXPECT_EQ(modem.received, "ATZ E0\r\n");
    EXPECT_EQ(result.reply, "OK");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(ModemTestMessage(result, 2), "COM2 のモデムが応答しました。\r\n\r\nOK");
}

TEST(ModemTest, AnErrorSilenceOrMissingPortIsSaid)
{
    FakeModem modem("\r\nERROR\r\n");
    ModemInteraction ui(modem);
    FixedClock clock;
    PosixSerialPort port;
    setenv("TALIK_COM4", modem.slavePath().c_str(), 1);
    ModemTestResult refused = RunModemTest(port, clock, ui, 4, "");
    EXPECT_EQ(refused.outcome, ModemTestOutcome::Refused);
    EXPECT_EQ(modem.received, "AT\r\n"); // an empty string still asks the modem
    EXPECT_EQ(refused.reply, "ERROR");

    FakeModem silent("");
    ModemInteraction quiet(silent);
    setenv("TALIK_COM4", silent.slavePath().c_str(), 1);
    ModemTestResult none = RunModemTest(port, clock, quiet, 4, "AT");
    EXPECT_EQ(none.outcome, ModemTestOutcome::NoAnswer);
    EXPECT_EQ(ModemTestMessage(none, 4), "COM4 のモデムから応答がありません。");

    setenv("TALIK_COM4", "/nonexistent/tty", 1);
    ModemTestResult missing = RunModemTest(port, clock, quiet, 4, "AT");
    unsetenv("TALIK_COM4");
    EXPECT_EQ(missing.outcome, ModemTestOutcome::PortUnusable);
    EXPECT_EQ(ModemTestMessage(missing, 4), "COM4 を開けません。\r\nモデムの接続とポートの設定を確認してください。");
}

TEST(ModemTest, TheDialogsButtonTestsTheChosenPortWithTheTypedString)
{
    FakeModem modem("ATZ\r\r\nOK\r\n");
    ModemInteraction ui(modem);
    FixedClock clock;
    AppState state(ui, clock);
    state.settings.ComPort = 1;
    setenv("TALIK_COM5", modem.slavePath().c_str(), 1);
    TALIKCHK dialog(state);
    dialog.findChild<QRadioButton*>("Option1_4")->click();
    dialog.findChild<QLineEdit*>("Text1_15")->setText("ATZ");
    dialog.findChild<QPushButton*>("ModemTest")->click();
    unsetenv("TALIK_COM5");
    EXPECT_EQ(modem.received, "ATZ\r\n");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "COM5 のモデムが応答しました。\r\n\r\nATZ\r\nOK");
    EXPECT_EQ(ui.shown[0].title, "モデムテスト");
    EXPECT_EQ(state.settings.ComPort, 1); // a test stores nothing
}

// --- the main window -----------------------------------------------------------------------------

class MainWindowSettings : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        addRecord("ｱｵｷ", "青木");
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    QTreeView* list() { return window->findChild<QTreeView*>("ListView1"); }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(MainWindowSettings, AStoredListFontIsTheListsFontAtOnce)
{
    ASSERT_TRUE(window->menus().PPSet->isEnabled());
    WhenModalShows<TALIKCHK>([](TALIKCHK* dialog) {
        dialog->findChild<QLineEdit*>("Text1_21")->setText("15");
        dialog->findChild<QPushButton*>("Command2_0")->click();
    });
    const int readingColumn = list()->header()->sectionSize(0);
    window->menus().PPSet->trigger();
    EXPECT_EQ(list()->font().pointSize(), 15);
    EXPECT_EQ(state.settings.ListFontSize, 15);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_GT(list()->header()->sectionSize(0), readingColumn); // the column grew with the font
}

// The stored "ＭＳ ゴシック", which this system lacks, is asked for as its stand-in: the list shares the
// window's Gothic at once instead of Qt searching every font for the missing name.
TEST_F(MainWindowSettings, TheStoredGothicIsAskedForAsItsStandIn)
{
    ASSERT_EQ(state.settings.ListFontName, "ＭＳ ゴシック");
    EXPECT_EQ(list()->font().family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(list()->font()).family(), "IPAGothic");
}

TEST_F(EnvironmentDialog, TheFontSampleShowsWholeAtLargerSizesAndThePathBoxHoldsAUsualPath)
{
    TALIKCHK dialog(state);
    dialog.show();
    auto* sample = child<QLabel>(dialog, "FontSample");
    for (const char* size : {"14", "20"}) {
        text(dialog, 21)->setText(size);
        QApplication::processEvents();
        EXPECT_LE(sample->heightForWidth(sample->width()), sample->height()) << size << " points";
    }
    auto* path = text(dialog, 20);
    EXPECT_GE(path->width(), path->fontMetrics().horizontalAdvance("/home/someone/.local/share/talik/"));
}

TEST_F(MainWindowSettings, ANewDataFolderIsLoadedAndSaid)
{
    const std::filesystem::path other = dir.path() / "other";
    std::filesystem::create_directory(other);
    WhenModalShows<TALIKCHK>([&](TALIKCHK* dialog) {
        dialog->findChild<QLineEdit*>("Text1_20")->setText(QString::fromStdString(other.string()));
        dialog->findChild<QPushButton*>("Command2_0")->click();
    });
    window->menus().PPSet->trigger();
    EXPECT_TRUE(state.TablesLoaded);
    EXPECT_EQ(state.DataPath, other.string());
    EXPECT_EQ(state.tables.TotalCount, 0);
    EXPECT_EQ(list()->model()->rowCount(), 0);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "データベースを読み直しました");
}

} // namespace
} // namespace talik::test
