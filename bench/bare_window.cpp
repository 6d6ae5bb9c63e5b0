// The baselines for the start-up benchmark: the least a Win32 program with one window does,
// and (built with WITH_COMMON_CONTROLS) the same window with what any program of Plindar's kind
// pays under Wine as well: the version 6 common controls, a status bar, and one Chinese label in
// the message font, which brings in a CJK font.
#include <windows.h>
#include <commctrl.h>

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BareWindow";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 540, 500, nullptr, nullptr, instance, nullptr);
#ifdef WITH_COMMON_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                    instance, nullptr);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HWND label = ::CreateWindowExW(0, L"STATIC", L"逐一问题解决", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                 20, window, nullptr, instance, nullptr);
  ::SendMessageW(label, WM_SETFONT,
                 reinterpret_cast<WPARAM>(::CreateFontIndirectW(&metrics.lfMessageFont)), FALSE);
#endif
  ::ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
