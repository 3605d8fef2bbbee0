#pragma once
// The designer's /text.png: one text of the screen as the program draws it,
// over what the program puts under it, as a PNG.
#include <map>
#include <string>

// ?text=&width=&height=&colour=RRGGBB, the font (system=1, or face, size,
// bold, italic, underline, strikeout) and what lies under the text: fill=RRGGBB,
// or back=PICTURE (a file of the disc) with x and y, the text's place on it.
// Throws std::invalid_argument with the reason for a request it cannot draw.
using QueryParameters = std::map<std::string, std::string>;
std::string TextPicturePng(const std::string& discFolder, const QueryParameters& request);
