#include "CarbonAlerts.h"

#include "CCarbonDialog.h"

namespace {

constexpr int32_t kTextItem = 100;
const char* const kNib = "main";

bool showMessage(const PascalString& text, const char* windowName)
{
    CCarbonDialog dialog(windowName, kNib);
    dialog.SetText(kTextItem, text);
    return dialog.Run();
}

} // namespace

void ShowErr(const PascalString& text, const char* windowName)
{
    showMessage(text, windowName);
}

bool ShowQuestion(const PascalString& text, const char* windowName)
{
    return showMessage(text, windowName);
}

void ShowNote(const PascalString& text, const char* windowName)
{
    showMessage(text, windowName);
}
