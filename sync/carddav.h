#pragma once
// The CardDAV conversation: finding the address book, listing what changed, fetching cards in
// batches, and conditional writes and deletes.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sync/http.h"

namespace talik {

struct FoundAddressBook
{
    std::string url;
    std::string name;
};

// What changed on the server since a token, or everything there is.
struct ServerListing
{
    bool complete = false;                    // every card is listed: an href not listed is gone
    std::map<std::string, std::string> etags; // href -> ETag of cards added or changed (all when complete)
    std::vector<std::string> removed;         // hrefs reported gone (incremental only)
    std::string token;                        // the token to keep for the next run; empty when the server has none
};

struct ServerCard
{
    std::string etag;
    std::string text;
};

// The outcome of a write: the status, and the new ETag when the server gave one.
struct WriteResult
{
    long status = 0;
    std::string etag;
    std::string error;
    bool ok() const { return status >= 200 && status < 300; }
};

class CardDavClient
{
public:
    explicit CardDavClient(HttpAuth auth) : m_http(std::move(auth)) {}

    // The address books reachable from `url`: an address book URL itself, a server's root or its
    // /.well-known/carddav. Empty with `error` set when none was found.
    std::vector<FoundAddressBook> discover(const std::string& url, std::string& error);
    // Changes since `token` (everything when it is empty or the server refused it); nullopt with
    // `error` set when the server could not be asked.
    std::optional<ServerListing> list(const std::string& book, const std::string& token, std::string& error);
    // The cards of `hrefs`, fetched in batches; a card the server no longer has is left out.
    std::optional<std::map<std::string, ServerCard>>
    fetch(const std::string& book, const std::vector<std::string>& hrefs, std::string& error);
    // Why the server was not trusted, when that is what stopped a request.
    const std::optional<CertificateProblem>& certificateProblem() const { return m_http.certificateProblem(); }
    bool credentialsRefused() const { return m_http.credentialsRefused(); }
    // A new card: never overwrites one already there.
    WriteResult create(const std::string& book, const std::string& href, const std::string& card);
    WriteResult
    update(const std::string& book, const std::string& href, const std::string& etag, const std::string& card);
    // 404 counts as done: the card is gone either way.
    WriteResult remove(const std::string& book, const std::string& href, const std::string& etag);

private:
    HttpResponse propfind(const std::string& url, int depth, const std::string& props);
    std::optional<ServerListing>
    syncCollection(const std::string& book, const std::string& token, long& status, std::string& error);
    std::optional<ServerListing> etagListing(const std::string& book, std::string& error);
    WriteResult
    put(const std::string& book, const std::string& href, const std::string& card, const std::string& condition);

    HttpClient m_http;
};

// The href for a new card with this UID: "<UID>.vcf" under the address book when the UID is safe
// in a URL, else a fresh random name.
std::string NewCardHref(const std::string& bookPath, const std::string& uid);
// The path part of a URL ("/user/book/").
std::string UrlPath(const std::string& url);

} // namespace talik
