// The system text encoding. Text bytes are Mac Roman everywhere (stored layouts hold them so);
// they become Unicode only to be drawn, and typed characters come back through the reverse map.
#pragma once

#include <cstdint>
#include <string>

// The Unicode character of a Mac Roman byte (bytes below 0x80 are ASCII and map to themselves).
char32_t HostMacRomanToUnicode(uint8_t byte);

// The Mac Roman byte of a Unicode character; false when Mac Roman has no such character.
bool HostUnicodeToMacRoman(char32_t character, uint8_t* byte);

// Appends the UTF-8 bytes of a Unicode character (file names and core strings are UTF-8).
void HostAppendUtf8(std::string& out, char32_t character);
