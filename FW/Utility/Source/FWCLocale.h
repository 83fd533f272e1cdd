// Number text in the "C" numeric locale ('.' as the decimal point), whatever locale the
// process runs in.
#pragma once

#include <string>

class FWCLocale {
public:
    // atof of the text: leading spaces skipped, trailing garbage ignored, 0.0 when nothing parses.
    static double ParseDouble(const char* text);
    // "%*.*f" of value, as long as the result needs.
    static std::string FormatFixed(double value, int width, int precision);
};
