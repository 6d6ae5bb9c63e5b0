// Every text the user sees or the program launches, written out once, character for character:
// the other tests name them by texts::, so that a slip in res/Texts.h shows here. The error
// box's texts are written out in PlatformTest's table of run-time errors.
#include "res/Texts.h"

#include <gtest/gtest.h>

namespace {

TEST(Texts, AreExactlyWhatTheUserSees) {
  // clang-format off
  const struct { const wchar_t* text; const wchar_t* expected; } cases[] = {
      {texts::kFormCaption,           L"Plindar V2.0"},
      {texts::kFrame1,                L"逐一问题解决"},
      {texts::kCommand1,              L"清空剪贴板"},
      {texts::kCommand2,              L"清除相关进程"},
      {texts::kCommand3Kill,          L"清除Explorer"},
      {texts::kCommand3Restart,       L"重启Explorer"},
      {texts::kFrame2,                L"相关操作"},
      {texts::kCommand4,              L"一键强力修复"},
      {texts::kFrame3,                L"强力排除过程"},
      {texts::kCommand5,              L"弹出安全删除硬件的窗口"},
      {texts::kFrame4,                L"程序相关说明"},
      {texts::kFrame5,                L"相关网站"},
      {texts::kOption1,               L"Kestrin原创IT吧"},
      {texts::kOption2,               L"Kestrin粉丝交流吧"},
      // A leading empty line, then twelve lines, each followed by an empty one: 24 breaks.
      {texts::kHelpText,
       L"\r\n1.0版的时候有不耻人士恶意修改了\r\n\r\nKestrin的程序,Kestrin在这里强烈鄙视下\r\n\r\n"
       L"自己没本事.改什么别人程序.不知廉耻\r\n\r\n------------------------------------\r\n\r\n"
       L"本程序可帮助您解决在拔出U盘时提示\r\n\r\n无法停止\"通用卷\"设备。的\r\n\r\n"
       L"您一定要确保您当前所有的文件已经关闭\r\n\r\n再使用本软件否则使用多次也无任何效果\r\n\r\n"
       L"首先选择逐一排除,处理按照从小到大排列\r\n\r\n如果逐一排除无效,请点击一键强力修复下\r\n\r\n"
       L"如有疑问联系作者KestrinQ:10000\r\n\r\nKestrin原创IT吧:kestrin.example.com\r\n"},
      {texts::kPanelStatus,           L"状态："},
      {texts::kPanelLoaded,           L"程序已加载完毕..."},
      {texts::kStatusClipboard,       L"已清空剪贴板,您可尝试卸载U盘..."},
      {texts::kStatusProcesses,       L"已清除相关进程,您可尝试卸载U盘..."},
      {texts::kStatusShellEnded,      L"已清除Explorer,请点击重启Explorer..."},
      {texts::kStatusShellRestarted,  L"已重启Explorer,您可尝试卸载U盘..."},
      {texts::kPromptTitle,           L"Kestrin提示"},
      {texts::kRepairQuestion,        L"一键强力修复具有一定的风险性,但确保不会损坏您的计算机系统,是否继续?"},
      {texts::kClosingQuestion,       L"是否加入Kestrin粉丝吧共同交流网络技术?"},
      {texts::kLogStarted,            L" ]正进行一键强力修复..."},
      {texts::kLogClipboard,          L" ]已清空剪贴板..."},
      {texts::kLogProcesses,          L" ]已清除相关进程..."},
      {texts::kLogShellEnded,         L" ]已清除E,正在重启..."},
      {texts::kLogShellRestarted,     L" ]已重启E..."},
      {texts::kLogFinished,           L" ]一键强力修复完毕..."},
      {texts::kLogMayRemove,          L" ]您可以尝试卸载U盘..."},
      {texts::kRundll32,              L"rundll32.exe"},
      {texts::kExplorer,              L"explorer.exe"},
      {texts::kShellCommandLine,      L"explorer.exe"},
      {texts::kSafeRemovalCommandLine, L"RUNDLL32.EXE shell32.dll,Control_RunDLL hotplug.dll"},
      {texts::kBlogCommandLine,       L"explorer.exe http://kestrin.example.com/blog"},
      {texts::kForumCommandLine,      L"explorer.exe http://kestrin.example.com/fans"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_STREQ(c.text, c.expected);
}

}  // namespace
