#pragma once
// The disc as the program sees it: a folder on this machine stands for the
// drive "D:\" that the program starts from. Windows paths on that drive are
// found in the folder as Windows finds them, whatever the letter case, and
// a name whose case differs from the file's is remembered.
#include <string>

#include "script/machine.h"
#include "script/stdio_input_file.h"

constexpr char kDiscRoot[] = "D:\\";

struct DiscFile {
    bool found = false;
    bool directory = false;
    std::string localPath;  // the file on this machine
    std::string discName;   // the path below the disc root as the disc spells it
    bool caseDiffers = false;
};

class DiscFolder {
public:
    explicit DiscFolder(std::string root) : root_(std::move(root)) {}
    // True for a path on the disc's drive.
    static bool OnDisc(const std::string& windowsPath);
    DiscFile Find(const std::string& windowsPath) const;

private:
    std::string root_;
};

// The machine that the reader asks while the checker reads a script: the
// program on the disc's root, a chosen language, Windows version and code
// page, the disc's files, and no registry.
class DiscMachine : public Machine {
public:
    DiscMachine(const DiscFolder& disc, const std::string& programName)
        : disc_(disc), programFile_(kDiscRoot + programName + ".EXE") {}

    unsigned short language = 0x0409;
    OsVersionInfo version;
    int codePage = 1252;

    std::string ProgramFile() override { return programFile_; }
    bool FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) override;
    bool ReadMachineValue(const std::string&, const std::string&, RegistryValue*) override {
        return false;
    }
    unsigned short SystemLanguage() override { return language; }
    OsVersionInfo WindowsVersion() override { return version; }
    bool IsLeadByte(unsigned char byte) override;
    // Upper-casing of double-byte letters (full-width Latin) is left as is.
    std::string UpperCaseDoubleByte(const std::string& character) override { return character; }
    // Through this machine's iconv tables of the code page, keeping only
    // characters that come back the same, as Windows does.
    std::string ToAnsiCodePage(const std::u16string& text) override;
    unsigned AnsiCodePage() override { return static_cast<unsigned>(codePage); }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::string TemporaryDirectory() override { return "C:\\WINDOWS\\TEMP\\"; }
    // The checker hands the reader the script's path on this machine.
    std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override {
        return OpenStdioInputFile(path);
    }

private:
    const DiscFolder& disc_;
    std::string programFile_;
};
