// The Windows machine's file reading, as the script reader uses it: files
// that cannot be opened, an empty file, a file of many read buffers, and a
// file another program holds open for writing.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kit/check.h"
#include "script/screen_script.h"
#include "win/machine_win.h"

namespace {
bool WriteWhole(const char* path, const std::string& bytes) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    return CloseHandle(file) && ok;
}

std::vector<std::string> LinesOf(InputFile& file) {
    std::string bytes;
    char buffer[4096];
    long got;
    while ((got = file.Read(buffer, sizeof buffer)) > 0) bytes.append(buffer, got);
    TextLineSource source(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (source.NextLine(&line)) lines.push_back(line);
    return lines;
}
}  // namespace

int main() {
    WinMachine machine;
    CHECK(!machine.OpenInputFile("C:\\NO SUCH DIRECTORY\\AUTORUN.INF"),
          "a missing file opens as none");
    CreateDirectoryA("A FOLDER", nullptr);
    CHECK(!machine.OpenInputFile("A FOLDER"), "a directory opens as none");

    CHECK(WriteWhole("EMPTY.INF", ""), "an empty file is written");
    if (auto file = machine.OpenInputFile("EMPTY.INF")) {
        char buffer[16];
        CHECK(file->Size() == 0 && file->Read(buffer, sizeof buffer) == 0,
              "an empty file has size 0 and reads as its end at once");
    } else {
        CHECK(false, "an empty file opens");
    }

    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        expected.push_back("KEY" + std::to_string(i) + "=" + std::string(i % 50, 'v'));
        bytes += expected.back() + "\r\n";
    }
    CHECK(bytes.size() > 100000 && WriteWhole("LONG.INF", bytes),
          "a file of many buffers is written");
    if (auto file = machine.OpenInputFile("LONG.INF")) {
        CHECK(file->Size() == static_cast<long>(bytes.size()), "a file tells its size");
        CHECK(LinesOf(*file) == expected, "every line of a file of many buffers is read back");
    } else {
        CHECK(false, "a file of many buffers opens");
    }

    HANDLE writer = CreateFileA("LONG.INF", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    CHECK(writer != INVALID_HANDLE_VALUE && machine.OpenInputFile("LONG.INF") != nullptr,
          "a file another program is writing still opens");
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    return kit::ExitStatus();
}
