#pragma once
// The name a screen reader speaks for a button. The buttons are owner-drawn,
// so their window text is never painted; the accessibility layer reads it
// as the button's name.
#include <string>

struct ScreenItem;

// The caption's text, or for a button without one its extra text; empty
// when it has neither. Line breaks become blanks. Each ampersand is doubled:
// the dialog manager would take a single one as the mark of a keyboard
// mnemonic and click the button on that key, and readers speak "&&" as "&".
std::string SpokenButtonName(const ScreenItem& item);
