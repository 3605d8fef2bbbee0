#pragma once
// Drawing of one screen text in its normal or highlighted form.
#include <windows.h>

#include "script/screen_model.h"

class DibBitmap;

// Draws the text onto the target: its rectangle filled with the highlight
// background or restored from the background picture, then the text,
// word-wrapped and clipped to the rectangle. Leaves the text's font
// selected; the caller releases the device context.
void DrawTextItem(HDC target, const TextItem& text, const DibBitmap* background, bool highlighted);
