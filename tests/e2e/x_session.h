// The test desktop: a private Xvfb server and a connection to it that finds
// windows, reads their properties and pixels, and drives the real X input path
// with XTest, the way a user's pointer and keyboard would.
#pragma once

#include "image.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace e2e {

// One Xvfb at 24-bit depth and 96 dpi on a display number the server picks
// itself; stopped when this object goes.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(XServer const&) = delete;
    XServer& operator=(XServer const&) = delete;

    std::string const& display_name() const { return m_display_name; }

private:
    pid_t m_pid = -1;
    std::string m_display_name;
};

class XSession {
public:
    explicit XSession(std::string const& display_name);
    ~XSession();
    XSession(XSession const&) = delete;
    XSession& operator=(XSession const&) = delete;

    Display* display() const { return m_display; }

    // A mapped top-level window whose title contains title_part, one of
    // process pid where there is such (Wine's windows may carry another
    // process id); None when there is none.
    Window find_window(pid_t pid, std::string_view title_part);
    // The window's place on the screen, in root coordinates.
    Rect screen_rect(Window window);

    Image capture(Rect screen);

    void move_pointer(int x, int y);
    void click(int x, int y, unsigned button = 1, int times = 1);
    void wheel(int x, int y, int notches); // positive: down, away from the user
    // Presses and releases one key with modifiers, e.g. "Tab", "shift+Tab", "ctrl+v".
    void key(std::string_view combo);
    // Types text of letters, digits and blanks.
    void type(std::string_view text);
    void give_focus(Window window);
    // Asks the window to close, as a window manager's close button does.
    void request_close(Window window);
    // Pings the window's client the way a window manager does and waits for
    // the answer: the client gives it once it has read every event sent to it
    // before. False when it did not answer in time (or does not answer pings).
    bool ping(Window window, std::chrono::milliseconds timeout);

    std::string text_property(Window window, char const* name);
    std::vector<long> long_property(Window window, char const* name);
    std::optional<XSizeHints> normal_hints(Window window);
    // The text the clipboard's owner hands out as UTF-8; empty when none.
    std::string clipboard_text(std::chrono::milliseconds timeout);

private:
    Atom atom(char const* name);
    void fake_key(KeySym keysym, bool down);
    void sync();

    Display* m_display = nullptr;
    Window m_helper = 0; // receives the clipboard's contents
    long m_pings = 0;
};

} // namespace e2e
