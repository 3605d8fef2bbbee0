#include "new/item_names.h"

#include <iconv.h>

#include <cctype>
#include <map>

#include <nlohmann/json.hpp>

#include "new/program_output.h"

namespace {

constexpr std::size_t kLongestName = 60;

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string FileOf(const std::string& discPath) { return discPath.substr(discPath.find_last_of('\\') + 1); }

// Words of a file or folder name, as a person would write them.
std::string Readable(std::string name) {
    for (char& ch : name) {
        if (ch == '_' || ch == '-') ch = ' ';
    }
    bool hasLower = false, hasUpper = false;
    for (char ch : name) {
        hasLower |= std::islower(static_cast<unsigned char>(ch)) != 0;
        hasUpper |= std::isupper(static_cast<unsigned char>(ch)) != 0;
    }
    if (!(hasLower && hasUpper)) {
        for (std::size_t i = 0; i < name.size(); ++i)
            name[i] = static_cast<char>(i == 0 ? std::toupper(static_cast<unsigned char>(name[i]))
                                               : std::tolower(static_cast<unsigned char>(name[i])));
    }
    if (Upper(name) == "README") return "Read me";
    return Trimmed(name);
}

// A name for the script: one line, no comma (which would end the field),
// not too long for its caption.
std::string ForScript(std::string name) {
    for (char& ch : name) {
        if (ch == ',' || ch == '\r' || ch == '\n' || ch == '\t') ch = ' ';
    }
    name = Trimmed(name);
    if (name.size() > kLongestName) name = Trimmed(name.substr(0, kLongestName - 3)) + "...";
    return name;
}

// ProductName, else FileDescription, of every program at once.
std::map<std::string, std::string> ProgramNames(const std::vector<DiscItem>& items, bool* toolMissing) {
    std::vector<std::string> arguments = {"exiftool", "-j", "-charset", "UTF8", "-ProductName", "-FileDescription"};
    for (const DiscItem& item : items) {
        if (item.kind == ItemKind::kInstaller && Upper(item.discPath).find(".MSI") == std::string::npos)
            arguments.push_back(item.localPath);
    }
    std::map<std::string, std::string> names;
    if (arguments.size() == 6) return names;
    std::string output;
    // exiftool ends with 1 when some file has none of the tags; its output still counts.
    if (!ProgramOutput(arguments, &output) && output.empty()) {
        *toolMissing = !ProgramOutput({"exiftool", "-ver"}, &output);
        return names;
    }
    nlohmann::json found = nlohmann::json::parse(output, nullptr, false);
    if (!found.is_array()) return names;
    for (const nlohmann::json& file : found) {
        for (const char* tag : {"ProductName", "FileDescription"}) {
            if (file.contains(tag) && file[tag].is_string() && !Trimmed(file[tag].get<std::string>()).empty()) {
                names[file.value("SourceFile", "")] = file[tag].get<std::string>();
                break;
            }
        }
    }
    return names;
}

// The ProductName row of the package's Property table.
std::string PackageName(const DiscItem& item, bool* toolMissing) {
    std::string output;
    if (!ProgramOutput({"msiinfo", "export", item.localPath, "Property"}, &output)) {
        std::string version;
        *toolMissing = *toolMissing || !ProgramOutput({"msiinfo", "--version"}, &version);
        return "";
    }
    std::size_t at = output.find("\nProductName\t");
    if (at == std::string::npos) return "";
    std::size_t start = at + 13, end = output.find_first_of("\r\n", start);
    return Trimmed(output.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

}  // namespace

std::string InCodePage1252(const std::string& utf8) {
    iconv_t convert = iconv_open("CP1252", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return "";
    std::string in = utf8, out(utf8.size() + 1, '\0');
    char* from = &in[0];
    char* to = &out[0];
    std::size_t left = in.size(), room = out.size();
    std::size_t result = iconv(convert, &from, &left, &to, &room);
    iconv_close(convert);
    if (result == static_cast<std::size_t>(-1) || left != 0) return "";
    out.resize(out.size() - room);
    return out;
}

std::string NameFromFile(const DiscItem& item) {
    std::string file = FileOf(item.discPath);
    std::size_t dot = file.find_last_of('.');
    std::string base = file.substr(0, dot), extension = Upper(file.substr(dot + 1));
    if (item.kind == ItemKind::kInstaller) {
        std::size_t slash = item.discPath.find('\\');
        if (extension == "EXE" && slash != std::string::npos) return Readable(item.discPath.substr(0, slash));
        return Readable(base);
    }
    if (extension == "HTM") extension = "HTML";
    return Readable(base) + (extension == "TXT" ? "" : " (" + extension + ")");
}

std::string NameItems(std::vector<DiscItem>& items) {
    bool exiftoolMissing = false, msiinfoMissing = false;
    std::map<std::string, std::string> programNames = ProgramNames(items, &exiftoolMissing);
    std::map<std::string, int> uses;
    for (DiscItem& item : items) {
        std::string found;
        if (item.kind == ItemKind::kInstaller) {
            found = Upper(item.discPath).find(".MSI") != std::string::npos ? PackageName(item, &msiinfoMissing)
                                                                           : programNames[item.localPath];
        }
        item.name = ForScript(InCodePage1252(found));
        if (item.name.empty()) item.name = ForScript(NameFromFile(item));
        ++uses[item.name];
    }
    // Two items of one name are told apart by their folders, else their files.
    for (DiscItem& item : items) {
        if (uses[item.name] < 2) continue;
        std::size_t slash = item.discPath.find('\\');
        std::string where = slash == std::string::npos ? FileOf(item.discPath) : Readable(item.discPath.substr(0, slash));
        item.name = ForScript(item.name + " (" + where + ")");
    }
    std::string note;
    if (exiftoolMissing) note += "exiftool is missing (tools/install-deps.sh installs it): programs are named by their files. ";
    if (msiinfoMissing) note += "msiinfo is missing (tools/install-deps.sh installs it): packages are named by their files.";
    return Trimmed(note);
}
