// The text-entry dialog: its layout, built in code, and the hand-over of the accepted text.
#include "FWGetTextDlog.h"

#include "EditText.h"
#include "FWApplicationRegion.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "PushButton.h"
#include "StaticText.h"

namespace {

// Measurements use the bold system font; a line is its ascent and twice its descent.
int16_t boldLineHeight()
{
    FWFont font;
    font.SetBold(true);
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    return int16_t(metrics.ascent + 2 * metrics.descent);
}

} // namespace

FWGetTextDlog::FWGetTextDlog(const char* prompt, FWString& text, Validator* validator)
    : mPrompt(prompt), mText(text), mValidator(validator)
{
    SetDebugName("FWGetTextDlog");
}

void FWGetTextDlog::AutoInit()
{
    // A dialog run a second time keeps the window and views of its first run.
    if (GetPDW() != nullptr)
        return;
    const int16_t lineHeight = boldLineHeight();
    const bool hasPrompt = mPrompt != nullptr;
    const int16_t frame = FrameWidth();
    const int16_t title = TitleWidth();
    FWRect bounds(int16_t(-frame), int16_t(-title), int16_t(320 - frame), int16_t(58 - frame));
    // The prompt's line, and 10 more with or without a prompt, so that the content ends 2 below
    // the OK button's ring either way.
    bounds.bottom = int16_t(bounds.bottom + 10 + (hasPrompt ? lineHeight : 0));
    FWRect window;
    calc_dlog_rect_on_screen(window, bounds.Width(), bounds.Height());
    Initialize(nullptr, window);
    FWView* root = ViewMngr().GetViewTree();
    if (root == nullptr)
        return;

    int16_t top = 10;
    if (hasPrompt) {
        auto* prompt = new StaticText;
        const FWRect rect(12, 10, 310, int16_t(10 + lineHeight));
        const FWStr<255> text(mPrompt);
        prompt->Init(this, rect, &text, StaticText::kBoldWrapped);
        root->AppendChild(prompt);
        top = rect.bottom;
    }

    mEditField = new EditText;
    mEditField->Init(this, FWRect(10, top, 310, int16_t(top + 17)), nullptr);
    mEditField->SetInternational(FWGetApplicationRegion() != 0);
    mEditField->SetText(&mText);
    mEditField->SelectText();
    root->AppendChild(mEditField);

    const FWRect field = mEditField->GetRect();
    FWRect okRect(int16_t(field.right - 3 - 65), int16_t(field.bottom + 10), int16_t(field.right - 3),
                  int16_t(field.bottom + 30));
    okRect.Grow(3);
    auto* ok = new OKButton;
    ok->Init(this, okRect, nullptr);
    root->AppendChild(ok);
    ok->MakeDefaultAccept();

    FWRect cancelRect = okRect;
    cancelRect.Offset(int16_t(-(okRect.Width() + 10)), 0);
    cancelRect.Grow(-3);
    auto* cancel = new CancelButton;
    cancel->Init(this, cancelRect, nullptr);
    root->AppendChild(cancel);
    cancel->MakeDefaultCancel();
}

void FWGetTextDlog::Show()
{
    const bool wasVisible = Visible();
    FWModalDialog::Show();
    if (mEditField != nullptr && !wasVisible)
        ViewMngr().SetKeyFocus(mEditField);
}

bool FWGetTextDlog::DialogAccepted(FWView*)
{
    if (mEditField == nullptr)
        return true;
    if (mValidator == nullptr) {
        mEditField->GetText(&mText);
        return true;
    }
    FWStr<255> entered;
    mEditField->GetText(&entered);
    if (mValidator->ValidateText(entered)) {
        mText = entered;
        return true;
    }
    mEditField->SelectText();
    return false;
}
