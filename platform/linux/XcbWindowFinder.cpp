#include "platform/linux/XcbWindowFinder.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <xcb/xcb.h>

namespace {

// Children of the root, then up to two levels of window-manager frames around the client.
constexpr int kWindowLevels = 3;
// A bound on the work for a pathological window tree.
constexpr qsizetype kMaxWindows = 65536;

struct ConnectionCloser
{
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

struct ReplyFree
{
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, ReplyFree>;

// Fetches a reply; a failed request (a window that vanished meanwhile) gives none.
template <typename T, typename Cookie, typename FetchFunction>
Reply<T> Fetch(xcb_connection_t* connection, Cookie cookie, FetchFunction fetch)
{
    xcb_generic_error_t* error = nullptr;
    Reply<T> reply(fetch(connection, cookie, &error));
    std::free(error);
    return reply;
}

xcb_atom_t AtomReply(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie)
{
    const auto reply = Fetch<xcb_intern_atom_reply_t>(connection, cookie, xcb_intern_atom_reply);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_intern_atom_cookie_t RequestExistingAtom(xcb_connection_t* connection, const char* name)
{
    return xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name);
}

// The text of a title property, or nullopt when the window has no such property. A title
// longer than was asked for cannot be the one looked for and reads as empty.
std::optional<QString> TitleText(const xcb_get_property_reply_t* reply, xcb_atom_t utf8String)
{
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    if (reply->format != 8 || reply->bytes_after > 0)
        return QString();
    const int length = xcb_get_property_value_length(reply);
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
    if (reply->type == utf8String)
        return QString::fromUtf8(bytes, length);
    // STRING is Latin-1; compound text is read the same way, which is exact for plain titles.
    return QString::fromLatin1(bytes, length);
}

struct TitleRequest
{
    xcb_window_t m_window = XCB_WINDOW_NONE;
    std::optional<xcb_get_property_cookie_t> m_netWmName;
    xcb_get_property_cookie_t m_wmName{};
};

} // namespace

XcbWindowFinder::XcbWindowFinder(QString displayName) : m_displayName(std::move(displayName)) {}

std::optional<quint64> XcbWindowFinder::FindTopLevelWindow(const QString& title) const
{
    const QString display = m_displayName ? *m_displayName : qEnvironmentVariable("DISPLAY");
    // An empty name would make libxcb fall back to $DISPLAY on its own.
    if (display.isEmpty())
        return std::nullopt;
    Connection connection(xcb_connect(display.toLocal8Bit().constData(), nullptr));
    xcb_connection_t* c = connection.get();
    if (!c || xcb_connection_has_error(c))
        return std::nullopt;

    // Atoms nobody has interned cannot be on any window.
    const xcb_intern_atom_cookie_t netWmNameCookie = RequestExistingAtom(c, "_NET_WM_NAME");
    const xcb_intern_atom_cookie_t utf8StringCookie = RequestExistingAtom(c, "UTF8_STRING");
    const xcb_atom_t netWmName = AtomReply(c, netWmNameCookie);
    const xcb_atom_t utf8String = AtomReply(c, utf8StringCookie);

    // Room for the title looked for and a little more, in 32-bit units.
    const auto titleWords = static_cast<uint32_t>((title.toUtf8().size() + 8) / 4);

    QList<xcb_window_t> level;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it))
        level.append(it.data->root);

    qsizetype visited = 0;
    for (int depth = 0; depth < kWindowLevels && !level.isEmpty(); ++depth) {
        // Every request of a level goes out before the first reply is awaited: one round trip each.
        QList<xcb_query_tree_cookie_t> treeCookies;
        treeCookies.reserve(level.size());
        for (const xcb_window_t window : std::as_const(level))
            treeCookies.append(xcb_query_tree(c, window));
        QList<xcb_window_t> children;
        for (const xcb_query_tree_cookie_t cookie : std::as_const(treeCookies)) {
            const auto tree = Fetch<xcb_query_tree_reply_t>(c, cookie, xcb_query_tree_reply);
            if (!tree)
                continue;
            const xcb_window_t* ids = xcb_query_tree_children(tree.get());
            const int count = xcb_query_tree_children_length(tree.get());
            for (int i = 0; i < count && visited < kMaxWindows; ++i, ++visited)
                children.append(ids[i]);
        }

        QList<TitleRequest> requests;
        requests.reserve(children.size());
        for (const xcb_window_t window : std::as_const(children)) {
            TitleRequest request;
            request.m_window = window;
            if (netWmName != XCB_ATOM_NONE)
                request.m_netWmName =
                    xcb_get_property(c, 0, window, netWmName, XCB_GET_PROPERTY_TYPE_ANY, 0, titleWords);
            request.m_wmName =
                xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, titleWords);
            requests.append(request);
        }
        for (const TitleRequest& request : std::as_const(requests)) {
            std::optional<QString> text;
            if (request.m_netWmName) {
                const auto reply =
                    Fetch<xcb_get_property_reply_t>(c, *request.m_netWmName, xcb_get_property_reply);
                text = TitleText(reply.get(), utf8String);
            }
            const auto wmName = Fetch<xcb_get_property_reply_t>(c, request.m_wmName, xcb_get_property_reply);
            if (!text)
                text = TitleText(wmName.get(), utf8String);
            if (text && *text == title)
                return request.m_window;
        }
        level = std::move(children);
    }
    return std::nullopt;
}
