#pragma once
// What the script reader needs from the screen, done with GDI and the
// screen's own windows. The host owns what it makes for the screen: the
// background, the cache of button pictures, their shared palette and the
// button windows.
#include <windows.h>

#include <array>
#include <memory>

#include "script/script_host.h"
#include "ui/dib_bitmap_win.h"
#include "ui/hot_button_win.h"

class LauncherDialog;
class Machine;

class DialogScriptHost : public ScriptHost {
public:
    DialogScriptHost(LauncherDialog& dialog, ScreenModel& screen, Machine& machine)
        : dialog_(dialog), model_(screen), machine_(machine) {}
    ~DialogScriptHost() override;
    DialogScriptHost(const DialogScriptHost&) = delete;
    DialogScriptHost& operator=(const DialogScriptHost&) = delete;

    FontHandle CreateScriptFont(const FontChanges& changes) override;
    void DeleteScriptFont(FontHandle font) override;
    TextExtent MeasureText(FontHandle font, const std::string& text) override;
    void SetBackgroundBitmap(const std::string& path) override;
    DibBitmap* GetButtonBitmap(const std::string& name, int* frameWidth, int* frameHeight) override;
    bool CreateButtonWindow(int slot) override;
    void DestroyButtonWindow(int slot) override;
    void FocusButton(int slot) override;
    void CheckSingleInstance(int runMultiple) override;

    // Before the script is read: where the stock fonts are made for another
    // DPI than the screen's scale, texts that name no font are written in
    // the system font at the screen's scale.
    void MakePlainFont();
    // Each picture brings its own colour table, but a 256-colour display
    // shows one palette at a time: once the script is read, the host makes
    // one from all pictures, and every picture draws through it.
    void MakeScreenPalette();
    // Once the script is read: each button window takes the name that
    // screen readers speak, and the windows line up in slot order, the
    // order that Tab follows (entries may come in any order).
    void FinishButtons();
    const DibBitmap* Background() const { return background_.get(); }
    // The button with the keyboard focus, drawn highlighted after any
    // repaint; null when none has it.
    HotButton* FocusedButton() const { return focusButton_; }
    void SetFocusedButton(HotButton* button) { focusButton_ = button; }

private:
    void DropButton(int slot);

    LauncherDialog& dialog_;
    ScreenModel& model_;
    Machine& machine_;
    std::unique_ptr<DibBitmap> background_;
    std::array<std::unique_ptr<DibBitmap>, kSlotCount> bitmapCache_;
    HPALETTE screenPalette_ = nullptr;
    // They refer to the script's items, which the screen keeps until after
    // the host has gone.
    std::array<std::unique_ptr<HotButton>, kSlotCount> hotButtons_;
    HotButton* focusButton_ = nullptr;
};
