#pragma once
// The small box without caption that shows a notice while a program starts.
#include <windows.h>

#include <string>

#include "ui/text_block.h"
#include "win/dialog_window.h"

class LaunchNotice : public DialogWindow {
public:
    LaunchNotice();

    // Replaces any box on screen with a new one showing the text, its text
    // block centred in the box.
    void Show(HWND owner, const char* text);
    void Destroy() { DestroyModeless(); }

    // Estimated size of the word-wrapped text block, at most maxWidth by
    // maxHeight. Measured with the window's device context as it comes, not
    // with the font set on the window.
    static BlockSize MeasureTextBlock(HWND window, const char* text, int maxWidth, int maxHeight);

protected:
    // The box never takes the focus from the screen.
    bool OnInitDialog() override { return false; }
};
