#pragma once
// What the script reader needs from the screen, done with GDI and the
// screen's own windows.
#include "script/screen_host.h"

class LauncherDialog;

class DialogScreenHost : public ScreenHost {
public:
    explicit DialogScreenHost(LauncherDialog& dialog) : dialog_(dialog) {}
    FontHandle CreateScriptFont(const FontChanges& changes) override;
    void DeleteScriptFont(FontHandle font) override;
    TextExtent MeasureText(FontHandle font, const std::string& text) override;
    void SetBackgroundBitmap(const std::string& path) override;
    DibBitmap* GetButtonBitmap(const std::string& name, int* frameWidth, int* frameHeight) override;
    bool CreateButtonWindow(int slot) override;
    void DestroyButtonWindow(int slot) override;
    void FocusButton(int slot) override;
    void CheckSingleInstance(int runMultiple) override;

private:
    LauncherDialog& dialog_;
};
