#include "cli/clisync.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "listwin/appstate.h"
#include "sync/carddav.h"
#include "sync/certificate.h"
#include "sync/syncaccount.h"
#include "sync/syncrun.h"

namespace talik {
namespace {

struct SyncArguments
{
    std::optional<std::string> url;
    std::optional<std::string> user;
    std::optional<std::string> passwordFile;
    std::optional<ConflictRule> conflict;
    std::optional<std::string> acceptedKey;
    UncertainRule uncertain = UncertainRule::List;
    std::map<std::string, UncertainRule> pairs; // by the card's href, as the listing shows it
    bool dryRun = false;
    bool allowMassDelete = false;
};

std::optional<UncertainRule> ParseUncertainRule(const std::string& text)
{
    if (text == "list") {
        return UncertainRule::List;
    }
    if (text == "same") {
        return UncertainRule::Same;
    }
    if (text == "separate") {
        return UncertainRule::Separate;
    }
    return std::nullopt;
}

// "--uncertain RULE", "--same HREF", "--separate HREF": what the user says of uncertain pairs.
bool ReadUncertainOption(const ValuedOption& option, SyncArguments& read, std::string& error)
{
    if (option.name == "--same" || option.name == "--separate") {
        read.pairs[*option.value] = option.name == "--same" ? UncertainRule::Same : UncertainRule::Separate;
        return true;
    }
    std::optional<UncertainRule> rule = ParseUncertainRule(*option.value);
    if (!rule) {
        error = "--uncertain には list, same, separate のいずれかを指定してください。";
        return false;
    }
    read.uncertain = *rule;
    return true;
}

std::optional<SyncArguments> ReadArguments(const std::vector<std::string>& args, std::string& error)
{
    SyncArguments read;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dry-run") {
            read.dryRun = true;
            continue;
        }
        if (args[i] == "--allow-mass-delete") {
            read.allowMassDelete = true;
            continue;
        }
        std::optional<ValuedOption> option =
            TakeValuedOption(args, i,
                             {"--url", "--user", "--server-password-file", "--conflict", "--accept-fingerprint",
                              "--uncertain", "--same", "--separate"});
        if (!option || !option->value) {
            error = "sync の引数が正しくありません: " + args[i];
            return std::nullopt;
        }
        if (option->name == "--url") {
            read.url = option->value;
        } else if (option->name == "--user") {
            read.user = option->value;
        } else if (option->name == "--server-password-file") {
            read.passwordFile = option->value;
        } else if (option->name == "--uncertain" || option->name == "--same" || option->name == "--separate") {
            if (!ReadUncertainOption(*option, read, error)) {
                return std::nullopt;
            }
        } else if (option->name == "--accept-fingerprint") {
            if (!IsKeyPin(*option->value)) {
                error = "--accept-fingerprint には、サーバーの指紋を sha256//… の形で指定してください。";
                return std::nullopt;
            }
            read.acceptedKey = option->value;
        } else if (!(read.conflict = ParseConflictRule(*option->value))) {
            error = "--conflict には local, server, skip のいずれかを指定してください。";
            return std::nullopt;
        }
    }
    return read;
}

// The first line of the file, without its line end.
std::optional<std::string> FirstLine(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

// How to go on when the server's certificate is not trusted: the user checks the fingerprint and
// accepts it on the command line. `given`: the fingerprint given on this command line, if any.
void TellCertificateProblem(const std::optional<CertificateProblem>& problem, const std::optional<std::string>& given)
{
    if (problem && given && problem->pinned == *given) {
        std::fprintf(stderr, "--accept-fingerprint の指紋は、このサーバーの鍵のものではありません。\n");
        return;
    }
    if (problem && problem->kind == CertificateProblem::Kind::Untrusted && !problem->presented.empty()) {
        std::fprintf(stderr,
                     "この指紋がサーバーのものと確かめられたら、--accept-fingerprint %s を付けて実行すると、"
                     "以後はこの鍵だけを信頼します。\n",
                     problem->presented.c_str());
    }
}

} // namespace

int SyncCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    std::optional<SyncArguments> args = ReadArguments(options.arguments, error);
    if (!args) {
        return UsageError(error);
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    SyncAccount account = ReadSyncAccount(state).value_or(SyncAccount{});
    bool newAccount = args->url.has_value();
    if (newAccount) {
        account = {*args->url, "", args->user.value_or(""), account.conflict, PinForUrl(account, *args->url)};
    } else if (args->user) {
        account.user = *args->user;
    }
    bool newKey = args->acceptedKey && *args->acceptedKey != account.pinnedKey;
    if (args->acceptedKey) {
        account.pinnedKey = *args->acceptedKey;
    }
    if (account.url.empty()) {
        return UsageError("同期先がありません。--url でアドレス帳か CardDAV サーバーの URL を指定してください。");
    }
    HttpAuth auth{account.user, "", account.pinnedKey};
    if (args->passwordFile) {
        std::optional<std::string> password = FirstLine(*args->passwordFile);
        if (!password) {
            std::fprintf(stderr, "パスワードファイル（%s）を読めません。\n", args->passwordFile->c_str());
            return ExitRefused;
        }
        auth.password = *password;
    }
    CardDavClient client(auth);
    if (account.book.empty()) {
        std::vector<FoundAddressBook> books = client.discover(account.url, error);
        if (books.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            TellCertificateProblem(client.certificateProblem(), args->acceptedKey);
            return ExitRefused;
        }
        account.book = books.front().url;
    }
    SyncOptions sync;
    sync.conflict = args->conflict.value_or(account.conflict);
    sync.uncertain = args->uncertain;
    sync.uncertainDecided = args->pairs;
    sync.dryRun = args->dryRun;
    sync.allowMassDelete = args->allowMassDelete;
    SyncSummary summary = RunSync(state, client, account.book, sync);
    for (const std::string& note : summary.notes) {
        std::fprintf(stderr, "%s\n", note.c_str());
    }
    if (!summary.error.empty()) {
        std::fprintf(stderr, "%s\n", summary.error.c_str());
    }
    TellCertificateProblem(summary.certificate, args->acceptedKey);
    std::printf("%s\n", SummaryLine(summary).c_str());
    if (!summary.uncertainPairs.empty()) {
        std::printf("同一人物か確かでない組 (どちらの側にも写していません):\n%s", UncertainPairLines(summary).c_str());
    }
    // A new account is kept once a run went through; a key accepted once the server was reached with it.
    bool keep = newAccount ? summary.error.empty() : newKey && !summary.certificate;
    if (keep && !args->dryRun && !WriteSyncAccount(state, account)) {
        std::fprintf(stderr, "同期先を設定ファイルに保存できませんでした。\n");
    }
    bool clean =
        summary.error.empty() && summary.conflicts == 0 && !summary.massDeleteStop && summary.uncertainPairs.empty();
    return clean ? ExitDone : ExitRefused;
}

} // namespace talik
