#include "store/settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/interaction.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "store/messages.h"
#include "store/record.h"
#include "store/settingscheck.h"

namespace talik {
namespace {

// Buffer sizes of the text reads: the longest value kept is one byte less.
constexpr std::size_t PathBuffer = 60;
constexpr std::size_t NameBuffer = 40;
constexpr std::size_t SenderBuffer = 80;
constexpr std::size_t DecimalBuffer = 20;
// One byte more than the longest value (a 30-byte name, 2 + 18 * 2 definition characters):
// the read keeps bufferSize - 1 bytes.
constexpr std::size_t CopyTitleBuffer = 31;
constexpr std::size_t CopyParmBuffer = 39;

constexpr std::string_view UnsetText = " "; // the default of free texts; reads as ""
constexpr std::string_view DefaultFontName = "ＭＳ ゴシック";
constexpr std::string_view DefaultCopyParm = "020702";
constexpr int DefaultColumnWidth = 1500;

std::string TwoDigits(int n)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02d", n);
    return text;
}

std::string Numbered(std::string_view key, int n)
{
    return std::string(key) + std::to_string(n);
}

std::string DefaultDbName(int dbNo)
{
    return Numbered("データベース", dbNo);
}

std::string DefaultCopyTitle(int index)
{
    return "コピー" + TwoDigits(index + 1);
}

// The reads of one section of a loaded file.
class SectionReader
{
public:
    SectionReader(const ProfileDocument& doc, std::string section) : m_doc(doc), m_section(std::move(section)) {}

    std::string text(std::string_view key, std::string_view def, std::size_t bufferSize) const
    {
        return CleanFixed(ProfileString(m_doc, m_section, key, def, bufferSize));
    }
    int integer(std::string_view key, int def) const { return ProfileInt(m_doc, m_section, key, def); }
    float decimal(std::string_view key, std::string_view def) const
    {
        return ParseDecimal(text(key, def, DecimalBuffer));
    }

private:
    const ProfileDocument& m_doc;
    std::string m_section;
};

// The writes into one section of a loaded file; every value is stored as text.
class SectionWriter
{
public:
    SectionWriter(ProfileDocument& doc, std::string section) : m_doc(doc), m_section(std::move(section)) {}

    void text(std::string_view key, std::string_view value) { m_doc.set(m_section, key, value); }
    void integer(std::string_view key, int value) { text(key, std::to_string(value)); }
    // Keys older copies never wrote are written only once they leave their default, so a file of
    // someone who never used them stays as it was.
    void integerOnceUsed(std::string_view key, int value, int unset)
    {
        if (value != unset || m_doc.value(m_section, key)) {
            integer(key, value);
        }
    }
    void decimal(std::string_view key, float value) { text(key, FormatDecimal(value)); }

private:
    ProfileDocument& m_doc;
    std::string m_section;
};

// --- the print scale, kept as a factor and stored in percent --------------------------------------

float ScaleFromPercent(std::string_view percentText)
{
    return ParseDecimal(percentText) / 100.0f;
}

// The shortest percent text that reads back as the same factor, so "85" stays "85" although
// 0.85 has no exact binary form.
std::string PercentText(float scale)
{
    const double percent = static_cast<double>(scale) * 100.0;
    for (int decimals = 0; decimals <= 6; ++decimals) {
        char text[64];
        auto end = std::to_chars(std::begin(text), std::end(text), percent, std::chars_format::fixed, decimals).ptr;
        std::string candidate(std::begin(text), end);
        if (ScaleFromPercent(candidate) == scale) {
            return candidate;
        }
    }
    return FormatDecimal(scale * 100.0f);
}

// --- print layout -----------------------------------------------------------------------------------

struct LayoutPointKeys
{
    std::string_view leftKey;
    std::string_view topKey;
    LayoutPoint PrintLayout::*point;
    std::string_view leftDefault;
    std::string_view topDefault;
};

// The "L_" keys in the order they are written.
constexpr LayoutPointKeys LayoutPoints[] = {
    {"L_AddrLeft", "L_AddrTop", &PrintLayout::L_Addr, "87", "25"},
    {"L_CorpLeft", "L_CorpTop", &PrintLayout::L_Corp, "69", "30"},
    {"L_SectLeft", "L_SectTop", &PrintLayout::L_Sect, "62", "30"},
    {"L_NameLeft", "L_NameTop", &PrintLayout::L_Name, "49", "35"},
    {"L_SendLeft", "L_SendTop", &PrintLayout::L_Send, "23", "60"},
    {"L_SYNumLeft", "L_SYNumTop", &PrintLayout::L_SYNum, "6.5", "124"},
    {"L_AddrLeftH", "L_AddrTopH", &PrintLayout::L_AddrH, "10", "50"},
    {"L_CorpLeftH", "L_CorpTopH", &PrintLayout::L_CorpH, "20", "55"},
    {"L_SectLeftH", "L_SectTopH", &PrintLayout::L_SectH, "20", "60"},
    {"L_NameLeftH", "L_NameTopH", &PrintLayout::L_NameH, "25", "70"},
    {"L_SendLeftH", "L_SendTopH", &PrintLayout::L_SendH, "30", "90"},
    {"L_SYNumLeftH", "L_SYNumTopH", &PrintLayout::L_SYNumH, "6.5", "124"},
};

struct ItemRange
{
    int first;
    int last;
};

// The font items a part of the program prints: the postcard 0..6, the list and labels 10..14.
ItemRange FontItems(int part)
{
    switch (part) {
    case 1:
        return {0, 6};
    case 2:
        return {10, 14};
    default:
        return {0, PrintItemTotal - 1};
    }
}

void ReadFonts(PrintLayout& layout, const SectionReader& in, ItemRange items)
{
    for (int item = items.first; item <= items.last; ++item) {
        layout.AddrFontName[item] = in.text(Numbered("AddrFontName", item), DefaultFontName, NameBuffer);
        layout.AddrFontSize[item] = in.integer(Numbered("AddrFontSize", item), 0);
    }
}

void ReadPostcardKeys(PrintLayout& layout, const SectionReader& in)
{
    layout.AddrDispX = in.decimal("AddrDispX", "0");
    layout.AddrDispY = in.decimal("AddrDispY", "0");
    for (const LayoutPointKeys& keys : LayoutPoints) {
        LayoutPoint& point = layout.*keys.point;
        point.left = in.decimal(keys.leftKey, keys.leftDefault);
        point.top = in.decimal(keys.topKey, keys.topDefault);
    }
    layout.PrintDirection = in.integer("PrintDirection", 0);
    layout.AddrNumChange = in.integer("AddrNumChange", 0);
    layout.AddrNum7 = in.integer("AddrNum7", 1);
    layout.AddrNumStyle = in.integer("AddrNumStyle", 0);
    layout.AddrJointNames = in.integer("AddrJointNames", 1);
    layout.AddrFromSet = in.integer("AddrFromSet", 0);
}

void ReadSheetKeys(PrintLayout& layout, const SectionReader& in)
{
    layout.AddrDispXT = in.decimal("AddrDispXT", "0");
    layout.AddrDispYT = in.decimal("AddrDispYT", "0");
    layout.AddrBoxWidth = in.decimal("AddrBoxWidth", "0");
    layout.AddrBoxHeight = in.decimal("AddrBoxHeight", "0");
    layout.AddrGapH = in.decimal("AddrGapH", "0");
    layout.AddrGapV = in.decimal("AddrGapV", "0");
}

// --- general keys, in the order they are read ---------------------------------------------------------

void ReadWindow(WindowGeometry& window, const SectionReader& in, std::string_view prefix)
{
    const std::string key(prefix);
    window.left = in.integer(key + "Left", 0);
    window.top = in.integer(key + "Top", 0);
    window.width = in.integer(key + "Width", 7500);
    window.height = in.integer(key + "Height", 4900);
}

void ReadPathWindowsAndChecks(Settings& s, const SectionReader& in)
{
    s.DBPathAddr = in.text("DBPathAddr", "*", PathBuffer);
    ReadWindow(s.ListWindow, in, "Addr0");
    ReadWindow(s.SearchWindow, in, "Addr1");
    for (int i = 0; i < static_cast<int>(s.AddressCheck.size()); ++i) {
        s.AddressCheck[i] = in.text(Numbered("AddressCheck", i), UnsetText, NameBuffer);
    }
}

void ReadModemAndSenders(Settings& s, const SectionReader& in)
{
    s.ComInitChar = in.text("ComInitChar", UnsetText, NameBuffer);
    s.ComExtTel = in.text("ComExtTel", UnsetText, NameBuffer);
    s.ComPort = in.integer("ComPort", 0);
    s.ComTelType = in.integer("ComTelType", 0);
    s.DBLClickOPT = in.integer("DBLClickOPT", 0);
    s.MsgType = in.integer("MsgType", 1);
    s.FromAddr = in.text("FromAddr", UnsetText, SenderBuffer);
    s.FromName = in.text("FromName", UnsetText, SenderBuffer);
    s.FromPost = in.text("FromPost", UnsetText, SenderBuffer);
    s.FromAddr1 = in.text("FromAddr1", UnsetText, SenderBuffer);
    s.FromName1 = in.text("FromName1", UnsetText, SenderBuffer);
    s.FromPost1 = in.text("FromPost1", UnsetText, SenderBuffer);
    s.BackupPath = in.text("BackupPath", UnsetText, SenderBuffer);
}

void ReadDatabasesAndSwitches(Settings& s, const SectionReader& in)
{
    for (int dbNo = 1; dbNo <= static_cast<int>(s.AddrDBName.size()); ++dbNo) {
        s.AddrDBName[dbNo - 1] = in.text(Numbered("AddrDBName", dbNo), DefaultDbName(dbNo), SenderBuffer);
    }
    s.AddrDBAct = in.integer("AddrDBAct", 1);
    s.IME_Off = in.integer("IME_Off", 0);
    s.End_Check = in.integer("End_Check", 0);
    s.TaskTray = in.integer("TaskTray", 0);
    s.ListMode = in.integer("ListMode", 0);
    s.UseHarupo = in.integer("UseHarupo", 0);
    s.HarupoRun = in.integer("HarupoRun", -1);
    s.ExtTelFlag = in.integer("ExtTelFlag", 0);
    s.CardYear = in.integer("CardYear", 0);
    s.SeasonView = in.integer("SeasonView", 0);
}

void ReadListAndScale(Settings& s, const SectionReader& in)
{
    for (int column = 0; column < static_cast<int>(s.ColumnWidth.size()); ++column) {
        s.ColumnWidth[column] = in.integer(Numbered("ColumnWidth", column), DefaultColumnWidth);
    }
    s.ListFontName = in.text("ListFontName", DefaultFontName, NameBuffer);
    s.ListFontSize = in.integer("ListFontSize", 10);
    s.AddrPrtScale = ScaleFromPercent(in.text("AddrPrtScale", "100", DecimalBuffer));
    s.AddrDispXL = in.decimal("AddrDispXL", "0");
    s.AddrDispYL = in.decimal("AddrDispYL", "0");
    for (int n = 1; n <= static_cast<int>(s.ListSelTable.size()); ++n) {
        s.ListSelTable[n - 1] = in.integer(Numbered("ListSelTable", n), n <= 2 ? 1 : 0) != 0;
    }
}

void ReadCopySettings(std::array<CopySetting, CopySettingTotal>& copies, const SectionReader& in)
{
    for (int i = 0; i < CopySettingTotal; ++i) {
        copies[i].title = in.text("Title" + TwoDigits(i), DefaultCopyTitle(i), CopyTitleBuffer);
        copies[i].parm = in.text("Parm" + TwoDigits(i), DefaultCopyParm, CopyParmBuffer);
    }
}

void ReadCaptions(FieldCaptions& captions, const SectionReader& in)
{
    const FieldCaptions defaults;
    captions.kana = in.text("フリガナ", defaults.kana, NameBuffer);
    captions.name = in.text("名前", defaults.name, NameBuffer);
    captions.email = in.text("EMail", defaults.email, NameBuffer);
    captions.address1 = in.text("住所１", defaults.address1, NameBuffer);
    captions.postCode1 = in.text("郵便番号１", defaults.postCode1, NameBuffer);
    captions.address2 = in.text("住所２", defaults.address2, NameBuffer);
    captions.postCode2 = in.text("郵便番号２", defaults.postCode2, NameBuffer);
    captions.company = in.text("勤務先", defaults.company, NameBuffer);
    captions.department = in.text("部署名", defaults.department, NameBuffer);
    captions.remarks = in.text("備考", defaults.remarks, NameBuffer);
    captions.birthday = in.text("生年月日", defaults.birthday, NameBuffer);
    captions.classCode = in.text("分類コード", defaults.classCode, NameBuffer);
}

// --- the keys written at exit, in their order ---------------------------------------------------------

void WriteWindow(SectionWriter& out, const WindowGeometry& window, std::string_view prefix)
{
    const std::string key(prefix);
    out.integer(key + "Left", window.left);
    out.integer(key + "Top", window.top);
    out.integer(key + "Width", window.width);
    out.integer(key + "Height", window.height);
}

void WriteFontsAndColumns(SectionWriter& out, const Settings& s)
{
    for (int item = 0; item < PrintItemTotal; ++item) {
        out.text(Numbered("AddrFontName", item), s.Layout.AddrFontName[item]);
        out.integer(Numbered("AddrFontSize", item), s.Layout.AddrFontSize[item]);
    }
    for (int column = 0; column < static_cast<int>(s.ColumnWidth.size()); ++column) {
        out.integer(Numbered("ColumnWidth", column), s.ColumnWidth[column]);
    }
}

void WriteOptionsAndOffsets(SectionWriter& out, const Settings& s)
{
    const PrintLayout& layout = s.Layout;
    out.integer("AddrFromSet", layout.AddrFromSet);
    out.integer("AddrNumChange", layout.AddrNumChange);
    out.integer("AddrNum7", layout.AddrNum7);
    out.integerOnceUsed("AddrNumStyle", layout.AddrNumStyle, 0);
    out.integerOnceUsed("AddrJointNames", layout.AddrJointNames, 1);
    out.decimal("AddrDispX", layout.AddrDispX);
    out.decimal("AddrDispY", layout.AddrDispY);
    out.decimal("AddrDispXT", layout.AddrDispXT);
    out.decimal("AddrDispYT", layout.AddrDispYT);
    out.decimal("AddrDispXL", s.AddrDispXL);
    out.decimal("AddrDispYL", s.AddrDispYL);
    out.integer("AddrDBAct", s.AddrDBAct);
    out.decimal("AddrBoxWidth", layout.AddrBoxWidth);
    out.decimal("AddrBoxHeight", layout.AddrBoxHeight);
    out.text("AddrPrtScale", PercentText(s.AddrPrtScale));
    out.decimal("AddrGapH", layout.AddrGapH);
    out.decimal("AddrGapV", layout.AddrGapV);
}

void WriteLayoutPoints(SectionWriter& out, const PrintLayout& layout)
{
    for (const LayoutPointKeys& keys : LayoutPoints) {
        const LayoutPoint& point = layout.*keys.point;
        out.decimal(keys.leftKey, point.left);
        out.decimal(keys.topKey, point.top);
    }
}

void WriteCopySettings(SectionWriter out, const std::array<CopySetting, CopySettingTotal>& copies)
{
    for (int i = 0; i < CopySettingTotal; ++i) {
        out.text("Title" + TwoDigits(i), copies[i].title);
        out.text("Parm" + TwoDigits(i), copies[i].parm);
    }
}

} // namespace

PrintLayout::PrintLayout()
{
    AddrFontName.fill(std::string(DefaultFontName));
}

Settings::Settings()
{
    for (int dbNo = 1; dbNo <= static_cast<int>(AddrDBName.size()); ++dbNo) {
        AddrDBName[dbNo - 1] = DefaultDbName(dbNo);
    }
    ColumnWidth.fill(DefaultColumnWidth);
    for (int i = 0; i < CopySettingTotal; ++i) {
        Copy[i] = {DefaultCopyTitle(i), std::string(DefaultCopyParm)};
    }
}

std::string SettingsSection(int mode)
{
    return mode == 0 ? std::string("System") : "System_" + TwoDigits(mode);
}

std::string CopySettingSection(int mode)
{
    return "Copy_Setting_" + TwoDigits(mode);
}

std::string CaptionSection(int mode)
{
    return "Label_" + TwoDigits(mode);
}

std::string SettingsFile(const std::string& profileFolder)
{
    return ResolveNoCase(profileFolder, std::string(SettingsFileName));
}

std::string CaptionsFile(const std::string& programFolder)
{
    return ResolveNoCase(programFolder, std::string(CaptionsFileName));
}

void ReadSettings(Settings& settings, const std::string& settingsFile, const std::string& captionsFile, int mode)
{
    const ProfileDocument doc = ProfileDocument::load(settingsFile);
    const SectionReader in(doc, SettingsSection(mode));
    ReadPathWindowsAndChecks(settings, in);
    ReadModemAndSenders(settings, in);
    ReadDatabasesAndSwitches(settings, in);
    ReadListAndScale(settings, in);
    ReadCopySettings(settings.Copy, SectionReader(doc, CopySettingSection(mode)));
    const ProfileDocument captions = ProfileDocument::load(captionsFile);
    ReadCaptions(settings.Captions, SectionReader(captions, CaptionSection(mode)));
    ReadLayout(settings.Layout, doc, mode, 0);
    CheckReadSettings(settings);
}

void ReadLayout(PrintLayout& layout, const ProfileDocument& doc, int mode, int part)
{
    const SectionReader in(doc, SettingsSection(mode));
    ReadFonts(layout, in, FontItems(part));
    if (part != 2) {
        ReadPostcardKeys(layout, in);
    }
    if (part != 1) {
        ReadSheetKeys(layout, in);
    }
}

void ReadLayout(PrintLayout& layout, const std::string& settingsFile, int mode, int part)
{
    ReadLayout(layout, ProfileDocument::load(settingsFile), mode, part);
}

bool WriteSettings(const Settings& settings, const std::string& settingsFile, int mode)
{
    return UpdateProfile(settingsFile, [&](ProfileDocument& doc) {
        SectionWriter out(doc, SettingsSection(mode));
        WriteWindow(out, settings.ListWindow, "Addr0");
        WriteWindow(out, settings.SearchWindow, "Addr1");
        WriteFontsAndColumns(out, settings);
        WriteOptionsAndOffsets(out, settings);
        WriteLayoutPoints(out, settings.Layout);
        out.integer("PrintDirection", settings.Layout.PrintDirection);
        out.integer("ListMode", settings.ListMode);
        out.text("BackupPath", settings.BackupPath);
        out.integerOnceUsed("CardYear", settings.CardYear, 0);
        out.integerOnceUsed("SeasonView", settings.SeasonView, 0);
        WriteCopySettings(SectionWriter(doc, CopySettingSection(mode)), settings.Copy);
    });
}

bool WriteDbNames(const Settings& settings, const std::string& settingsFile, int mode)
{
    return UpdateProfile(settingsFile, [&](ProfileDocument& doc) {
        SectionWriter out(doc, SettingsSection(mode));
        for (int dbNo = 1; dbNo <= static_cast<int>(settings.AddrDBName.size()); ++dbNo) {
            out.text(Numbered("AddrDBName", dbNo), settings.AddrDBName[dbNo - 1]);
        }
    });
}

void TellSettingsNotWritten(Interaction& ui, const std::string& settingsFile)
{
    TellFileNotWritten(ui, "設定ファイル", settingsFile);
}

std::string DataPathFromSetting(std::string_view dbPathAddr, const std::string& writableProgramFolder)
{
    if (!dbPathAddr.empty() && dbPathAddr.front() == '*') {
        return WithoutTrailingSlash(writableProgramFolder);
    }
    std::string path(dbPathAddr);
    if (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    return path;
}

float ParseDecimal(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return 0;
    }
    text.remove_prefix(start);
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+') {
        text.remove_prefix(1);
    }
    // Digits with at most one "."; whatever follows is not part of the number.
    std::size_t end = text.find_first_not_of("0123456789");
    if (end != std::string_view::npos && text[end] == '.') {
        end = text.find_first_not_of("0123456789", end + 1);
    }
    text = text.substr(0, end);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return static_cast<float>(negative ? -value : value);
}

std::string FormatDecimal(float value)
{
    if (!std::isfinite(value)) {
        return "0"; // no reader takes "inf" or "nan" for a number
    }
    // Fixed notation, because the reader takes no exponent.
    char text[64];
    auto end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed).ptr;
    return std::string(std::begin(text), end);
}

} // namespace talik
