#include "win/machine_win.h"

#include <windows.h>
#include <shellapi.h>

namespace {
// Registry values longer than this are not strings the program can use.
constexpr DWORD kMaxValueBytes = 64 * 1024;

class WinInputFile : public InputFile {
public:
    explicit WinInputFile(HANDLE handle) : handle_(handle) {}
    ~WinInputFile() override { CloseHandle(handle_); }
    WinInputFile(const WinInputFile&) = delete;
    WinInputFile& operator=(const WinInputFile&) = delete;

    long Read(char* buffer, unsigned long size) override {
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, size, &got, nullptr)) return -1;
        return static_cast<long>(got);
    }

    long Size() override {
        DWORD high = 0;
        DWORD low = GetFileSize(handle_, &high);
        if (low == INVALID_FILE_SIZE || high != 0 || low > 0x7FFFFFFF) return -1;
        return static_cast<long>(low);
    }

private:
    HANDLE handle_;
};
}  // namespace

std::string WinMachine::ProgramFile() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(path, length < sizeof path ? length : 0);
}

bool WinMachine::FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == nullptr || search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    *attributes = found.dwFileAttributes;
    return true;
}

namespace {
// A value of a key under `root`; false when the key cannot be opened.
bool ReadRegistryValue(HKEY root, const std::string& subKey, const std::string& valueName,
                       RegistryValue* value) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    const char* name = valueName.empty() ? nullptr : valueName.c_str();
    DWORD type = 0;
    DWORD size = 0;
    value->data.clear();
    value->type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size <= kMaxValueBytes) {
        value->data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &type,
                             reinterpret_cast<BYTE*>(value->data.data()), &size) == ERROR_SUCCESS &&
            size <= value->data.size()) {
            value->data.resize(size);
            value->type = type;
        } else {
            value->data.clear();
        }
    }
    RegCloseKey(key);
    return true;
}
}  // namespace

bool WinMachine::ReadMachineValue(const std::string& subKey, const std::string& valueName,
                                  RegistryValue* value) {
    return ReadRegistryValue(HKEY_LOCAL_MACHINE, subKey, valueName, value);
}

// HKEY_CLASSES_ROOT is HKLM\SOFTWARE\Classes on 95, 98 and NT 4. From 2000
// on the user's own choices in HKCU\Software\Classes come first; they are
// read here directly, because not every implementation of Win32 lays them
// over HKEY_CLASSES_ROOT (Wine 8 does not).
bool WinMachine::ReadAssociationValue(const std::string& subKey, RegistryValue* value) {
    OsVersionInfo version = WindowsVersion();
    bool userClasses = version.platformId == VER_PLATFORM_WIN32_NT && version.major >= 5;
    if (userClasses &&
        ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Classes\\" + subKey, std::string(), value) &&
        !value->data.empty()) {
        return true;
    }
    return ReadRegistryValue(HKEY_CLASSES_ROOT, subKey, std::string(), value);
}

std::string WinMachine::ExpandEnvironment(const std::string& text) {
    // Larger than any command line the program starts; a longer expansion
    // is of no use. (Windows 95 wants a real buffer even to measure.)
    char expanded[4096];
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof expanded);
    if (needed == 0 || needed > sizeof expanded) return std::string();
    return std::string(expanded);
}

// Windows 95 to XP have no such call: found by name, it is simply missing.
void WinMachine::DeclareDpiAware() {
    using Declare = BOOL(WINAPI*)();
    HMODULE user = GetModuleHandleA("USER32.DLL");
    FARPROC found = user ? GetProcAddress(user, "SetProcessDPIAware") : nullptr;
    if (found) reinterpret_cast<Declare>(reinterpret_cast<void*>(found))();
}

int WinMachine::DisplayDpi() {
    HDC screen = GetDC(nullptr);
    if (!screen) return 96;
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

unsigned short WinMachine::SystemLanguage() { return GetSystemDefaultLangID(); }

OsVersionInfo WinMachine::WindowsVersion() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    OsVersionInfo result;
    result.platformId = info.dwPlatformId;
    result.major = info.dwMajorVersion;
    result.minor = info.dwMinorVersion;
    result.build = info.dwBuildNumber;
    return result;
}

bool WinMachine::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string WinMachine::UpperCaseDoubleByte(const std::string& character) {
    char upper[8] = {};
    int length = LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, character.data(),
                              static_cast<int>(character.size()), upper, sizeof upper);
    return length == static_cast<int>(character.size()) ? std::string(upper, length) : character;
}

std::string WinMachine::ToAnsiCodePage(const std::u16string& text) {
    // A character is kept only when it comes back the same, so that one the
    // code page lacks becomes "?" rather than a look-alike ("a" for "ā"), the
    // same on every version: Windows 95, 98 and NT 4 know no flag that
    // refuses look-alikes, and a system whose code page is UTF-8 refuses it.
    std::string result;
    result.reserve(text.size());
    for (char16_t unit : text) {
        if (unit < 0x80) {
            result += static_cast<char>(unit);
            continue;
        }
        const wchar_t wide = unit;
        wchar_t back = 0;
        char ansi[4];
        const int length = WideCharToMultiByte(CP_ACP, 0, &wide, 1, ansi, sizeof ansi, nullptr, nullptr);
        if (length > 0 && MultiByteToWideChar(CP_ACP, 0, ansi, length, &back, 1) == 1 && back == wide) {
            result.append(ansi, static_cast<std::size_t>(length));
        } else {
            result += '?';
        }
    }
    return result;
}

unsigned WinMachine::AnsiCodePage() { return GetACP(); }

std::string WinMachine::WindowsDirectory() {
    char path[MAX_PATH * 2] = {};
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    return length < sizeof path ? std::string(path, length) : std::string();
}

std::string WinMachine::TemporaryDirectory() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length < sizeof path ? std::string(path, length) : std::string();
}

bool WinMachine::ProgramForDocument(const std::string& file, std::string* program) {
    // The system writes at most MAX_PATH bytes; the buffer is larger, and
    // its last byte stays zero.
    char found[MAX_PATH * 2] = {};
    HINSTANCE result = FindExecutableA(file.c_str(), nullptr, found);
    if (reinterpret_cast<UINT_PTR>(result) <= 32) return false;
    program->assign(found, sizeof found - 1);
    return true;
}

std::unique_ptr<InputFile> WinMachine::OpenInputFile(const std::string& path) {
    // Others may read and write the file meanwhile, as with the C library.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<InputFile>(new WinInputFile(file));
}
