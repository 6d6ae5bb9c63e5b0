#include "platform/Form.h"

#include <commctrl.h>

#include <utility>

#include "base/Fonts.h"
#include "platform/RuntimeError.h"
#include "base/StatusText.h"

namespace platform {
namespace {

constexpr wchar_t kWindowClass[] = L"PlindarForm";
constexpr UINT kLoadMessage = WM_APP + 1;
constexpr UINT_PTR kClockTimer = 1;
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends

HWND CreateChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                 DWORD exStyle, const RECT& r, int id) {
  HWND child = ::CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
  if (!child) throw RuntimeError(error::kOutOfMemory, L"内存溢出");
  return child;
}

// The message font of the user's settings: what the system's own dialogs use, in the user's
// language and at the system DPI; in a face that shows `texts` where the message face cannot.
HFONT CreateMessageFont(std::wstring_view texts) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return nullptr;
  base::UseFaceWithGlyphs(metrics.lfMessageFont, texts);
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

// Every text the layout shows.
std::wstring TextsOf(const FormLayout& layout) {
  std::wstring texts;
  for (const ControlLayout& row : layout.controls)
    if (row.caption) texts += row.caption;
  for (const PanelLayout& panel : layout.panels)
    if (panel.text) texts += panel.text;
  return texts;
}

HICON LoadIconSized(int resource, int size) {
  if (!resource) return nullptr;
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void RegisterWindowClass(WNDPROC windowProc) {
  static const ATOM atom = [windowProc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc);
  }();
  if (!atom) throw RuntimeError(error::kOutOfMemory, L"内存溢出");
}

// The read-only text box reads the keyboard for scrolling and selecting only: Tab and Esc go
// to the window as in a dialog (a multi-line edit wants every key, which traps Tab inside it
// and lets Esc close the window), and entering it by Tab neither selects the whole text nor
// scrolls it away from where the user left it.
LRESULT CALLBACK TextBoxKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  return AtMessageBoundary([&]() -> LRESULT {
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
      return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
    return result;
  });
}

constexpr UINT_PTR kTextBoxKeys = 1;

// Any program may set the status bar's texts; none longer than the bar can report is stored.
LRESULT CALLBACK StatusTextLimit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
  return AtMessageBoundary([&] {
    LRESULT result = 0;
    if (base::SetPartTextCut(window, message, wParam, lParam, result)) return result;
    return ::DefSubclassProc(window, message, wParam, lParam);
  });
}

constexpr UINT_PTR kStatusTextLimit = 3;

bool IsPushButton(HWND window) {
  wchar_t name[16] = L"";
  ::GetClassNameW(window, name, 16);
  const LONG type = ::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  return ::lstrcmpiW(name, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// The push button Enter went down on; it shows pushed until Enter comes up.
HWND g_enterDownOn = nullptr;

// Enter presses the push button that has the focus as Space does: down shows it pushed, and up
// clicks it, if it went down there. A click at once on the key going down would let the key's
// repeat, while it is held, answer whatever the click brings up (the repair's question, whose
// default is Yes). Elsewhere Enter does nothing: the window has no default button.
bool PressedByEnter(HWND dialogWindow, const MSG& message) {
  if (message.wParam != VK_RETURN || !dialogWindow) return false;
  if (message.message == WM_KEYDOWN) {
    if (!::IsChild(dialogWindow, message.hwnd) || !IsPushButton(message.hwnd)) return false;
    const bool repeat = (message.lParam & (1 << 30)) != 0;  // it was down already
    if (!repeat && ::IsWindowEnabled(message.hwnd)) {
      if (g_enterDownOn && g_enterDownOn != message.hwnd)
        ::SendMessageW(g_enterDownOn, BM_SETSTATE, FALSE, 0);
      g_enterDownOn = message.hwnd;
      ::SendMessageW(message.hwnd, BM_SETSTATE, TRUE, 0);
    }
    return true;
  }
  if (message.message == WM_KEYUP && g_enterDownOn) {
    HWND button = std::exchange(g_enterDownOn, nullptr);
    ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
    if (button == message.hwnd && ::IsWindowEnabled(button)) ::SendMessageW(button, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

int SystemDpi() {
  base::WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

void DispatchOne(HWND dialogWindow, MSG& message) {
  if (PressedByEnter(dialogWindow, message)) return;
  if (dialogWindow && ::IsDialogMessageW(dialogWindow, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

Form::Form(const FormLayout& layout, FormEvents& events)
    : layout_(layout),
      events_(events),
      dpi_(SystemDpi()),
      font_(CreateMessageFont(TextsOf(layout))) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  RegisterWindowClass(&Form::WindowProc);

  bigIcon_.reset(LoadIconSized(layout.iconResource, ::GetSystemMetrics(SM_CXICON)));
  smallIcon_.reset(LoadIconSized(layout.iconResource, ::GetSystemMetrics(SM_CXSMICON)));

  // Laid out with a sizing border; the start-up step takes it away. No maximize box: a window
  // of fixed size has nothing to maximise to.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
  HWND window = ::CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, layout.caption, style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), this);
  if (!window) throw RuntimeError(error::kOutOfMemory, L"内存溢出");
  SetLastWords(&Form::LastWords, this);
  if (bigIcon_)
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  if (smallIcon_)
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  CreateControls();
}

void Form::CreateControls() {
  const auto controls = layout_.controls;
  std::vector<RECT> placed;  // absolute client rectangles, in pixels, parallel to the layout
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlLayout& row = controls[i];
    // Controls are children of the window itself, offset by their containers: a frame that
    // parents controls would swallow their notifications.
    size_t container = i;  // none: the window itself
    for (size_t c = 0; c < i && !row.container.empty(); ++c)
      if (controls[c].name == row.container) container = c;
    const POINT origin =
        container < i ? POINT{placed[container].left, placed[container].top} : POINT{0, 0};
    const int left = origin.x + TwipsToPixels(row.left, dpi_);
    const int top = origin.y + TwipsToPixels(row.top, dpi_);
    // Sizes convert on their own, then add: rounding each corner apart would make a control
    // a pixel larger or smaller depending on where it stands.
    const RECT r{left, top, left + TwipsToPixels(row.width, dpi_),
                 top + TwipsToPixels(row.height, dpi_)};
    placed.push_back(r);

    const bool groupStart =
        !(row.kind == ControlKind::Option && i > 0 && controls[i - 1].kind == ControlKind::Option);
    const DWORD common = WS_CLIPSIBLINGS | (groupStart ? WS_GROUP : 0);
    const int id = kFirstControlId + static_cast<int>(i);
    HWND child = nullptr;
    switch (row.kind) {
      case ControlKind::Frame:
        child = CreateChild(window_.get(), L"BUTTON", row.caption, common | BS_GROUPBOX, 0, r, id);
        break;
      case ControlKind::Button:
        child = CreateChild(window_.get(), L"BUTTON", row.caption,
                            common | WS_TABSTOP | BS_PUSHBUTTON, 0, r, id);
        break;
      case ControlKind::Option:
        // A group of options is one tab stop: the first while none is selected, then the
        // selected one (see MoveGroupTabStop).
        child = CreateChild(window_.get(), L"BUTTON", row.caption,
                            common | (groupStart ? WS_TABSTOP : 0) | BS_AUTORADIOBUTTON, 0, r, id);
        break;
      case ControlKind::TextBox:  // its text comes once its font is final (Show)
        child = CreateChild(
            window_.get(), L"EDIT", L"",
            common | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
            WS_EX_CLIENTEDGE, r, id);
        ::SetWindowSubclass(child, TextBoxKeys, kTextBoxKeys, 0);
        break;
      case ControlKind::ListBox:
        child = CreateChild(window_.get(), L"LISTBOX", row.caption ? row.caption : L"",
                            common | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            WS_EX_CLIENTEDGE, r, id);
        break;
      case ControlKind::StatusBar:
        // Placed by the layout, not docked by the control: CCS_NORESIZE keeps the laid-out
        // height instead of one derived from the font.
        child = CreateChild(window_.get(), STATUSCLASSNAMEW, L"",
                            common | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, r, id);
        ::SetWindowSubclass(child, StatusTextLimit, kStatusTextLimit, 0);
        break;
    }
    if (font_) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Windows names a control from its caption, or a list or text box from a label just
    // before it; these have only the frame around them, which it does not read as a label.
    if ((row.kind == ControlKind::ListBox || row.kind == ControlKind::TextBox) && container < i &&
        controls[container].kind == ControlKind::Frame && controls[container].caption)
      unlabelled_.push_back({child, controls[container].caption});
    children_.push_back(child);
    if (row.kind == ControlKind::StatusBar) SetUpStatusBar(child);
  }

  // Frames go beneath every other control, outermost lowest, so that a control drawn within a
  // frame's outline (a button laid over a frame, a frame inside a frame) stays on top of it and
  // receives its own clicks. The order of the focusable controls, and so the tab order, is
  // left as laid out.
  for (size_t i = controls.size(); i-- > 0;) {
    if (controls[i].kind == ControlKind::Frame)
      ::SetWindowPos(children_[i], HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Form::SetUpStatusBar(HWND statusBar) {
  statusBar_ = statusBar;
  RECT client{};
  ::GetClientRect(statusBar, &client);
  const auto panels = layout_.panels;
  int fixed = 0;
  for (const PanelLayout& p : panels)
    if (p.kind != PanelKind::Stretch) fixed += TwipsToPixels(p.width, dpi_);

  // The control leaves a gap between neighbouring panels: each panel begins that far past the
  // previous one's right edge, and the stretching panel gives up the gaps, so that every fixed
  // panel is as wide as laid out.
  int borders[3] = {0, 0, 0};  // horizontal, vertical, between panels
  ::SendMessageW(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  const int gap = borders[2];
  const int gaps = gap * static_cast<int>(panels.size() > 0 ? panels.size() - 1 : 0);
  std::vector<int> rightEdges;
  int edge = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    const int left = i == 0 ? 0 : edge + gap;
    edge = left + (panels[i].kind == PanelKind::Stretch ? client.right - fixed - gaps
                                                        : TwipsToPixels(panels[i].width, dpi_));
    rightEdges.push_back(i + 1 == panels.size() ? -1 : edge);
  }
  ::SendMessageW(statusBar, SB_SETPARTS, rightEdges.size(),
                 reinterpret_cast<LPARAM>(rightEdges.data()));
  for (size_t i = 0; i < panels.size(); ++i) {
    if (panels[i].kind == PanelKind::Clock)
      clockPanel_ = static_cast<int>(i);
    else if (panels[i].text)
      ::SendMessageW(statusBar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(panels[i].text));
  }
  if (clockPanel_ >= 0) {
    RefreshClock();
    ::SetTimer(window_.get(), kClockTimer, 1000, nullptr);
  }
}

void Form::RefreshClock() {
  wchar_t now[64] = L"";
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, now, 64);
  if (base::PartText(statusBar_, clockPanel_) != now)
    ::SendMessageW(statusBar_, SB_SETTEXTW, clockPanel_, reinterpret_cast<LPARAM>(now));
}

HWND Form::Child(std::string_view name) const {
  for (size_t i = 0; i < layout_.controls.size(); ++i)
    if (layout_.controls[i].name == name) return children_[i];
  throw RuntimeError(error::kInvalidCall, L"无效的过程调用或参数");
}

void Form::Load() { ::SendMessageW(window_.get(), kLoadMessage, 0, 0); }

void Form::Show() {
  HWND window = window_.get();
  // Text boxes get their text only now that the start-up step has given them their final
  // font: a text laid out for one font and then another costs its layout twice.
  for (size_t i = 0; i < children_.size(); ++i)
    if (layout_.controls[i].kind == ControlKind::TextBox && layout_.controls[i].caption)
      ::SetWindowTextW(children_[i], layout_.controls[i].caption);

  const int clientWidth = TwipsToPixels(layout_.clientWidth, dpi_);
  const int clientHeight = TwipsToPixels(layout_.clientHeight, dpi_);
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)));
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  auto place = [&](int width, int height, UINT flags) {
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    ::SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | flags);
  };
  // The style word changed after creation; SWP_FRAMECHANGED makes the frame follow it.
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  place(width, height, SWP_FRAMECHANGED);
  // Some window managers (and Wine under some of them) draw a frame of another size than the
  // system metrics say: measure, and correct only then, so the client area is the laid-out one.
  RECT client{};
  ::GetClientRect(window, &client);
  if (client.right != clientWidth || client.bottom != clientHeight)
    place(width + clientWidth - client.right, height + clientHeight - client.bottom, 0);

  // Focus rectangles and access-key underlines show or wait for the first key press as the
  // user's setting says, as in a dialog.
  ::SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetForegroundWindow(window);
  for (HWND child : children_) {
    if ((::GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && ::IsWindowEnabled(child)) {
      ::SetFocus(child);
      break;
    }
  }
  ::UpdateWindow(window);
}

int Form::RunMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) DispatchOne(window_.get(), message);
  return static_cast<int>(message.wParam);
}

LONG Form::Style() const { return ::GetWindowLongA(window_.get(), GWL_STYLE); }
void Form::SetStyle(LONG style) { ::SetWindowLongA(window_.get(), GWL_STYLE, style); }

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  // Whatever a handler let fly is the program's run-time error, and that ends the program.
  return AtMessageBoundary([&] { return self->Handle(message, wParam, lParam); });
}

void Form::LastWords(void* context) noexcept {
  auto* self = static_cast<Form*>(context);
  // The error box pumps messages while it waits: no click, close or load may run a handler of
  // a program that is already ending.
  self->ending_ = true;
  self->events_.OnRuntimeErrorEnding();
}

bool Form::TakesClickFrom(HWND control, int id) const {
  // Only a control of this window, enabled, in a window that takes input (no modal box over
  // it): another program's BM_CLICK or WM_COMMAND must not run what a disabled button forbids.
  const size_t index = static_cast<size_t>(id - kFirstControlId);
  if (id < kFirstControlId || index >= children_.size() || children_[index] != control ||
      !::IsWindowEnabled(control) || !::IsWindowEnabled(window_.get()))
    return false;
  // An option is chosen when it is selected by the click (the mouse, Space, an arrow key).
  // Windows also reports a click when the focus merely arrives at an option that is not
  // selected (Tab, Shift+Tab); that chooses nothing.
  if (layout_.controls[index].kind == ControlKind::Option) {
    if (::SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED) return false;
    MoveGroupTabStop(index);
  }
  return true;
}

void Form::MoveGroupTabStop(size_t selected) const {
  // The group's one tab stop follows its selection, so Tab enters the group there.
  size_t first = selected, last = selected;
  while (first > 0 && layout_.controls[first - 1].kind == ControlKind::Option) --first;
  while (last + 1 < children_.size() && layout_.controls[last + 1].kind == ControlKind::Option)
    ++last;
  for (size_t i = first; i <= last; ++i) {
    const LONG style = ::GetWindowLongW(children_[i], GWL_STYLE);
    ::SetWindowLongW(children_[i], GWL_STYLE,
                     i == selected ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  if (ending_) {
    if (message == kLoadMessage || message == WM_COMMAND || message == WM_CLOSE) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case kLoadMessage:
      events_.OnLoad();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED &&
          TakesClickFrom(reinterpret_cast<HWND>(lParam), LOWORD(wParam)))
        events_.OnClick(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kClockTimer) RefreshClock();
      return 0;
    case WM_SYSCOLORCHANGE:
      // Common controls learn of new system colours only from their parent.
      if (statusBar_) ::SendMessageW(statusBar_, WM_SYSCOLORCHANGE, wParam, lParam);
      return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_NEXTDLGCTL: {
      // What a dialog does when a control (or the dialog manager) asks to move the focus: to
      // the given control, or to the next or previous tab stop.
      HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                         : ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0);
      if (next && ::IsChild(window, next)) ::SetFocus(next);
      return 0;
    }
    case WM_ACTIVATE:
      // Keep the focus on the control that had it, as a dialog does, rather than on the
      // window itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(window, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
      }
      return 0;
    case WM_CLOSE:
      if (!events_.OnQueryUnload(kUnloadFormControlMenu)) {
        ::KillTimer(window, kClockTimer);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_.reset();
        ::PostQuitMessage(0);
      }
      return 0;
    case WM_QUERYENDSESSION:
      // The same question as any other close; refusing it keeps Windows from logging off. The
      // answer is all Windows hears now: the program ends at WM_ENDSESSION.
      return events_.OnQueryUnload((lParam & ENDSESSION_CLOSEAPP) ? kUnloadAppTaskManager
                                                                  : kUnloadAppWindows)
                 ? FALSE
                 : TRUE;
    case WM_ENDSESSION:
      events_.OnEndSession(wParam != FALSE && !(lParam & ENDSESSION_CLOSEAPP));
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

Form::~Form() {
  ClearLastWords(this);
  if (window_) {
    ::KillTimer(window_.get(), kClockTimer);
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
}

}  // namespace platform
