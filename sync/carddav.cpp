#include "sync/carddav.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <set>

#include "sync/davxml.h"

namespace talik {
namespace {

constexpr std::size_t MultigetBatch = 100;

const char* const XmlHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Props(const std::string& inner)
{
    return std::string(XmlHead) +
           "<d:propfind xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\">"
           "<d:prop>" +
           inner + "</d:prop></d:propfind>";
}

std::string Describe(const HttpResponse& response)
{
    if (response.status == 0) {
        return response.error;
    }
    return "HTTP " + std::to_string(response.status);
}

// The answer's ETag, unless the server marked it weak (a weak one cannot guard a write).
std::string StrongEtag(const HttpResponse& response)
{
    std::string etag = response.header("etag");
    return etag.starts_with("W/") ? std::string() : etag;
}

bool UrlSafe(const std::string& uid)
{
    if (uid.empty() || uid.size() > 200) {
        return false;
    }
    for (unsigned char c : uid) {
        if (!(std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '@')) {
            return false;
        }
    }
    return uid.front() != '.';
}

std::string RandomUuid()
{
    std::random_device device;
    std::uniform_int_distribution<int> hex(0, 15);
    std::string uuid;
    for (int i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) {
            uuid += '-';
        }
        uuid += "0123456789abcdef"[hex(device)];
    }
    return uuid;
}

} // namespace

std::string UrlPath(const std::string& url)
{
    std::string origin = UrlOrigin(url);
    std::string path = url.substr(origin.size());
    return path.empty() ? "/" : path;
}

std::string NewCardHref(const std::string& bookPath, const std::string& uid)
{
    std::string dir = bookPath.ends_with("/") ? bookPath : bookPath + "/";
    return dir + (UrlSafe(uid) ? uid : RandomUuid()) + ".vcf";
}

HttpResponse CardDavClient::propfind(const std::string& url, int depth, const std::string& props)
{
    return m_http.send({"PROPFIND",
                        url,
                        {"Depth: " + std::to_string(depth), "Content-Type: application/xml; charset=utf-8"},
                        Props(props)});
}

std::vector<FoundAddressBook> CardDavClient::discover(const std::string& url, std::string& error)
{
    const std::string kinds = "<d:resourcetype/><d:displayname/><d:current-user-principal/>";
    // The URL itself may be the address book.
    HttpResponse here = propfind(url, 0, kinds);
    std::optional<Multistatus> answer = ParseMultistatus(here.body);
    if (here.status == 207 && answer && !answer->responses.empty() && answer->responses[0].isAddressBook) {
        return {{here.url, answer->responses[0].displayName}};
    }
    std::vector<std::string> principal;
    if (here.status == 207 && answer && !answer->responses.empty()) {
        principal = answer->responses[0].principal;
    }
    if (principal.empty()) {
        HttpResponse known = propfind(ResolveUrl(url, "/.well-known/carddav"), 0, "<d:current-user-principal/>");
        std::optional<Multistatus> knownAnswer = ParseMultistatus(known.body);
        if (known.status == 207 && knownAnswer && !knownAnswer->responses.empty()) {
            principal = knownAnswer->responses[0].principal;
        }
        if (principal.empty()) {
            error = "CardDAV のアドレス帳が見つかりません (" + Describe(here.status ? here : known) + ")";
            return {};
        }
    }
    std::string principalUrl = ResolveUrl(here.url, principal[0]);
    HttpResponse home = propfind(principalUrl, 0, "<card:addressbook-home-set/>");
    std::optional<Multistatus> homeAnswer = ParseMultistatus(home.body);
    if (home.status != 207 || !homeAnswer || homeAnswer->responses.empty() ||
        homeAnswer->responses[0].homeSet.empty()) {
        error = "アドレス帳の場所が分かりません (" + Describe(home) + ")";
        return {};
    }
    std::vector<FoundAddressBook> books;
    for (const std::string& set : homeAnswer->responses[0].homeSet) {
        std::string homeUrl = ResolveUrl(principalUrl, set);
        HttpResponse listing = propfind(homeUrl, 1, "<d:resourcetype/><d:displayname/>");
        std::optional<Multistatus> listed = ParseMultistatus(listing.body);
        if (listing.status != 207 || !listed) {
            continue;
        }
        for (const DavResponse& response : listed->responses) {
            if (response.isAddressBook) {
                books.push_back({ResolveUrl(homeUrl, response.href), response.displayName});
            }
        }
    }
    if (books.empty()) {
        error = "サーバーにアドレス帳がありません。";
    }
    return books;
}

std::optional<ServerListing>
CardDavClient::syncCollection(const std::string& book, const std::string& token, long& status, std::string& error)
{
    std::string body = std::string(XmlHead) + "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" + XmlEscape(token) +
                       "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                       "</d:sync-collection>";
    HttpResponse response =
        m_http.send({"REPORT", book, {"Depth: 1", "Content-Type: application/xml; charset=utf-8"}, body});
    status = response.status;
    std::optional<Multistatus> answer = ParseMultistatus(response.body);
    if (response.status != 207 || !answer) {
        error = Describe(response);
        return std::nullopt;
    }
    ServerListing listing;
    listing.complete = token.empty();
    listing.token = answer->syncToken;
    std::string bookPath = UrlPath(book);
    for (const DavResponse& entry : answer->responses) {
        if (entry.href == bookPath || entry.href + "/" == bookPath || entry.href == book) {
            continue; // the collection itself
        }
        if (entry.status == 404) {
            listing.removed.push_back(entry.href);
        } else if (!entry.etag.empty()) {
            listing.etags[entry.href] = entry.etag;
        }
    }
    return listing;
}

std::optional<ServerListing> CardDavClient::etagListing(const std::string& book, std::string& error)
{
    HttpResponse response = propfind(book, 1, "<d:getetag/><d:resourcetype/>");
    std::optional<Multistatus> answer = ParseMultistatus(response.body);
    if (response.status != 207 || !answer) {
        error = Describe(response);
        return std::nullopt;
    }
    ServerListing listing;
    listing.complete = true;
    for (const DavResponse& entry : answer->responses) {
        if (!entry.isAddressBook && !entry.etag.empty() && entry.status / 100 == 2) {
            listing.etags[entry.href] = entry.etag;
        }
    }
    return listing;
}

std::optional<ServerListing> CardDavClient::list(const std::string& book, const std::string& token, std::string& error)
{
    long status = 0;
    std::optional<ServerListing> listing = syncCollection(book, token, status, error);
    // A token the server no longer knows: 403 (valid-sync-token), 412 or 400. Start again from nothing.
    if (!listing && !token.empty() && (status == 403 || status == 412 || status == 400 || status == 409)) {
        listing = syncCollection(book, "", status, error);
    }
    if (listing || status == 0 || status == 401) {
        return listing;
    }
    // No sync-collection on this server: list every card with its ETag.
    return etagListing(book, error);
}

std::optional<std::map<std::string, ServerCard>>
CardDavClient::fetch(const std::string& book, const std::vector<std::string>& hrefs, std::string& error)
{
    std::map<std::string, ServerCard> cards;
    for (std::size_t start = 0; start < hrefs.size(); start += MultigetBatch) {
        std::string body = std::string(XmlHead) +
                           "<card:addressbook-multiget xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\">"
                           "<d:prop><d:getetag/><card:address-data/></d:prop>";
        for (std::size_t i = start; i < std::min(hrefs.size(), start + MultigetBatch); ++i) {
            body += "<d:href>" + XmlEscape(hrefs[i]) + "</d:href>";
        }
        body += "</card:addressbook-multiget>";
        HttpResponse response =
            m_http.send({"REPORT", book, {"Depth: 1", "Content-Type: application/xml; charset=utf-8"}, body});
        std::optional<Multistatus> answer = ParseMultistatus(response.body);
        if (response.status != 207 || !answer) {
            error = Describe(response);
            return std::nullopt;
        }
        for (const DavResponse& entry : answer->responses) {
            if (entry.status / 100 == 2 && !entry.addressData.empty()) {
                cards[entry.href] = {entry.etag, entry.addressData};
            }
        }
    }
    return cards;
}

WriteResult CardDavClient::put(const std::string& book,
                               const std::string& href,
                               const std::string& card,
                               const std::string& condition)
{
    HttpResponse response =
        m_http.send({"PUT", ResolveUrl(book, href), {"Content-Type: text/vcard; charset=utf-8", condition}, card});
    return {response.status, StrongEtag(response), Describe(response)};
}

WriteResult CardDavClient::create(const std::string& book, const std::string& href, const std::string& card)
{
    return put(book, href, card, "If-None-Match: *");
}

WriteResult CardDavClient::update(const std::string& book,
                                  const std::string& href,
                                  const std::string& etag,
                                  const std::string& card)
{
    return put(book, href, card, "If-Match: " + etag);
}

WriteResult CardDavClient::remove(const std::string& book, const std::string& href, const std::string& etag)
{
    HttpResponse response = m_http.send({"DELETE", ResolveUrl(book, href), {"If-Match: " + etag}, ""});
    WriteResult result{response.status, "", Describe(response)};
    if (result.status == 404) {
        result.status = 204;
    }
    return result;
}

} // namespace talik
