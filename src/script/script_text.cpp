#include "script/script_text.h"

#include <cstdint>
#include <cstring>

#include "script/best_fit.h"
#include "script/machine.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kEndOfText = '\x1A';  // Ctrl-Z
constexpr char16_t kReplacement = u'?';
constexpr char32_t kByteOrderMarkCharacter = 0xFEFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at text[pos] and its code point in
// *character; 0 when no valid sequence starts there.
std::size_t SequenceAt(const std::string& text, std::size_t pos, char32_t* character) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        *character = lead;
        return 1;
    }
    std::size_t length;
    char32_t value;
    // The second byte's range excludes overlong forms, surrogates and
    // anything beyond U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - pos < length) return 0;
    const unsigned char second = static_cast<unsigned char>(text[pos + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte)) return 0;
        value = (value << 6) | (byte & 0x3F);
    }
    *character = value;
    return length;
}

// True when the text is valid UTF-8 and holds at least one multi-byte
// sequence: then it cannot be plain ASCII, and is most unlikely to be text
// of an ANSI code page.
bool IsMultiByteUtf8(const std::string& text) {
    bool multiByte = false;
    const char* bytes = text.data();
    for (std::size_t pos = 0; pos < text.size();) {
        // Scripts are mostly ASCII: pass eight such bytes at a time.
        std::uint64_t eight;
        if (text.size() - pos >= sizeof eight) {
            std::memcpy(&eight, bytes + pos, sizeof eight);
            if ((eight & 0x8080808080808080ull) == 0) {
                pos += sizeof eight;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        char32_t character;
        const std::size_t length = SequenceAt(text, pos, &character);
        if (length == 0) return false;
        multiByte = true;
        pos += length;
    }
    return multiByte;
}

}  // namespace

std::u16string DecodeUtf8(const std::string& bytes) {
    std::u16string result;
    result.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t character;
        const std::size_t length = SequenceAt(bytes, pos, &character);
        if (length == 0) {
            result += kReplacement;
            ++pos;
            continue;
        }
        pos += length;
        // A mark inside the text is where files saved with one were joined.
        if (character == kByteOrderMarkCharacter) continue;
        result += character > 0xFFFF ? kReplacement : static_cast<char16_t>(character);
    }
    return result;
}

std::string ScriptTextFromBytes(Machine& machine, std::string bytes) {
    const std::size_t end = bytes.find(kEndOfText);
    if (end != std::string::npos) bytes.erase(end);
    if (bytes.compare(0, 3, kByteOrderMark) != 0 && !IsMultiByteUtf8(bytes)) return bytes;
    std::u16string text = DecodeUtf8(bytes);
    FitToCodePage(machine.AnsiCodePage(), &text);
    return machine.ToAnsiCodePage(text);
}
