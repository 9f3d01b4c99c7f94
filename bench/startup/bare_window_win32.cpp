// The yardstick for the Windows program's start-up: a bare Win32 window of
// the program's client size, frame and background that shows one line in the
// window font, "Times New Roman" 12 pt, where the program shows its route count.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC const dc = BeginPaint(hwnd, &paint);
        HFONT const font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Times New Roman");
        HGDIOBJ const old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        RECT line { 248, 248, 337, 273 };
        DrawTextW(dc, L"1*1*1 = 1", -1, &line, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(font);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXW form {};
    form.cbSize = sizeof form;
    form.lpfnWndProc = window_proc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    form.hbrBackground = CreateSolidBrush(RGB(0xC0, 0xC0, 0xFF));
    form.lpszClassName = L"TavrelOskundBareWindow";
    RegisterClassExW(&form);
    DWORD const style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame { 0, 0, 470, 409 };
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND const hwnd = CreateWindowExW(0, form.lpszClassName, L"Tavrel_Oskund bare window", style, CW_USEDEFAULT,
        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
