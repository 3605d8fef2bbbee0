#include "design/rebase_answer.h"

using nlohmann::json;

namespace {

json FieldsJson(const std::map<int, std::string>& fields) {
    json made = json::object();
    for (const auto& [field, text] : fields) made[std::to_string(field)] = text;
    return made;
}

// The line as the author's field edits make it.
std::string EditedLine(const std::string& line, const std::map<int, std::string>& fields) {
    ScriptEdits edits;
    edits.fields[1] = fields;
    std::string result, problem;
    if (!RewriteScript(line, edits, &result, &problem)) return line;
    return result;
}

}  // namespace

json EditsJson(const ScriptEdits& edits) {
    json fields = json::object();
    for (const auto& [line, edited] : edits.fields) fields[std::to_string(line)] = FieldsJson(edited);
    json added = json::array();
    for (const NewEntry& entry : edits.added) {
        added.push_back({{"afterLine", entry.afterLine}, {"atStart", entry.atStart}, {"before", entry.before},
                         {"header", entry.header}, {"text", entry.text}, {"fields", FieldsJson(entry.fields)},
                         {"deleted", entry.deleted}});
    }
    return {{"fields", fields}, {"deleted", edits.deletedLines}, {"added", added}};
}

json ConflictsJson(const std::vector<RebaseConflict>& conflicts, const std::vector<std::string>& before,
                   const std::vector<std::string>& after, const PageTextOf& beforeToPage, const PageTextOf& afterToPage) {
    json made = json::array();
    for (const RebaseConflict& conflict : conflicts) {
        const std::string original = beforeToPage(before.at(static_cast<std::size_t>(conflict.line - 1)));
        const std::string theirs =
            conflict.theirLine ? afterToPage(after.at(static_cast<std::size_t>(conflict.theirLine - 1))) : "";
        made.push_back({{"line", conflict.line}, {"theirLine", conflict.theirLine}, {"deleted", conflict.deleted},
                        {"original", original}, {"mine", conflict.deleted ? "" : EditedLine(original, conflict.fields)},
                        {"theirs", theirs}});
    }
    return made;
}
