#pragma once
// Characters that a UTF-8 script holds where the Far-East code pages have a
// byte of their own: the yen and won signs and the overline that converters
// write for 0x5C and 0x7E, and the dashes, tildes and currency signs that
// other systems' tables put where Windows has their full-width forms. Each
// becomes the character that the code page holds, on every Windows version;
// any other character the code page lacks still becomes "?".
#include <string>

// Replaces, in place, the characters that code page `codePage` holds in
// another form. Other code pages leave the text as it is.
void FitToCodePage(unsigned codePage, std::u16string* text);
