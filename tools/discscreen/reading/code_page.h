#pragma once
// Which bytes are text in the ANSI code pages that the script's languages
// use, and the double-byte rule of the Far-East ones.
#include <cstddef>
#include <string>

// The code page of systems whose language takes the tag ("[JPN]" 932 and so
// on); 1252 for the Western languages and "[DEFAULT]".
int CodePageOfTag(const std::string& tag);
// Whether the byte starts a double-byte character in the code page.
bool IsLeadByteIn(int codePage, unsigned char byte);
// The offset of the first byte of `line` that is not text in the code page,
// or npos; `why` says what is wrong with it.
std::size_t FirstNonTextByte(const std::string& line, int codePage, std::string* why);
