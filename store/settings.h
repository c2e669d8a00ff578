#pragma once
// Every setting of the program with its key, type and default, read once at start and written back
// by the dialogs that change them and at exit.
#include <array>
#include <string>
#include <string_view>

namespace talik {

// The list font sizes the settings dialog accepts, and reading the settings keeps to.
inline constexpr int MinListFontSize = 6;
inline constexpr int MaxListFontSize = 72;
inline constexpr int ComPortTotal = 5;

class Interaction;
class ProfileDocument;

inline constexpr std::string_view SettingsFileName = "QXSCH.INI";
inline constexpr std::string_view CaptionsFileName = "talik.ini";
inline constexpr int PrintItemTotal = 17; // print items 0..16
inline constexpr int CopySettingTotal = 4;

// A window's place and size in twips.
struct WindowGeometry
{
    int left = 0;
    int top = 0;
    int width = 7500;
    int height = 4900;
};

struct CopySetting
{
    std::string title; // "コピー01" ...
    std::string parm;  // item codes, "020702"
};

// The captions of the record editor's field labels ("talik.ini", never written).
struct FieldCaptions
{
    std::string kana = "フリガナ";
    std::string name = "名　　前";
    std::string email = "E-Mail";
    std::string address1 = "住 所 １";
    std::string postCode1 = "郵便番号";
    std::string address2 = "住 所 ２";
    std::string postCode2 = "郵便番号";
    std::string company = "勤 務 先";
    std::string department = "部 署 名";
    std::string remarks = "備　　考";
    std::string birthday = "生年月日";
    std::string classCode = "分類コード";
};

// A position of the postcard layout, millimetres.
struct LayoutPoint
{
    float left = 0;
    float top = 0;
};

// The print-layout settings.
struct PrintLayout
{
    std::array<std::string, PrintItemTotal> AddrFontName;
    std::array<int, PrintItemTotal> AddrFontSize{};
    float AddrDispX = 0, AddrDispY = 0;
    // Vertical writing ("L_...Left/Top") and horizontal writing ("L_...LeftH/TopH").
    LayoutPoint L_Addr{87, 25}, L_Corp{69, 30}, L_Sect{62, 30}, L_Name{49, 35}, L_Send{23, 60}, L_SYNum{6.5f, 124};
    LayoutPoint L_AddrH{10, 50}, L_CorpH{20, 55}, L_SectH{20, 60}, L_NameH{25, 70}, L_SendH{30, 90},
        L_SYNumH{6.5f, 124};
    int PrintDirection = 0;
    int AddrNumChange = 0;
    // Seven-digit code boxes unless a file says 0: every card printed since 1998 carries seven.
    int AddrNum7 = 1;
    // How kanji numerals are written when "AddrNumChange" asks for them: 0 digit by digit, 1 as
    // spoken, 2 with 丁目・番・号.
    int AddrNumStyle = 0;
    // Whether a recipient's joint names are printed beside the main name.
    int AddrJointNames = 1;
    int AddrFromSet = 0;
    float AddrDispXT = 0, AddrDispYT = 0;
    float AddrBoxWidth = 0, AddrBoxHeight = 0;
    float AddrGapH = 0, AddrGapV = 0;

    PrintLayout();
};

struct Settings
{
    std::string DBPathAddr = "*";
    WindowGeometry ListWindow;   // "Addr0Left" ... "Addr0Height"
    WindowGeometry SearchWindow; // "Addr1Left" ... "Addr1Height"
    std::array<std::string, 15> AddressCheck;
    std::string ComInitChar;
    std::string ComExtTel;
    int ComPort = 0;
    int ComTelType = 0;
    int DBLClickOPT = 0;
    int MsgType = 1;
    std::string FromAddr, FromName, FromPost;
    std::string FromAddr1, FromName1, FromPost1;
    std::string BackupPath;
    std::array<std::string, 10> AddrDBName; // "データベース1" ...
    int AddrDBAct = 1;
    int IME_Off = 0;
    int End_Check = 0;
    int TaskTray = 0;
    int ListMode = 0;
    int UseHarupo = 0;
    int HarupoRun = -1;
    int ExtTelFlag = 0;
    int CardYear = 0;   // the New Year the card season marks; 0: the coming one
    int SeasonView = 0; // 年賀状モード: the list shows this year's card marks
    std::array<int, 13> ColumnWidth;
    std::string ListFontName = "ＭＳ ゴシック";
    int ListFontSize = 10;
    float AddrPrtScale = 1.0f; // kept divided by 100: "85" reads as 0.85
    float AddrDispXL = 0, AddrDispYL = 0;
    std::array<bool, 12> ListSelTable{true, true};
    std::array<CopySetting, CopySettingTotal> Copy;
    FieldCaptions Captions;
    PrintLayout Layout;

    Settings(); // the defaults of every key
};

// "System" for mode 0, "System_05" for mode 5.
std::string SettingsSection(int mode);
// "Copy_Setting_00" ... (mode 0 included).
std::string CopySettingSection(int mode);
// "Label_00" ... in the captions file.
std::string CaptionSection(int mode);

// The settings file in the profile folder, and the captions file in the program folder (each
// found without regard to case when it exists).
std::string SettingsFile(const std::string& profileFolder);
std::string CaptionsFile(const std::string& programFolder);

// Fills every setting from the files (defaults for whatever is missing), the whole print layout included.
void ReadSettings(Settings& settings, const std::string& settingsFile, const std::string& captionsFile, int mode);
// Reads the print-layout keys of `part`: 0 all, 1 the postcard's (font items 0..6), 2 the list and
// label sheets' (font items 10..14).
void ReadLayout(PrintLayout& layout, const ProfileDocument& doc, int mode, int part);
void ReadLayout(PrintLayout& layout, const std::string& settingsFile, int mode, int part);
// The writers hold the settings file's lock from reading it to replacing it, so that copies of
// other modes writing at the same time keep each other's keys.
// Writes the keys that are written at exit, in their order; false when the file could not be written.
bool WriteSettings(const Settings& settings, const std::string& settingsFile, int mode);
// Writes "AddrDBName1" ... "AddrDBName10"; false when the file could not be written.
bool WriteDbNames(const Settings& settings, const std::string& settingsFile, int mode);
// Tells the user that a change of theirs did not reach the settings file.
void TellSettingsNotWritten(Interaction& ui, const std::string& settingsFile);

// The data folder a "DBPathAddr" value names: "*..." is the program's own (writable) folder; a
// trailing "\" or "/" is removed.
std::string DataPathFromSetting(std::string_view dbPathAddr, const std::string& writableProgramFolder);

// A decimal setting read as the program's number parser does: leading blanks, an optional sign,
// digits with one "."; whatever follows is ignored; no number at all reads as 0.
float ParseDecimal(std::string_view text);
// The shortest text that reads back as the same single-precision value, always with ".".
std::string FormatDecimal(float value);

} // namespace talik
