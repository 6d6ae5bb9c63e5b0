#include "skin/HighContrast.h"

#include <windows.h>

namespace skin {
namespace {

int g_highContrastOverride = -1;  // -1: Windows' setting decides
bool g_stepAside = false;

bool HighContrastOn() {
  if (g_highContrastOverride >= 0) return g_highContrastOverride != 0;
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof(setting);
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

BOOL CALLBACK RedrawTopLevel(HWND window, LPARAM) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

}  // namespace

bool SteppingAside() { return g_stepAside; }

void ReadHighContrast() { g_stepAside = HighContrastOn(); }

void FollowHighContrast() {
  const bool stepAside = HighContrastOn();
  if (stepAside == g_stepAside) return;
  g_stepAside = stepAside;
  ::EnumThreadWindows(::GetCurrentThreadId(), RedrawTopLevel, 0);
}

void OverrideHighContrast(int state) { g_highContrastOverride = state < 0 ? -1 : state != 0; }

}  // namespace skin
