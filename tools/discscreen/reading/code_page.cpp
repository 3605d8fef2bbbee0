#include "reading/code_page.h"

#include <cstdio>

int CodePageOfTag(const std::string& tag) {
    if (tag == "[JPN]") return 932;
    if (tag == "[CHS]") return 936;
    if (tag == "[KOREAN]") return 949;
    if (tag == "[CHT]") return 950;
    if (tag == "[THAI]") return 874;
    return 1252;
}

bool IsLeadByteIn(int codePage, unsigned char byte) {
    switch (codePage) {
        case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950: return byte >= 0x81 && byte <= 0xFE;
        default: return false;
    }
}

namespace {

bool IsTrailByte(int codePage, unsigned char byte) {
    switch (codePage) {
        case 932:
        case 936: return byte >= 0x40 && byte <= 0xFE && byte != 0x7F && !(codePage == 932 && byte > 0xFC);
        case 949:
            return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
                   (byte >= 0x81 && byte <= 0xFE);
        case 950: return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
        default: return false;
    }
}

// Single bytes above 0x7F that the code page leaves without a character.
bool IsUndefinedHighByte(int codePage, unsigned char byte) {
    switch (codePage) {
        case 1252: return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        case 874:
            return (byte >= 0x81 && byte <= 0x84) || (byte >= 0x86 && byte <= 0x90) ||
                   (byte >= 0x98 && byte <= 0xA0) || (byte >= 0xDB && byte <= 0xDE) || byte >= 0xFC;
        case 932: return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
        case 936: return byte == 0xFF;
        default: return byte == 0x80 || byte == 0xFF;
    }
}

std::string Hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

}  // namespace

std::size_t FirstNonTextByte(const std::string& line, int codePage, std::string* why) {
    const std::string page = "code page " + std::to_string(codePage);
    for (std::size_t i = 0; i < line.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(line[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            *why = "byte " + Hex(byte) + " is a control character, not text";
            return i;
        }
        if (byte < 0x80) continue;
        if (IsLeadByteIn(codePage, byte)) {
            if (i + 1 >= line.size() || !IsTrailByte(codePage, static_cast<unsigned char>(line[i + 1]))) {
                *why = "byte " + Hex(byte) + " starts a double-byte character of " + page +
                       " that does not go on";
                return i;
            }
            ++i;
            continue;
        }
        if (IsUndefinedHighByte(codePage, byte)) {
            *why = "byte " + Hex(byte) + " is no character in " + page;
            return i;
        }
    }
    return std::string::npos;
}
