// Texts of the tool: byte strings in the system's ANSI code page (or the
// locale's multibyte encoding on POSIX), compared byte for byte.
#ifndef HARDCLONE_GENERAL_TEXT_H
#define HARDCLONE_GENERAL_TEXT_H

#include <initializer_list>
#include <string>

namespace hardclone {

using Text = std::string;

// Fills each "%s" or "%d" of pattern with the next value, left to right;
// values are never scanned themselves.
// Format("%s (%s)", {"a%s", "b"}) => "a%s (b)"
Text Format(const Text& pattern, std::initializer_list<Text> values);

// True when text holds '?' or '*'.
bool HasWildcard(const Text& text);

// Without the bytes of value 0x20 or less at either end. " \tA b\r" => "A b"
Text TrimBlanks(const Text& text);

// Upper case by the ASCII rule only ('a'-'z').
char AsciiUpper(char c);

}  // namespace hardclone

#endif
