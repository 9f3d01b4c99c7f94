// Win32 display back end: the top-level window, its message loop and the error
// report, on the plain wide-character API (nothing newer than Windows XP).
// Implements: the frame the form asks for (fixed, or sizable with a thick
// frame) around the client area, minimise and maximise buttons, the
// background colour, the window font, the icon drawn from the model's
// picture, Tab and Shift+Tab in tab-index order, the focus kept across
// deactivation, closing. Leaves out: moving the elements when a sizable
// window changes size, menus, DPI scaling (the layout is in 96-DPI pixels and
// the system scales an unaware program as a whole), and any control the model
// does not have. The elements are made in win32_controls.cpp.
#include "win32_backend.h"

#include "platform/display.h"

#include <cstdint>
#include <string>

namespace win32 {

namespace {

wchar_t const window_class[] = L"TavrelOskundForm";

HFONT make_font(platform::Font const& font)
{
    // The layout is fixed in pixels at 96 dots per inch, and so is the font.
    HFONT const handle = CreateFontW(-platform::font_pixels(font), 0, 0, 0, font.weight, (font.style & 2) != 0,
        (font.style & 4) != 0, (font.style & 8) != 0, static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, widen(font.name).c_str());
    if (!handle)
        fail("failed to create the font " + font.name);
    return handle;
}

// An icon from the model's picture: colour from its pixels, the mask from
// their alpha (0 is transparent), so it looks the same wherever it is drawn.
HICON make_icon(platform::Picture const& picture)
{
    BITMAPV5HEADER header {};
    header.bV5Size = sizeof header;
    header.bV5Width = picture.width;
    header.bV5Height = -picture.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;

    HDC const screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP const colour
        = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO const*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour)
        fail("failed to create the icon's colour bitmap");

    // Monochrome rows are padded to 16 bits.
    int const mask_stride = (picture.width + 15) / 16 * 2;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(mask_stride) * picture.height, 0);
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            std::uint32_t const pixel = picture.at(x, y);
            bool const transparent = (pixel >> 24) == 0;
            out[static_cast<std::size_t>(y) * picture.width + x] = transparent ? 0 : (pixel | 0xFF000000);
            if (transparent)
                mask[static_cast<std::size_t>(y) * mask_stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    HBITMAP const mono = CreateBitmap(picture.width, picture.height, 1, 1, mask.data());

    ICONINFO info {};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mono;
    HICON const icon = mono ? CreateIconIndirect(&info) : nullptr;
    DeleteObject(colour);
    if (mono)
        DeleteObject(mono);
    if (!icon)
        fail("failed to create the window icon");
    return icon;
}

// The icons go into the window class, so the window has them from its
// creation: no WM_SETICON afterwards, which would have the system convert
// each icon for the desktop again.
void make_icons(Backend& b, platform::Picture const& picture)
{
    if (!picture.has_pixels())
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "the window icon has no pixels");
    b.icon_big = make_icon(picture);
    b.icon_small = static_cast<HICON>(
        CopyImage(b.icon_big, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

LRESULT handle(Backend& b, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC const dc = BeginPaint(hwnd, &paint);
        paint_labels(b, dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        // A read-only edit would otherwise take the dialog colour; the task
        // text keeps the window colours of an ordinary text box.
        if (Child const* child = b.find(reinterpret_cast<HWND>(lparam)); child && child->text) {
            HDC const dc = reinterpret_cast<HDC>(wparam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND const focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                b.last_focus = focus;
        } else if (b.last_focus) {
            SetFocus(b.last_focus);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (b.last_focus)
            SetFocus(b.last_focus);
        return 0;
    case WM_DESTROY:
        b.window = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

void list_selected(Backend const& b, HWND list)
{
    if (Child const* child = b.find(list); child && child->list) {
        auto const entry = static_cast<std::int16_t>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        platform::user_selected(*child->list, entry);
    }
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    Backend& b = backend();
    if (!b.window)
        return DefWindowProcW(hwnd, message, wparam, lparam);
    // A selection is user input, which the engine runs under the error report
    // itself; the rest of what the window handles runs under it here.
    if (message == WM_COMMAND && HIWORD(wparam) == LBN_SELCHANGE) {
        list_selected(b, reinterpret_cast<HWND>(lparam));
        return 0;
    }
    return platform::reporting_errors([&] { return handle(b, hwnd, message, wparam, lparam); });
}

void register_classes(Backend const& b, HINSTANCE instance, HBRUSH background)
{
    WNDCLASSEXW form {};
    form.cbSize = sizeof form;
    form.lpfnWndProc = window_proc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    form.hbrBackground = background;
    form.lpszClassName = window_class;
    form.hIcon = b.icon_big;
    form.hIconSm = b.icon_small ? b.icon_small : b.icon_big;
    if (!RegisterClassExW(&form))
        fail("failed to register the window class");

    WNDCLASSEXW picture {};
    picture.cbSize = sizeof picture;
    picture.lpfnWndProc = picture_proc;
    picture.hInstance = instance;
    picture.hCursor = form.hCursor;
    picture.lpszClassName = picture_class;
    if (!RegisterClassExW(&picture))
        fail("failed to register the picture box class");
}

} // namespace

Backend& backend()
{
    static Backend instance;
    return instance;
}

Backend::~Backend()
{
    release();
}

void Backend::release()
{
    for (HGDIOBJ object : { static_cast<HGDIOBJ>(font), static_cast<HGDIOBJ>(background) })
        if (object)
            DeleteObject(object);
    if (icon_small && icon_small != icon_big)
        DestroyIcon(icon_small);
    if (icon_big)
        DestroyIcon(icon_big);
    font = nullptr;
    background = nullptr;
    icon_small = nullptr;
    icon_big = nullptr;
}

Child const* Backend::find(HWND hwnd) const
{
    for (auto const& child : children)
        if (child.hwnd && child.hwnd == hwnd)
            return &child;
    return nullptr;
}

Child const* Backend::find(platform::Control const& control) const
{
    for (auto const& child : children)
        if (child.control == &control)
            return &child;
    return nullptr;
}

std::wstring widen(std::string_view text)
{
    if (text.empty())
        return {};
    int const size = static_cast<int>(text.size());
    int const length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "Win32: a text is not valid UTF-8");
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

COLORREF to_colorref(platform::Color color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

RECT pixel_rect(platform::Place const& place)
{
    platform::PixelPlace const p = platform::to_pixels(place);
    return RECT { p.x, p.y, p.x + p.w, p.y + p.h };
}

void fail(std::string const& what)
{
    rt::raise(rt::ErrorCode::ControlOperationFailed,
        "Win32: " + what + " (system error " + std::to_string(GetLastError()) + ")");
}

} // namespace win32

namespace display {

void start() { }

void open_window(platform::Form& form)
{
    using namespace win32;
    Backend& b = backend();
    HINSTANCE const instance = GetModuleHandleW(nullptr);
    b.form = &form;
    b.background = CreateSolidBrush(to_colorref(form.back_color));
    if (!b.background)
        fail("failed to create the background brush");
    if (form.icon)
        make_icons(b, *form.icon);
    register_classes(b, instance, b.background);
    b.font = make_font(form.font);

    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (form.border_style != 1)
        style |= WS_THICKFRAME;
    if (form.min_button)
        style |= WS_MINIMIZEBOX;
    if (form.max_button)
        style |= WS_MAXIMIZEBOX;
    platform::PixelPlace const client = platform::to_pixels(form.client_area);
    RECT frame { 0, 0, client.w, client.h };
    if (!AdjustWindowRectEx(&frame, style, FALSE, 0))
        fail("failed to size the window frame");
    int const width = frame.right - frame.left;
    int const height = frame.bottom - frame.top;

    // The window first opens in the middle of the desktop's work area.
    RECT work {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int const x = work.left + std::max(0L, (work.right - work.left - width) / 2);
    int const y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);

    HWND const hwnd = CreateWindowExW(
        0, window_class, widen(form.caption).c_str(), style, x, y, width, height, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        fail("failed to create the window");
    b.window = hwnd;
}

void show(platform::Form&, platform::Control* first_focus)
{
    using namespace win32;
    Backend& b = backend();
    // Known before the window is shown, the first element takes the focus
    // straight away on activation, without the window holding it first.
    if (first_focus)
        b.last_focus = b.find(*first_focus)->hwnd;
    b.shown = true;
    ShowWindow(b.window, SW_SHOWNORMAL);
    if (b.last_focus)
        SetFocus(b.last_focus);
    UpdateWindow(b.window);
}

void run(platform::Form& form)
{
    using namespace win32;
    Backend& b = backend();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab follows the tab index, which the child windows' order (their
        // front-to-back order) does not, so the dialog manager cannot do it.
        if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && b.window
            && (message.hwnd == b.window || IsChild(b.window, message.hwnd))) {
            Child const* focused = b.find(GetFocus());
            platform::user_pressed_tab(form, focused ? focused->control : nullptr, GetKeyState(VK_SHIFT) < 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void end()
{
    using namespace win32;
    Backend& b = backend();
    b.children.clear();
    b.last_focus = nullptr;
    b.form = nullptr;
    b.release();
}

void report(platform::ErrorReport const& report)
{
    using namespace win32;
    Backend& b = backend();
    // The window does not outlive the error: hide it and forget every element,
    // so nothing that the report's own message loop dispatches reaches a
    // handler while the process is ending.
    b.children.clear();
    b.last_focus = nullptr;
    b.form = nullptr;
    if (b.window)
        ShowWindow(b.window, SW_HIDE);

    // The report's texts are valid UTF-8, so widening them cannot fail.
    MessageBoxW(nullptr, widen(report.text).c_str(), widen(report.title).c_str(),
        MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TASKMODAL);
}

} // namespace display
