#pragma once
// The fields of a comma list in a script value.
#include <array>
#include <cstring>
#include <string>
#include <vector>

// Splits like strtok: runs of separators count as one, separators at the
// ends are ignored, so no field is empty.
std::vector<std::string> SplitFields(const std::string& text, char separator = ',');

// The first fields of a comma list, cut like SplitFields, into a fixed
// array: entries are read for every line of a script, and most of their
// fields fit in a string's own buffer.

template <std::size_t N>
struct FieldList {
    std::array<std::string, N> field;
    std::size_t count = 0;

    explicit FieldList(const std::string& text, char separator = ',') {
        const char* at = text.data();
        const char* end = at + text.size();
        while (at < end && count < N) {
            const void* found = std::memchr(at, separator, end - at);
            const char* stop = found ? static_cast<const char*>(found) : end;
            if (stop > at) field[count++].assign(at, stop - at);
            at = stop + 1;
        }
    }
    bool Has(std::size_t i) const { return i < count; }
};
