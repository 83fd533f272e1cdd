// The message dialog, built from framework views, and the assertion alert.
#include "FWUserMsg.h"

#include "DiskImage.h"
#include "FWApp.h"
#include "FWFont.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "PictureBox.h"
#include "PushButton.h"
#include "StaticText.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kAlternativeID = 2;
constexpr int16_t kTextWidth = 300;
constexpr int16_t kButtonHeight = 20;
constexpr int16_t kMinButtonWidth = 65;

bool hasText(const char* title)
{
    return title != nullptr && title[0] != '\0';
}

bool isBreak(char c)
{
    return c == '\n' || c == '\r';
}

// One line per break; a break followed by more non-graphic characters (breaks, spaces) counts
// once.
int32_t countBreaks(const char* text)
{
    int32_t breaks = 0;
    for (size_t i = 0; text[i] != '\0'; ++i) {
        if (!isBreak(text[i]))
            continue;
        ++breaks;
        while (text[i + 1] != '\0' && !std::isgraph(static_cast<unsigned char>(text[i + 1])))
            ++i;
    }
    return breaks;
}

FWFont boldSystemFont()
{
    FWFont font;
    font.SetBold(true);
    return font;
}

FWRect sized(int16_t width, int16_t height)
{
    return FWRect(0, 0, width, height);
}

} // namespace

FWUserMsg::FWUserMsg(const char* format, ...) : mText(new char[kTextSize])
{
    SetDebugName("FWUserMsg");
    AllowIdleTime(false);
    mText[0] = '\0';
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    // vsnprintf cuts the text at kTextSize - 1 characters.
    std::vsnprintf(mText.get(), kTextSize, format, args);
    va_end(args);
}

// --- Layout ------------------------------------------------------------------------------------

FWUserMsg::Layout FWUserMsg::calc_item_info() const
{
    const FWFont font = boldSystemFont();
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    const int32_t lineHeight = metrics.ascent + 2 * metrics.descent;
    Layout layout;

    if (mIconID != 0) {
        if (DiskImage* image = DiskImage::Acquire(mIconID, FOUR_CHAR_CODE("argb"))) {
            layout.icon = sized(image->GetRect().Width(), image->GetRect().Height());
            layout.icon.Offset(10, 10);
            DiskImage::Release(image);
        }
    }
    const char* text = mText.get();
    if (text[0] != '\0') {
        const int32_t width = font.GetStringWidth(text, int32_t(std::strlen(text)));
        const int32_t lines = width / kTextWidth + 2 + countBreaks(text);
        layout.text = sized(kTextWidth, int16_t(std::min<int32_t>(lines * lineHeight, 30000)));
        layout.text.Offset(int16_t(layout.icon.right + 20), int16_t(layout.icon.top + 10));
    }

    auto buttonWidth = [&font](const char* title, int32_t padding) {
        return int16_t(std::max<int32_t>(font.GetStringWidth(title, int32_t(std::strlen(title))) + padding,
                                         kMinButtonWidth));
    };
    const char* okTitle = mOKTitle != nullptr ? mOKTitle : "OK";
    const int16_t okWidth = buttonWidth(okTitle, 40);
    layout.ok = sized(okWidth, kButtonHeight);
    layout.ok.Offset(int16_t(layout.text.right - 3 - okWidth),
                     int16_t(std::max(layout.text.bottom, layout.icon.bottom) + 20));
    layout.ok.Grow(3);
    if (hasText(mCancelTitle)) {
        const int16_t width = buttonWidth(mCancelTitle, 40);
        layout.cancel = sized(width, kButtonHeight);
        layout.cancel.Offset(int16_t(layout.ok.left - 10 - width), int16_t(layout.ok.top + 3));
    }
    if (hasText(mAltTitle)) {
        layout.alternative = sized(buttonWidth(mAltTitle, 20), kButtonHeight);
        layout.alternative.Offset(10, int16_t(layout.ok.top + 3));
    }
    layout.contentWidth = int16_t(layout.ok.right + 10);
    layout.contentHeight = int16_t(layout.ok.bottom + 5);
    return layout;
}

void FWUserMsg::AutoInit()
{
    // A message run a second time keeps the window and views of its first run.
    if (GetPDW() != nullptr)
        return;
    const Layout layout = calc_item_info();
    const int16_t frame = FrameWidth();
    const int16_t title = TitleWidth();
    FWRect window;
    calc_dlog_rect_on_screen(window, layout.contentWidth + 2 * frame, layout.contentHeight + 2 * frame + title);
    Initialize(nullptr, window);
    FWView* root = ViewMngr().GetViewTree();
    if (root == nullptr)
        return;

    auto* text = new StaticText;
    const FWStr<255> message(mText.get());
    text->Init(this, layout.text, &message, StaticText::kPlainWrapped);
    text->SetInternational(true);
    root->AppendChild(text);

    auto* ok = new OKButton;
    const FWStr<31> okTitle(mOKTitle != nullptr ? mOKTitle : "OK");
    ok->Init(this, layout.ok, &okTitle);
    if (mIconID != 0) {
        auto* picture = new PictureBox;
        picture->Init(this, layout.icon, mIconID, FOUR_CHAR_CODE("argb"));
        root->AppendChild(picture);
    }
    root->AppendChild(ok);
    ok->MakeDefaultAccept();

    if (hasText(mCancelTitle)) {
        auto* cancel = new CancelButton;
        const FWStr<31> cancelTitle(mCancelTitle);
        cancel->Init(this, layout.cancel, &cancelTitle);
        root->AppendChild(cancel);
        cancel->MakeDefaultCancel();
    }
    if (hasText(mAltTitle)) {
        mAltButton = new PushButton;
        const FWStr<31> altTitle(mAltTitle);
        mAltButton->Init(this, layout.alternative, &altTitle, 0);
        mAltButton->SetBoldText(true);
        mAltButton->SetID(kAlternativeID);
        root->AppendChild(mAltButton);
    }
}

// --- Results -----------------------------------------------------------------------------------

void FWUserMsg::recordResult(FWView* view)
{
    if (dynamic_cast<OKButton*>(view) != nullptr)
        mResult = kResultOK;
    else if (dynamic_cast<CancelButton*>(view) != nullptr)
        mResult = kResultCancel;
    else if (dynamic_cast<PushButton*>(view) != nullptr)
        mResult = kResultAlternative;
}

bool FWUserMsg::DialogAccepted(FWView* view)
{
    recordResult(view);
    return true;
}

bool FWUserMsg::InterfaceEvent(FWView* view)
{
    recordResult(view);
    if (view != nullptr && view == mAltButton && IsUsable(view)) {
        mDone = mAccepted = DialogAccepted(view);
        return true;
    }
    return FWModalDialog::InterfaceEvent(view);
}

bool FWUserMsg::KeyDownEvent(FWEvent& event)
{
    if (mAltButton != nullptr && hasText(mAltTitle)) {
        const int key = std::tolower(static_cast<unsigned char>(event.EventCharacter()));
        if (key == std::tolower(static_cast<unsigned char>(mAltTitle[0]))) {
            mAltButton->SimulateMouseClick();
            InterfaceEvent(mAltButton);
            return true;
        }
    }
    return FWModalDialog::KeyDownEvent(event);
}

bool FWUserMsg::Execute()
{
    if (mPlayBeep)
        FWSystemBeep(1);
    mResult = kNoResult;
    const bool accepted = FWModalDialog::Execute();
    // Ended without a button (Escape, or a quit): callers take it as Cancel.
    if (mResult == kNoResult)
        mResult = kResultCancel;
    return accepted;
}

int32_t FWUserMsg::Display(const char* format, ...)
{
    if (format == nullptr)
        return 0;
    static char sText[kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(sText, sizeof sText, format, args);
    va_end(args);

    // The text is shown as it is: it is data, not a second format.
    FWUserMsg message("%s", sText);
    const int32_t result = message.Execute() ? 1 : 0;
    message.SendMessage(IsBeingDeleted);
    return result;
}

// --- The assertion alert -----------------------------------------------------------------------

bool FWPresentAssertionAlert(const FWProgrammerMessageInfo& info)
{
    static bool sShowing = false;
    if (sShowing || !FWApp::Exists()) {
        std::fprintf(stderr, "%s\n", info.text);
        return false;
    }
    struct Showing {
        Showing() { sShowing = true; }
        ~Showing() { sShowing = false; }
    } showing;
    FWUserMsg alert("%s", info.text);
    alert.SetPlayBeep(true);
    if (info.offersAbort) {
        alert.SetIcon(141);
        alert.SetOKTitle("Abort");
        alert.SetCancelTitle("Switch to Debugger");
        // Nobody there to answer: the program goes on.
        alert.SetUnattendedAnswer(FWModalDialog::Unattended::kCancel);
    }
    // A notice has OK alone, and Escape goes on too.
    const bool abort = alert.Execute() && info.offersAbort;
    alert.SendMessage(Dependable::IsBeingDeleted);
    return abort;
}
