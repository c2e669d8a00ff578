#include "cli/cliprint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <string_view>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "listwin/appstate.h"
#include "print/calibration.h"
#include "print/pagerelay.h"
#include "print/printdispatch.h"
#include "print/printloop.h"
#include "print/printsettingsfile.h"
#include "print/printwork.h"
#include "print/qtcanvas.h"
#include "print/seasonprint.h"
#include "store/database.h"
#include "store/kana.h"
#include "store/record.h"
#include "ui/fonts.h"

namespace talik {
namespace {

// ---- The command line of print ----

bool ParseWhole(std::string_view text, int& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

std::optional<char> KindNamed(std::string_view name)
{
    if (name == "postcards") {
        return PrintPostcards;
    }
    if (name == "labels") {
        return PrintLabels;
    }
    if (name == "list") {
        return PrintList;
    }
    return std::nullopt;
}

// "2,5,9": record numbers, each once.
bool ParseRecords(std::string_view value, std::vector<std::int32_t>& records)
{
    for (std::size_t from = 0; from <= value.size();) {
        std::size_t comma = std::min(value.find(',', from), value.size());
        int recNo = 0;
        if (!ParseWhole(value.substr(from, comma - from), recNo) || recNo < FirstRecNo || recNo > MaxRecNo ||
            std::find(records.begin(), records.end(), recNo) != records.end()) {
            return false;
        }
        records.push_back(recNo);
        from = comma + 1;
    }
    return true;
}

bool ParseCell(const std::string& value, int& cell)
{
    return ParseWhole(value, cell) && cell >= 1;
}

// What the options said beyond the request itself: which of them belong to one kind only.
struct ParseState
{
    PrintRequest request;
    bool kindGiven = false;
    bool labelOptionGiven = false;
};

bool Refuse(std::string& error, std::string why)
{
    error = std::move(why);
    return false;
}

bool ApplyFlag(const std::string& arg, ParseState& parse, std::string& error)
{
    PrintRequest& request = parse.request;
    if (arg == "--vertical" || arg == "--horizontal") {
        int direction = arg == "--vertical" ? 0 : 1;
        if (request.direction && *request.direction != direction) {
            return Refuse(error, "--vertical と --horizontal は同時に指定できません。");
        }
        request.direction = direction;
    } else if (arg == "--mark-sent") {
        request.markSent = true;
    } else if (arg == "--frames") {
        request.label.frames = true;
        parse.labelOptionGiven = true;
    } else if (arg == "--postal-mark") {
        request.label.postalMark = true;
        parse.labelOptionGiven = true;
    } else {
        return Refuse(error, "不明なオプションです: " + arg);
    }
    return true;
}

bool ApplyValue(const std::string& name, const std::string& value, ParseState& parse, std::string& error)
{
    PrintRequest& request = parse.request;
    if (name == "--out") {
        request.out = value;
        return !value.empty() || Refuse(error, "--out には出力する PDF ファイルを指定してください。");
    }
    if (name == "--printer") {
        request.printer = value;
        return !value.empty() || Refuse(error, "--printer にはプリンタ名を指定してください。");
    }
    if (name == "--kind") {
        if (value != "postcard" && value != "label") {
            return Refuse(error, "--kind は postcard か label で指定してください。");
        }
        request.kind = value == "postcard" ? PrintPostcards : PrintLabels;
        return true;
    }
    if (name == "--layout") {
        request.layout = value;
        return !value.empty() || Refuse(error, "--layout には印刷設定値ファイルを指定してください。");
    }
    if (name == "--season") {
        constexpr int FirstSeason = 1900;
        constexpr int LastSeason = 2200;
        int year = 0;
        if (!ParseWhole(value, year) || year < FirstSeason || year > LastSeason) {
            return Refuse(error, "--season には年 (1900-2200) を指定してください。");
        }
        request.season = year;
        return true;
    }
    if (name == "--records") {
        return ParseRecords(value, request.records) ||
               Refuse(error, "--records はレコード番号 (2-64000) をカンマで区切って、重複なく指定してください。");
    }
    parse.labelOptionGiven = true;
    int& cell = name == "--start-row" ? request.label.startRow : request.label.startColumn;
    return ParseCell(value, cell) || Refuse(error, name + " は 1 以上の数で指定してください。");
}

// The option at args[i] with its value ("--out=x.pdf" or "--out x.pdf"), or a flag.
bool ApplyOption(const std::vector<std::string>& args, std::size_t& i, ParseState& parse, std::string& error)
{
    auto option = TakeValuedOption(
        args, i, {"--out", "--printer", "--records", "--start-row", "--start-col", "--layout", "--kind", "--season"});
    if (!option) {
        return ApplyFlag(args[i], parse, error);
    }
    if (!option->value) {
        return Refuse(error, option->name + " には値が必要です。");
    }
    return ApplyValue(option->name, *option->value, parse, error);
}

bool ApplyKind(const std::string& arg, ParseState& parse, std::string& error)
{
    if (parse.kindGiven) {
        return Refuse(error, "余分な引数があります: " + arg);
    }
    if (arg == "calibration") {
        parse.request.calibration = true;
        parse.kindGiven = true;
        return true;
    }
    std::optional<char> kind = KindNamed(arg);
    if (!kind) {
        return Refuse(error, "印刷の種類は postcards, labels, list のいずれかで指定してください: " + arg);
    }
    parse.request.kind = *kind;
    parse.kindGiven = true;
    return true;
}

// The options that make sense only together.
bool CheckCombination(const ParseState& parse, std::string& error)
{
    const PrintRequest& request = parse.request;
    if (!parse.kindGiven) {
        return Refuse(error, "印刷の種類 (postcards, labels, list) を指定してください。");
    }
    if (request.calibration && request.kind == ' ') {
        return Refuse(error, "print calibration には --kind postcard|label を指定してください。");
    }
    if (request.printer.has_value() == !request.out.empty()) {
        return Refuse(error, "--out FILE.pdf か --printer NAME のどちらか一方を指定してください。");
    }
    if (request.direction && request.kind != PrintPostcards) {
        return Refuse(error, "--vertical, --horizontal ははがき (postcards) の指定です。");
    }
    if (request.layout && request.kind == PrintList) {
        return Refuse(error, "--layout ははがき (postcards) とタックシール (labels) の指定です。");
    }
    if (request.season && (request.calibration || (request.kind != PrintPostcards && request.kind != PrintLabels))) {
        return Refuse(error, "--season ははがき (postcards) とタックシール (labels) の指定です。");
    }
    if (request.markSent && !request.season) {
        return Refuse(error, "--mark-sent は --season と一緒に指定してください。");
    }
    if (parse.labelOptionGiven && request.kind != PrintLabels) {
        return Refuse(error, "--start-row, --start-col, --frames, --postal-mark はタックシール (labels) の指定です。");
    }
    return true;
}

// ---- The job ----

// The named records in the order given; nullopt (the user told) when one is not registered.
std::optional<ListModel> NamedRecords(AppState& state, const std::vector<std::int32_t>& records)
{
    ListModel list;
    for (std::int32_t recNo : records) {
        if (state.tables.usedFlag(recNo) != '1') {
            state.ui.message("レコード " + std::to_string(recNo) + " は登録されていません。", MessageIcon::Exclamation);
            return std::nullopt;
        }
        list.add({RecordKey(recNo), {}, {}});
    }
    return list;
}

// The items of `list` whose person gets a card in `year`, in the list's order.
ListModel ToSendOf(AppState& state, const ListModel& list, int year)
{
    ListModel chosen;
    for (std::int32_t recNo : ToSendRecords(state, RecordsOf(list), year)) {
        chosen.add({RecordKey(recNo), {}, {}});
    }
    return chosen;
}

// The lines the print dialogs would take from the work file, made and read in memory: the job is
// this run's alone, so it needs no file (nor its flush to the disk), and no other run can read
// it or write it between the two steps.
std::optional<PrintTable> PrepareTable(AppState& state, char kind, const ListModel& list)
{
    state.PrintKind = kind;
    int last = static_cast<int>(list.size()) - 1;
    bool recordNumbers = kind == PrintList;
    auto bytes = recordNumbers ? PrintRecNoBytes(state, list, 0, last) : PrintWorkBytes(state, list, 0, last);
    if (!bytes) {
        return std::nullopt;
    }
    return ParsePrintWork(*bytes, recordNumbers);
}

std::unique_ptr<QtCanvas> OpenCanvas(AppState& state, const PrintRequest& request, PrinterOpener printers)
{
    QPageSize size(request.kind == PrintPostcards ? QPageSize::Postcard : QPageSize::A4);
    if (request.printer) {
        auto canvas = printers != nullptr ? printers(QString::fromStdString(*request.printer), size) : nullptr;
        if (!canvas) {
            state.ui.message("プリンタ " + *request.printer + " を使用できません。", MessageIcon::Exclamation);
        }
        return canvas;
    }
    auto canvas = PdfCanvas(QString::fromStdString(request.out), size);
    if (!canvas) {
        state.ui.message(request.out + " に書き込めません。", MessageIcon::Exclamation);
    }
    return canvas;
}

// The records a job prints, and its table.
struct PreparedJob
{
    ListModel list;
    PrintTable table;
};

// The cell size the label dialog starts from when none is stored.
void DefaultLabelCells(PrintLayout& layout)
{
    constexpr float DefaultCellWidth = 60;
    constexpr float DefaultCellHeight = 34;
    layout.AddrBoxWidth = layout.AddrBoxWidth == 0 ? DefaultCellWidth : layout.AddrBoxWidth;
    layout.AddrBoxHeight = layout.AddrBoxHeight == 0 ? DefaultCellHeight : layout.AddrBoxHeight;
}

// Every card or page of the job, through the print loop the print dialogs use.
PrintRunResult DrawJob(PrintJob& job, char kind, Canvas& paper)
{
    job.target.preview = nullptr;
    if (kind == PrintPostcards) {
        job.table.PrintPos = FirstPostcardLine;
        return RunPrintLoop(job, kind, PostcardsFromStart(job.table), paper);
    }
    job.table.PrintPos = 1;
    job.PrintPageCount = CountPages(job, kind);
    return RunPrintLoop(job, kind, AllPages(job), paper);
}

// No display is needed for drawing, so the platform is "offscreen" unless the caller chose one. Set
// before any other thread runs: the environment is no place for a race.
void ChooseDrawingPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Qt for drawing, started on this thread once the platform is chosen. Only printing starts it, so the
// other commands never need it.
class DrawingQt
{
public:
    DrawingQt() : m_app(m_argc, m_argv)
    {
        InstallFontSubstitutions();
        // The font database is read now, while the job may still be in preparation elsewhere.
        QFontMetricsF(QFont()).ascent();
    }

private:
    int m_argc = 1;
    char m_name[9] = "talikcli";
    char* m_argv[2] = {m_name, nullptr};
    QGuiApplication m_app; // after what it is started with
};

// Runs `draw` on the paper of the request, once Qt is started.
int WithPaper(AppState& state,
              const PrintRequest& request,
              PrinterOpener printers,
              const std::function<int(QtCanvas& paper)>& draw)
{
    auto paper = OpenCanvas(state, request, printers);
    if (!paper) {
        return ExitRefused;
    }
    return draw(*paper);
}

// The prepared table on the paper, in the direction of the request.
int DrawTable(AppState& state, const PrintRequest& request, PrintTable& table, QtCanvas& paper)
{
    if (request.direction) {
        state.settings.Layout.PrintDirection = *request.direction;
    }
    if (request.kind == PrintLabels) {
        DefaultLabelCells(state.settings.Layout);
    }
    PrintJob job(state, table);
    job.label = request.label;
    // The engine lays out the next pages while the paper takes the ones laid out.
    PrintRunResult result;
    DrawAlongside(paper, paper.measuringTwins(), [&](Canvas& relay) { result = DrawJob(job, request.kind, relay); });
    if (!result.documentEnded) {
        std::string where = request.printer ? *request.printer : request.out;
        state.ui.message("印刷できませんでした。\n" + where, MessageIcon::Exclamation);
    }
    return result.documentEnded && result.failed == 0 ? ExitDone : ExitRefused;
}

// Draws the prepared table.
int Print(AppState& state, const PrintRequest& request, PrinterOpener printers, PrintTable& table)
{
    return WithPaper(state, request, printers,
                     [&](QtCanvas& paper) { return DrawTable(state, request, table, paper); });
}

// The calibration sheet of the kind, with the layout of the settings or of --layout.
int PrintCalibration(AppState& state, const PrintRequest& request, PrinterOpener printers)
{
    if (request.layout) {
        auto part = request.kind == PrintPostcards ? PrintSettingsPart::Postcard : PrintSettingsPart::Label;
        if (!LoadPrintSettingsFile(state, *request.layout, part)) {
            return ExitRefused;
        }
    }
    return WithPaper(state, request, printers, [&](QtCanvas& paper) {
        if (request.kind == PrintLabels) {
            DefaultLabelCells(state.settings.Layout);
        }
        DrawCalibrationSheet(state.settings.Layout, request.kind, paper);
        if (!paper.endDocument()) {
            state.ui.message("印刷できませんでした。", MessageIcon::Exclamation);
            return ExitRefused;
        }
        return ExitDone;
    });
}

// Loads the database and makes the job's table; nullopt, told, when there is no job.
std::optional<PreparedJob> PrepareJob(AppState& state, const PrintRequest& request)
{
    // Marks are written under the lock, and records that have no identity yet are given one then.
    if (!(request.markSent ? LoadForChanging(state) : LoadForReading(state))) {
        return std::nullopt;
    }
    if (request.layout) {
        auto part = request.kind == PrintPostcards ? PrintSettingsPart::Postcard : PrintSettingsPart::Label;
        if (!LoadPrintSettingsFile(state, *request.layout, part)) {
            return std::nullopt;
        }
    }
    std::optional<ListModel> list =
        request.records.empty() ? AllRecordsByReading(state) : NamedRecords(state, request.records);
    if (!list) {
        return std::nullopt;
    }
    if (request.season) {
        list = ToSendOf(state, *list, *request.season);
    }
    if (list->empty()) {
        state.ui.message("印刷データがありません。", MessageIcon::Exclamation);
        return std::nullopt;
    }
    std::optional<PrintTable> table = PrepareTable(state, request.kind, *list);
    if (!table) {
        return std::nullopt;
    }
    return PreparedJob{std::move(*list), std::move(*table)};
}

} // namespace

std::optional<PrintRequest> ParsePrintRequest(const std::vector<std::string>& args, std::string& error)
{
    ParseState parse;
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool option = args[i].starts_with("--");
        bool applied = option ? ApplyOption(args, i, parse, error) : ApplyKind(args[i], parse, error);
        if (!applied) {
            return std::nullopt;
        }
    }
    if (!CheckCombination(parse, error)) {
        return std::nullopt;
    }
    return parse.request;
}

int PrintCommand(AppState& state, const CliOptions& options, PrinterOpener printers)
{
    std::string error;
    auto request = ParsePrintRequest(options.arguments, error);
    if (!request) {
        return UsageError(error);
    }
    ChooseDrawingPlatform();
    if (request->calibration) {
        DrawingQt qt;
        return PrintCalibration(state, *request, printers);
    }
    // The job is prepared on a thread of its own while Qt starts here: the two take about as long.
    auto preparing = std::async(std::launch::async, [&] { return PrepareJob(state, *request); });
    DrawingQt qt;
    std::optional<PreparedJob> job = preparing.get();
    if (!job) {
        return ExitRefused;
    }
    int printed = Print(state, *request, printers, job->table);
    if (printed != ExitDone || !request->markSent) {
        return printed; // a print that failed or was cut short marks no one
    }
    return MarkRecordsSent(state, RecordsOf(job->list), *request->season) ? ExitDone : ExitRefused;
}

} // namespace talik
