#include "platform/windowlookup.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace talik {
namespace {

constexpr std::size_t TitleCharacters = 256;
// Enough bytes for 256 characters of UTF-8 (at most 4 bytes each), in the 32-bit units X counts in.
constexpr std::uint32_t TitleReadUnits = TitleCharacters;
constexpr std::uint32_t ClientListMaxUnits = 1 << 16;
// _NET_ACTIVE_WINDOW source indication "pager": window managers honour it without focus-stealing
// checks, which is what bringing another program forward on the user's request needs.
constexpr std::uint32_t SourcePager = 2;

struct Display
{
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection{nullptr, xcb_disconnect};
    xcb_window_t root = XCB_WINDOW_NONE;

    xcb_connection_t* get() const { return connection.get(); }
    explicit operator bool() const { return connection != nullptr; }
};

// The X display named by $DISPLAY; empty when there is none or it cannot be reached.
Display OpenDisplay()
{
    Display display;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return display;
    }
    int screenNumber = 0;
    display.connection.reset(xcb_connect(name, &screenNumber));
    if (xcb_connection_has_error(display.get()) != 0) {
        display.connection.reset();
        return display;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(display.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    display.root = screens.data->root;
    return display;
}

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> Owned(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name)
{
    auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
    auto reply = Owned(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<WindowId> ClientList(const Display& display)
{
    auto cookie = xcb_get_property(display.get(), 0, display.root, Atom(display.get(), "_NET_CLIENT_LIST"),
                                   XCB_ATOM_WINDOW, 0, ClientListMaxUnits);
    auto reply = Owned(xcb_get_property_reply(display.get(), cookie, nullptr));
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    return {windows, windows + xcb_get_property_value_length(reply.get()) / 4};
}

// WM_NAME of type STRING is Latin-1; everything else is taken as UTF-8.
std::string Latin1ToUtf8(std::string_view text)
{
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string PropertyText(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 8) {
        return {};
    }
    std::string_view bytes(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
    return reply->type == XCB_ATOM_STRING ? Latin1ToUtf8(bytes) : std::string(bytes);
}

// Each window's title: _NET_WM_NAME, else the older WM_NAME. All requests go out before the first
// reply is read, so a long window list costs one round trip rather than one per window.
std::vector<std::string> Titles(const Display& display, const std::vector<WindowId>& windows)
{
    xcb_connection_t* connection = display.get();
    xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    xcb_atom_t utf8String = Atom(connection, "UTF8_STRING");
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    for (WindowId window : windows) {
        cookies.emplace_back(
            xcb_get_property(connection, 0, window, netWmName, utf8String, 0, TitleReadUnits),
            xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, TitleReadUnits));
    }
    std::vector<std::string> titles;
    for (auto [ewmhCookie, icccmCookie] : cookies) {
        std::string ewmh = PropertyText(connection, ewmhCookie);
        std::string icccm = PropertyText(connection, icccmCookie);
        titles.push_back(FirstCharacters(ewmh.empty() ? icccm : ewmh, TitleCharacters));
    }
    return titles;
}

// ASCII only: the titles looked for are ASCII, and full-width letters may stay as they are.
std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

// A window the window manager holds minimised is not viewable; mapping it asks for it back.
// False when the window no longer exists.
bool MapIfHidden(xcb_connection_t* connection, WindowId window)
{
    auto attributes =
        Owned(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!attributes) {
        return false;
    }
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        xcb_map_window(connection, window);
    }
    return true;
}

void RequestActivation(const Display& display, WindowId window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(display.get(), "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = SourcePager;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(display.get(), 0, display.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

} // namespace

int FirstTitleContaining(const std::vector<std::string>& titles, std::string_view part)
{
    const std::string wanted = UpperAscii(part);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (UpperAscii(titles[i]).find(wanted) != std::string::npos) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

FoundWindow FindWindowLike(std::string_view part)
{
    Display display = OpenDisplay();
    if (!display) {
        return {};
    }
    std::vector<WindowId> windows = ClientList(display);
    std::vector<std::string> titles = Titles(display, windows);
    int index = FirstTitleContaining(titles, part);
    if (index < 0) {
        return {};
    }
    return {windows[index], titles[index]};
}

bool RestoreAndActivate(WindowId id)
{
    if (id == 0) {
        return false;
    }
    Display display = OpenDisplay();
    if (!display || !MapIfHidden(display.get(), id)) {
        return false;
    }
    RequestActivation(display, id);
    return xcb_flush(display.get()) > 0 && xcb_connection_has_error(display.get()) == 0;
}

} // namespace talik
