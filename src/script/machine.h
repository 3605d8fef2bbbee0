#pragma once
// What the portable code needs to know about the machine it runs on. The
// Windows build makes one from Win32 (src/win/machine_win.cpp) at start-up
// and passes it to what needs it; unit tests pass a fake.
#include <memory>
#include <string>
#include <vector>

struct OsVersionInfo {
    unsigned long platformId = 0;
    unsigned long major = 0;
    unsigned long minor = 0;
    unsigned long build = 0;
};

// Raw data of one registry value, as the registry holds it.
struct RegistryValue {
    unsigned long type = 0;  // REG_SZ is 1, REG_EXPAND_SZ is 2
    std::vector<char> data;
};

constexpr unsigned long kRegString = 1;
constexpr unsigned long kRegExpandString = 2;
constexpr unsigned long kAttributeDirectory = 0x10;

// A file open for reading; closed when destroyed.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes: the count read, 0 at the end of the file, -1 on
    // a read error.
    virtual long Read(char* buffer, unsigned long size) = 0;
    // The file's length in bytes, or -1 when it cannot be told.
    virtual long Size() = 0;
};

class Machine {
public:
    virtual ~Machine() = default;
    // The program's own file, as the system reports it.
    virtual std::string ProgramFile() = 0;
    // Attributes of the first match of a path or pattern; false when none.
    virtual bool FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) = 0;
    // A value under HKEY_LOCAL_MACHINE; false when the key cannot be opened.
    // An empty value name means the key's default value. A missing value
    // gives true with empty data.
    virtual bool ReadMachineValue(const std::string& subKey, const std::string& valueName,
                                  RegistryValue* value) = 0;
    virtual unsigned short SystemLanguage() = 0;
    virtual OsVersionInfo WindowsVersion() = 0;
    // Double-byte character handling of the ANSI code page.
    virtual bool IsLeadByte(unsigned char byte) = 0;
    // Upper-cases one double-byte character through the system locale.
    virtual std::string UpperCaseDoubleByte(const std::string& character) = 0;
    // UTF-16 text in the ANSI code page; characters the code page cannot
    // hold become "?".
    virtual std::string ToAnsiCodePage(const std::u16string& text) = 0;
    // The number of the ANSI code page (932 and so on); 0 when unknown.
    virtual unsigned AnsiCodePage() { return 0; }
    virtual std::string WindowsDirectory() = 0;
    virtual std::string TemporaryDirectory() = 0;
    // Opens a file for reading; null when it cannot be opened.
    virtual std::unique_ptr<InputFile> OpenInputFile(const std::string& path) = 0;
    // The program that the system names for opening a document (looked up
    // with no default directory): its answer as the system wrote it, zero
    // bytes kept, with any number of zero bytes after it. False when the
    // system names none; a machine that cannot tell names none.
    virtual bool ProgramForDocument(const std::string& /*file*/, std::string* /*program*/) {
        return false;
    }
    // The default value of a key among the file associations as this user
    // sees them: the machine's, and from Windows 2000 on the user's own
    // choices over them, value by value. False when the key cannot be
    // opened, true with empty data for a missing value. A machine that
    // keeps no associations has no such key.
    virtual bool ReadAssociationValue(const std::string& /*subKey*/, RegistryValue* /*value*/) {
        return false;
    }
    // The text with its %NAME% variables replaced from the environment, as
    // the system expands a REG_EXPAND_SZ value; unknown names stay as they
    // are. Empty when the system cannot expand it.
    virtual std::string ExpandEnvironment(const std::string& text) { return text; }
    // Tells the system that the program draws for the display's own DPI,
    // where the system has such a call.
    virtual void DeclareDpiAware() {}
    // The display's dots per inch as the program is told them.
    virtual int DisplayDpi() { return 96; }
};

// For machines that know no code page: ASCII stays, all else becomes "?".
std::string KeepAsciiOnly(const std::u16string& text);
