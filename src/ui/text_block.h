#pragma once
// The estimated size of a word-wrapped block of text, worked out from the
// extent of the whole text measured as one run.
#include <string>

struct BlockSize {
    int width = 0;
    int height = 0;
};

// extentWidth and extentHeight: the measured run, line breaks included.
// Each CR LF separated line wraps into (average character width x length /
// maxWidth + 1) lines; the block never exceeds maxWidth by maxHeight.
BlockSize EstimateTextBlock(const std::string& text, int extentWidth, int extentHeight,
                            int maxWidth, int maxHeight);
