#include "design/new_entry_values.h"

namespace {

struct NewValue {
    const char* id;
    const char* value;
};

// Whole values: no field of these keys is cut at a comma, but none is used.
const NewValue kNewValues[] = {
    {"[BEGIN] TITLE", "Setup"},
    {"[BEGIN] TRAPREBOOT", "The computer restarts once the selected programs are installed."},
    {"[BEGIN] FINALREBOOT", "The computer must restart to finish setting up. Restart it now?"},
    {"[BEGIN] ALLOWREBOOT", "The computer restarts now. Setup goes on after the restart."},
    {"[INSTALLMESSAGE] BUTTON", "Starting setup..."},
    {"[MESSAGE] BUTTON", "The program could not be started."},
};

}  // namespace

const char* NewEntryValueOf(const std::string& id) {
    for (const NewValue& value : kNewValues) {
        if (id == value.id) return value.value;
    }
    return nullptr;
}

std::vector<std::string> NewEntryValueIds() {
    std::vector<std::string> ids;
    for (const NewValue& value : kNewValues) ids.push_back(value.id);
    return ids;
}
