#include "design/edit_base.h"

#include <functional>

const std::string& EditBases::Become(std::string text) {
    // A count makes two loads of the same text two bases: a page that loaded
    // the first must not save over a reload it did not see.
    std::string version = std::to_string(++count_) + "-" + std::to_string(std::hash<std::string>()(text) % 1000000007);
    kept_.emplace_back(std::move(version), std::move(text));
    if (kept_.size() > kKept) kept_.pop_front();
    return kept_.back().first;
}

const std::string* EditBases::Find(const std::string& version) const {
    for (const auto& [known, text] : kept_) {
        if (known == version) return &text;
    }
    return nullptr;
}
