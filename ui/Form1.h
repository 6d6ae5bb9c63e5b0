#pragma once
// The program's one window and its controls.
#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/System.h"
#include "ui/Layout.h"

namespace ui {

class Form1 final : private platform::FormEvents {
 public:
  explicit Form1(platform::System& system);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates nothing new: runs the start-up step and shows the window, centred, with the focus
  // on Command1.
  void Start();
  HWND handle() const { return form_.handle(); }
  int RunMessageLoop() { return form_.RunMessageLoop(); }

  // Handlers, one per control event.
  void Form_Load();
  // Returns with cancel set to non-zero to keep the window open; otherwise the program ends.
  void Form_QueryUnload(std::int16_t& cancel, int unloadMode);
  // Windows ends the session (kUnloadAppWindows) or closes this program alone
  // (kUnloadAppTaskManager): the program ends without asking; the question offers only a web
  // page, which cannot open as the session goes.
  void Form_EndSession(int unloadMode);
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Option1_Click();
  void Option2_Click();

  void SetStatus(const std::wstring& text);
  void LogLine(const std::wstring& suffix);

 private:
  void OnLoad() override { Form_Load(); }
  void OnCloseRequested() override;
  void OnEndSession(int unloadMode) override { Form_EndSession(unloadMode); }
  void OnRuntimeErrorEnding() noexcept override;

  void KillProcess(const std::wstring& name);
  void Delay(std::int16_t ms);
  // A modal question; while one is open, no further close request opens another.
  int Ask(const std::wstring& text, unsigned style);
  // Starts the shell the repair ended, minimised, as the repair's own restart does.
  void RestartShell();
  // On the way out while the session goes on: a shell the repair ended and has not yet started
  // again is started.
  void RestoreShellBeforeEnding();
  // Ends the program as the closing question was answered (Yes or No).
  void EndAsAnswered(int answer);
  // Gives back the screen-reader names, then ends the program (never returns).
  void EndProgram();
  void GiveBackScreenReaderNames();

  platform::System& system_;
  platform::Form form_;
  bool shellDown_ = false;  // the repair has ended the shell and not yet started it again
  bool repairRunning_ = false;
  int openQuestions_ = 0;
  bool named_ = false;  // the screen-reader names are given and not yet given back

  // What a click on a control runs: one of the handlers above.
  template <void (Form1::*Handler)()>
  platform::OnClick Runs() {
    return platform::OnClick::Of<Handler>(this);
  }

 public:
  // The controls, in tab order; a button or an option with the handler its clicks run.
  platform::Frame Frame1{form_, ctl::Frame1};
  platform::Button Command1{form_, ctl::Command1, Runs<&Form1::Command1_Click>()};
  platform::Button Command2{form_, ctl::Command2, Runs<&Form1::Command2_Click>()};
  platform::Button Command3{form_, ctl::Command3, Runs<&Form1::Command3_Click>()};
  platform::Frame Frame2{form_, ctl::Frame2};
  platform::Button Command4{form_, ctl::Command4, Runs<&Form1::Command4_Click>()};
  platform::Frame Frame3{form_, ctl::Frame3};
  platform::ListBox List1{form_, ctl::List1};
  platform::StatusBar S1{form_, ctl::S1};
  platform::Button Command5{form_, ctl::Command5, Runs<&Form1::Command5_Click>()};
  platform::Frame Frame4{form_, ctl::Frame4};
  platform::TextBox Text1{form_, ctl::Text1};
  platform::Frame Frame5{form_, ctl::Frame5};
  platform::OptionButton Option1{form_, ctl::Option1, Runs<&Form1::Option1_Click>()};
  platform::OptionButton Option2{form_, ctl::Option2, Runs<&Form1::Option2_Click>()};
};

}  // namespace ui
