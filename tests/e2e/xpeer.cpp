// Another X11 program for the end-to-end suite: a clipboard owner that never
// answers, and a drag source (XDND) that answers or never does.
//
// xpeer hold-clipboard
//     owns CLIPBOARD, prints "ready", then ignores every request until killed;
//     prints "taken over" when another program takes the clipboard
// xpeer drag WINDOW X Y stall|TEXT
//     drags text/uri-list and text/plain (stall) or text/plain holding TEXT
//     to the point X,Y of WINDOW; prints how long each XdndStatus took and,
//     for TEXT, drops it there and prints whether it was taken
#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_connection_t *c;
xcb_window_t self;

xcb_atom_t atom(const char *name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}

void connect()
{
    int screen = 0;
    c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c) != 0) {
        std::fputs("xpeer: no display\n", stderr);
        std::exit(2);
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen; ++i)
        xcb_screen_next(&it);
    self = xcb_generate_id(c);
    xcb_create_window(c, 0, self, it.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0,
                      nullptr);
}

void own(xcb_atom_t selection)
{
    xcb_set_selection_owner(c, self, selection, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t *r =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = r && r->owner == self;
    std::free(r);
    if (!owned) {
        std::fputs("xpeer: could not own the selection\n", stderr);
        std::exit(2);
    }
}

// The next event, or nullptr when `until` passed first.
xcb_generic_event_t *next(Clock::time_point until)
{
    while (true) {
        if (xcb_generic_event_t *e = xcb_poll_for_event(c))
            return e;
        if (xcb_connection_has_error(c) != 0)
            std::exit(2);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return nullptr;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left));
    }
}

void send(xcb_window_t to, xcb_atom_t type, std::vector<uint32_t> data)
{
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = to;
    m.type = type;
    data.resize(5);
    for (int i = 0; i < 5; ++i)
        m.data.data32[i] = data[i];
    xcb_send_event(c, 0, to, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&m));
    xcb_flush(c);
}

int holdClipboard()
{
    own(atom("CLIPBOARD"));
    std::puts("ready");
    std::fflush(stdout);
    while (xcb_generic_event_t *e = xcb_wait_for_event(c)) {
        if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST)
            std::fputs("xpeer: a request left unanswered\n", stderr);
        if ((e->response_type & 0x7F) == XCB_SELECTION_CLEAR) {
            std::puts("taken over");
            std::fflush(stdout);
        }
        std::free(e);
    }
    return 0;
}

// The answer a drag source owes when the target asks for the dragged text.
void answer(const xcb_selection_request_event_t &request, const std::string &text, xcb_atom_t targets)
{
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = request.time;
    n.requestor = request.requestor;
    n.selection = request.selection;
    n.target = request.target;
    n.property = request.property == XCB_ATOM_NONE ? request.target : request.property;
    if (request.target == targets) {
        const xcb_atom_t offered[] = {targets, atom("text/plain"), atom("UTF8_STRING")};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, n.property, XCB_ATOM_ATOM, 32, 3, offered);
    } else {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, n.property, request.target, 8,
                            static_cast<uint32_t>(text.size()), text.data());
    }
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&n));
    xcb_flush(c);
}

int drag(xcb_window_t target, int x, int y, const std::string &what)
{
    const bool stall = what == "stall";
    const xcb_atom_t status = atom("XdndStatus"), finished = atom("XdndFinished"), targets = atom("TARGETS");
    own(atom("XdndSelection"));
    xcb_translate_coordinates_reply_t *at = xcb_translate_coordinates_reply(
        c,
        xcb_translate_coordinates(c, target, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                                  static_cast<int16_t>(x), static_cast<int16_t>(y)),
        nullptr);
    if (!at)
        return 2;
    const uint32_t rootX = static_cast<uint16_t>(at->dst_x), rootY = static_cast<uint16_t>(at->dst_y);
    std::free(at);

    std::vector<uint32_t> types{atom("text/plain")};
    if (stall)
        types.insert(types.begin(), atom("text/uri-list"));
    std::vector<uint32_t> enter{self, 5U << 24};
    enter.insert(enter.end(), types.begin(), types.end());
    send(target, atom("XdndEnter"), enter);

    // Every position is answered by a status. A text drag hands its text
    // over whenever the target asks; a stalled one never does.
    bool accepted = false;
    for (int move = 0; move < 4; ++move) {
        const Clock::time_point sent = Clock::now();
        send(target, atom("XdndPosition"),
             {self, 0, (rootX << 16) | ((rootY + move) & 0xFFFF), XCB_CURRENT_TIME, atom("XdndActionCopy")});
        bool answered = false;
        const Clock::time_point until = sent + std::chrono::seconds(30);
        while (!answered) {
            xcb_generic_event_t *e = next(until);
            if (e == nullptr)
                break;
            const auto *m = reinterpret_cast<const xcb_client_message_event_t *>(e);
            if ((e->response_type & 0x7F) == XCB_CLIENT_MESSAGE && m->type == status) {
                answered = true;
                accepted = (m->data.data32[1] & 1) != 0;
            } else if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST && !stall) {
                answer(*reinterpret_cast<const xcb_selection_request_event_t *>(e), what, targets);
            }
            std::free(e);
        }
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
        std::printf("status %d: %s after %lld ms\n", move, answered ? (accepted ? "accepted" : "refused") : "none",
                    static_cast<long long>(ms));
        std::fflush(stdout);
        if (!answered)
            return 1;
    }
    if (stall || !accepted) {
        send(target, atom("XdndLeave"), {self});
        return 0;
    }
    send(target, atom("XdndDrop"), {self, 0, XCB_CURRENT_TIME});
    const Clock::time_point until = Clock::now() + std::chrono::seconds(30);
    while (xcb_generic_event_t *e = next(until)) {
        const auto *m = reinterpret_cast<const xcb_client_message_event_t *>(e);
        if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
            answer(*reinterpret_cast<const xcb_selection_request_event_t *>(e), what, targets);
        } else if ((e->response_type & 0x7F) == XCB_CLIENT_MESSAGE && m->type == finished) {
            std::printf("drop %s\n", (m->data.data32[1] & 1) != 0 ? "taken" : "refused");
            std::free(e);
            return 0;
        }
        std::free(e);
    }
    std::puts("drop unanswered");
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    connect();
    if (argc == 2 && std::strcmp(argv[1], "hold-clipboard") == 0)
        return holdClipboard();
    if (argc == 6 && std::strcmp(argv[1], "drag") == 0)
        return drag(static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)), std::atoi(argv[3]),
                    std::atoi(argv[4]), argv[5]);
    std::fputs("usage: xpeer hold-clipboard | xpeer drag WINDOW X Y stall|TEXT\n", stderr);
    return 2;
}
