// The Win32 back end's own state, shared by its source files and by nothing
// else: the native window, one native child per visible element, and the GDI
// objects they draw with.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/controls.h"
#include "platform/runtime.h"

#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// A visible element and the native window that shows it; labels have none,
// since they are painted on the window's own surface. The element is also
// kept by its kind, for the window procedures that handle only one kind.
struct Child {
    platform::Control* control = nullptr;
    HWND hwnd = nullptr;
    platform::Label* label = nullptr;
    platform::ListBox* list = nullptr;
    platform::PictureBox* picture = nullptr;
    platform::TextBox* text = nullptr;
};

// Everything the back end owns natively, from open_window() until end().
struct Backend {
    Backend() = default;
    Backend(Backend const&) = delete;
    Backend& operator=(Backend const&) = delete;
    ~Backend();

    // Deletes the GDI objects and icons.
    void release();

    platform::Form* form = nullptr;
    HWND window = nullptr;
    HFONT font = nullptr;
    HBRUSH background = nullptr;
    HICON icon_big = nullptr;
    HICON icon_small = nullptr;
    // In creation order, labels included.
    std::vector<Child> children;
    // Where the focus was when the window was last deactivated.
    HWND last_focus = nullptr;
    // Whether the window has been shown; until then nothing needs repainting.
    bool shown = false;

    Child const* find(HWND hwnd) const;
    Child const* find(platform::Control const& control) const;
};

Backend& backend();

// UTF-8 from the control model to the wide text the API wants; text that is
// not UTF-8 raises a run-time error rather than showing garbage.
std::wstring widen(std::string_view text);

// A control's place in pixels of the client area.
RECT pixel_rect(platform::Place const& place);

// The model's colour as GDI takes it.
COLORREF to_colorref(platform::Color color);

// "Win32: <what>" with the system's error code, as a run-time error.
[[noreturn]] void fail(std::string const& what);

// Paints the labels on the window's surface, behind every child.
void paint_labels(Backend& b, HDC dc);

// Window procedure of the picture boxes' class; registered by the window.
LRESULT CALLBACK picture_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
extern wchar_t const picture_class[];

} // namespace win32
