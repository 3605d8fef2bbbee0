#include "design/page_assembly.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return text;
}

// Text that would end the element early, or switch the HTML parser into a
// state where it no longer ends where it should.
bool FitsInsideElement(const std::string& text, const std::string& tag) {
    const std::string lower = Lower(text);
    return lower.find("</" + tag) == std::string::npos && lower.find("<!--") == std::string::npos;
}

// Replaces every `<open…NAME?…close` link whose part can be read and fits
// with the part inside `<tag>…</tag>`.
std::string InlineLinks(std::string html, const std::string& open, const std::string& close, const std::string& tag,
                        const PagePartReader& readPart) {
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        const std::size_t nameStart = at + open.size();
        const std::size_t nameEnd = html.find_first_of("?\"", nameStart);
        const std::size_t end = html.find(close, nameStart);
        if (nameEnd == std::string::npos || end == std::string::npos) break;
        std::string part;
        if (!readPart(html.substr(nameStart, nameEnd - nameStart), &part) || !FitsInsideElement(part, tag)) continue;
        const std::string inlined = "<" + tag + ">\n" + part + "</" + tag + ">";
        html.replace(at, end + close.size() - at, inlined);
        at += inlined.size() - 1;
    }
    return html;
}

// JSON inside a script element: every '<' of valid JSON is inside a string,
// where \u003c stands for it.
std::string JsonForScript(const std::string& json) {
    std::string safe;
    safe.reserve(json.size());
    for (char ch : json) safe += ch == '<' ? std::string("\\u003c") : std::string(1, ch);
    return safe;
}

}  // namespace

std::string AssemblePage(const std::string& html, const PagePartReader& readPart, const std::string& vocabularyJson) {
    std::string page = InlineLinks(html, "<link rel=\"stylesheet\" href=\"", ">", "style", readPart);
    page = InlineLinks(page, "<script src=\"", "</script>", "script", readPart);
    const std::string mark = "</head>";
    const std::size_t head = page.find(mark);
    if (head != std::string::npos) {
        page.insert(head, "<script type=\"application/json\" id=\"vocabulary\">" + JsonForScript(vocabularyJson) +
                              "</script>\n");
    }
    return page;
}
