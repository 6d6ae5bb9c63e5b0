#include "platform/Form.h"

#include <commctrl.h>

#include <string>
#include <string_view>

#include "base/Fonts.h"
#include "platform/DialogKeys.h"
#include "platform/RuntimeError.h"
#include "platform/StatusPanels.h"

namespace platform {
namespace {

constexpr wchar_t kWindowClass[] = L"PlindarForm";
constexpr UINT kLoadMessage = WM_APP + 1;
constexpr UINT_PTR kClockTimer = 1;

// The message font of the user's settings: what the system's own dialogs use, in the user's
// language and at the system DPI; in a face that shows `texts` where the message face cannot.
HFONT CreateMessageFont(std::wstring_view texts) {
  LOGFONTW font;
  if (!base::MessageFont(font)) return nullptr;
  base::UseFaceWithGlyphs(font, texts);
  return ::CreateFontIndirectW(&font);
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
  if (!atom) throw RuntimeError(ErrorKind::kOutOfMemory);
}

}  // namespace

int SystemDpi() {
  base::WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
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
  if (!window) throw RuntimeError(ErrorKind::kOutOfMemory);
  SetLastWords(&Form::LastWords, this);
  if (bigIcon_)
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  if (smallIcon_)
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  CreateControls();
}

Form::~Form() {
  ClearLastWords(this);
  if (window_) {
    ::KillTimer(window_.get(), kClockTimer);
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
}

void Form::CreateControls() {
  const auto controls = layout_.controls;
  const std::vector<RECT> placed = PlaceControls(controls, dpi_);
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlLayout& row = controls[i];
    HWND child = CreateControl(row, placed[i]);
    if (font_) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Windows names a control from its caption, or a list or text box from a label just
    // before it; these have only the frame around them, which it does not read as a label.
    if ((row.kind == ControlKind::ListBox || row.kind == ControlKind::TextBox) &&
        row.container != kInWindow && controls[row.container].caption)
      unlabelled_.push_back({child, controls[row.container].caption});
    children_.push_back(child);
    onClick_.emplace_back();
    if (row.kind == ControlKind::StatusBar) {
      statusBar_ = child;
      clockPanel_ = SetUpPanels(child, layout_.panels, dpi_);
      if (clockPanel_ >= 0) ::SetTimer(window_.get(), kClockTimer, 1000, nullptr);
    }
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

HWND Form::CreateControl(const ControlLayout& row, const RECT& r) {
  // Controls are children of the window itself, offset by their containers: a frame that
  // parents controls would swallow their notifications.
  const auto controls = layout_.controls;
  const bool groupStart = !(row.kind == ControlKind::Option && row.index > 0 &&
                            controls[row.index - 1].kind == ControlKind::Option);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (groupStart ? WS_GROUP : 0);
  DWORD exStyle = 0;
  const wchar_t* windowClass = L"BUTTON";
  const wchar_t* text = row.caption ? row.caption : L"";
  switch (row.kind) {
    case ControlKind::Frame:
      style |= BS_GROUPBOX;
      break;
    case ControlKind::Button:
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::Option:
      // A group of options is one tab stop: the first while none is selected, then the
      // selected one (see MoveGroupTabStop).
      style |= (groupStart ? WS_TABSTOP : 0) | BS_AUTORADIOBUTTON;
      break;
    case ControlKind::TextBox:
      windowClass = L"EDIT";
      text = L"";  // its text comes once its font is final (Show)
      style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ListBox:
      windowClass = L"LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::StatusBar:
      // Placed by the layout, not docked by the control: CCS_NORESIZE keeps the laid-out
      // height instead of one derived from the font.
      windowClass = STATUSCLASSNAMEW;
      text = L"";
      style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
      break;
  }
  HWND child = ::CreateWindowExW(exStyle, windowClass, text, style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, window_.get(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row.index))),
                                 ::GetModuleHandleW(nullptr), nullptr);
  if (!child) throw RuntimeError(ErrorKind::kOutOfMemory);
  if (row.kind == ControlKind::TextBox) KeepDialogKeys(child);
  return child;
}

HWND Form::Child(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= children_.size())
    throw RuntimeError(ErrorKind::kInvalidCall);
  return children_[static_cast<size_t>(index)];
}

void Form::SetOnClick(int index, OnClick onClick) {
  Child(index);  // a row of the layout, or the run-time error
  onClick_[static_cast<size_t>(index)] = onClick;
}

void Form::Load() { ::SendMessageW(window_.get(), kLoadMessage, 0, 0); }

void Form::Show() {
  HWND window = window_.get();
  // Text boxes get their text only now that the start-up step has given them their final
  // font: a text laid out for one font and then another costs its layout twice.
  for (size_t i = 0; i < children_.size(); ++i)
    if (layout_.controls[i].kind == ControlKind::TextBox && layout_.controls[i].caption)
      ::SetWindowTextW(children_[i], layout_.controls[i].caption);
  PlaceCentred(TwipsToPixels(layout_.clientWidth, dpi_), TwipsToPixels(layout_.clientHeight, dpi_));

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

void Form::PlaceCentred(int clientWidth, int clientHeight) {
  HWND window = window_.get();
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)));
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  auto place = [&](SIZE size, UINT flags) {
    const POINT at = CentredIn(work, size);
    ::SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | flags);
  };
  // The style word changed after creation; SWP_FRAMECHANGED makes the frame follow it.
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  place(size, SWP_FRAMECHANGED);
  // Some window managers (and Wine under some of them) draw a frame of another size than the
  // system metrics say: measure, and correct only then, so the client area is the laid-out one.
  RECT client{};
  ::GetClientRect(window, &client);
  if (client.right != clientWidth || client.bottom != clientHeight)
    place({size.cx + clientWidth - client.right, size.cy + clientHeight - client.bottom}, 0);
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

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  if (ending_) {
    // The error box is up and the last words have run. Windows ending the session, or the
    // Restart Manager closing this program, waits for no answer: the program ends now, as the
    // box would have ended it.
    if (message == WM_ENDSESSION && wParam) EndShownRuntimeErrorNow();
    if (message == kLoadMessage || message == WM_COMMAND || message == WM_CLOSE) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case kLoadMessage:
      events_.OnLoad();
      return 0;
    case WM_COMMAND:
      if (const OnClick* onClick = ClickFrom(wParam, lParam)) (*onClick)();
      return 0;
    case WM_TIMER:
      if (wParam == kClockTimer) RefreshClock(statusBar_, clockPanel_);
      return 0;
    case WM_SYSCOLORCHANGE:
      // Common controls learn of new system colours only from their parent.
      if (statusBar_) ::SendMessageW(statusBar_, WM_SYSCOLORCHANGE, wParam, lParam);
      return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_NEXTDLGCTL:
      MoveFocus(window, wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_CLOSE:
      events_.OnCloseRequested();
      return 0;
    case WM_QUERYENDSESSION:
      // Yes, at once, whatever the reason: Windows wants an immediate answer, and after a few
      // seconds lists the programs that hold it up. Nothing changes yet either: the end may
      // still be cancelled, or never announced, and the program then goes on as before.
      return TRUE;
    case WM_ENDSESSION:
      // Only the word that the end is real acts; FALSE means it was cancelled.
      if (wParam)
        events_.OnEndSession((lParam & ENDSESSION_CLOSEAPP) ? kUnloadAppTaskManager
                                                            : kUnloadAppWindows);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void Form::OnActivate(WPARAM wParam) {
  // Keep the focus on the control that had it, as a dialog does, rather than on the window
  // itself.
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(window_.get(), focus)) lastFocus_ = focus;
  } else if (lastFocus_ && ::IsWindow(lastFocus_)) {
    ::SetFocus(lastFocus_);
  }
}

const OnClick* Form::ClickFrom(WPARAM wParam, LPARAM lParam) const {
  // Only a control of this window, enabled, in a window that takes input (no modal box over
  // it): another program's BM_CLICK or WM_COMMAND must not run what a disabled button forbids.
  const int id = LOWORD(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  const size_t index = static_cast<size_t>(id - kFirstControlId);
  if (HIWORD(wParam) != BN_CLICKED || id < kFirstControlId || index >= children_.size() ||
      children_[index] != control || !onClick_[index] || !::IsWindowEnabled(control) ||
      !::IsWindowEnabled(window_.get()))
    return nullptr;
  // An option is chosen when it is selected by the click (the mouse, Space, an arrow key).
  // Windows also reports a click when the focus merely arrives at an option that is not
  // selected (Tab, Shift+Tab); that chooses nothing.
  if (layout_.controls[index].kind == ControlKind::Option) {
    if (::SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED) return nullptr;
    MoveGroupTabStop(index);
  }
  return &onClick_[index];
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

}  // namespace platform
