#include "cli/clioptions.h"

#include <algorithm>
#include <charconv>

namespace talik {
namespace {

bool ParseInt(const std::string& text, int& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

const std::initializer_list<std::string_view> GlobalOptions = {"--data", "--db", "--password", "--password-file",
                                                               "--mode"};

bool IsGlobal(const std::string& arg)
{
    return std::any_of(GlobalOptions.begin(), GlobalOptions.end(), [&arg](std::string_view name) {
        return arg == name || arg.starts_with(std::string(name) + "=");
    });
}

// "-" reads the password from standard input, as many programs read a file named "-".
bool SetPassword(const std::string& name, const std::string& value, CliOptions& options, std::string& error)
{
    if (options.password) {
        error = "パスワードは --password か --password-file の一つで指定してください。";
        return false;
    }
    using Source = PasswordOption::Source;
    Source source = name == "--password-file" ? Source::File : value == "-" ? Source::StandardInput : Source::Text;
    options.password = PasswordOption{source, value};
    return true;
}

bool SetGlobal(const std::string& name, const std::string& value, CliOptions& options, std::string& error)
{
    if (name == "--data") {
        options.dataFolder = value;
        return true;
    }
    if (name == "--password" || name == "--password-file") {
        return SetPassword(name, value, options, error);
    }
    if (name == "--mode") {
        if (!ParseInt(value, options.mode) || options.mode < 0 || options.mode > 99) {
            error = "--mode は 0 から 99 の番号で指定してください。";
            return false;
        }
        return true;
    }
    if (!ParseInt(value, options.dbNo) || options.dbNo < 1 || options.dbNo > 10) {
        error = "--db は 1 から 10 の番号で指定してください。";
        return false;
    }
    return true;
}

bool ParseGlobal(const std::vector<std::string>& args, std::size_t& i, CliOptions& options, std::string& error)
{
    const std::string& arg = args[i];
    std::optional<ValuedOption> option = TakeValuedOption(args, i, GlobalOptions);
    if (!option) {
        error = "不明なオプションです: " + arg;
        return false;
    }
    if (!option->value) {
        error = option->name + " には値が必要です。";
        return false;
    }
    return SetGlobal(option->name, *option->value, options, error);
}

bool ParseField(const std::string& arg, FieldOptions& fields, std::string& error)
{
    std::size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 2) {
        error = "項目は --項目名=値 の形で指定してください: " + arg;
        return false;
    }
    fields.emplace_back(arg.substr(2, eq - 2), arg.substr(eq + 1));
    return true;
}

// "then" starts the next search of the chain; the options before it belong to the one before.
bool ParseSearchArgument(const std::string& arg, CliOptions& options, std::string& error)
{
    if (arg == "then") {
        options.searches.emplace_back();
        return true;
    }
    return ParseField(arg, options.searches.back(), error);
}

bool IsSearchArgument(const std::string& arg, const CliOptions& options)
{
    return options.command == "search" && (arg == "then" || arg.rfind("--", 0) == 0);
}

} // namespace

bool TakesOwnOptions(const std::string& command)
{
    for (std::string_view own :
         {"print",      "export",    "import",        "settings", "layout",  "copy",     "mail-url", "backup",
          "restore",    "databases", "rename-db",     "copy-to",  "move-to", "password", "postal",   "sidestore",
          "duplicates", "merge",     "not-duplicate", "unmerge",  "season",  "sync"}) {
        if (command == own) {
            return true;
        }
    }
    return false;
}

std::optional<ValuedOption>
TakeValuedOption(const std::vector<std::string>& args, std::size_t& i, std::initializer_list<std::string_view> names)
{
    const std::string& arg = args[i];
    for (std::string_view name : names) {
        if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
            return ValuedOption{std::string(name), arg.substr(name.size() + 1)};
        }
        if (arg == name) {
            if (i + 1 == args.size()) {
                return ValuedOption{arg, std::nullopt};
            }
            return ValuedOption{arg, args[++i]};
        }
    }
    return std::nullopt;
}

bool ParseWholeNumber(std::string_view text, std::int32_t& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::optional<std::int32_t> NumberIn(std::string_view text, std::int32_t low, std::int32_t high)
{
    std::int32_t value = 0;
    if (!ParseWholeNumber(text, value) || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error)
{
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (IsGlobal(arg)) {
            if (!ParseGlobal(args, i, options, error)) {
                return std::nullopt;
            }
        } else if (arg.rfind("--", 0) == 0 && (options.command == "add" || options.command == "update")) {
            if (!ParseField(arg, options.fields, error)) {
                return std::nullopt;
            }
        } else if (TakesOwnOptions(options.command)) {
            options.arguments.push_back(arg);
        } else if (IsSearchArgument(arg, options)) {
            if (!ParseSearchArgument(arg, options, error)) {
                return std::nullopt;
            }
        } else if (arg.rfind("--", 0) == 0) {
            error = "不明なオプションです: " + arg;
            return std::nullopt;
        } else if (options.command.empty()) {
            options.command = arg;
            if (arg == "search") {
                options.searches.emplace_back();
            }
        } else {
            options.arguments.push_back(arg);
        }
    }
    if (options.command.empty()) {
        error = "コマンドを指定してください。";
        return std::nullopt;
    }
    return options;
}

const char* CliUsage()
{
    return "使い方: talikcli [--data DIR] [--db N] [--password-file FILE | --password - | --password TEXT] [--mode N]\n"
           "                COMMAND\n"
           "  list                 登録データの一覧 (キー, カナ名, 名前)\n"
           "  count                登録数\n"
           "  show N               レコード N の全項目 (JSON)\n"
           "  add --KanaName=... [--項目名=値 ...] [--Joint=[姓:]名[|敬称] ...]\n"
           "                       新規登録し、レコード番号を表示\n"
           "  update N [--項目名=値 ...] [--Joint=...]  与えた項目だけを変更 (--Joint= で連名を消す)\n"
           "  sidestore clean|rebuild  使われなくなった追加データを消す / 壊れた追加データを作り直す\n"
           "  season mark [--year Y] (--sent|--received|--mourning|--stop) [--off] [--note TEXT] --records a,b,...\n"
           "                          年賀状の送・受・喪中・出さないを記録する\n"
           "  season list [--year Y] [--to-send|--sent|--received|--reply-needed|--mourning]\n"
           "                          その年の印で絞って一覧する\n"
           "  delete N             レコード N を削除\n"
           "  search [--項目名=値 ...] [--birthday=yyyymmdd] [--check=N,...] [--kind=new|add|narrow|exclude]\n"
           "         [then ...]     検索し、該当データをレコード番号順に表示 (then で続けて検索)\n"
           "  print postcards|labels|list (--out FILE.pdf | --printer NAME) [--records N,N,...]\n"
           "        [--vertical|--horizontal] [--start-row N] [--start-col N] [--frames] [--postal-mark]\n"
           "                       はがき・タックシール・一覧表を印刷 (既定は全件をフリガナ順に)\n"
           "        [--layout FILE.PR1|FILE.PR2]  印刷設定値ファイルのレイアウトで印刷\n"
           "        [--season Y [--mark-sent]]  はがき・タックシールを Y 年の宛先だけに (--mark-sent で\n"
           "                       全件印刷できたときその年の「送」にする)\n"
           "  layout save|load FILE --kind postcard|label\n"
           "                       印刷設定値ファイル (.PR1/.PR2) に保存・から読み込み\n"
           "  export --out FILE [--records N,N,...] [--encoding cp932|utf-8] [--safe]\n"
           "                       ＣＳＶファイルに出力 (既定は全件を Shift-JIS で。--safe "
           "は表計算ソフト用に安全な形で)\n"
           "  export --format vcard [--vcard-version 3|4] --out FILE [--records N,N,...]\n"
           "                       vCard ファイルに出力 (既定は vCard 3.0)\n"
           "  import FILE [--map N,N+N,...|auto] [--skip-first] [--check N,...] [--encoding auto|cp932|utf-8] "
           "[--half-kana]\n"
           "                       ＣＳＶファイルの各行を新規登録 (--map は項目ごとの列番号, 0 はなし, N+N "
           "で列をつなぐ,\n"
           "                       19 番目は連名; auto は見出し行から選び、その割り当てを標準エラーに表示)\n"
           "        [--fill-postal]  ない郵便番号・住所を郵便番号データで補う (CSV・vCard とも)\n"
           "        [--on-duplicate add|skip|fill]  登録済みの人と同じ行: 新規登録 (既定)・取込まない・空欄を補う\n"
           "  import FILE [--format csv|vcard] [--check N,...]\n"
           "                       vCard の各カードを新規登録 (1 行目が BEGIN:VCARD なら --format なしでも vCard)\n"
           "  duplicates [--min-score S]  重複と見られる組を a<TAB>b<TAB>点数<TAB>理由 で表示 (既定は確度の高い組)\n"
           "  merge A B [--prefer A|B]    B を A に統合して B を削除 (--prefer B は違う項目を B の値に)\n"
           "  not-duplicate A B    A と B を別人として記録し、以後は重複として挙げない\n"
           "  unmerge A            A への最後の統合を元に戻す (戻ったレコードの番号を表示)\n"
           "  sync [--url U --user N --server-password-file F] [--conflict local|server|skip] [--dry-run]\n"
           "       [--allow-mass-delete] [--accept-fingerprint sha256//…] [--uncertain list|same|separate]\n"
           "       [--same HREF] [--separate HREF]\n"
           "                       CardDAV のアドレス帳と双方向に同期 (URL がなければ保存した同期先;\n"
           "                       --accept-fingerprint はシステムが信頼しない証明書の鍵を確かめて受け入れる;\n"
           "                       --uncertain は初回の同期で同一人物か確かでない組を 一覧 / 同じ人 / 別人 に;\n"
           "                       --same / --separate は一覧に出たカード HREF の組だけを同じ人 / 別人 に)\n"
           "  settings get KEY     モードの設定セクションのキーの値を表示\n"
           "  settings set KEY VALUE  キーだけを書き換える (DBPathAddr, ListFontSize, ComPort は画面と同じ検査)\n"
           "  backup --to DIR [--databases N,...] [--settings] [--overwrite-newer]\n"
           "                       データベースをフォルダにバックアップ (既定はファイルのある全データベース)\n"
           "  restore --from DIR [--databases N,...] [--settings] [--overwrite-newer]\n"
           "                       バックアップから復元 (新しい日付のファイルは --overwrite-newer の時だけ上書き)\n"
           "  databases            データベースごとに 番号, 名前, 登録数\n"
           "  rename-db N NAME     データベース N の名前を設定 (空の名前は既定の名前)\n"
           "  copy-to N --records N,... [--to-password TEXT]   データベース N に複写\n"
           "  move-to N --records N,... [--to-password TEXT]   データベース N に移動\n"
           "  password --set TEXT | --set - | --clear          パスワードを設定 (- は標準入力から) または解除\n"
           "  copy N [--setting 1-4]  レコード N をコピー設定 (既定 1) の形でクリップボード用テキストに\n"
           "  delete-all           データベースの全件を削除 (パスワードとチェック項目名は残る)\n"
           "  mail-url --records N,N,...  一括メールで渡す mailto: URL を表示\n"
           "  postal CODE          郵便番号 (7桁) の住所を表示 (大口事業所は住所と事業所名)\n"
           "  postal --address TEXT  住所の都道府県・市区町村・町域から郵便番号を表示\n"
           "  --data DIR           データフォルダ (無いフォルダはエラー。既定は設定ファイルのもの)\n"
           "  --password-file FILE パスワードをファイルの 1 行目から読む\n"
           "  --password -         パスワードを標準入力の 1 行目から読む\n"
           "  --password TEXT      パスワード (他のユーザーからプロセス一覧で見えます)\n"
           "  --mode N             モード N の設定 (データフォルダ, 印刷レイアウト) を使う (既定 0)\n";
}

} // namespace talik
