#include "ui/text_draw_win.h"

#include "ui/dib_bitmap_win.h"
#include "ui/text_look.h"

void DrawTextItem(HDC target, const TextItem& text, const DibBitmap* background, bool highlighted) {
    TextLook look = LookOf(text, highlighted, background != nullptr);
    if (look.drawNothing) return;
    const TextBounds bounds = BoundsOf(text);
    RECT rect = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    if (look.fillColour != kColourNone) {
        SetBkColor(target, TableColour(look.fillColour));
        ExtTextOutA(target, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    } else if (look.restoreBackground) {
        background->Draw(target, text.x, text.y, text.width, text.height, text.x, text.y, SRCCOPY,
                         FALSE);
    }
    if (!look.drawText) return;
    SetBkMode(target, TRANSPARENT);
    SelectObject(target, text.font ? static_cast<HGDIOBJ>(text.font) : GetStockObject(SYSTEM_FONT));
    SetTextColor(target, TableColour(look.textColour));
    DrawTextA(target, text.text.c_str(), static_cast<int>(text.text.size()), &rect, DT_WORDBREAK);
}
