#include "platform/win32/win32_platform.h"

#include <timeapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <span>

#include "app/form.h"
#include "gfx/library_codecs.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_files.h"

namespace orvo::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"OrvoWindow";
constexpr DWORD kWindowedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullscreenStyle = WS_POPUP;

// The bytes of the program's resource `id` (RCDATA); empty when missing.
std::span<const std::uint8_t> ResourceBytes(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

// The work area of the monitor the window is on, or of the main one.
RECT WorkArea(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

// Resizes `window` so that its client area is `width` x `height`: the
// frame's size from AdjustWindowRectEx is the primary monitor's, which may
// differ on a monitor of another scale.
void FixClientSize(HWND window, int width, int height) {
  RECT outer;
  RECT client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const int dw = width - static_cast<int>(client.right);
  const int dh = height - static_cast<int>(client.bottom);
  if (dw == 0 && dh == 0) return;
  SetWindowPos(window, nullptr, 0, 0, static_cast<int>(outer.right - outer.left) + dw,
               static_cast<int>(outer.bottom - outer.top) + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A key message as the window's keys judge it: a repeat has the key down
// before (bit 30); Alt is held when bit 29 says so (F10's system key
// messages have no Alt).
app::WindowKeys::Press PressOf(UINT message, WPARAM w, LPARAM l) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const WORD flags = HIWORD(l);
  return {app::Key{static_cast<int>(w)}, down, down && (flags & KF_REPEAT) != 0,
          (flags & KF_ALTDOWN) != 0,
          GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0};
}

}  // namespace

Win32Platform::Win32Platform() {
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&started_);
  // Waits end within a millisecond of their time rather than at the next
  // 15.6 ms tick of the system's timer.
  timeBeginPeriod(1);
  dib_.bmiHeader.biSize = sizeof dib_.bmiHeader;
  dib_.bmiHeader.biWidth = app::kClientWidth;
  dib_.bmiHeader.biHeight = -app::kClientHeight;  // top row first
  dib_.bmiHeader.biPlanes = 1;
  dib_.bmiHeader.biBitCount = 32;
  dib_.bmiHeader.biCompression = BI_RGB;
  shown_.assign(static_cast<std::size_t>(app::kClientWidth) * app::kClientHeight, 0);
}

Win32Platform::~Win32Platform() {
  if (window_) DestroyWindow(window_);
  timeEndPeriod(1);
}

std::string Win32Platform::ProgramFolder() {
  // The path may be longer than MAX_PATH: grow the buffer until it fits.
  // On failure only the separator: the shell's folder check then fails.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "\\";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() >= 32768) return "\\";
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return "\\";
  // A drive's root keeps its "\": "C:\".
  path.resize(slash + 1);
  return Utf8(path);
}

std::optional<std::vector<gfx::FolderEntry>> Win32Platform::ListFolder(
    const std::string& folder) const {
  return win32::ListFolder(folder);
}

gfx::FileRead Win32Platform::ReadFile(const std::string& path, std::int64_t limit,
                                      std::vector<std::uint8_t>& bytes) const {
  return win32::ReadFile(path, limit, bytes);
}

bool Win32Platform::OpenWindow(gfx::Surface& background, std::string& error) {
  std::string reason;
  std::optional<gfx::Surface> picture =
      gfx::LibraryDecoder().Decode(ResourceBytes(ORVO_WINDOW_BACK), reason);
  if (!picture) {
    error = "Cannot decode the window's background picture: " + reason;
    return false;
  }
  std::optional<app::GlyphAtlas> glyphs =
      app::GlyphAtlas::Parse(ResourceBytes(ORVO_GLYPHS), reason);
  if (!glyphs) {
    error = "Cannot show the window's labels: " + reason;
    return false;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ORVO_ICON));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ORVO_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) {
    error = "Cannot open the window: the window class cannot be registered";
    return false;
  }
  const RECT work = WorkArea(nullptr);
  const int workWidth = static_cast<int>(work.right - work.left);
  const int workHeight = static_cast<int>(work.bottom - work.top);
  placement_ = app::Placement{app::WindowScale(workWidth, workHeight), 0, 0};
  RECT frame{0, 0, app::kClientWidth * placement_.scale, app::kClientHeight * placement_.scale};
  AdjustWindowRectEx(&frame, kWindowedStyle, FALSE, 0);
  const int width = static_cast<int>(frame.right - frame.left);
  const int height = static_cast<int>(frame.bottom - frame.top);
  const int x = static_cast<int>(work.left) + std::max(0, (workWidth - width) / 2);
  const int y = static_cast<int>(work.top) + std::max(0, (workHeight - height) / 2);
  window_ = CreateWindowExW(0, kWindowClass, Utf16(app::kWindowCaption).c_str(), kWindowedStyle, x,
                            y, width, height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    error = "Cannot open the window: CreateWindowEx failed with error " +
            std::to_string(GetLastError());
    return false;
  }
  FixClientSize(window_, app::kClientWidth * placement_.scale,
                app::kClientHeight * placement_.scale);
  glyphs_ = std::move(*glyphs);
  background = std::move(*picture);
  return true;
}

void Win32Platform::ShowFatalMessage(const std::string& title, const std::string& message) {
  MessageBoxW(window_, Utf16(message).c_str(), Utf16(title).c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void Win32Platform::EndProgram(int status) {
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  timeEndPeriod(1);
  std::exit(status);
}

void Win32Platform::PresentFrame(const gfx::Surface& frame) {
  // The game's colours are 0x00BBGGRR; a DIB's are 0x00RRGGBB.
  const std::span<const gfx::Color> pixels = frame.Pixels();
  const std::size_t n = std::min(pixels.size(), shown_.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t c = pixels[i];
    shown_[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  if (window_ == nullptr) return;
  if (!IsWindowVisible(window_)) {
    // The first frame shows the window, painted at once.
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    return;
  }
  HDC dc = GetDC(window_);
  Paint(dc);
  ReleaseDC(window_, dc);
}

void Win32Platform::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  const int width = app::kClientWidth * placement_.scale;
  const int height = app::kClientHeight * placement_.scale;
  // Black around the picture in the full screen.
  if (placement_.x > 0 || placement_.y > 0) {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {
        {0, 0, client.right, placement_.y},
        {0, placement_.y + height, client.right, client.bottom},
        {0, placement_.y, placement_.x, placement_.y + height},
        {placement_.x + width, placement_.y, client.right, placement_.y + height},
    };
    for (const RECT& bar : bars) {
      if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
    }
  }
  SetStretchBltMode(dc, COLORONCOLOR);  // nearest neighbour
  StretchDIBits(dc, placement_.x, placement_.y, width, height, 0, 0, app::kClientWidth,
                app::kClientHeight, shown_.data(), &dib_, DIB_RGB_COLORS, SRCCOPY);
}

std::int64_t Win32Platform::TickCount() {
  // Milliseconds since the program started, as on the other platforms.
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::int64_t f = frequency_.QuadPart;
  const std::int64_t counts = now.QuadPart - started_.QuadPart;
  // Whole seconds and the rest apart, so that the product never overflows.
  return counts / f * 1000 + counts % f * 1000 / f;
}

void Win32Platform::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      queue_.push_back(app::InputEvent::Of(app::InputEvent::Kind::Close));
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::optional<app::InputEvent> Win32Platform::WaitForEvent(std::int64_t deadline) {
  for (;;) {
    if (queue_.empty()) Pump();
    if (!queue_.empty()) {
      const app::InputEvent event = queue_.front();
      queue_.pop_front();
      return event;
    }
    DWORD timeout = INFINITE;
    if (deadline != app::kNothingDue) {
      // Compared before subtracting: kNoWait minus a tick would overflow.
      const std::int64_t now = TickCount();
      if (now >= deadline) return std::nullopt;
      timeout = static_cast<DWORD>(std::min<std::int64_t>(deadline - now, INFINITE - 1));
    }
    // Wakes for any message, also one that arrived before the last look
    // and was left in the queue (MWMO_INPUTAVAILABLE).
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Win32Platform::ToggleFullscreen() {
  if (!fullscreen_) {
    windowed_.length = sizeof windowed_;
    GetWindowPlacement(window_, &windowed_);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& m = info.rcMonitor;
    fullscreen_ = true;
    SetWindowLongPtrW(window_, GWL_STYLE, kFullscreenStyle | WS_VISIBLE);
    placement_ = app::FitInside(m.right - m.left, m.bottom - m.top);
    SetWindowPos(window_, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                 SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  } else {
    fullscreen_ = false;
    SetWindowLongPtrW(window_, GWL_STYLE, kWindowedStyle | WS_VISIBLE);
    placement_ = app::Placement{placement_.scale, 0, 0};
    SetWindowPlacement(window_, &windowed_);
    FitWindowToMonitor();
  }
  InvalidateRect(window_, nullptr, FALSE);
}

void Win32Platform::FitWindowToMonitor() {
  const RECT work = WorkArea(window_);
  placement_ =
      app::Placement{app::WindowScale(work.right - work.left, work.bottom - work.top), 0, 0};
  RECT frame{0, 0, app::kClientWidth * placement_.scale, app::kClientHeight * placement_.scale};
  AdjustWindowRectEx(&frame, kWindowedStyle, FALSE, 0);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  FixClientSize(window_, app::kClientWidth * placement_.scale,
                app::kClientHeight * placement_.scale);
}

bool Win32Platform::Key(UINT message, WPARAM w, LPARAM l) {
  using Kind = app::InputEvent::Kind;
  const app::WindowKeys::Press press = PressOf(message, w, l);
  switch (window_keys_.Judge(press)) {
    case app::WindowKeys::Verdict::ToggleFullscreen:
      ToggleFullscreen();
      return false;
    case app::WindowKeys::Verdict::Swallowed:
      return false;
    case app::WindowKeys::Verdict::ForTheGame:
      break;
  }
  queue_.push_back(app::InputEvent::KeyEvent(press.down ? Kind::KeyDown : Kind::KeyUp, press.key));
  return true;
}

void Win32Platform::Pointer(app::InputEvent::Kind kind, LPARAM l) {
  app::InputEvent event{kind};
  app::ToGamePixel(placement_, GET_X_LPARAM(l), GET_Y_LPARAM(l), event.x, event.y);
  queue_.push_back(event);
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) return DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

LRESULT Win32Platform::Handle(UINT message, WPARAM w, LPARAM l) {
  using Kind = app::InputEvent::Kind;
  switch (message) {
    case WM_CLOSE:
      // The shell ends the program; the window is not destroyed before.
      queue_.push_back(app::InputEvent::Of(Kind::Close));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_KEYDOWN:
    case WM_KEYUP:
      Key(message, w, l);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // With Alt held (or F10) keys come as the system's. The game takes
      // them as any other, their releases above all, or a key let go with
      // Alt down would stay held for it. Windows still sees those the
      // window does not keep (Alt+F4); those it keeps make no beep.
      if (!Key(message, w, l)) return 0;
      break;
    case WM_SYSCOMMAND:
      // Alt alone or F10 would enter the (absent) menu and take the keys.
      if ((w & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_KILLFOCUS:
      // The keys held now will come up elsewhere: the shell lets them go.
      window_keys_.Reset();
      queue_.push_back(app::InputEvent::Of(Kind::FocusLost));
      break;
    case WM_LBUTTONDOWN:
      SetCapture(window_);
      Pointer(Kind::PointerDown, l);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      Pointer(Kind::PointerUp, l);
      return 0;
    case WM_MOUSEMOVE:
      Pointer(Kind::PointerMove, l);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: take Windows' place for it,
      // then a whole multiple of the game's size that fits there.
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (!fullscreen_) FitWindowToMonitor();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

}  // namespace orvo::win32
