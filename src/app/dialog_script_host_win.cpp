#include "app/dialog_script_host_win.h"

#include <cstring>
#include <memory>
#include <utility>

#include "app/launcher_dialog_win.h"
#include "script/screen_scale.h"
#include "ui/dib_cache.h"

// The buttons go first (declared last), then the pictures, which do not
// own the shared palette.
DialogScriptHost::~DialogScriptHost() {
    if (screenPalette_) DeleteObject(screenPalette_);
}

void DialogScriptHost::DropButton(int slot) {
    if (focusButton_ == hotButtons_[slot].get()) focusButton_ = nullptr;
    hotButtons_[slot].reset();
}

FontHandle DialogScriptHost::CreateScriptFont(const FontChanges& changes) {
    LOGFONTA font;
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) return nullptr;
    font.lfWidth = 0;
    font.lfHeight = changes.hasHeight ? Scaled(changes.height, model_.scale.factor)
                                      : StockFontLength(font.lfHeight, model_.scale);
    if (changes.bold) font.lfWeight = FW_BOLD;
    if (changes.italic) font.lfItalic = TRUE;
    if (changes.underline) font.lfUnderline = TRUE;
    if (changes.strikeOut) font.lfStrikeOut = TRUE;
    if (changes.hasFaceName) {
        std::size_t length = changes.faceName.size();
        if (length >= sizeof font.lfFaceName) length = sizeof font.lfFaceName - 1;
        std::memcpy(font.lfFaceName, changes.faceName.data(), length);
        font.lfFaceName[length] = '\0';
    }
    return CreateFontIndirectA(&font);
}

void DialogScriptHost::MakePlainFont() {
    LOGFONTA font;
    if (model_.scale.dpi == 96 || !GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font))
        return;
    font.lfHeight = StockFontLength(font.lfHeight, model_.scale);
    font.lfWidth = StockFontLength(font.lfWidth, model_.scale);
    model_.plainFont = CreateFontIndirectA(&font);
}

void DialogScriptHost::DeleteScriptFont(FontHandle font) {
    if (font) DeleteObject(static_cast<HFONT>(font));
}

TextExtent DialogScriptHost::MeasureText(FontHandle font, const std::string& text) {
    TextExtent extent;
    HDC context = GetDC(dialog_.Handle());
    if (!context) return extent;
    // The font that draws the text (DrawTextItem): a text without a font of
    // its own is written in the system font, so it is measured in it too.
    HGDIOBJ chosen = font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
    HGDIOBJ previous = SelectObject(context, chosen);
    SIZE size = {0, 0};
    if (GetTextExtentPointA(context, text.c_str(), static_cast<int>(text.size()), &size)) {
        extent.width = size.cx;
        extent.height = size.cy;
    }
    SelectObject(context, previous);
    ReleaseDC(dialog_.Handle(), context);
    return extent;
}

void DialogScriptHost::SetBackgroundBitmap(const std::string& path) {
    std::unique_ptr<DibBitmap> picture(new DibBitmap(path.c_str(), model_.scale.factor));
    // A picture that does not load (missing, damaged, too large, a path no
    // file can have) counts as none: sized to it, the screen would measure 0
    // by 0, and nobody could see or close it. The screen keeps its size.
    if (!picture->IsLoaded()) return;
    background_ = std::move(picture);
    SetWindowPos(dialog_.Handle(), nullptr, 0, 0, background_->Width(), background_->Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
}

DibBitmap* DialogScriptHost::GetButtonBitmap(const std::string& name, int* frameWidth,
                                             int* frameHeight) {
    const int scale = model_.scale.factor;
    auto make = [scale](const std::string& path) { return new DibBitmap(path.c_str(), scale); };
    return LookUpButtonBitmap(bitmapCache_, ButtonBitmapKey(machine_, name), make, frameWidth,
                              frameHeight, scale);
}

bool DialogScriptHost::CreateButtonWindow(int slot) {
    ScreenItem* item = model_.Button(slot);
    if (!item) return false;
    // A later entry for the slot reuses the button, which then moves its
    // window; a button made for a record since replaced is made afresh.
    if (hotButtons_[slot] && &hotButtons_[slot]->Item() != item) DropButton(slot);
    if (!hotButtons_[slot]) hotButtons_[slot].reset(new HotButton(dialog_, *item, machine_));
    return hotButtons_[slot]->CreateButtonWindow();
}

void DialogScriptHost::DestroyButtonWindow(int slot) {
    if (IsSlot(slot)) DropButton(slot);
}

void DialogScriptHost::FocusButton(int slot) {
    HotButton* button = IsSlot(slot) ? hotButtons_[slot].get() : nullptr;
    if (!button) return;
    focusButton_ = button;
    SetFocus(button->Handle());
}

void DialogScriptHost::MakeScreenPalette() {
    DibBitmap* pictures[kMaxScreenPictures];
    std::size_t count = 0;
    if (background_) pictures[count++] = background_.get();
    for (const std::unique_ptr<DibBitmap>& cached : bitmapCache_) {
        if (cached && count < kMaxScreenPictures) pictures[count++] = cached.get();
    }
    screenPalette_ = ShareScreenPalette(pictures, count);
}

void DialogScriptHost::FinishButtons() {
    for (const std::unique_ptr<HotButton>& button : hotButtons_) {
        if (!button || !button->Handle()) continue;
        button->NameForReaders();
        SetWindowPos(button->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void DialogScriptHost::CheckSingleInstance(int runMultiple) {
    dialog_.CheckSingleInstance(runMultiple);
}
