#pragma once
// The texts of the script that pages have loaded, by version. A page's
// edits are addressed by line within the text it loaded (its base); they
// are always applied to that text, never to a newer one, and only a page
// whose base is the script as it stands may save. So a second page, or a
// reload in another tab, gives a conflict, never an edit on the wrong line.
#include <cstddef>
#include <deque>
#include <string>
#include <utility>

class EditBases {
public:
    // The recent texts kept for pages that still edit them.
    static constexpr std::size_t kKept = 8;

    // Makes `text` the script as it stands; returns its new version.
    const std::string& Become(std::string text);
    const std::string& Current() const { return kept_.back().second; }
    const std::string& CurrentVersion() const { return kept_.back().first; }
    // The text of a version, or nullptr when it is no longer known.
    const std::string* Find(const std::string& version) const;

private:
    std::deque<std::pair<std::string, std::string>> kept_;  // version, text; oldest first
    unsigned long count_ = 0;
};
