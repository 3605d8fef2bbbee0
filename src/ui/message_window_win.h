#pragma once
// The small box without caption that shows a notice while a program starts.
#include <windows.h>

#include <string>

#include "ui/text_block.h"

class MessageWindow {
public:
    MessageWindow() = default;
    ~MessageWindow() { Destroy(); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Replaces any box on screen with a new one showing the text, its text
    // block centred in the box.
    void Show(HWND owner, const char* text);
    void Destroy();
    HWND Handle() const { return window_; }

    // Estimated size of the word-wrapped text block, at most maxWidth by
    // maxHeight. Measured with the window's device context as it comes, not
    // with the font set on the window.
    static BlockSize MeasureTextBlock(HWND window, const char* text, int maxWidth, int maxHeight);

private:
    static INT_PTR CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
