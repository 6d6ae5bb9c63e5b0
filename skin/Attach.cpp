#include "skin/Attach.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/StatusText.h"
#include "skin/HighContrast.h"
#include "skin/Look.h"
#include "skin/ReadFile.h"
#include "skin/Kinds.h"
#include "skin/SkinFile.h"
#include "skin/SkinH_VB6.h"
#include "skin/Subclass.h"

namespace skin {
namespace {

std::unique_ptr<Look> g_look;
HHOOK g_hook = nullptr;
// The classes of the program's own top-level windows, as found at the attach: a later
// top-level window is skinned only if it is one of these or a message box, never the input
// method's windows, menus or tooltips that the thread also creates.
std::vector<std::wstring> g_ownClasses;

BOOL CALLBACK AttachChild(HWND child, LPARAM font) {
  try {
    Subclass(child, ::GetWindowLongW(child, GWL_STYLE), ::GetParent(child));
    if (font) ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  } catch (...) {
    // This one keeps Windows' look; the others are still skinned.
  }
  return TRUE;
}

bool IsOwnClass(HWND window) {
  return std::find(g_ownClasses.begin(), g_ownClasses.end(), ClassName(window)) !=
         g_ownClasses.end();
}

BOOL CALLBACK AttachTopLevel(HWND window, LPARAM font) {
  try {
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const Role role = RoleOf(window, style);
    if (role == Role::kForm && !IsOwnClass(window)) g_ownClasses.push_back(ClassName(window));
    Subclass(window, style, nullptr);
    // The skin's font goes to the controls of the program's own windows; a message box has
    // measured its layout for the font it was made with, and keeps it.
    ::EnumChildWindows(window, AttachChild, role == Role::kDialog ? 0 : font);
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } catch (...) {
    // As for a child: this window keeps Windows' look.
  }
  return TRUE;
}

// Windows the thread creates after the attach (message boxes and their buttons among them)
// are subclassed as they are made.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (code == HCBT_CREATEWND && g_look) {
      const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
      HWND window = reinterpret_cast<HWND>(wParam);
      if (RoleOf(window, create->lpcs->style) != Role::kForm || IsOwnClass(window))
        Subclass(window, create->lpcs->style, create->lpcs->hwndParent);
    }
  } catch (...) {
    // The new window keeps Windows' look.
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// What the skin's font will show in the thread's windows: their texts, and the captions that
// must fit their controls. Message boxes keep the font they were made with.
struct Shown {
  std::wstring texts;
  std::vector<Caption> captions;
};

BOOL CALLBACK NoteChild(HWND child, LPARAM shown) {
  try {
    auto& s = *reinterpret_cast<Shown*>(shown);
    const Role role = RoleOf(child, ::GetWindowLongW(child, GWL_STYLE));
    std::wstring text = TextOf(child);
    if (role == Role::kStatus) {
      const int parts = base::PartCount(child);
      for (int i = 0; i < parts; ++i) text += base::PartText(child, i);
    }
    s.texts += text;
    RECT client{};
    ::GetClientRect(child, &client);
    if (const Kind* kind = KindOf(role); kind && kind->captionRoom)
      s.captions.push_back({std::move(text), role, {client.right, client.bottom}});
  } catch (...) {
    // A window whose texts cannot be read has them left out.
  }
  return TRUE;
}

BOOL CALLBACK NoteTopLevel(HWND window, LPARAM shown) {
  try {
    if (RoleOf(window, ::GetWindowLongW(window, GWL_STYLE)) == Role::kForm)
      ::EnumChildWindows(window, NoteChild, shown);
  } catch (...) {
    // Nothing unwinds through Windows' enumeration: a window that cannot be read is left out.
  }
  return TRUE;
}

}  // namespace

const Look* CurrentLook() { return g_look.get(); }

int AttachSkin(const char* path) {
  std::string contents;
  if (const int result = ReadSkinFile(path, contents); result != kSkinApplied) return result;
  const ParseResult parsed = Parse(contents);
  if (parsed.status == ParseStatus::kTooLarge) return kSkinTooLarge;
  if (parsed.status != ParseStatus::kOk) return kSkinNotASkin;

  auto look = std::make_unique<Look>(parsed.skin);
  Shown shown;
  ::EnumThreadWindows(::GetCurrentThreadId(), NoteTopLevel, reinterpret_cast<LPARAM>(&shown));
  look->font.reset(CreateSkinFont(parsed.skin, shown.texts, shown.captions));
  if (!look->Complete()) return kSkinFailed;

  // The new look takes over before the windows are told to repaint; the old one's objects are
  // deleted only once nothing uses them any more.
  std::unique_ptr<Look> old = std::move(g_look);
  g_look = std::move(look);
  ReadHighContrast();
  if (!g_hook) g_hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
  ::EnumThreadWindows(::GetCurrentThreadId(), AttachTopLevel,
                      reinterpret_cast<LPARAM>(g_look->font.get()));
  return kSkinApplied;
}

void StopSkinningNewWindows() {
  if (g_hook) ::UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

}  // namespace skin
