// Win32 display back end: the elements of the window. List boxes and the text
// box are the system's LISTBOX and EDIT controls; picture boxes are a small
// class of ours that draws the shared picture 1:1; labels have no window and
// are painted on the form's surface, so every box lies in front of them.
// Implements: places in pixels, the window font on every element, the entry
// lists, selection both ways, picture and caption updates, tab order.
// Leaves out: elements that are not visible (they exist only in the model,
// hold their pictures there, and never take the focus), frames on picture
// boxes, and editing (the only text box is read-only).
#include "win32_backend.h"

#include "platform/display.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace win32 {

wchar_t const picture_class[] = L"TavrelOskundPicture";

namespace {

std::string element_name(platform::Control const& control)
{
    return control.array() + "(" + std::to_string(control.index()) + ")";
}

HWND create_child(Backend& b, platform::Control const& control, DWORD ex_style, wchar_t const* window_class,
    wchar_t const* text, DWORD style)
{
    RECT const place = pixel_rect(control.place);
    HWND const hwnd = CreateWindowExW(ex_style, window_class, text, WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | style,
        place.left, place.top, place.right - place.left, place.bottom - place.top, b.window, nullptr,
        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        fail("failed to create " + element_name(control));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(b.font), FALSE);
    return hwnd;
}

HWND create_list(Backend& b, platform::ListBox const& list)
{
    // Under Wine every change of the box's frame is a round trip to its
    // server. A box that cannot show all its entries (a row is at least the
    // font's height) keeps its scroll bar from the start instead of hiding
    // it while empty and bringing it back with the third entry; and it is
    // filled hidden, which spares switching its redrawing off and on.
    std::int64_t const rows_height = std::int64_t { list.ListCount() } * platform::font_pixels(b.form->font);
    DWORD const scroll_bar
        = rows_height > platform::to_pixels(list.place).h ? WS_VSCROLL | LBS_DISABLENOSCROLL : WS_VSCROLL;
    HWND const hwnd
        = create_child(b, list, WS_EX_CLIENTEDGE, L"LISTBOX", L"", scroll_bar | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
    SendMessageW(hwnd, LB_INITSTORAGE, static_cast<WPARAM>(list.ListCount()), 0);
    for (std::int16_t i = 0; i < list.ListCount(); ++i) {
        LRESULT const added
            = SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(list.List(i)).c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE)
            fail("failed to add an entry to " + element_name(list));
    }
    // The box is made to show whole entries in Times New Roman; where a
    // substitute font has shorter rows, stretch them so that a sliver of a
    // further entry never shows below the last whole one.
    RECT client {};
    GetClientRect(hwnd, &client);
    LRESULT const row = SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0);
    if (row > 0 && client.bottom % row != 0 && client.bottom / row > 0)
        SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, client.bottom / (client.bottom / row));
    SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
    ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

HWND create_text(Backend& b, platform::TextBox const& text)
{
    DWORD style = ES_LEFT | ES_AUTOVSCROLL;
    if (text.multi_line)
        style |= ES_MULTILINE;
    if (text.locked)
        style |= ES_READONLY;
    if (text.scroll_bars & 1)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (text.scroll_bars & 2)
        style |= WS_VSCROLL;
    // The text comes after the font, so that its lines wrap once, in the
    // window font, rather than first in the system font.
    HWND const hwnd = create_child(b, text, WS_EX_CLIENTEDGE, L"EDIT", L"", style | WS_VISIBLE);
    if (!SetWindowTextW(hwnd, widen(text.text).c_str()))
        fail("failed to set the text of " + element_name(text));
    return hwnd;
}

HWND create_picture(Backend& b, platform::PictureBox const& picture)
{
    return create_child(b, picture, picture.border ? WS_EX_CLIENTEDGE : 0, picture_class, L"", WS_VISIBLE);
}

void draw_picture(HWND hwnd, HDC dc, platform::Picture const* picture)
{
    RECT client;
    GetClientRect(hwnd, &client);
    int width = 0;
    int height = 0;
    if (picture && picture->has_pixels()) {
        width = picture->width;
        height = picture->height;
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first, as the model keeps it
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
            static_cast<UINT>(height), picture->pixels.data(), &info, DIB_RGB_COLORS);
    }
    // What the picture does not cover shows the box's own colour.
    HBRUSH const face = GetSysColorBrush(COLOR_BTNFACE);
    RECT const right { width, 0, client.right, client.bottom };
    RECT const below { 0, height, std::min<LONG>(width, client.right), client.bottom };
    if (right.left < right.right)
        FillRect(dc, &right, face);
    if (below.top < below.bottom)
        FillRect(dc, &below, face);
}

} // namespace

void paint_labels(Backend& b, HDC dc)
{
    HGDIOBJ const old_font = SelectObject(dc, b.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    // Back to front: of two overlapping labels the earlier one lies in front.
    for (auto child = b.children.rbegin(); child != b.children.rend(); ++child) {
        if (!child->label)
            continue;
        platform::Label const& label = *child->label;
        RECT place = pixel_rect(label.place);
        HBRUSH const brush = CreateSolidBrush(to_colorref(label.back_color));
        FillRect(dc, &place, brush);
        DeleteObject(brush);
        std::wstring const caption = widen(label.Caption());
        UINT const align = label.centred ? DT_CENTER : DT_LEFT;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place,
            align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old_font);
}

LRESULT CALLBACK picture_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the picture covers the box; erasing first would flicker
    case WM_NCPAINT:
        // A box without a border has no frame, and the system's frame code
        // would still ask for the screen's layout to draw nothing.
        if (Child const* child = backend().find(hwnd); child && child->picture && !child->picture->border)
            return 0;
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC const dc = BeginPaint(hwnd, &paint);
        Child const* child = backend().find(hwnd);
        draw_picture(hwnd, dc, child && child->picture ? child->picture->Picture().get() : nullptr);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
        // A picture box takes the focus when clicked, and shows no mark of it.
        SetFocus(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace win32

namespace display {

using namespace win32;

// A new child goes behind its older siblings, which is the front-to-back
// order wanted: earlier lies in front, and no child needs restacking.
void add_label(platform::Label& label)
{
    backend().children.push_back(Child { .control = &label, .label = &label });
}

void add_list_box(platform::ListBox& list)
{
    Backend& b = backend();
    HWND const hwnd = create_list(b, list);
    b.children.push_back(Child { .control = &list, .hwnd = hwnd, .list = &list });
}

void add_picture_box(platform::PictureBox& box)
{
    Backend& b = backend();
    HWND const hwnd = create_picture(b, box);
    b.children.push_back(Child { .control = &box, .hwnd = hwnd, .picture = &box });
}

void add_text_box(platform::TextBox& text)
{
    Backend& b = backend();
    HWND const hwnd = create_text(b, text);
    b.children.push_back(Child { .control = &text, .hwnd = hwnd, .text = &text });
}

// Until the window is shown its first paint draws every label and picture as
// they are then; invalidating them is a round trip for nothing.
void caption_changed(platform::Label& label)
{
    Backend const& b = backend();
    if (b.window && b.shown) {
        RECT const place = pixel_rect(label.place);
        InvalidateRect(b.window, &place, FALSE);
    }
}

void selection_changed(platform::ListBox& list)
{
    Backend const& b = backend();
    Child const* child = b.find(list);
    if (!child || !b.window)
        return;
    LRESULT const result = SendMessageW(child->hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
    if (result == LB_ERR && list.ListIndex() != -1)
        fail("failed to select an entry of " + element_name(list));
}

void picture_changed(platform::PictureBox& box)
{
    Backend const& b = backend();
    if (Child const* child = b.find(box); child && b.window && b.shown)
        InvalidateRect(child->hwnd, nullptr, FALSE);
}

void focus(platform::Control& control)
{
    if (Child const* child = backend().find(control); child && child->hwnd)
        SetFocus(child->hwnd);
}

} // namespace display
