#pragma once
// The words after a subcommand: options that take a value ("-o OUT"),
// flags ("--states") and one operand (the disc or script path).
#include <map>
#include <set>
#include <string>
#include <vector>

class CommandArguments {
public:
    CommandArguments(std::vector<std::string> valueOptions, std::vector<std::string> flags)
        : valueOptions_(std::move(valueOptions)), flags_(std::move(flags)) {}

    // Empty when the words fit, else what is wrong, for the usage message.
    // operandName names the operand in that message ("DISC", "PATH").
    std::string Parse(int argc, char** argv, const std::string& operandName);

    bool Has(const std::string& option) const {
        return values_.count(option) > 0 || given_.count(option) > 0;
    }
    std::string Value(const std::string& option, const std::string& fallback = "") const;
    const std::string& Operand() const { return operand_; }

private:
    std::vector<std::string> valueOptions_;
    std::vector<std::string> flags_;
    std::map<std::string, std::string> values_;
    std::set<std::string> given_;
    std::string operand_;
};
