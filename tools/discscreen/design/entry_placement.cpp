#include "design/entry_placement.h"

#include <algorithm>

#include "design/script_rewrite.h"
#include "script/button_entry.h"
#include "script/numbers.h"
#include "script/screen_script.h"
#include "script/text_trim.h"
#include "script/upper_case.h"

std::string ReadTags(const std::string& selector) {
    std::string tags;
    for (int i = 1; const char* tag = ScreenScript::Tag(i); ++i) {
        if (selector.find(tag) == std::string::npos) continue;
        if (!tags.empty()) tags += ' ';
        tags += tag;
    }
    return tags;
}

namespace {

// A section header and the lines up to the next one.
struct Block {
    int header;  // its line; 0 for the lines before the first header
    std::string section;
    std::string selector;
    int end;     // the line after its last one that is not blank
};

std::vector<Block> BlocksOf(const std::vector<LaidLine>& lines) {
    std::vector<Block> blocks = {{0, "", "", 1}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (lines[i].header) blocks.push_back({number, lines[i].section, lines[i].selector, number + 1});
        else if (!lines[i].blank) blocks.back().end = number + 1;
    }
    return blocks;
}

class Placer {
public:
    Placer(const std::vector<LaidLine>& lines, const PlacementRequest& request)
        : lines_(lines), request_(request), tags_(ReadTags(request.selector)), blocks_(BlocksOf(lines)) {
        const int count = static_cast<int>(lines.size());
        for (const Block& block : blocks_) {
            if (block.section == "[BEGIN]" && block.selector.empty()) {
                begin_ = &block;
                break;
            }
        }
        last_ = count + 1;
        for (const Block& block : blocks_) {
            if (block.section == "[END]" && begin_ && block.header > begin_->header) {
                last_ = block.header;
                break;
            }
        }
    }

    std::vector<NewPlace> Places() {
        std::vector<NewPlace> places;
        if (!begin_) {
            if (request_.section == "[BEGIN]" && request_.selector.empty()) return {{1, "[BEGIN]"}};
            places.push_back({1, "[BEGIN]"});
        }
        places.push_back(Own());
        return places;
    }

private:
    int BeginHeader() const { return begin_ ? begin_->header : 0; }
    int BeginEnd() const { return begin_ ? begin_->end : 1; }

    // The first line from which `take` holds, or none.
    template <typename Test>
    int FirstLine(Test take) const {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (!lines_[i].header && take(lines_[i])) return static_cast<int>(i) + 1;
        }
        return 0;
    }

    const Block* HolderOf(int line) const {
        const Block* holder = &blocks_.front();
        for (const Block& block : blocks_) {
            if (block.header <= line) holder = &block;
        }
        return holder;
    }

    // The end of the last section of the request's name and tags that ends
    // between `lowest` and `highest`; 0 when there is none.
    int SectionEnd(int lowest, int highest) const {
        int found = 0;
        for (const Block& block : blocks_) {
            if (block.header <= BeginHeader() || block.header >= last_) continue;
            if (block.section != request_.section || block.selector != tags_) continue;
            if (block.end >= lowest && block.end <= highest) found = block.end;
        }
        return found;
    }

    std::string Header() const {
        return request_.selector.empty() ? request_.section : request_.section + " " + request_.selector;
    }

    // Into a section that fits, else a new one before `before` (the line a
    // user of the entry stands in, within its section) or at `otherwise`.
    NewPlace Fitting(int lowest, int user, int otherwise) const {
        const int highest = user ? std::min(user, last_) : last_;
        if (int end = SectionEnd(lowest, highest)) return {end, ""};
        if (user && user < last_) {
            const Block* holder = HolderOf(user);
            int at = holder->header > BeginHeader() ? holder->header : user;
            return {std::max(at, lowest), Header()};
        }
        return {std::max(otherwise, lowest), Header()};
    }

    NewPlace Own() const {
        const std::string& section = request_.section;
        const int n = request_.number;
        const int after = std::max(BeginEnd(), 1);
        if (section == "[BEGIN]") {
            if (request_.selector.empty() && begin_) return {begin_->end, ""};
            return Fitting(after, 0, after);
        }
        if (section == "[TEXT]") {
            int user = FirstLine([&](const LaidLine& line) {
                return line.namesText == n && (line.section == "[BUTTON]" || line.section == "[EXTRATEXT]");
            });
            // The first entry for a number counts: a tagged one goes before the others.
            int giver = request_.selector.empty() ? 0 : FirstLine([&](const LaidLine& line) {
                return line.section == "[TEXT]" && line.name == "TEXT" && line.number == n;
            });
            int first = user && giver ? std::min(user, giver) : std::max(user, giver);
            int lastText = 0;
            for (const Block& block : blocks_) {
                if (block.section == "[TEXT]" && block.header > BeginHeader() && block.header < last_) lastText = block.end;
            }
            return Fitting(after, first, lastText ? lastText : after);
        }
        if (section == "[BUTTON]") {
            int caption = request_.captionText ? FirstLine([&](const LaidLine& line) {
                return line.section == "[TEXT]" && line.name == "TEXT" && line.number == request_.captionText;
            }) : 0;
            int user = FirstLine([&](const LaidLine& line) {
                return line.section != "[BUTTON]" && line.section != "[TEXT]" && line.section != "[BEGIN]" &&
                       line.name == "BUTTON" && line.number == n;
            });
            return Fitting(std::max(after, caption + 1), user, last_);
        }
        // A button's own sections follow the button; the chains may go anywhere.
        int button = FirstLine([&](const LaidLine& line) {
            return line.section == "[BUTTON]" && line.name == "BUTTON" && line.number == n;
        });
        bool ofButton = section != "[RUN]" && section != "[REBOOTED]";
        return Fitting(std::max(after, ofButton ? button + 1 : 0), 0, last_);
    }

    const std::vector<LaidLine>& lines_;
    const PlacementRequest& request_;
    const std::string tags_;  // the request's selector as ReadTags gives it
    std::vector<Block> blocks_;
    const Block* begin_ = nullptr;
    int last_ = 1;  // [END]'s line, or the line count + 1
};

}  // namespace

std::vector<LaidLine> LayOutScript(Machine& machine, const std::vector<std::string>& texts) {
    std::vector<LaidLine> lines;
    std::string section;
    for (const std::string& raw : texts) {
        LaidLine line;
        std::size_t start = 0;
        while (start < raw.size() && IsTrimChar(raw[start])) ++start;
        const std::string text = raw.substr(start);
        line.blank = text.empty();
        std::string selector;
        if (!text.empty() && text[0] == '[') {
            // A line without "]" is no header, and no entry either.
            line.header = SplitHeader(machine, text, &line.section, &selector);
            if (line.header) section = line.section;
            line.section = section;
            line.selector = ReadTags(selector);
        } else if (std::size_t equals = text.find('='); equals != std::string::npos && equals > 0) {
            line.section = section;
            std::string key = text.substr(0, equals);
            std::size_t at = key.size();
            line.number = ParseNumberOrKeyword(key, &at);
            line.name = UpperCaseToken(machine, key.substr(0, at));
            std::vector<std::string> fields = EntryFields(text);
            if (section == "[BUTTON]" && fields.size() > kButtonCaption) line.namesText = ParseNumberOrKeyword(fields[kButtonCaption]);
            if (section == "[EXTRATEXT]") line.namesText = ParseNumberOrKeyword(text.substr(equals + 1));
        } else {
            line.section = section;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<NewPlace> PlaceNewEntry(const std::vector<LaidLine>& lines, const PlacementRequest& request) {
    return Placer(lines, request).Places();
}

NewEntryAnchor AnchorOf(int beforeLine, const std::vector<int>& origins) {
    NewEntryAnchor anchor;
    if (beforeLine < 1 || beforeLine > static_cast<int>(origins.size())) return anchor;
    int origin = origins[beforeLine - 1];
    // A new entry's header stands right before the entry's own line.
    if (origin == 0 && beforeLine < static_cast<int>(origins.size())) origin = origins[beforeLine];
    if (origin < 0) {
        anchor.before = -origin - 1;
    } else if (origin == 1) {
        anchor.atStart = true;
    } else if (origin > 1) {
        anchor.afterLine = origin - 1;
    }
    return anchor;
}
