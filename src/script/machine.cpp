#include "script/machine.h"

#include <cstdlib>

namespace {
Machine* current = nullptr;
}

std::string KeepAsciiOnly(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t unit : text) result += unit < 0x80 ? static_cast<char>(unit) : '?';
    return result;
}

Machine& TheMachine() {
    if (!current) std::abort();  // installed first thing at start-up
    return *current;
}

Machine* SetMachine(Machine* machine) {
    Machine* previous = current;
    current = machine;
    return previous;
}
