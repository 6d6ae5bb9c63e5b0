/* Stands in for the system's safe-removal Control Panel applet, which Wine does not have: on
   CPL_DBLCLK it shows a window titled "hotplug stand-in" and keeps its rundll32.exe alive until
   the window is closed or the process ended. Built for 32 and 64 bits, so it can sit in the
   system folder of either kind of Wine prefix. */
#include <windows.h>
#include <cpl.h>

static LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

static void ShowStandIn(HWND parent) {
  WNDCLASSW wc = {0};
  MSG message;
  HWND window;
  wc.lpfnWndProc = StandInProc;
  wc.hInstance = GetModuleHandleW(NULL);
  wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  wc.lpszClassName = L"HotplugStandIn";
  RegisterClassW(&wc);
  window = CreateWindowExW(0, wc.lpszClassName, L"hotplug stand-in", WS_OVERLAPPEDWINDOW, 40, 40,
                           320, 200, parent, NULL, wc.hInstance, NULL);
  ShowWindow(window, SW_SHOWNORMAL);
  while (GetMessageW(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

__declspec(dllexport) LONG CALLBACK
    CPlApplet(HWND parent, UINT message, LPARAM first, LPARAM second) {
  (void)first;
  switch (message) {
    case CPL_INIT:
      return TRUE;
    case CPL_GETCOUNT:
      return 1;
    case CPL_INQUIRE: {
      CPLINFO* info = (CPLINFO*)second;
      info->idIcon = 0;
      info->idName = 0;
      info->idInfo = 0;
      info->lData = 0;
      return 0;
    }
    case CPL_NEWINQUIRE: {
      NEWCPLINFOW* info = (NEWCPLINFOW*)second;
      ZeroMemory(info, sizeof(*info));
      info->dwSize = sizeof(*info);
      info->hIcon = LoadIconW(NULL, (LPCWSTR)IDI_APPLICATION);
      lstrcpyW(info->szName, L"hotplug stand-in");
      lstrcpyW(info->szInfo, L"hotplug stand-in");
      return 0;
    }
    case CPL_DBLCLK:
      ShowStandIn(parent);
      return 0;
    default:
      return 0;
  }
}
