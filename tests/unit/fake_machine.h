#pragma once
// A machine for unit tests: a program path, a set of files and directories,
// registry values and system facts, all set by the test.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "script/machine.h"
#include "script/stdio_input_file.h"

// A file held in memory, handed out at most `chunk` bytes a read; the read
// that would include byte `failAt` (when not negative) fails.
struct ScriptedBytes {
    std::string bytes;
    std::size_t chunk = std::size_t(1) << 20;
    long failAt = -1;
    bool sizeKnown = true;
};

class ScriptedFile : public InputFile {
public:
    explicit ScriptedFile(ScriptedBytes file) : file_(std::move(file)) {}
    long Read(char* buffer, unsigned long size) override {
        std::size_t take = std::min<std::size_t>({size, file_.chunk, file_.bytes.size() - offset_});
        if (file_.failAt >= 0 && offset_ + take > static_cast<std::size_t>(file_.failAt)) return -1;
        file_.bytes.copy(buffer, take, offset_);
        offset_ += take;
        return static_cast<long>(take);
    }
    long Size() override { return file_.sizeKnown ? static_cast<long>(file_.bytes.size()) : -1; }

private:
    ScriptedBytes file_;
    std::size_t offset_ = 0;
};

class FakeMachine : public Machine {
public:
    std::string programFile = "D:\\SETUP\\AUTORUN.EXE";
    std::set<std::string> files;        // exact paths
    std::set<std::string> directories;  // exact paths
    std::map<std::string, RegistryValue> values;  // "subkey|name"
    std::set<std::string> keys;                   // keys that exist
    unsigned short language = 0x0409;
    OsVersionInfo version;
    std::set<unsigned char> leadBytes;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string temporaryDirectory = "C:\\TEMP\\";
    // What FindExecutable answers for a file: the raw bytes and the result;
    // files not listed give 2 (file not found). Every call is recorded.
    struct FoundExecutable {
        std::string bytes;
        unsigned long code = 33;
    };
    std::map<std::string, FoundExecutable> executables;
    std::vector<std::string> findExecutableCalls;
    // The display's DPI as told to a DPI-aware program, 96 to another.
    int dpi = 96;
    int dpiDeclarations = 0;
    // Variables that ExpandEnvironment knows; %NAME% of any other stays.
    std::map<std::string, std::string> environment;

    void AddString(const std::string& key, const std::string& name, const std::string& text) {
        RegistryValue value;
        value.type = kRegString;
        value.data.assign(text.begin(), text.end());
        value.data.push_back('\0');
        keys.insert(key);
        values[key + "|" + name] = value;
    }

    std::string ProgramFile() override { return programFile; }
    bool FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) override {
        if (files.count(pattern)) { *attributes = 0x20; return true; }
        if (directories.count(pattern)) { *attributes = kAttributeDirectory; return true; }
        return false;
    }
    bool ReadMachineValue(const std::string& subKey, const std::string& valueName,
                          RegistryValue* value) override {
        if (!keys.count(subKey)) return false;
        auto found = values.find(subKey + "|" + valueName);
        *value = found == values.end() ? RegistryValue() : found->second;
        return true;
    }
    unsigned short SystemLanguage() override { return language; }
    OsVersionInfo WindowsVersion() override { return version; }
    bool IsLeadByte(unsigned char byte) override { return leadBytes.count(byte) != 0; }
    // Upper-cases the trail byte, so tests can see that a pair went through here.
    std::string UpperCaseDoubleByte(const std::string& character) override {
        std::string result = character;
        if (result[1] >= 'a' && result[1] <= 'z') result[1] = static_cast<char>(result[1] - 32);
        return result;
    }
    // The ANSI code page: ASCII, plus the characters listed here; anything
    // else becomes "?". The last text converted is kept.
    std::map<char16_t, std::string> ansiCharacters;
    std::u16string convertedText;
    std::string ToAnsiCodePage(const std::u16string& text) override {
        convertedText = text;
        std::string result;
        for (char16_t unit : text) {
            auto found = ansiCharacters.find(unit);
            if (found != ansiCharacters.end()) result += found->second;
            else result += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return result;
    }
    unsigned codePage = 1252;
    unsigned AnsiCodePage() override { return codePage; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string TemporaryDirectory() override { return temporaryDirectory; }
    // Files listed in scriptedFiles come from memory, others from this machine.
    std::map<std::string, ScriptedBytes> scriptedFiles;
    std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override {
        auto found = scriptedFiles.find(path);
        if (found != scriptedFiles.end()) return std::make_unique<ScriptedFile>(found->second);
        return OpenStdioInputFile(path);
    }
    // Answers as the system does: the bytes it wrote into its 520-byte
    // buffer (at most 519), then zero bytes to the buffer's end.
    bool ProgramForDocument(const std::string& file, std::string* program) override {
        findExecutableCalls.push_back(file);
        auto found = executables.find(file);
        if (found == executables.end() || found->second.code <= 32) return false;
        *program = found->second.bytes.substr(0, 519);
        program->resize(519, '\0');
        return true;
    }
    // The associations of Windows 95: HKLM\SOFTWARE\Classes.
    bool ReadAssociationValue(const std::string& subKey, RegistryValue* value) override {
        return ReadMachineValue("SOFTWARE\\Classes\\" + subKey, "", value);
    }
    void DeclareDpiAware() override { ++dpiDeclarations; }
    int DisplayDpi() override { return dpiDeclarations > 0 ? dpi : 96; }
    std::string ExpandEnvironment(const std::string& text) override {
        std::string result;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t open = text.find('%', pos);
            std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
            if (close == std::string::npos) break;
            auto found = environment.find(text.substr(open + 1, close - open - 1));
            if (found == environment.end()) {
                result += text.substr(pos, close - pos);
                pos = close;
                continue;
            }
            result += text.substr(pos, open - pos) + found->second;
            pos = close + 1;
        }
        return result + text.substr(pos);
    }
};
