#pragma once
// What a disc's screen offers, found in a folder of a product's files:
// installers (SETUP.EXE, INSTALL.EXE and every .MSI, in the root and in the
// folders just below it) and documents (.TXT, .PDF, .HTM, .HTML, .RTF and
// .DOC files in the root and in first-level folders that hold no
// installer, where they belong to that installer). Deeper folders are an
// installer's own files and are not looked at.
#include <string>
#include <vector>

enum class ItemKind { kInstaller, kDocument };

struct DiscItem {
    ItemKind kind = ItemKind::kInstaller;
    std::string discPath;   // from the disc's root, with backslashes: "EDITOR\SETUP.EXE"
    std::string localPath;  // the file on this machine
    std::string name;       // what the screen calls it
};

struct FoundItems {
    std::vector<DiscItem> items;       // installers first, then documents
    std::vector<std::string> skipped;  // files that cannot be offered, each with why
};

FoundItems FindDiscItems(const std::string& folder);

bool IsDocumentName(const std::string& fileName);
bool IsInstallerName(const std::string& fileName);
