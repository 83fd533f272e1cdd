// The property dialogs' shared part: title, rectangle and string-ID fields.
#include "BaseDlg.h"

#include "EditText.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "FWView.h"

#include <cstdio>

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

bool BaseDlg::InterfaceTextEvent(EditText* edit)
{
    if (edit == nullptr)
        return true;
    FWDrawContext context(static_cast<FWWindow*>(this));
    const int32_t id = edit->ID();
    auto get = [this](int32_t item) { return EditText::GGetLong(this, item); };
    if (id == mIDs.left || id == mIDs.right)
        EditText::GSetLong(this, mIDs.width, get(mIDs.right) - get(mIDs.left), &context);
    else if (id == mIDs.top || id == mIDs.bottom)
        EditText::GSetLong(this, mIDs.height, get(mIDs.bottom) - get(mIDs.top), &context);
    else if (id == mIDs.width)
        EditText::GSetLong(this, mIDs.right, get(mIDs.left) + get(mIDs.width), &context);
    else if (id == mIDs.height)
        EditText::GSetLong(this, mIDs.bottom, get(mIDs.top) + get(mIDs.height), &context);
    return true;
}

bool BaseDlg::DialogAccepted(FWView*)
{
    FWDynamicString stringID;
    EditText::GGetString(this, mIDs.stringID, &stringID);
    mView->SetStringID(stringID);
    // The width and height fields are not read: typing into them has already moved the edges.
    const FWRect rect(int16_t(EditText::GGetLong(this, mIDs.left)), int16_t(EditText::GGetLong(this, mIDs.top)),
                      int16_t(EditText::GGetLong(this, mIDs.right)), int16_t(EditText::GGetLong(this, mIDs.bottom)));
    mView->SetRect(rect);
    return true;
}
