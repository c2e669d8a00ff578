#pragma once
// WebDAV multistatus answers read by namespace URI, never by prefix: servers choose their own
// prefixes ("d:", "D:", none) for the same names.
#include <optional>
#include <string>
#include <vector>

namespace talik {

inline constexpr const char* DavNamespace = "DAV:";
inline constexpr const char* CardDavNamespace = "urn:ietf:params:xml:ns:carddav";

// One <response>: its href, its status (from <status> or the 200 propstat), and the properties
// the sync reads.
struct DavResponse
{
    std::string href; // as the server wrote it, percent-escapes and all
    int status = 0;   // the response's own status, or the status of the propstat holding the props
    std::string etag;
    std::string addressData;
    bool isAddressBook = false;
    std::string displayName;
    std::vector<std::string> principal; // current-user-principal's href
    std::vector<std::string> homeSet;   // addressbook-home-set's hrefs
};

struct Multistatus
{
    std::vector<DavResponse> responses;
    std::string syncToken;
};

// nullopt when the text is not a DAV multistatus document.
std::optional<Multistatus> ParseMultistatus(const std::string& xml);
// "HTTP/1.1 404 Not Found" -> 404; 0 when it is no status line.
int ParseStatusLine(const std::string& line);
// Escapes text for an XML element's content.
std::string XmlEscape(const std::string& text);

} // namespace talik
