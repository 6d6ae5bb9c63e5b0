#include "platform/StatusPanels.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/StatusText.h"
#include "platform/RuntimeError.h"

namespace platform {
namespace {

// Any program may set the status bar's texts; none longer than the bar can report is stored.
LRESULT CALLBACK KeepTextsReportable(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) {
  return AtMessageBoundary([&] {
    LRESULT result = 0;
    if (base::SetPartTextCut(window, message, wParam, lParam, result)) return result;
    return ::DefSubclassProc(window, message, wParam, lParam);
  });
}

}  // namespace

int SetUpPanels(HWND bar, std::span<const PanelLayout> panels, int dpi) {
  ::SetWindowSubclass(bar, KeepTextsReportable, 1, 0);
  RECT client{};
  ::GetClientRect(bar, &client);
  int borders[3] = {0, 0, 0};  // horizontal, vertical, between panels
  ::SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  const std::vector<int> edges = PanelRightEdges(panels, client.right, borders[2], dpi);
  ::SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  int clock = -1;
  for (size_t i = 0; i < panels.size(); ++i) {
    if (panels[i].kind == PanelKind::Clock)
      clock = static_cast<int>(i);
    else if (panels[i].text)
      ::SendMessageW(bar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(panels[i].text));
  }
  if (clock >= 0) RefreshClock(bar, clock);
  return clock;
}

void RefreshClock(HWND bar, int clock) {
  wchar_t now[64] = L"";
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, now, 64);
  if (base::PartText(bar, clock) != now)
    ::SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(clock), reinterpret_cast<LPARAM>(now));
}

}  // namespace platform
