#include "ui/Form1.h"

#include <utility>

#include "platform/AnsiText.h"
#include "repair/Delay.h"
#include "repair/KillProcess.h"
#include "res/Texts.h"

namespace ui {
namespace {

constexpr LONG kWithoutSizingBorder = ~static_cast<LONG>(WS_THICKFRAME);
constexpr unsigned kYesNoInformation = MB_YESNO | MB_ICONINFORMATION;
constexpr unsigned kYesNoCancelInformation = MB_YESNOCANCEL | MB_ICONINFORMATION;

// Runs `undo` when the scope it stands in is left, however it is left.
template <class Undo>
struct OnLeaving {
  Undo undo;
  ~OnLeaving() { undo(); }
};

}  // namespace

Form1::Form1(platform::System& system) : system_(system), form_(kForm1, *this) {}

void Form1::Start() {
  form_.Load();
  // The log and the help text are named after the frames around them, as they read; given
  // back on every way out (EndProgram, OnRuntimeErrorEnding).
  for (const platform::UnlabelledControl& c : form_.UnlabelledControls())
    system_.NameForScreenReaders(c.control, c.name);
  named_ = true;
  form_.Show();
}

void Form1::Form_Load() {
  // The path is handed over exactly as formed, forward slash and all (at a drive's root the
  // folder already ends in a backslash); Windows opens such paths as they are. A folder name
  // the code page cannot hold reaches the library by its short name where it has one.
  const std::wstring skinPath = system_.ProgramFolder() + texts::kSkinFileSuffix;
  system_.AttachSkin(platform::PathToAnsi(skinPath), platform::WideToAnsi(L""));
  form_.SetStyle(form_.Style() & kWithoutSizingBorder);
}

void Form1::SetStatus(const std::wstring& text) { S1.SetPanelText(2, text); }

void Form1::Command1_Click() {
  system_.ClearClipboard();
  SetStatus(texts::kStatusClipboard);
}

void Form1::Command2_Click() {
  KillProcess(texts::kRundll32);
  SetStatus(texts::kStatusProcesses);
}

void Form1::Command3_Click() {
  // The caption is the toggle's only state. Ending the shell changes it last; starting the
  // shell changes it first, before the launch.
  if (Command3.Caption() == texts::kCommand3Kill) {
    KillProcess(texts::kExplorer);
    SetStatus(texts::kStatusShellEnded);
    Command3.SetCaption(texts::kCommand3Restart);
    return;
  }
  if (Command3.Caption() == texts::kCommand3Restart) {
    Command3.SetCaption(texts::kCommand3Kill);
    system_.Launch(texts::kShellCommandLine, platform::kShowMinimized);
    SetStatus(texts::kStatusShellRestarted);
  }
}

void Form1::Command5_Click() {
  system_.Launch(texts::kSafeRemovalCommandLine, platform::kShowNormal);
}

void Form1::Command4_Click() {
  // The button is disabled for the whole run, so the pauses (which serve the window's events)
  // cannot start the repair again inside itself; and should another program enable and click
  // it meanwhile, the run's own state still says no.
  if (repairRunning_) return;
  if (Ask(texts::kRepairQuestion, kYesNoInformation) != platform::kAnswerYes) return;
  repairRunning_ = true;
  const OnLeaving finished{[this] { repairRunning_ = false; }};

  Command4.SetEnabled(false);
  LogLine(texts::kLogStarted);
  Delay(2000);

  system_.ClearClipboard();
  LogLine(texts::kLogClipboard);
  Delay(2000);

  KillProcess(texts::kRundll32);
  LogLine(texts::kLogProcesses);
  Delay(3000);

  KillProcess(texts::kExplorer);
  shellDown_ = true;
  LogLine(texts::kLogShellEnded);
  Delay(2000);

  RestartShell();
  LogLine(texts::kLogShellRestarted);
  Delay(2000);

  LogLine(texts::kLogFinished);
  LogLine(texts::kLogMayRemove);
  Delay(1000);

  Command4.SetEnabled(true);
  system_.Launch(texts::kSafeRemovalCommandLine, platform::kShowNormal);
}

void Form1::LogLine(const std::wstring& suffix) {
  List1.AddItem(L"[ " + system_.TimeOfDayText() + suffix);
  List1.SetSelected(List1.ListCount() - 1, true);
}

void Form1::Form_QueryUnload(std::int16_t& cancel, int /*unloadMode*/) {
  const int answer = Ask(texts::kClosingQuestion, kYesNoCancelInformation);
  if (answer == platform::kAnswerYes || answer == platform::kAnswerNo) EndAsAnswered(answer);
  cancel = 1;
}

void Form1::Form_EndSession(int unloadMode) {
  // The session goes: nothing is started, a shell least of all. Only this program closes: as
  // on a close answered No, the shell first.
  if (unloadMode == platform::kUnloadAppWindows)
    EndProgram();
  else
    EndAsAnswered(platform::kAnswerNo);
}

void Form1::EndAsAnswered(int answer) {
  // The shell before the page: the first explorer.exe to start becomes the shell.
  RestoreShellBeforeEnding();
  if (answer == platform::kAnswerYes)
    system_.Launch(texts::kForumCommandLine, platform::kShowMinimized);
  EndProgram();
}

void Form1::EndProgram() {
  GiveBackScreenReaderNames();
  system_.EndProgram();
}

void Form1::GiveBackScreenReaderNames() {
  // Windows keeps them for the controls until given back, whatever becomes of the process.
  if (std::exchange(named_, false))
    for (const platform::UnlabelledControl& c : form_.UnlabelledControls())
      system_.ForgetScreenReaderNames(c.control);
}

void Form1::Option1_Click() { system_.Launch(texts::kBlogCommandLine, platform::kShowMinimized); }

void Form1::Option2_Click() { system_.Launch(texts::kForumCommandLine, platform::kShowMinimized); }

void Form1::OnCloseRequested() {
  // A close requested while a question is open (posted by another program, say) is refused:
  // prompts never stack up behind one another.
  if (openQuestions_ > 0) return;
  std::int16_t cancel = 0;
  Form_QueryUnload(cancel, platform::kUnloadFormControlMenu);
}

void Form1::OnRuntimeErrorEnding() noexcept {
  try {
    GiveBackScreenReaderNames();  // first: it cannot fail, and the shell's start may
    RestoreShellBeforeEnding();
  } catch (...) {
    // The program is ending on an error already; what cannot be put back changes nothing.
  }
}

int Form1::Ask(const std::wstring& text, unsigned style) {
  ++openQuestions_;
  const OnLeaving closed{[this] { --openQuestions_; }};
  return system_.ShowMessageBox(text, texts::kPromptTitle, style);
}

void Form1::RestartShell() {
  // Cleared first: a launch that fails is not tried again on the way out.
  shellDown_ = false;
  system_.Launch(texts::kShellCommandLine, platform::kShowMinimized);
}

void Form1::RestoreShellBeforeEnding() {
  if (shellDown_) RestartShell();
}

void Form1::KillProcess(const std::wstring& name) { repair::KillProcess(system_, name); }

void Form1::Delay(std::int16_t ms) { repair::Delay(system_, ms); }

}  // namespace ui
