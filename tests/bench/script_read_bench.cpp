// Reading speed of the screen script: a script of typical entries is
// written to a file at two sizes (10x apart, both under the largest script
// the program reads) and read as the program reads it; prints MB/s (median
// of several runs) and the ratio of the times. The times are the process's
// CPU time, which a busy machine's other work does not inflate. Every run must hand every
// entry to its section's handler: a case that reads less fails the
// benchmark instead of printing a rate.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "script/machine.h"
#include "script/screen_script.h"
#include "script/script_listener.h"
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

// Counts the entries the reader hands to the sections' handlers.
class EntryCounter : public ScriptListener {
public:
    void OnLine(int, const std::string&) override {}
    void OnHeader(const std::string&, const std::string&, bool) override {}
    void OnEntry(const std::string&, int, const std::string&, bool) override { ++entries; }
    long entries = 0;
};

struct Script {
    std::string text;
    long entries = 0;  // that a German machine's reader hands on
};

// One block of a realistic script; repeated, it keeps the sections in their
// usual order, and every entry is parsed (the slots fill up at once and the
// later entries take the "slot already used" paths, as in a long script).
// Its [BEGIN] [ENG] section is not this German machine's, and its [NOTES]
// line is no entry: 25 entries are read.
constexpr long kEntriesPerBlock = 25;
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

Script ScriptOf(std::size_t bytes) {
    Script script{"[BEGIN]\r\nTITLE=Bench\r\n", 1};
    const std::string end = "[END]\r\n";
    for (int n = 0;; ++n) {
        std::string block = Block(n);
        if (script.text.size() + block.size() + end.size() > bytes) break;
        script.text += block;
        script.entries += kEntriesPerBlock;
    }
    script.text += end;
    return script;
}

double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The CPU time of one read, and the entries it handed on.
double SecondsToRead(Machine& machine, const std::string& path, long* entries) {
    ScreenModel screen;
    NullHost host;
    EntryCounter counter;
    double start = CpuSeconds();
    ScreenScript reader(screen, host, machine);
    reader.SetListener(&counter);
    reader.Load(path);
    double seconds = CpuSeconds() - start;
    *entries = counter.entries;
    return seconds;
}

// The median of `runs` reads; false (and a message) when a read missed entries.
bool MedianSeconds(Machine& machine, const std::string& path, const Script& script, int runs,
                   double* median) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        long entries = 0;
        times.push_back(SecondsToRead(machine, path, &entries));
        if (entries != script.entries) {
            std::fprintf(stderr,
                         "script reading: FAILED: the %.2f MB script was read to %ld of its %ld "
                         "entries, so no rate is measured\n",
                         script.text.size() / 1e6, entries, script.entries);
            return false;
        }
    }
    std::sort(times.begin(), times.end());
    *median = times[times.size() / 2];
    return true;
}

}  // namespace

int main() {
    BenchMachine machine;
    constexpr std::size_t sizes[] = {350000, 3500000};
    static_assert(sizes[1] <= kLargestScriptBytes, "the large case must be a script the reader reads");
    double seconds[2];
    for (int i = 0; i < 2; ++i) {
        std::string path = "/tmp/script_read_bench_" + std::to_string(i) + ".inf";
        Script script = ScriptOf(sizes[i]);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(script.text.data(), 1, script.text.size(), file) != script.text.size() ||
            std::fclose(file) != 0) {
            std::fprintf(stderr, "script reading: FAILED: cannot write %s\n", path.c_str());
            return 1;
        }
        long warm = 0;
        SecondsToRead(machine, path, &warm);  // warm the file cache
        bool read = MedianSeconds(machine, path, script, 7, &seconds[i]);
        std::remove(path.c_str());
        if (!read) return 1;
        std::printf("script reading: %5.2f MB, %ld entries, in %.4f s of CPU (median of 7) = %.0f MB/s\n",
                    script.text.size() / 1e6, script.entries, seconds[i],
                    script.text.size() / 1e6 / seconds[i]);
    }
    std::printf("script reading: 10x the input costs %.2fx the time (budget 11x)\n",
                seconds[1] / seconds[0]);
    return 0;
}
