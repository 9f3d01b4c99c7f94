#include "x_session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

using namespace std::chrono_literals;

XServer::XServer()
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        int const null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::string const fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten",
            "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (m_pid < 0 || number.empty())
        throw std::runtime_error("Xvfb did not start (is it installed?)");
    m_display_name = ":" + number;
}

XServer::~XServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

namespace {

// Windows come and go under the suite's feet (a program ending, Wine's
// helper windows); a request about one that is gone must fail that request,
// not end the test binary as Xlib's default handler does.
int ignore_x_error(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

XSession::XSession(std::string const& display_name)
{
    XSetErrorHandler(ignore_x_error);
    m_display = XOpenDisplay(display_name.c_str());
    if (!m_display)
        throw std::runtime_error("cannot open display " + display_name);
    int event_base, error_base, major, minor;
    if (!XTestQueryExtension(m_display, &event_base, &error_base, &major, &minor))
        throw std::runtime_error("the X server has no XTest");
    m_helper = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
}

XSession::~XSession()
{
    XCloseDisplay(m_display);
}

Atom XSession::atom(char const* name)
{
    return XInternAtom(m_display, name, False);
}

void XSession::sync()
{
    XSync(m_display, False);
}

std::vector<long> XSession::long_property(Window window, char const* name)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(
            m_display, window, atom(name), 0, 1 << 20, False, AnyPropertyType, &type, &format, &count, &after, &data)
            == Success
        && data && format == 32) {
        auto const* longs = reinterpret_cast<long const*>(data);
        values.assign(longs, longs + count);
    }
    if (data)
        XFree(data);
    return values;
}

std::string XSession::text_property(Window window, char const* name)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(
            m_display, window, atom(name), 0, 1 << 16, False, AnyPropertyType, &type, &format, &count, &after, &data)
            == Success
        && data && format == 8)
        text.assign(reinterpret_cast<char const*>(data), count);
    if (data)
        XFree(data);
    return text;
}

std::optional<XSizeHints> XSession::normal_hints(Window window)
{
    XSizeHints hints {};
    long supplied = 0;
    if (!XGetWMNormalHints(m_display, window, &hints, &supplied))
        return std::nullopt;
    return hints;
}

Window XSession::find_window(pid_t pid, std::string_view title_part)
{
    Window root_return, parent;
    Window* children = nullptr;
    unsigned count = 0;
    Window by_title = None;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root_return, &parent, &children, &count))
        return None;
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        if (text_property(children[i], "_NET_WM_NAME").find(title_part) == std::string::npos)
            continue;
        auto const pids = long_property(children[i], "_NET_WM_PID");
        if (!pids.empty() && pids.front() == pid)
            found = children[i];
        else if (by_title == None)
            by_title = children[i];
    }
    if (children)
        XFree(children);
    return found != None ? found : by_title;
}

Rect XSession::screen_rect(Window window)
{
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return {};
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    return { x, y, attributes.width, attributes.height };
}

Image XSession::capture(Rect screen)
{
    XImage* shot = XGetImage(m_display, DefaultRootWindow(m_display), screen.x, screen.y,
        static_cast<unsigned>(screen.w), static_cast<unsigned>(screen.h), AllPlanes, ZPixmap);
    if (!shot)
        throw std::runtime_error("XGetImage failed");
    Image image(screen.w, screen.h);
    for (int y = 0; y < screen.h; ++y)
        for (int x = 0; x < screen.w; ++x)
            image.set(x, y, static_cast<Rgb>(XGetPixel(shot, x, y) & 0xFFFFFF));
    XDestroyImage(shot);
    return image;
}

void XSession::move_pointer(int x, int y)
{
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), x, y, CurrentTime);
    sync();
}

void XSession::click(int x, int y, unsigned button, int times)
{
    move_pointer(x, y);
    for (int i = 0; i < times; ++i) {
        XTestFakeButtonEvent(m_display, button, True, CurrentTime);
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
        sync();
        std::this_thread::sleep_for(times > 1 ? 30ms : 10ms);
    }
}

void XSession::wheel(int x, int y, int notches)
{
    move_pointer(x, y);
    unsigned const button = notches > 0 ? 5 : 4;
    for (int i = 0; i < (notches > 0 ? notches : -notches); ++i) {
        XTestFakeButtonEvent(m_display, button, True, CurrentTime);
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    }
    sync();
}

void XSession::fake_key(KeySym keysym, bool down)
{
    KeyCode const code = XKeysymToKeycode(m_display, keysym);
    if (code == 0)
        throw std::runtime_error("no key for keysym " + std::to_string(keysym));
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
}

void XSession::key(std::string_view combo)
{
    std::vector<KeySym> keys;
    while (!combo.empty()) {
        auto const plus = combo.find('+', 1);
        std::string name(combo.substr(0, plus));
        combo = plus == std::string_view::npos ? std::string_view {} : combo.substr(plus + 1);
        if (name == "shift")
            name = "Shift_L";
        else if (name == "ctrl")
            name = "Control_L";
        else if (name == "alt")
            name = "Alt_L";
        KeySym const keysym = XStringToKeysym(name.c_str());
        if (keysym == NoSymbol)
            throw std::runtime_error("unknown key " + name);
        keys.push_back(keysym);
    }
    for (KeySym k : keys)
        fake_key(k, true);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        fake_key(*it, false);
    sync();
}

void XSession::type(std::string_view text)
{
    for (char c : text) {
        if (c == ' ')
            key("space");
        else if (c >= 'A' && c <= 'Z')
            key(std::string("shift+") + static_cast<char>(c - 'A' + 'a'));
        else
            key(std::string(1, c));
    }
}

void XSession::give_focus(Window window)
{
    XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    sync();
}

void XSession::request_close(Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(atom("WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    sync();
}

bool XSession::ping(Window window, std::chrono::milliseconds timeout)
{
    // The answer comes as a client message sent to the root window.
    Window const root = DefaultRootWindow(m_display);
    XWindowAttributes root_attributes;
    XGetWindowAttributes(m_display, root, &root_attributes);
    XSelectInput(m_display, root, root_attributes.your_event_mask | SubstructureNotifyMask);
    Atom const ping_atom = atom("_NET_WM_PING");
    long const stamp = ++m_pings;
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping_atom);
    event.xclient.data.l[1] = stamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(m_display, window, False, NoEventMask, &event);
    sync();
    auto const deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        XEvent reply;
        // The other news about the root's children is of no interest here.
        while (XCheckWindowEvent(m_display, root, SubstructureNotifyMask, &reply)) { }
        while (XCheckTypedWindowEvent(m_display, root, ClientMessage, &reply))
            if (static_cast<Atom>(reply.xclient.data.l[0]) == ping_atom && reply.xclient.data.l[1] == stamp)
                return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(2ms);
        sync();
    }
}

std::string XSession::clipboard_text(std::chrono::milliseconds timeout)
{
    Atom const property = atom("TAVREL_E2E_CLIPBOARD");
    XDeleteProperty(m_display, m_helper, property);
    XConvertSelection(m_display, atom("CLIPBOARD"), atom("UTF8_STRING"), property, m_helper, CurrentTime);
    sync();
    auto const deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        XEvent event;
        if (XCheckTypedWindowEvent(m_display, m_helper, SelectionNotify, &event))
            return event.xselection.property == None ? std::string {} : text_property(m_helper, "TAVREL_E2E_CLIPBOARD");
        std::this_thread::sleep_for(10ms);
    }
    return {};
}

} // namespace e2e
