#include "ui/text_block.h"

#include <algorithm>

BlockSize EstimateTextBlock(const std::string& text, int extentWidth, int extentHeight,
                            int maxWidth, int maxHeight) {
    BlockSize size;
    if (text.empty() || maxWidth <= 0) return size;
    // 64 bits: a text of many short lines would overflow the line count
    // times the line height.
    const long long average = extentWidth / static_cast<long long>(text.size());
    long long lines = 0;
    long long longest = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        std::size_t next = end == std::string::npos ? text.size() : end + 2;
        if (end == std::string::npos) end = text.size();
        const long long length = static_cast<long long>(end - start);
        lines += average * length / maxWidth + 1;
        longest = std::max(longest, length);
        start = next;
    }
    size.width = static_cast<int>(std::max(0LL, std::min(average * longest, static_cast<long long>(maxWidth))));
    size.height = static_cast<int>(
        std::max(0LL, std::min(lines * extentHeight, static_cast<long long>(maxHeight))));
    return size;
}
