#include "sync/http.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace talik {
namespace {

constexpr int MaxRedirects = 8;
constexpr long HttpUnauthorized = 401;

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

std::size_t CollectHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* headers = static_cast<std::map<std::string, std::string>*>(user);
    std::string line(data, size * count);
    if (line.starts_with("HTTP/")) {
        headers->clear(); // a new answer (after 100 Continue) starts its own headers
        return size * count;
    }
    std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t\r\n") + 1);
        (*headers)[name] = value;
    }
    return size * count;
}

// The public key of the server at `url`, read on a connection of its own that checks nothing and
// sends nothing (no request, so no credentials reach a server not trusted yet).
std::string PresentedKey(const std::string& url)
{
    CURL* probe = curl_easy_init();
    if (probe == nullptr) {
        return {};
    }
    curl_easy_setopt(probe, CURLOPT_URL, url.c_str());
    curl_easy_setopt(probe, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(probe, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(probe, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(probe, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(probe, CURLOPT_CERTINFO, 1L);
    std::string key;
    curl_certinfo* chain = nullptr;
    if (curl_easy_perform(probe) == CURLE_OK && curl_easy_getinfo(probe, CURLINFO_CERTINFO, &chain) == CURLE_OK &&
        chain != nullptr && chain->num_of_certs > 0) {
        // The first certificate of the chain is the server's own.
        for (curl_slist* field = chain->certinfo[0]; field != nullptr; field = field->next) {
            std::string_view text(field->data);
            if (text.starts_with("Cert:")) {
                key = PublicKeyPin(std::string(text.substr(5))).value_or("");
            }
        }
    }
    curl_easy_cleanup(probe);
    return key;
}

} // namespace

std::string HttpResponse::header(const std::string& lowerName) const
{
    auto found = headers.find(lowerName);
    return found == headers.end() ? std::string() : found->second;
}

HttpClient::HttpClient(HttpAuth auth) : m_auth(std::move(auth)), m_curl(curl_easy_init()) {}

HttpClient::~HttpClient()
{
    curl_easy_cleanup(static_cast<CURL*>(m_curl));
}

HttpResponse HttpClient::send(const HttpRequest& request)
{
    HttpRequest current = request;
    for (int hop = 0;; ++hop) {
        HttpResponse response = once(current);
        m_credentialsRefused = m_credentialsRefused || response.status == HttpUnauthorized;
        std::string location = response.header("location");
        bool redirect = response.status == 301 || response.status == 302 || response.status == 303 ||
                        response.status == 307 || response.status == 308;
        if (!redirect || location.empty() || hop == MaxRedirects) {
            response.url = current.url;
            return response;
        }
        std::string next = ResolveUrl(current.url, location);
        // Credentials go only where they were given for.
        if (UrlOrigin(next) != UrlOrigin(request.url)) {
            response.url = current.url;
            return response;
        }
        current.url = next;
    }
}

HttpResponse HttpClient::once(const HttpRequest& request)
{
    CURL* curl = static_cast<CURL*>(m_curl);
    HttpResponse response;
    if (curl == nullptr) {
        response.error = "libcurl could not start";
        return response;
    }
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops answering halfway gives up after a minute instead of holding a run (and
    // the program's end, which waits for a run's cancel) for ever.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    if (request.method == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    if (!request.body.empty() || request.method == "PUT") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
    if (!m_auth.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST);
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_auth.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_auth.password.c_str());
    }
    if (!m_auth.pinnedKey.empty()) {
        // A self-signed certificate the user accepted: trusted by its key alone.
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY, m_auth.pinnedKey.c_str());
    }
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    for (const std::string& header : request.headers) {
        headers = curl_slist_append(headers, header.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response.headers);
    CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(headers);
    if (code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_PINNEDPUBKEYNOTMATCH) {
        CertificateProblem problem;
        problem.kind =
            m_auth.pinnedKey.empty() ? CertificateProblem::Kind::Untrusted : CertificateProblem::Kind::Changed;
        problem.presented = PresentedKey(request.url);
        problem.pinned = m_auth.pinnedKey;
        response.certificate = problem;
        m_certificate = problem;
        response.error = CertificateMessage(problem);
        return response;
    }
    if (code != CURLE_OK) {
        response.error = curl_easy_strerror(code);
        return response;
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

std::string UrlOrigin(const std::string& url)
{
    std::size_t scheme = url.find("://");
    if (scheme == std::string::npos) {
        return {};
    }
    std::size_t path = url.find('/', scheme + 3);
    return url.substr(0, path);
}

std::string ResolveUrl(const std::string& base, const std::string& ref)
{
    if (ref.find("://") != std::string::npos) {
        return ref;
    }
    if (ref.starts_with("/")) {
        return UrlOrigin(base) + ref;
    }
    std::string dir = base.substr(0, base.find_last_of('/') + 1);
    return dir + ref;
}

} // namespace talik
