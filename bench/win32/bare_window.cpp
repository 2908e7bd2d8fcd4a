// The baseline of the Windows figures: the least a Win32 program does to
// show a 580 x 388 picture in a window (register a class, create the window,
// present one frame with StretchDIBits, wait for messages), built the same
// way as orvo.exe. bench/windows_figures.sh sets Orvo's start-up, idle CPU
// and size beside it.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 580;
constexpr int kHeight = 388;
std::vector<std::uint32_t> frame(kWidth* kHeight, 0x00402060);

void Present(HWND window, HDC dc) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  RECT client;
  GetClientRect(window, &client);
  StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, kWidth, kHeight, frame.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      Present(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, w, l);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.lpszClassName = L"BareWindow";
  RegisterClassExW(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare window", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top,
                                nullptr, nullptr, instance, nullptr);
  HDC dc = GetDC(window);
  Present(window, dc);
  ReleaseDC(window, dc);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
