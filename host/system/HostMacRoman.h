// The system text encoding. Text bytes are Mac Roman everywhere (stored layouts hold them so);
// they become Unicode only to be drawn, and typed characters come back through the reverse map.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Unicode character of a Mac Roman byte (bytes below 0x80 are ASCII and map to themselves).
char32_t HostMacRomanToUnicode(uint8_t byte);

// The Mac Roman byte of a Unicode character; false when Mac Roman has no such character.
bool HostUnicodeToMacRoman(char32_t character, uint8_t* byte);

// What is shown for a character Mac Roman lacks, wherever Unicode text becomes system text.
constexpr char kHostMacRomanStandIn = '?';

// Appends the UTF-8 bytes of a Unicode character (file names and core strings are UTF-8).
void HostAppendUtf8(std::string& out, char32_t character);

// Strict UTF-8 (no overlong forms, surrogates or values beyond U+10FFFF): appends the characters
// to out; false when some byte is no part of a character.
bool HostDecodeUtf8(std::string_view text, std::u32string& out);

// The characters a file name shows, wherever it is shown. Names are UTF-8 by rule; where a
// name is not (written by a system before UTF-8), each byte that is no part of a UTF-8 character
// shows as the Latin-1 character of that value, as the desktop's own file managers show it. A
// path reads as its names do.
std::u32string HostFileNameCharacters(std::string_view name);
