// Reading speed of the screen script: a script of typical entries is
// written to a file at two sizes (10x apart) and read as the program reads
// it; prints MB/s (median of several runs) and the ratio of the times.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "script/machine.h"
#include "script/screen_script.h"
#include "script/stdio_input_file.h"

namespace {

class BenchMachine : public Machine {
public:
    std::string ProgramFile() override { return "D:\\AUTORUN.EXE"; }
    bool FirstMatchAttributes(const std::string&, unsigned long*) override { return false; }
    bool ReadMachineValue(const std::string&, const std::string&, RegistryValue*) override {
        return false;
    }
    unsigned short SystemLanguage() override { return 0x0407; }
    OsVersionInfo WindowsVersion() override { return {}; }
    bool IsLeadByte(unsigned char) override { return false; }
    std::string UpperCaseDoubleByte(const std::string& c) override { return c; }
    std::string ToAnsiCodePage(const std::u16string& t) override { return KeepAsciiOnly(t); }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::string TemporaryDirectory() override { return "C:\\TEMP\\"; }
    std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override {
        return OpenStdioInputFile(path);
    }
};

class NullHost : public ScriptHost {
public:
    FontHandle CreateScriptFont(const FontChanges&) override { return nullptr; }
    void DeleteScriptFont(FontHandle) override {}
    TextExtent MeasureText(FontHandle, const std::string& text) override {
        return {static_cast<int>(text.size()) * 6, 13};
    }
    void SetBackgroundBitmap(const std::string&) override {}
    DibBitmap* GetButtonBitmap(const std::string&, int* w, int* h) override {
        *w = 100;
        *h = 40;
        return nullptr;
    }
    bool CreateButtonWindow(int) override { return true; }
    void DestroyButtonWindow(int) override {}
    void FocusButton(int) override {}
    void CheckSingleInstance(int) override {}
};

// One block of a realistic script; repeated, it keeps the sections in their
// usual order, and every entry is parsed (the slots fill up at once and the
// later entries take the "slot already used" paths, as in a long script).
std::string Block(int n) {
    std::string s;
    s += "[BEGIN] [ENG] // block " + std::to_string(n) + "\r\n";
    s += "TITLE=Sample Installation Disc " + std::to_string(n) + "\r\n";
    s += "INTROSOUND=SOUNDS\\INTRO.WAV,5\r\nTRAPREBOOTMODE=YESNO\r\n";
    s += "TRAPREBOOT=Setup wants to restart.\\r\\nPlease wait.\r\n";
    s += "[TEXT] [GER]\r\n";
    for (int i = 1; i <= 8; ++i)
        s += "TEXT" + std::to_string(i) + "=Installieren Sie Programm " + std::to_string(i) +
             ",4,7, ,1,,,0,0\r\n";
    s += "[TEXT]\r\n";
    for (int i = 1; i <= 8; ++i)
        s += "TEXT" + std::to_string(i) + "=Install program " + std::to_string(i) + ",4,7\r\n";
    s += "[BUTTON]\r\n";
    for (int i = 1; i <= 8; ++i)
        s += "BUTTON" + std::to_string(i) + " = CHECKBOX," + std::to_string(20 + i * 10) +
             ",100,0,0,CHECK,YES,PICS\\CHECK.BMP," + std::to_string(i) +
             ",,SOUNDS\\HOVER.WAV,SETUP\\DISK" + std::to_string(i) + "\\SETUP.EXE /S\r\n";
    s += "[INSTALLMESSAGE]\r\nBUTTON1=Installing the first program...\\r\\nPlease wait.\r\n";
    s += "[NOTES]\r\nThis section is not read by the screen at all.\r\n";
    return s;
}

std::string Script(std::size_t bytes) {
    std::string text = "[BEGIN]\r\nTITLE=Bench\r\n";
    for (int n = 0; text.size() < bytes; ++n) text += Block(n);
    text += "[END]\r\n";
    return text;
}

double SecondsToRead(Machine& machine, const std::string& path) {
    ScreenModel screen;
    NullHost host;
    auto start = std::chrono::steady_clock::now();
    ScreenScript reader(screen, host, machine);
    reader.Load(path);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double MedianSeconds(Machine& machine, const std::string& path, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(SecondsToRead(machine, path));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    BenchMachine machine;
    const std::size_t sizes[] = {2u << 20, 20u << 20};
    double seconds[2];
    for (int i = 0; i < 2; ++i) {
        std::string path = "/tmp/script_read_bench_" + std::to_string(i) + ".inf";
        std::string text = Script(sizes[i]);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        SecondsToRead(machine, path);  // warm the file cache
        seconds[i] = MedianSeconds(machine, path, 7);
        std::printf("script reading: %6.1f MB in %.3f s (median of 7) = %.0f MB/s\n",
                    text.size() / 1e6, seconds[i], text.size() / 1e6 / seconds[i]);
        std::remove(path.c_str());
    }
    std::printf("script reading: 10x the input costs %.2fx the time (budget 11x)\n",
                seconds[1] / seconds[0]);
    return 0;
}
