#include "ui/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

#include "FakeSystem.h"
#include "res/Texts.h"

namespace {

namespace ctl = ui::ctl;
using Effects = std::vector<std::wstring>;

// A form on a fake system whose clock starts at 10:00:00, with two rundll32.exe (ids 4 and
// 12) and one explorer.exe (id 8) running.
class Form1Test : public testing::Test {
 protected:
  static constexpr std::uint32_t kStart = 10 * 3600 * 1000;

  Form1Test() {
    system.clock = kStart;
    system.processes = {{4, "rundll32.exe"}, {8, "explorer.exe"}, {12, "RunDll32.exe"}};
  }

  // The effects recorded from `from` on, with times relative to the start.
  Effects EffectsSince(size_t from = 0) const { return Relative(system.Effects(), from); }
  // The last `count` effects of `effects`, likewise.
  static Effects Tail(const Effects& effects, size_t count) {
    return Relative(effects, effects.size() > count ? effects.size() - count : 0);
  }
  static Effects Relative(const Effects& effects, size_t from) {
    Effects relative;
    for (size_t i = from; i < effects.size(); ++i) {
      const std::wstring& e = effects[i];
      const size_t space = e.find(L' ');
      const std::uint32_t at = static_cast<std::uint32_t>(std::stoul(e.substr(1, space - 1)));
      relative.push_back(L"@" + std::to_wstring(at - kStart) + e.substr(space));
    }
    return relative;
  }

  // A form on a fake of its own at the same start, with only the shell (id 8) running: for
  // the tables whose cases each end the program.
  struct Fresh {
    fake::FakeSystem system;
    ui::Form1 form{system};
    Fresh() {
      system.clock = kStart;
      system.processes = {{8, "explorer.exe"}};
    }
  };

  std::vector<std::wstring> Log() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i < form.List1.ListCount(); ++i) lines.push_back(form.List1.List(i));
    return lines;
  }

  fake::FakeSystem system;
  ui::Form1 form{system};
};

const std::wstring kAsk = std::wstring(L"ask ") + texts::kPromptTitle;
const std::wstring kRepairAsk = kAsk + L" 68 " + texts::kRepairQuestion;
const std::wstring kClosingAsk = kAsk + L" 67 " + texts::kClosingQuestion;
const std::wstring kSafeRemoval =
    L"launch " + std::wstring(texts::kSafeRemovalCommandLine) + L" show 1";
const std::wstring kForum = L"launch " + std::wstring(texts::kForumCommandLine) + L" show 2";
// A log line at `time` of the day.
std::wstring Line(const wchar_t* time, const wchar_t* suffix) {
  return L"[ " + std::wstring(time) + suffix;
}

TEST_F(Form1Test, ShellToggleEndsThenRestartsAndItsCaptionIsItsState) {
  form.Command3_Click();  // its effects and status: the click table's
  EXPECT_EQ(form.Command3.Caption(), texts::kCommand3Restart);

  std::wstring captionAtLaunch;
  system.beforeLaunch = [&] { captionAtLaunch = form.Command3.Caption(); };
  form.Command3_Click();
  EXPECT_EQ(EffectsSince(1), Effects{L"@0 launch explorer.exe show 2"});
  EXPECT_EQ(form.S1.PanelText(2), texts::kStatusShellRestarted);
  EXPECT_EQ(form.Command3.Caption(), texts::kCommand3Kill);
  EXPECT_EQ(captionAtLaunch, texts::kCommand3Kill) << "changed before the launch";

  // A caption that is neither of the two, even by case alone, makes a press do nothing.
  form.Command3.SetCaption(L"清除explorer");
  form.Command3_Click();
  EXPECT_EQ(system.Effects().size(), 2u);
  EXPECT_EQ(form.Command3.Caption(), L"清除explorer");
}

TEST_F(Form1Test, RepairRunsItsStepsWithTheirPausesAndLogsEachOneOnlyIfAnsweredYes) {
  system.answers = {platform::kAnswerNo};
  form.Command4_Click();
  EXPECT_EQ(EffectsSince(), Effects{L"@0 " + kRepairAsk});
  EXPECT_EQ(form.List1.ListCount(), 0);
  EXPECT_TRUE(form.Command4.Enabled());

  // Its button stays off through every pause, until just before the safe-removal dialog.
  std::vector<bool> enabled, atLaunch;
  for (std::uint32_t at : {1u, 2500u, 8000u, 11900u})
    system.At(kStart + at, [&] { enabled.push_back(form.Command4.Enabled()); });
  system.beforeLaunch = [&] { atLaunch.push_back(form.Command4.Enabled()); };
  system.answers = {platform::kAnswerYes};
  form.Command4_Click();
  EXPECT_EQ(enabled, std::vector<bool>(4, false));
  EXPECT_EQ(atLaunch, (std::vector<bool>{false, true})) << "shell restart, then the dialog";
  EXPECT_EQ(EffectsSince(1), (Effects{
                                 L"@0 " + kRepairAsk,
                                 L"@2000 clear clipboard",
                                 L"@4000 terminate 4 code 0",
                                 L"@4000 terminate 12 code 0",
                                 L"@7000 terminate 8 code 0",
                                 L"@9000 launch explorer.exe show 2",
                                 L"@12000 " + kSafeRemoval,
                             }));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{
                       Line(L"10:00:00", texts::kLogStarted),
                       Line(L"10:00:02", texts::kLogClipboard),
                       Line(L"10:00:04", texts::kLogProcesses),
                       Line(L"10:00:07", texts::kLogShellEnded),
                       Line(L"10:00:09", texts::kLogShellRestarted),
                       Line(L"10:00:11", texts::kLogFinished),
                       Line(L"10:00:11", texts::kLogMayRemove),
                   }));
  EXPECT_TRUE(form.List1.Selected(6));
  EXPECT_TRUE(form.Command4.Enabled());
  EXPECT_EQ(form.S1.PanelText(2), texts::kPanelLoaded) << "the repair leaves the status alone";
  EXPECT_EQ(form.Command3.Caption(), texts::kCommand3Kill) << "and the shell toggle";

  // A second run appends seven more lines below the first seven.
  system.answers = {platform::kAnswerYes};
  form.Command4_Click();
  ASSERT_EQ(form.List1.ListCount(), 14);
  EXPECT_EQ(form.List1.List(7), Line(L"10:00:12", texts::kLogStarted));
  EXPECT_TRUE(form.List1.Selected(13));
}

TEST_F(Form1Test, TheFocusTheRepairMovedComesBackUnlessTheUserMovedItMeanwhile) {
  ::ShowWindow(form.handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(form.handle());
  struct Case {
    const char* what;
    HWND movedTo;  // by the user during a pause; none
    HWND expected;
  } cases[] = {
      {"left where the repair put it", nullptr, form.Command4.handle()},
      {"moved by the user", form.Command2.handle(), form.Command2.handle()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::SetFocus(form.Command4.handle());
    ASSERT_EQ(::GetFocus(), form.Command4.handle());
    std::vector<HWND> during;
    system.At(system.clock + 2500, [&] {
      during.push_back(::GetFocus());
      if (c.movedTo) ::SetFocus(c.movedTo);
    });
    system.answers = {platform::kAnswerYes};
    form.Command4_Click();
    EXPECT_EQ(during, std::vector<HWND>{form.List1.handle()}) << "the next tab stop";
    EXPECT_EQ(::GetFocus(), c.expected);
  }
}

TEST_F(Form1Test, QuickActionClickedDuringAPauseRunsAtOnceAndTheRepairGoesOn) {
  system.At(kStart + 2500, [&] { form.Command2_Click(); });
  // Another program switches the repair's button back on and clicks it: no second run.
  system.At(kStart + 5000, [&] {
    ::EnableWindow(form.Command4.handle(), TRUE);
    ::SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(form.Command4.id(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.Command4.handle()));
  });
  form.List1.AddItem(L"earlier");
  system.answers = {platform::kAnswerYes};
  form.Command4_Click();
  const Effects effects = EffectsSince();
  ASSERT_GE(effects.size(), 4u);
  EXPECT_EQ(effects[2], L"@2500 terminate 4 code 0");
  EXPECT_EQ(effects[3], L"@2500 terminate 12 code 0");
  EXPECT_EQ(effects.back(), L"@12000 " + kSafeRemoval);
  EXPECT_EQ(form.S1.PanelText(2), texts::kStatusProcesses);
  EXPECT_EQ(form.List1.ListCount(), 8);
  EXPECT_EQ(std::count(effects.begin(), effects.end(), L"@0 " + kRepairAsk), 1);
}

TEST_F(Form1Test, ClosingAsksAndEndsOrKeepsTheProgramAsAnsweredAndWindowsEndsWithoutAsking) {
  // Requested with the window idle, or during the repair: in the pause after ending the shell
  // (8 s, between its end at 7 s and its restart at 9 s), in an earlier one or in a later one;
  // by a close, or by Windows, which asks whether the session may end (answered yes at once,
  // nothing changing) and may then say at 8.5 s that it ends, for the session or for this
  // program alone (its Restart Manager), or that it was cancelled, or say nothing more. The
  // program never ends leaving the user without the shell the repair ended, except where the
  // session ends and takes the shell with it; it starts nothing as the session ends.
  constexpr int kIdle = -1;
  constexpr LPARAM kClose = -1;            // a close, not Windows asking
  enum Word { kNone, kCancelled, kEnds };  // what Windows says after asking
  const auto at = [](int ms) { return L"@" + std::to_wstring(ms) + L" "; };
  const std::wstring& forum = kForum;
  const std::wstring shell = L"launch explorer.exe show 2";
  const std::wstring ask = at(8000) + kClosingAsk, end = L"end program";
  const std::wstring goesOn[] = {at(9000) + shell, at(12000) + kSafeRemoval};
  struct Case {
    const char* what;
    int when;      // ms into the repair, or kIdle
    LPARAM asked;  // kClose, or why Windows asks
    Word word;
    int answer;          // to the question, where one comes
    Effects fromAsking;  // every effect from the request on
    bool ends;
    int logLines;
    int shellStarts;  // by the repair and on the way out together
  } cases[] = {
      // clang-format off
      {"Yes opens the fan forum, then ends", kIdle, kClose, kNone, platform::kAnswerYes, {at(0) + kClosingAsk, at(0) + forum, at(0) + end}, true, 0, 0},
      {"No ends", kIdle, kClose, kNone, platform::kAnswerNo, {at(0) + kClosingAsk, at(0) + end}, true, 0, 0},
      {"Cancel, Esc or the box's close button keep the window", kIdle, kClose, kNone, platform::kAnswerCancel, {at(0) + kClosingAsk}, false, 0, 0},
      {"No in the shell's pause: the shell first", 8000, kClose, kNone, platform::kAnswerNo, {ask, at(8000) + shell, at(8000) + end}, true, 4, 1},
      {"Yes in the shell's pause: the shell first, which the page would otherwise become", 8000, kClose, kNone, platform::kAnswerYes, {ask, at(8000) + shell, at(8000) + forum, at(8000) + end}, true, 4, 1},
      {"No in an earlier pause", 2500, kClose, kNone, platform::kAnswerNo, {at(2500) + kClosingAsk, at(2500) + end}, true, 2, 0},
      {"No in a later pause", 10000, kClose, kNone, platform::kAnswerNo, {at(10000) + kClosingAsk, at(10000) + end}, true, 5, 1},
      {"Cancel in the shell's pause: the repair goes on", 8000, kClose, kNone, platform::kAnswerCancel, {ask, goesOn[0], goesOn[1]}, false, 7, 1},
      {"Windows asks and says nothing more: the repair goes on", 8000, 0, kNone, 0, {goesOn[0], goesOn[1]}, false, 7, 1},
      {"Windows asks, then cancels: the repair goes on", 8000, static_cast<LPARAM>(ENDSESSION_LOGOFF), kCancelled, 0, {goesOn[0], goesOn[1]}, false, 7, 1},
      {"the session ends: nothing started, the shell goes with it", 8000, 0, kEnds, 0, {at(8500) + end}, true, 4, 0},
      {"Windows will not wait: the same", 8000, static_cast<LPARAM>(ENDSESSION_CRITICAL), kEnds, 0, {at(8500) + end}, true, 4, 0},
      {"the Restart Manager closes this program alone: as No, without asking", 8000, ENDSESSION_CLOSEAPP, kEnds, 0, {at(8500) + shell, at(8500) + end}, true, 4, 1},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh run;
    fake::FakeSystem& system = run.system;
    ui::Form1& form = run.form;
    size_t requested = 0;
    std::optional<std::int16_t> cancel;
    auto request = [&] {
      requested = system.Effects().size();
      if (c.asked == kClose) {
        std::int16_t asked = 0;
        form.Form_QueryUnload(asked, platform::kUnloadFormControlMenu);
        cancel = asked;
        return;
      }
      EXPECT_EQ(::SendMessageW(form.handle(), WM_QUERYENDSESSION, 0, c.asked), TRUE);
      if (c.word == kCancelled)
        system.At(kStart + 8500,
                  [&] { ::SendMessageW(form.handle(), WM_ENDSESSION, FALSE, c.asked); });
      // The end itself straight to its handler: the fake's end unwinds, which must not cross
      // the window procedure (the end to end tests send the real message).
      if (c.word == kEnds)
        system.At(kStart + 8500, [&] {
          form.Form_EndSession((c.asked & ENDSESSION_CLOSEAPP) ? platform::kUnloadAppTaskManager
                                                               : platform::kUnloadAppWindows);
        });
    };
    bool ended = false;
    try {
      if (c.when == kIdle) {
        system.answers = {c.answer};
        request();
      } else {
        system.At(kStart + static_cast<std::uint32_t>(c.when), request);
        system.answers = {platform::kAnswerYes, c.answer};
        form.Command4_Click();
      }
    } catch (const fake::ProgramEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends);
    if (c.asked == kClose) {
      // A close that ends the program never returns; one that keeps the window sets cancel.
      EXPECT_EQ(cancel, c.ends ? std::nullopt : std::optional<std::int16_t>(1));
    }
    const Effects all = system.Effects();
    EXPECT_EQ(Relative(all, requested), c.fromAsking);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [&](const std::wstring& e) { return e.ends_with(L" " + shell); }),
              c.shellStarts);
    EXPECT_EQ(form.List1.ListCount(), c.logLines) << "no line is written on the way out";
    if (!c.ends) {
      // Every button still answers: a click through the window clears the clipboard.
      ::SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(form.Command1.id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(form.Command1.handle()));
      EXPECT_TRUE(system.Effects().back().ends_with(L" clear clipboard"));
    }
  }
}

TEST_F(Form1Test, WhatArrivesWhileAQuestionIsOpenOpensNoOtherAndTheAnswerStillActs) {
  // Another program sends a few hundred closes while each question is up, and Windows asks
  // whether the session may end, then cancels.
  Fresh run;
  HWND window = run.form.handle();
  run.system.whileAsking = [&] {
    for (int i = 0; i < 300; ++i) ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE)
        << "a shutdown query is answered at once, and opens no question";
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
  };
  run.system.answers = {platform::kAnswerNo, platform::kAnswerCancel, platform::kAnswerYes};
  run.form.Command4_Click();
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(window));
  std::int16_t cancel = 0;
  EXPECT_THROW(run.form.Form_QueryUnload(cancel, platform::kUnloadFormControlMenu),
               fake::ProgramEnded);
  EXPECT_EQ(Relative(run.system.Effects(), 0),
            (Effects{L"@0 " + kRepairAsk, L"@0 " + kClosingAsk, L"@0 " + kClosingAsk,
                     L"@0 " + kForum, L"@0 end program"}));
}

TEST_F(Form1Test, EachControlClickedAsWindowsReportsItRunsItsOwnHandlerOrNothing) {
  // Every control of a fresh window clicked as Windows reports it (BN_CLICKED from it; an option
  // selected first, as its click leaves it): what its handler does first, and the status it
  // leaves (whatever a quick action found; Command5 reports nothing).
  const std::wstring quiet = texts::kPanelLoaded;
  struct Row {
    int control;
    Effects effects;
    std::wstring status;
  };
  const std::array<Row, ctl::Count> rows{{
      // clang-format off
      {ctl::Frame1, {}, quiet},
      {ctl::Command1, {L"@0 clear clipboard"}, texts::kStatusClipboard},
      {ctl::Command2, {L"@0 terminate 4 code 0", L"@0 terminate 12 code 0"}, texts::kStatusProcesses},
      {ctl::Command3, {L"@0 terminate 8 code 0"}, texts::kStatusShellEnded},
      {ctl::Frame2, {}, quiet},
      {ctl::Command4, {L"@0 " + kRepairAsk}, quiet},  // answered No
      {ctl::Frame3, {}, quiet},
      {ctl::List1, {}, quiet},
      {ctl::S1, {}, quiet},
      {ctl::Command5, {L"@0 " + kSafeRemoval}, quiet},
      {ctl::Frame4, {}, quiet},
      {ctl::Text1, {}, quiet},
      {ctl::Frame5, {}, quiet},
      {ctl::Option1, {L"@0 launch " + std::wstring(texts::kBlogCommandLine) + L" show 2"}, quiet},
      {ctl::Option2, {L"@0 " + kForum}, quiet},
      // clang-format on
  }};
  for (int i = 0; i < ctl::Count; ++i) {
    const Row& row = rows[static_cast<size_t>(i)];
    ASSERT_EQ(row.control, i) << "control " << i << " has no row of its own here";
    SCOPED_TRACE("control " + std::to_string(i));
    Fresh run;
    run.system.processes = system.processes;
    run.system.answers = {platform::kAnswerNo};
    HWND control = ::GetDlgItem(run.form.handle(), platform::IdOf(i));
    if (ui::kControls[static_cast<size_t>(i)].kind == platform::ControlKind::Option)
      ::SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(run.form.handle(), WM_COMMAND, MAKEWPARAM(platform::IdOf(i), BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(Relative(run.system.Effects(), 0), row.effects);
    EXPECT_EQ(run.form.S1.PanelText(2), row.status);
    EXPECT_EQ(run.form.S1.PanelText(1), texts::kPanelStatus) << "only the message panel changes";
  }
  // With nothing to end, the same report, over the one before.
  form.SetStatus(L"一");
  system.processes.clear();
  form.Command2_Click();
  EXPECT_EQ(EffectsSince(), Effects{});
  EXPECT_EQ(form.S1.PanelText(2), texts::kStatusProcesses);
}

TEST_F(Form1Test, LogKeepsEveryLineAndSelectsTheNewestBeyond32767Lines) {
  constexpr int kLines = 40'000;
  ::SendMessageW(form.List1.handle(), WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < kLines; ++i) form.LogLine(L" ]" + std::to_wstring(i));
  ASSERT_EQ(form.List1.ListCount(), kLines);
  EXPECT_TRUE(form.List1.Selected(kLines - 1));
  EXPECT_EQ(form.List1.List(kLines - 1), L"[ 10:00:00 ]39999");
  EXPECT_EQ(form.List1.List(32768), L"[ 10:00:00 ]32768");
}

}  // namespace
