#include "reading/command_arguments.h"

#include <algorithm>

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::string CommandArguments::Parse(int argc, char** argv, const std::string& operandName) {
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        if (Contains(valueOptions_, argument)) {
            if (i + 1 >= argc) return argument + " needs a value";
            values_[argument] = argv[++i];
        } else if (Contains(flags_, argument)) {
            given_.insert(argument);
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option '" + argument + "'";
        } else if (operand_.empty()) {
            operand_ = argument;
        } else {
            return "more than one " + operandName;
        }
    }
    return operand_.empty() ? "no " + operandName : "";
}

std::string CommandArguments::Value(const std::string& option, const std::string& fallback) const {
    auto found = values_.find(option);
    return found == values_.end() ? fallback : found->second;
}
