#pragma once
// The small box without caption that shows a notice while a program starts.
#include <windows.h>

#include <string>

struct BlockSize {
    int width = 0;
    int height = 0;
};

class MessageWindow {
public:
    MessageWindow() = default;
    ~MessageWindow() { Destroy(); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Replaces any box on screen with a new one showing the text.
    void Show(HWND owner, const char* text);
    void Destroy();
    HWND Handle() const { return window_; }

    // Estimated size of the word-wrapped text block.
    static BlockSize MeasureTextBlock(HWND window, const char* text, int maxWidth, int maxHeight);

private:
    HWND window_ = nullptr;
};
