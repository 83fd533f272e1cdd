// Bytes as text for test messages: two upper-case hex digits a byte, separated by spaces.
#pragma once

#include <cstdio>
#include <string>

inline std::string HexOf(const std::string& bytes)
{
    std::string text;
    char part[4];
    for (unsigned char c : bytes) {
        std::snprintf(part, sizeof part, "%02X ", c);
        text += part;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}
