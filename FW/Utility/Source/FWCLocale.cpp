// Parsing and formatting through a "C" locale object, so a locale set by anyone else cannot
// change the decimal point.
#include "FWCLocale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t cLocale()
{
    static const locale_t sLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    return sLocale;
}

// Makes the "C" locale current on this thread for the guard's lifetime.
class CLocaleScope {
public:
    CLocaleScope() : mPrevious(cLocale() != locale_t(0) ? uselocale(cLocale()) : locale_t(0)) {}
    ~CLocaleScope()
    {
        if (mPrevious != locale_t(0))
            uselocale(mPrevious);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t mPrevious;
};

} // namespace

double FWCLocale::ParseDouble(const char* text)
{
    if (text == nullptr)
        return 0.0;
    if (cLocale() != locale_t(0))
        return strtod_l(text, nullptr, cLocale());
    return std::strtod(text, nullptr);
}

std::string FWCLocale::FormatFixed(double value, int width, int precision)
{
    CLocaleScope scope;
    char small[256];
    int count = std::snprintf(small, sizeof small, "%*.*f", width, precision, value);
    if (count < 0)
        return std::string();
    if (size_t(count) < sizeof small)
        return std::string(small, size_t(count));
    std::string text(size_t(count) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%*.*f", width, precision, value);
    text.resize(size_t(count));
    return text;
}
