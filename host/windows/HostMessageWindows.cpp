// Message windows: a fixed layout of a title strip, a text and a row of buttons, drawn by the
// window's controls after the strip is painted.
#include "HostMessageWindows.h"

#include "HostModalLoop.h"
#include "HostScreen.h"

#include <algorithm>

namespace {

constexpr int16_t kWidth = 420;
constexpr int16_t kHeight = 150;
constexpr int16_t kStripHeight = 22;
constexpr int16_t kMargin = 16;
constexpr int16_t kButtonWidth = 84;
constexpr int16_t kButtonHeight = 22;
constexpr int16_t kButtonGap = 14;

// The frame and the title strip, drawn into the window's port before its controls.
void drawFrame(WindowRef window)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    Rect bounds{0, 0, kHeight, kWidth};
    const RGBColor strip{0xDDDD, 0xDDDD, 0xDDDD};
    const RGBColor black{0, 0, 0};
    Rect top{0, 0, kStripHeight, kWidth};
    RGBForeColor(&strip);
    PaintRect(&top);
    RGBForeColor(&black);
    PenNormal();
    FrameRect(&bounds);
    MoveTo(0, kStripHeight - 1);
    LineTo(kWidth - 1, kStripHeight - 1);
    Str255 title;
    GetWTitle(window, title);
    TextFont(0);
    TextSize(12);
    TextFace(kHostFaceBold);
    TextMode(kModeOr);
    int16_t width = StringWidth(title);
    MoveTo(int16_t((kWidth - width) / 2), 16);
    DrawString(title);
    TextFace(0);
    SetPort(saved);
}

bool handleEvent(WindowRef window, const EventRecord& event, void*)
{
    if (event.what != updateEvt || reinterpret_cast<WindowRef>(event.message) != window)
        return false;
    BeginUpdate(window);
    drawFrame(window);
    DrawControls(window);
    EndUpdate(window);
    return true;
}

CFStringRef utf8String(const std::string& text)
{
    return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

} // namespace

OSStatus HostCreateMessageWindow(const HostMessageWindowSpec& spec, WindowRef* outWindow)
{
    if (outWindow == nullptr || spec.buttons.empty() || spec.buttons.size() > 3)
        return paramErr;
    *outWindow = nullptr;
    Rect screen = HostScreenBounds();
    Rect menuBar = HostMenuBarBounds();
    int16_t left = int16_t(screen.left + (screen.right - screen.left - kWidth) / 2);
    int16_t top = int16_t(menuBar.bottom + (screen.bottom - menuBar.bottom - kHeight) / 3);
    Rect bounds{top, left, int16_t(top + kHeight), int16_t(left + kWidth)};
    WindowRef window = nullptr;
    OSStatus err = CreateNewWindow(kHostModalWindowClass, 0, &bounds, &window);
    if (err != noErr)
        return err;
    CFStringRef titleString = utf8String(spec.title);
    std::string title = HostCFStringToMacRoman(titleString);
    if (titleString != nullptr)
        CFRelease(titleString);
    Str255 pascal;
    pascal[0] = uint8_t(title.size() > 255 ? 255 : title.size());
    std::copy_n(title.data(), pascal[0], pascal + 1);
    SetWTitle(window, pascal);

    Rect textBounds{int16_t(kStripHeight + kMargin), kMargin,
                    int16_t(kHeight - kMargin - kButtonHeight - kMargin), int16_t(kWidth - kMargin)};
    ControlRef text = nullptr;
    err = CreateStaticTextControl(window, &textBounds, CFSTR(""), nullptr, &text);
    ControlID textID{0, spec.textID};
    if (err == noErr)
        err = SetControlID(text, &textID);
    int16_t right = kWidth - kMargin;
    for (size_t i = 0; i < spec.buttons.size() && err == noErr; ++i) {
        Rect r{int16_t(kHeight - kMargin - kButtonHeight), int16_t(right - kButtonWidth), int16_t(kHeight - kMargin),
               right};
        right = int16_t(right - kButtonWidth - kButtonGap);
        CFStringRef buttonTitle = utf8String(spec.buttons[i].title);
        ControlRef button = nullptr;
        err = CreatePushButtonControl(window, &r, buttonTitle, &button);
        if (buttonTitle != nullptr)
            CFRelease(buttonTitle);
        if (err != noErr)
            break;
        SetControlCommandID(button, spec.buttons[i].commandID);
        if (i == 0)
            SetWindowDefaultButton(window, button);
        if (spec.buttons[i].commandID == kHICommandCancel)
            SetWindowCancelButton(window, button);
    }
    if (err != noErr) {
        DisposeWindow(window);
        return err;
    }
    HostModalHooks hooks;
    hooks.handleEvent = handleEvent;
    HostSetModalHooks(window, hooks);
    *outWindow = window;
    return noErr;
}
