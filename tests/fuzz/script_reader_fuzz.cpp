// Fuzz target: any bytes as a screen script, read through the same text
// conversion, reader and handlers as the program, against a host that
// checks what it is given.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "script/machine.h"
#include "script/screen_script.h"
#include "script/script_text.h"
#include "script/stdio_input_file.h"

namespace {

class FuzzMachine : public Machine {
public:
    std::string ProgramFile() override { return "D:\\DISC\\AUTORUN.EXE"; }
    bool FirstMatchAttributes(const std::string& p, unsigned long* a) override {
        *a = 0x20;
        return p.size() % 3 == 0;
    }
    bool ReadMachineValue(const std::string&, const std::string&, RegistryValue*) override {
        return false;
    }
    unsigned short SystemLanguage() override { return language; }
    OsVersionInfo WindowsVersion() override { return {}; }
    bool IsLeadByte(unsigned char byte) override { return byte >= 0x81 && byte <= 0x9F; }
    std::string UpperCaseDoubleByte(const std::string& c) override { return c; }
    std::string ToAnsiCodePage(const std::u16string& t) override { return KeepAsciiOnly(t); }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::string TemporaryDirectory() override { return "C:\\TEMP\\"; }
    std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override {
        return OpenStdioInputFile(path);
    }
    unsigned short language = 0x0409;
};

class CheckingHost : public ScriptHost {
public:
    FontHandle CreateScriptFont(const FontChanges& changes) override {
        if (changes.faceName.size() > 31) std::abort();
        return reinterpret_cast<FontHandle>(++fonts);
    }
    void DeleteScriptFont(FontHandle) override {}
    TextExtent MeasureText(FontHandle, const std::string& text) override {
        return {static_cast<int>(text.size() % 1000) * 7, 13};
    }
    void SetBackgroundBitmap(const std::string&) override {}
    DibBitmap* GetButtonBitmap(const std::string&, int* w, int* h) override {
        *w = 100;
        *h = 30;
        return nullptr;
    }
    bool CreateButtonWindow(int slot) override {
        if (!IsSlot(slot)) std::abort();
        return slot % 7 != 3;
    }
    void DestroyButtonWindow(int slot) override {
        if (!IsSlot(slot)) std::abort();
    }
    void FocusButton(int slot) override {
        if (!IsSlot(slot)) std::abort();
    }
    void CheckSingleInstance(int) override {}
    std::uintptr_t fonts = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzMachine machine;
    machine.language = size > 0 && (data[0] & 1) ? 0x0407 : 0x0409;
    ScreenModel screen;
    screen.windowsVersion = static_cast<unsigned short>(size % 9);
    CheckingHost host;
    ScreenScript reader(screen, host, machine);
    // As the program takes a file: cut at a Ctrl-Z, UTF-8 made ANSI.
    TextLineSource lines(
        ScriptTextFromBytes(machine, std::string(reinterpret_cast<const char*>(data), size)));
    reader.ReadLines(lines);
    return 0;
}
