// Wine's trace of a run read into the try page's log: each case is the
// lines of one run, as Wine 8 prints them (32-bit pointers, or the 16
// digits of a 64-bit process), and the log entries they must give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "try/wine_trace.h"

namespace {

struct TraceCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> texts;  // the entries' texts, in order
};

std::vector<std::string> TextsOf(const std::vector<std::string>& lines) {
    WineTrace trace;
    std::vector<std::string> texts;
    for (const std::string& line : lines) {
        for (const auto& entry : trace.Read(line)) texts.push_back(entry["text"].get<std::string>());
    }
    return texts;
}

const std::string kStartSetup[] = {
    R"(0110:trace:process:CreateProcessInternalW app (null) cmdline L"D:\\SETUP FILES\\SETUP.EXE /S \"x\"")",
    R"(0110:trace:process:NtCreateUserProcess L"\\??\\D:\\SETUP FILES\\SETUP.EXE" image L"D:\\SETUP FILES\\SETUP.EXE" cmdline L"D:\\SETUP FILES\\SETUP.EXE /S" parent (nil))",
    R"(0110:trace:process:CreateProcessInternalW started process pid 0114 tid 0118)"};

const TraceCase kCases[] = {
    {"a start, its wait and its exit code end the wait",
     {"00fc:trace:relay:load_list ...", R"(0110:Call KERNEL32.SetCurrentDirectoryA(0061fa3c "D:\\SETUP FILES") ret=0040c2b9)",
      "0110:Ret  KERNEL32.SetCurrentDirectoryA() retval=00000001 ret=0040c2b9", kStartSetup[0], kStartSetup[1], kStartSetup[2],
      R"(0110:Call KERNEL32.GetProcAddress(626c0000,0040f2dc "WaitForProcess") ret=0040b2c1)",
      "0118:Call KERNEL32.ExitProcess(00000bc2) ret=65698bec"},
     {R"(AUTORUN.EXE starts D:\SETUP FILES\SETUP.EXE /S "x" in D:\SETUP FILES)", "AUTORUN.EXE waits for SETUP.EXE (process 0114)",
      "the wait of AUTORUN.EXE ends: SETUP.EXE ended with exit code 3010"}},
    {"a folder that could not be made current is not the start's",
     {"00fc:trace:relay:load_list ...", R"(0110:Call KERNEL32.SetCurrentDirectoryA(0061fa3c "C:\\NOWHERE") ret=0040c2b9)",
      "0110:Ret  KERNEL32.SetCurrentDirectoryA() retval=00000000 ret=0040c2b9", kStartSetup[0], kStartSetup[1], kStartSetup[2]},
     {R"(AUTORUN.EXE starts D:\SETUP FILES\SETUP.EXE /S "x" in D:\)"}},
    {"a document opened through its class's verb, and a start Wine refuses",
     {"00fc:x", R"(0110:Call advapi32.RegOpenKeyExA(80000000,0272fb28 "txtfile\\shell\\open\\command",00000000,00020019,0272f9e4) ret=00408ee6)",
      R"(0110:trace:process:CreateProcessInternalW app (null) cmdline L"C:\\windows\\notepad.exe D:\\README.TXT")",
      R"(0110:trace:process:NtCreateUserProcess L"\\??\\C:\\windows\\notepad.exe" image L"C:\\windows\\notepad.exe" cmdline L"x" parent (nil))",
      "0110:trace:process:CreateProcessInternalW started process pid 0120 tid 0124",
      R"(0110:trace:process:CreateProcessInternalW app (null) cmdline L"D:\\OLD.EXE")",
      "0110:Ret  KERNEL32.CreateProcessA() retval=00000000 ret=00404885"},
     {R"(AUTORUN.EXE starts C:\windows\notepad.exe D:\README.TXT in D:\ (document, verb open))", R"(AUTORUN.EXE could not start D:\OLD.EXE)"}},
    {"a restart request in a 64-bit process, the screen's refusal, and the session going on",
     {"0030:x", kStartSetup[0], kStartSetup[1], kStartSetup[2],
      "0118:Call user32.ExitWindowsEx(0000000000000002,0000000000000000) ret=0000000140001d3d",
      "0030:Call window proc 00000000688A1820 (hwnd=0000000000020044,msg=WM_QUERYENDSESSION,wp=00000000,lp=00000000)",
      "0030:Ret  window proc 00000000688A1820 (hwnd=0000000000020044,msg=WM_QUERYENDSESSION,wp=00000000,lp=00000000) retval=00000000",
      "0030:Ret  window proc 00000000688A1820 (hwnd=000000000001006E,msg=WM_QUERYENDSESSION,wp=00000000,lp=00000000) retval=00000000",
      "0030:Call window proc 00000000688A1820 (hwnd=0000000000020044,msg=WM_ENDSESSION,wp=00000000,lp=00000000)",
      "0030:Call window proc 00000000688A1820 (hwnd=000000000001006E,msg=WM_ENDSESSION,wp=00000000,lp=00000000)"},
     {R"(AUTORUN.EXE starts D:\SETUP FILES\SETUP.EXE /S "x" in D:\)", "SETUP.EXE asks Windows to restart",
      "AUTORUN.EXE refuses to end the session", "the session goes on (AUTORUN.EXE is told so)"}},
    {"sounds by name, a blank one left out, and the registry values of a restart",
     {R"(00fc:trace:winmm:proc_PlaySound SoundName=L"D:\\HOVER.WAV" !)", R"(00fc:trace:winmm:proc_PlaySound SoundName=L"" !)",
      R"(00fc:Call ADVAPI32.RegSetValueExA(000000a8,0061f5b0 "AUTORUN",00000000,00000001,0061f600,00000020) ret=00401234)",
      R"(00fc:Call kernelbase.RegSetValueExA(000000a8,0061f5b0 "AUTORUN",00000000,00000001,0061f600,00000020) ret=7b001234)",
      R"(00fc:Call advapi32.RegDeleteValueA(000000a8,0061f5b0 "AUTORUN") ret=00401234)"},
     {R"(AUTORUN.EXE plays D:\HOVER.WAV)", "AUTORUN.EXE writes the registry value AUTORUN",
      "AUTORUN.EXE withdraws the registry value AUTORUN"}},
};

TEST(WineTrace, RunsGiveTheirLogs) {
    for (const TraceCase& testCase : kCases) {
        EXPECT_EQ(TextsOf(testCase.lines), testCase.texts) << testCase.name;
    }
}

}  // namespace
