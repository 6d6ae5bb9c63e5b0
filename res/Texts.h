#pragma once
// Every text the program shows or launches, in one place. The window's texts are UTF-16 so
// that the Chinese shows correctly whatever the system's ANSI code page is.
namespace texts {

inline constexpr wchar_t kFormCaption[] = L"Plindar V2.0";

inline constexpr wchar_t kFrame1[] = L"逐一问题解决";
inline constexpr wchar_t kCommand1[] = L"清空剪贴板";
inline constexpr wchar_t kCommand2[] = L"清除相关进程";
inline constexpr wchar_t kCommand3Kill[] = L"清除Explorer";
inline constexpr wchar_t kCommand3Restart[] = L"重启Explorer";
inline constexpr wchar_t kFrame2[] = L"相关操作";
inline constexpr wchar_t kCommand4[] = L"一键强力修复";
inline constexpr wchar_t kFrame3[] = L"强力排除过程";
inline constexpr wchar_t kCommand5[] = L"弹出安全删除硬件的窗口";
inline constexpr wchar_t kFrame4[] = L"程序相关说明";
inline constexpr wchar_t kFrame5[] = L"相关网站";
inline constexpr wchar_t kOption1[] = L"Kestrin原创IT吧";
inline constexpr wchar_t kOption2[] = L"Kestrin粉丝交流吧";

// The help text: a leading empty line, then twelve lines with an empty line between each two,
// every break CR LF, 24 in all.
inline constexpr wchar_t kHelpText[] =
    L"\r\n"
    L"1.0版的时候有不耻人士恶意修改了\r\n\r\n"
    L"Kestrin的程序,Kestrin在这里强烈鄙视下\r\n\r\n"
    L"自己没本事.改什么别人程序.不知廉耻\r\n\r\n"
    L"------------------------------------\r\n\r\n"
    L"本程序可帮助您解决在拔出U盘时提示\r\n\r\n"
    L"无法停止\"通用卷\"设备。的\r\n\r\n"
    L"您一定要确保您当前所有的文件已经关闭\r\n\r\n"
    L"再使用本软件否则使用多次也无任何效果\r\n\r\n"
    L"首先选择逐一排除,处理按照从小到大排列\r\n\r\n"
    L"如果逐一排除无效,请点击一键强力修复下\r\n\r\n"
    L"如有疑问联系作者KestrinQ:10000\r\n\r\n"
    L"Kestrin原创IT吧:kestrin.example.com\r\n";

inline constexpr wchar_t kPanelStatus[] = L"状态：";
inline constexpr wchar_t kPanelLoaded[] = L"程序已加载完毕...";

inline constexpr wchar_t kStatusClipboard[] = L"已清空剪贴板,您可尝试卸载U盘...";
inline constexpr wchar_t kStatusProcesses[] = L"已清除相关进程,您可尝试卸载U盘...";
inline constexpr wchar_t kStatusShellEnded[] = L"已清除Explorer,请点击重启Explorer...";
inline constexpr wchar_t kStatusShellRestarted[] = L"已重启Explorer,您可尝试卸载U盘...";

inline constexpr wchar_t kRundll32[] = L"rundll32.exe";
inline constexpr wchar_t kExplorer[] = L"explorer.exe";
inline constexpr wchar_t kShellCommandLine[] = L"explorer.exe";
inline constexpr wchar_t kSafeRemovalCommandLine[] =
    L"RUNDLL32.EXE shell32.dll,Control_RunDLL hotplug.dll";

inline constexpr wchar_t kSkinFileSuffix[] = L"/skinh.she";

inline constexpr wchar_t kPromptTitle[] = L"Kestrin提示";
inline constexpr wchar_t kRepairQuestion[] =
    L"一键强力修复具有一定的风险性,但确保不会损坏您的计算机系统,是否继续?";
inline constexpr wchar_t kClosingQuestion[] = L"是否加入Kestrin粉丝吧共同交流网络技术?";

inline constexpr wchar_t kLogStarted[] = L" ]正进行一键强力修复...";
inline constexpr wchar_t kLogClipboard[] = L" ]已清空剪贴板...";
inline constexpr wchar_t kLogProcesses[] = L" ]已清除相关进程...";
inline constexpr wchar_t kLogShellEnded[] = L" ]已清除E,正在重启...";
inline constexpr wchar_t kLogShellRestarted[] = L" ]已重启E...";
inline constexpr wchar_t kLogFinished[] = L" ]一键强力修复完毕...";
inline constexpr wchar_t kLogMayRemove[] = L" ]您可以尝试卸载U盘...";

// The run-time error box: "运行时错误 '53':", an empty line, then the description, which
// names what the error is about (a file, a library, an entry in a library) where it says so.
inline constexpr wchar_t kRuntimeErrorBefore[] = L"运行时错误 '";
inline constexpr wchar_t kRuntimeErrorAfter[] = L"':\r\n\r\n";
inline constexpr wchar_t kErrorInvalidCall[] = L"无效的过程调用或参数";
inline constexpr wchar_t kErrorOutOfMemory[] = L"内存溢出";
inline constexpr wchar_t kErrorDllLoad[] = L"加载 DLL 错误";
inline constexpr wchar_t kErrorFileNotFound[] = L"文件未找到";
inline constexpr wchar_t kErrorDllEntryNotFound[] = L"找不到 DLL 入口点";
inline constexpr wchar_t kErrorClipboard[] = L"不能打开剪贴板";
// Between an entry and the library it was looked for in: "timeGetTime 于 winmm.dll".
inline constexpr wchar_t kEntryInLibrary[] = L" 于 ";
inline constexpr wchar_t kErrorBoxTitle[] = L"Plindar";

// The author's pages, opened by the shell as "explorer.exe " + address.
inline constexpr wchar_t kBlogCommandLine[] = L"explorer.exe http://kestrin.example.com/blog";
inline constexpr wchar_t kForumCommandLine[] = L"explorer.exe http://kestrin.example.com/fans";

}  // namespace texts
