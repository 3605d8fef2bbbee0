#include "new/disc_items.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

std::string Extension(const std::string& fileName) {
    std::size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos ? "" : Upper(fileName.substr(dot));
}

// As a person orders names: PART2 before PART10, letter case aside.
bool ListedBefore(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) && std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t endA = a.find_first_not_of("0123456789", i), endB = b.find_first_not_of("0123456789", j);
            unsigned long long numberA = std::stoull(a.substr(i, std::min<std::size_t>(endA - i, 18)));
            unsigned long long numberB = std::stoull(b.substr(j, std::min<std::size_t>(endB - j, 18)));
            if (numberA != numberB) return numberA < numberB;
            i = endA == std::string::npos ? a.size() : endA;
            j = endB == std::string::npos ? b.size() : endB;
            continue;
        }
        const int ca = std::toupper(static_cast<unsigned char>(a[i])), cb = std::toupper(static_cast<unsigned char>(b[j]));
        if (ca != cb) return ca < cb;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

struct Entry {
    std::string name;
    bool directory = false;
};

// The folder's entries sorted as a listing shows them, hidden ones left out.
std::vector<Entry> Entries(const std::string& folder) {
    std::vector<Entry> entries;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return entries;
    while (dirent* found = readdir(dir)) {
        std::string name = found->d_name;
        if (name.empty() || name[0] == '.') continue;
        struct stat info;
        if (::stat((folder + "/" + name).c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)) entries.push_back({name, S_ISDIR(info.st_mode)});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return ListedBefore(a.name, b.name); });
    return entries;
}

// Why the script cannot name the file, or "".
std::string Unwritable(const std::string& discPath) {
    if (discPath.find(',') != std::string::npos) return "a comma ends a field of the script";
    for (unsigned char ch : discPath) {
        if (ch < 0x20 || ch >= 0x7F) return "only plain ASCII names are written into the script";
    }
    return "";
}

// READMEs first, then licences, then the rest as listed.
int DocumentRank(const std::string& fileName) {
    std::string upper = Upper(fileName);
    if (upper.rfind("README", 0) == 0 || upper.rfind("READ ME", 0) == 0) return 0;
    if (upper.rfind("LICEN", 0) == 0 || upper.rfind("EULA", 0) == 0) return 1;
    return 2;
}

void Offer(FoundItems& found, ItemKind kind, const std::string& discPath, const std::string& localPath) {
    std::string why = Unwritable(discPath);
    if (!why.empty()) {
        found.skipped.push_back(discPath + ": " + why);
        return;
    }
    found.items.push_back({kind, discPath, localPath, ""});
}

}  // namespace

bool IsInstallerName(const std::string& fileName) {
    std::string upper = Upper(fileName);
    return upper == "SETUP.EXE" || upper == "INSTALL.EXE" || Extension(upper) == ".MSI";
}

bool IsDocumentName(const std::string& fileName) {
    static const char* const kKinds[] = {".TXT", ".PDF", ".HTM", ".HTML", ".RTF", ".DOC"};
    std::string extension = Extension(fileName);
    return std::find(std::begin(kKinds), std::end(kKinds), extension) != std::end(kKinds);
}

FoundItems FindDiscItems(const std::string& folder) {
    FoundItems found;
    std::vector<DiscItem> installers, documents;
    std::vector<std::pair<std::string, std::string>> docFiles;  // disc path, local path
    auto look = [&](const std::string& prefix, const std::string& localFolder) {
        std::vector<std::pair<std::string, std::string>> here;
        bool hasInstaller = false;
        for (const Entry& entry : Entries(localFolder)) {
            if (entry.directory) continue;
            std::string discPath = prefix + entry.name, localPath = localFolder + "/" + entry.name;
            if (IsInstallerName(entry.name)) {
                hasInstaller = true;
                Offer(found, ItemKind::kInstaller, discPath, localPath);
            } else if (IsDocumentName(entry.name)) {
                here.push_back({discPath, localPath});
            }
        }
        if (prefix.empty() || !hasInstaller) docFiles.insert(docFiles.end(), here.begin(), here.end());
    };
    look("", folder);
    for (const Entry& entry : Entries(folder)) {
        if (entry.directory) look(entry.name + "\\", folder + "/" + entry.name);
    }
    std::stable_sort(docFiles.begin(), docFiles.end(), [](const auto& a, const auto& b) {
        auto file = [](const std::string& path) { return path.substr(path.find_last_of('\\') + 1); };
        bool aRoot = a.first.find('\\') == std::string::npos, bRoot = b.first.find('\\') == std::string::npos;
        if (aRoot != bRoot) return aRoot;
        return DocumentRank(file(a.first)) < DocumentRank(file(b.first));
    });
    for (const auto& doc : docFiles) Offer(found, ItemKind::kDocument, doc.first, doc.second);
    return found;
}
