#include "sync/davxml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <cstring>

namespace talik {
namespace {

bool Is(const xmlNode* node, const char* ns, const char* name)
{
    return node != nullptr && node->type == XML_ELEMENT_NODE && node->ns != nullptr && node->ns->href != nullptr &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

std::string Text(const xmlNode* node)
{
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content == nullptr ? std::string() : reinterpret_cast<const char*>(content);
    xmlFree(content);
    return text;
}

std::string Trimmed(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t\r\n"));
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

std::vector<std::string> Hrefs(const xmlNode* parent)
{
    std::vector<std::string> hrefs;
    for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (Is(child, DavNamespace, "href")) {
            hrefs.push_back(Trimmed(Text(child)));
        }
    }
    return hrefs;
}

void ReadProp(const xmlNode* prop, DavResponse& response)
{
    for (const xmlNode* p = prop->children; p != nullptr; p = p->next) {
        if (Is(p, DavNamespace, "getetag")) {
            response.etag = Trimmed(Text(p));
        } else if (Is(p, CardDavNamespace, "address-data")) {
            response.addressData = Text(p);
        } else if (Is(p, DavNamespace, "displayname")) {
            response.displayName = Trimmed(Text(p));
        } else if (Is(p, DavNamespace, "current-user-principal")) {
            response.principal = Hrefs(p);
        } else if (Is(p, CardDavNamespace, "addressbook-home-set")) {
            response.homeSet = Hrefs(p);
        } else if (Is(p, DavNamespace, "resourcetype")) {
            for (const xmlNode* t = p->children; t != nullptr; t = t->next) {
                response.isAddressBook = response.isAddressBook || Is(t, CardDavNamespace, "addressbook");
            }
        }
    }
}

DavResponse ReadResponse(const xmlNode* node)
{
    DavResponse response;
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (Is(child, DavNamespace, "href") && response.href.empty()) {
            response.href = Trimmed(Text(child));
        } else if (Is(child, DavNamespace, "status")) {
            response.status = ParseStatusLine(Text(child));
        } else if (Is(child, DavNamespace, "propstat")) {
            int status = 0;
            const xmlNode* prop = nullptr;
            for (const xmlNode* ps = child->children; ps != nullptr; ps = ps->next) {
                if (Is(ps, DavNamespace, "status")) {
                    status = ParseStatusLine(Text(ps));
                } else if (Is(ps, DavNamespace, "prop")) {
                    prop = ps;
                }
            }
            // Properties the server reports as missing (404 propstat) are not values.
            if (prop != nullptr && status >= 200 && status < 300) {
                ReadProp(prop, response);
                if (response.status == 0) {
                    response.status = status;
                }
            }
        }
    }
    return response;
}

} // namespace

int ParseStatusLine(const std::string& line)
{
    std::size_t space = line.find(' ');
    if (space == std::string::npos) {
        return 0;
    }
    return std::atoi(line.c_str() + space + 1);
}

std::optional<Multistatus> ParseMultistatus(const std::string& xml)
{
    // No network and no entities: an answer never makes the parser fetch or expand anything.
    xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "answer.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    if (doc == nullptr) {
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (!Is(root, DavNamespace, "multistatus")) {
        xmlFreeDoc(doc);
        return std::nullopt;
    }
    Multistatus result;
    for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
        if (Is(child, DavNamespace, "response")) {
            result.responses.push_back(ReadResponse(child));
        } else if (Is(child, DavNamespace, "sync-token")) {
            result.syncToken = Trimmed(Text(child));
        }
    }
    xmlFreeDoc(doc);
    return result;
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace talik
