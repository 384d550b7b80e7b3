#include "platform/x11clipboard.h"

#include <QGuiApplication>

#if defined(DUDOVUVOV_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>
#endif

namespace platform {

#if defined(DUDOVUVOV_HAVE_XCB) && QT_CONFIG(xcb)

namespace {

using Clock = std::chrono::steady_clock;

struct FreeReply {
    void operator()(void *p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

enum Atom { Clipboard, Targets, Utf8String, TextPlainUtf8, TextPlain, String, Incr, Property, AtomCount };
constexpr std::array<const char *, AtomCount> atomNames = {
    "CLIPBOARD",  "TARGETS", "UTF8_STRING", "text/plain;charset=utf-8",
    "text/plain", "STRING",  "INCR",        "DUDOVUVOV_CLIPBOARD"};

// One request's answer: the property the owner wrote, or why there is none.
struct Converted {
    X11Clipboard::Answer answer = X11Clipboard::Answer::NoAnswer;
    xcb_atom_t type = XCB_ATOM_NONE;
    QByteArray bytes;
};

// A connection of our own, so that nothing Qt waits for is in its way and a
// late answer dies with it.
class Session {
public:
    Session() : c(xcb_connect(nullptr, &m_screen)) {}
    ~Session() { xcb_disconnect(c); }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool open()
    {
        if (xcb_connection_has_error(c) != 0)
            return false;
        std::array<xcb_intern_atom_cookie_t, AtomCount> cookies{};
        for (int i = 0; i < AtomCount; ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(atomNames[i])), atomNames[i]);
        for (int i = 0; i < AtomCount; ++i) {
            const Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, cookies[i], nullptr));
            if (!r)
                return false;
            atoms[i] = r->atom;
        }
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < m_screen && screens.rem > 0; ++i)
            xcb_screen_next(&screens);
        if (screens.rem == 0)
            return false;
        m_window = xcb_generate_id(c);
        xcb_create_window(c, 0, m_window, screens.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        return true;
    }

    xcb_window_t owner()
    {
        const Reply<xcb_get_selection_owner_reply_t> r(
            xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atoms[Clipboard]), nullptr));
        return r ? r->owner : xcb_window_t{XCB_WINDOW_NONE};
    }

    Converted convert(xcb_atom_t target, Clock::time_point deadline)
    {
        xcb_convert_selection(c, m_window, atoms[Clipboard], target, atoms[Property], XCB_CURRENT_TIME);
        xcb_flush(c);
        while (true) {
            while (xcb_generic_event_t *raw = xcb_poll_for_event(c)) {
                const Reply<xcb_generic_event_t> event(raw);
                if ((event->response_type & 0x7F) != XCB_SELECTION_NOTIFY)
                    continue;
                const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(raw);
                if (notify->requestor == m_window && notify->target == target)
                    return notify->property == XCB_ATOM_NONE ? Converted{X11Clipboard::Answer::Nothing, {}, {}}
                                                             : readProperty();
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (xcb_connection_has_error(c) != 0 || left <= 0)
                return {};
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left));
        }
    }

    std::array<xcb_atom_t, AtomCount> atoms{};

private:
    Converted readProperty()
    {
        // Up to 4 MB: a color's text is a few dozen bytes.
        const Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
            c, xcb_get_property(c, 1, m_window, atoms[Property], XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr));
        if (!r)
            return {};
        // Sent in parts: the owner answers, and Qt knows how to take them.
        if (r->type == atoms[Incr])
            return {X11Clipboard::Answer::AskQt, r->type, {}};
        return {X11Clipboard::Answer::Text, r->type,
                QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())),
                           xcb_get_property_value_length(r.get()))};
    }

    xcb_connection_t *c;
    int m_screen = 0;
    xcb_window_t m_window = XCB_WINDOW_NONE;
};

// Qt answers for its own windows on the GUI thread, which would be waiting here.
bool ownWindow(xcb_window_t window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return false;
    const xcb_setup_t *setup = xcb_get_setup(x11->connection());
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

} // namespace

X11Clipboard askX11Clipboard(bool readText, std::chrono::milliseconds wait)
{
    const Clock::time_point deadline = Clock::now() + wait;
    X11Clipboard result;
    if (qGuiApp == nullptr || qGuiApp->nativeInterface<QNativeInterface::QX11Application>() == nullptr)
        return result;
    Session s;
    if (!s.open())
        return result;
    const xcb_window_t owner = s.owner();
    if (owner == XCB_WINDOW_NONE) {
        result.answer = X11Clipboard::Answer::Nothing;
        return result;
    }
    if (ownWindow(owner))
        return result;
    const Converted targets = s.convert(s.atoms[Targets], deadline);
    if (targets.answer != X11Clipboard::Answer::Text) {
        result.answer = targets.answer;
        return result;
    }
    // The first text format offered, in the order of preference.
    std::vector<xcb_atom_t> offered(static_cast<std::size_t>(targets.bytes.size()) / sizeof(xcb_atom_t));
    std::memcpy(offered.data(), targets.bytes.constData(), offered.size() * sizeof(xcb_atom_t));
    std::optional<xcb_atom_t> format;
    for (const Atom preferred : {Utf8String, TextPlainUtf8, String, TextPlain}) {
        if (std::find(offered.begin(), offered.end(), s.atoms[preferred]) != offered.end()) {
            format = s.atoms[preferred];
            break;
        }
    }
    result.answer = format ? X11Clipboard::Answer::Text : X11Clipboard::Answer::Nothing;
    if (!format || !readText)
        return result;
    const Converted text = s.convert(*format, deadline);
    result.answer = text.answer;
    if (text.answer == X11Clipboard::Answer::Text)
        result.text = *format == s.atoms[String] ? QString::fromLatin1(text.bytes) : QString::fromUtf8(text.bytes);
    return result;
}

#else

X11Clipboard askX11Clipboard(bool, std::chrono::milliseconds)
{
    return {};
}

#endif

} // namespace platform
