// The property dialogs' shared part: title, rectangle and string-ID fields.
#include "BaseDlg.h"

#include "EditText.h"
#include "FWBranchingControl.h"
#include "FWCLocale.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "FWView.h"
#include "FWWindow.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// A sum or difference of two fields shown in a third: worked out in 64 bits and held to 32, so
// that any value past 16 bits still shows as one the OK check refuses.
int32_t heldSum(int64_t a, int64_t b)
{
    return int32_t(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX));
}

// A question whose OK deletes: Cancel is its default button as well, so that Return, pressed
// out of habit after the dialog's own OK, keeps what is there.
class DeletionQuestion : public FWUserMsg {
public:
    explicit DeletionQuestion(const char* text) : FWUserMsg("%s", text) { SetCancelTitle("Cancel"); }

    void AutoInit() override
    {
        FWUserMsg::AutoInit();
        if (FWView* cancel = ViewMngr().DefaultCancel())
            cancel->MakeDefaultAccept();
    }
};

} // namespace

BaseDlg::BaseDlg(FWDocument* document, int32_t layoutID, FWView* view, const CStandardID& ids)
    : mView(view), mIDs(ids)
{
    SetDebugName("BaseDlg");
    const FWString& name = view->Viewable_Name();
    char title[300];
    std::snprintf(title, sizeof title, "%s (ID:%d)", name.GetCString(), int(view->ID()));
    const FWStr<255> windowName(title);
    SetName(&windowName, false);
    Initialize(document, layoutID);

    EditText::GSetString(this, mIDs.stringID, &view->GetStringID(), nullptr);
    const FWRect rect = view->GetRect();
    EditText::GSetLong(this, mIDs.left, rect.left, nullptr);
    EditText::GSetLong(this, mIDs.right, rect.right, nullptr);
    EditText::GSetLong(this, mIDs.width, rect.right - rect.left, nullptr);
    EditText::GSetLong(this, mIDs.top, rect.top, nullptr);
    EditText::GSetLong(this, mIDs.bottom, rect.bottom, nullptr);
    EditText::GSetLong(this, mIDs.height, rect.bottom - rect.top, nullptr);
}

void BaseDlg::ShowMessage(const char* text, bool error)
{
    constexpr int32_t kErrorIcon = 141;
    FWUserMsg message("%s", text);
    if (error)
        message.SetIcon(kErrorIcon);
    message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
}

bool BaseDlg::MayDeletePlaced(FWBranchingControl& control, int32_t total, const char* counted, const char* where)
{
    const int32_t placed = control.PlacedViewsDeletedBy(total);
    if (placed == 0)
        return true;
    char text[200];
    std::snprintf(text, sizeof text, "Setting the number of %s to %d deletes %d control%s placed in the %s.", counted,
                  int(total), int(placed), placed == 1 ? "" : "s", where);
    DeletionQuestion message(text);
    message.Execute();
    const bool ok = message.Result() == FWUserMsg::kResultOK;
    message.SendMessage(Dependable::IsBeingDeleted);
    return ok;
}

bool BaseDlg::InterfaceTextEvent(EditText* edit)
{
    if (edit == nullptr)
        return true;
    FWDrawContext context(static_cast<FWWindow*>(this));
    const int32_t id = edit->ID();
    auto get = [this](int32_t item) { return int64_t(EditText::GGetLong(this, item)); };
    if (id == mIDs.left || id == mIDs.right)
        EditText::GSetLong(this, mIDs.width, heldSum(get(mIDs.right), -get(mIDs.left)), &context);
    else if (id == mIDs.top || id == mIDs.bottom)
        EditText::GSetLong(this, mIDs.height, heldSum(get(mIDs.bottom), -get(mIDs.top)), &context);
    else if (id == mIDs.width)
        EditText::GSetLong(this, mIDs.right, heldSum(get(mIDs.left), get(mIDs.width)), &context);
    else if (id == mIDs.height)
        EditText::GSetLong(this, mIDs.bottom, heldSum(get(mIDs.top), get(mIDs.height)), &context);
    return true;
}

bool BaseDlg::TypedRect(FWWindow* dialog, const FWView& view, const int32_t (&edges)[4], FWRect& rect)
{
    int32_t value[4] = {};
    for (int i = 0; i < 4; ++i) {
        FWStr<255> typed;
        EditText::GGetString(dialog, edges[i], &typed);
        double edge = 0;
        if (!ReadNumber(typed, {false, INT16_MIN, INT16_MAX}, edge)) {
            ShowMessage("Each edge must lie between -32768 and 32767.", false);
            return false;
        }
        value[i] = int32_t(edge);
    }
    char text[200];
    // An inverted rectangle has a negative width or height: it would be neither drawn nor found.
    const FWPoint least = view.LeastSize();
    const int32_t width = value[2] - value[0], height = value[3] - value[1];
    if (width < least.h || height < least.v || width > INT16_MAX || height > INT16_MAX) {
        std::snprintf(text, sizeof text,
                      "The %s needs a width (right - left) from %d to %d and a height (bottom - top) from %d to %d.",
                      view.Viewable_Name().GetCString(), int(least.h), INT16_MAX, int(least.v), INT16_MAX);
        ShowMessage(text, false);
        return false;
    }
    // The view's place in its window; wholly beyond the largest content no click or band reaches it.
    const FWPoint offset = view.GetParentOffset();
    const FWWindow* window = view.GetWindow();
    const int32_t frame = window != nullptr ? window->FrameWidth() : 0;
    const int32_t title = window != nullptr ? window->TitleWidth() : 0;
    const int32_t across = kLargestWindow - 2 * frame, down = kLargestWindow - title - frame;
    if (value[2] + offset.h <= 0 || value[3] + offset.v <= 0 || value[0] + offset.h >= across ||
        value[1] + offset.v >= down) {
        std::snprintf(text, sizeof text,
                      "The %s must lie at least in part between 0 and %d across and 0 and %d down, the largest "
                      "area its window can show.",
                      view.Viewable_Name().GetCString(), int(across), int(down));
        ShowMessage(text, false);
        return false;
    }
    rect = FWRect(int16_t(value[0]), int16_t(value[1]), int16_t(value[2]), int16_t(value[3]));
    return true;
}

bool BaseDlg::ReadNumber(const FWString& text, const NumberRange& range, double& value)
{
    std::string typed(text.GetCString(), text.GetCurrLength());
    bool digits = false;
    bool point = false;
    for (size_t i = 0; i < typed.size(); ++i) {
        char& c = typed[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
        } else if (range.real && !point && (c == '.' || c == ',')) {
            point = true;
            c = '.';
        } else if ((c != '-' && c != '+') || i != 0) {
            return false;
        }
    }
    if (!digits)
        return false;
    // Digits past a double's reach parse as infinite, outside every range.
    value = FWCLocale::ParseDouble(typed.c_str());
    return value >= range.least && value <= range.most;
}

bool BaseDlg::TypedNumber(FWWindow* dialog, int32_t item, const NumberRange& range, const char* what, double& value)
{
    FWStr<255> typed;
    EditText::GGetString(dialog, item, &typed);
    if (ReadNumber(typed, range, value))
        return true;
    // The limits are whole numbers: %.10g writes any of 32 bits in full.
    char text[200];
    std::snprintf(text, sizeof text, "%s must lie between %.10g and %.10g.", what, range.least, range.most);
    ShowMessage(text, false);
    return false;
}

bool BaseDlg::TypedNumber(FWWindow* dialog, int32_t item, int32_t least, int32_t most, const char* what,
                          int32_t& value)
{
    double typed = 0;
    if (!TypedNumber(dialog, item, {false, double(least), double(most)}, what, typed))
        return false;
    value = int32_t(typed);
    return true;
}

bool BaseDlg::DialogAccepted(FWView*)
{
    // The width and height fields are not read: typing into them has already moved the edges.
    FWRect rect;
    if (!TypedRect(this, *mView, {mIDs.left, mIDs.top, mIDs.right, mIDs.bottom}, rect) || !AcceptItems())
        return false;
    FWDynamicString stringID;
    EditText::GGetString(this, mIDs.stringID, &stringID);
    mView->SetStringID(stringID);
    mView->SetRect(rect);
    return true;
}
