// The material icon's property dialog, built in code: its rectangle's edges and its string ID.
#include "ControlDialogs.h"

#include "EditText.h"
#include "FWDynamicString.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "PushButton.h"

#include <cstdio>

namespace {

constexpr int16_t kWidth = 206;
constexpr int16_t kHeight = 196;

EditText* addField(FWWindow* window, FWView* parent, int32_t id, const FWRect& rect, const char* caption,
                   bool number = true)
{
    auto* field = new EditText;
    FWStr<31> title(caption);
    field->Init(window, rect, &title);
    // An edge may be negative: a leading sign is taken.
    if (number)
        field->Set(true, FWString::kSignedInteger, false);
    field->SetID(id);
    parent->AppendChild(field);
    return field;
}

Group* addGroup(FWWindow* window, FWView* parent, const FWRect& rect, const char* caption)
{
    auto* group = new Group;
    FWStr<31> label(caption);
    group->Init(window, rect, &label, Group::kTopLeft, Group::kEngraved);
    parent->AppendChild(group);
    return group;
}

} // namespace

MaterialIconDlg::MaterialIconDlg(FWDocument* document, FWView* view) : mView(view)
{
    SetDebugName("MaterialIconDlg");
    char title[64];
    std::snprintf(title, sizeof title, "MaterialIcon (ID:%d)", int(view->ID()));
    const FWStr<63> name(title);
    SetName(&name, false);
    FWRect app;
    FWGetAppRect(&app);
    FWRect bounds(0, 0, kWidth, kHeight);
    bounds.CenterInsideOf(app);
    Initialize(document, bounds);

    FWView* root = ViewMngr().GetViewTree();
    if (root != nullptr) {
        auto* ok = new OKButton;
        ok->Init(this, FWRect(16, 133, 90, 162), nullptr);
        root->AppendChild(ok);
        ok->MakeDefaultAccept();
        auto* cancel = new CancelButton;
        cancel->Init(this, FWRect(97, 135, 163, 159), nullptr);
        root->AppendChild(cancel);
        cancel->MakeDefaultCancel();

        Group* edges = addGroup(this, root, FWRect(2, 1, 196, 65), "Rectangle");
        addField(this, edges, kLeftItem, FWRect(13, 17, 89, 35), "Left:");
        addField(this, edges, kTopItem, FWRect(96, 17, 170, 35), "Top:");
        addField(this, edges, kRightItem, FWRect(8, 37, 89, 55), "Right:");
        addField(this, edges, kBottomItem, FWRect(93, 37, 170, 55), "Bott:");
        Group* events = addGroup(this, root, FWRect(2, 70, 196, 118), "Event Handling");
        addField(this, events, kStringIDItem, FWRect(9, 89, 180, 107), "ID:", false);
    }

    EditText::GSetString(this, kStringIDItem, &view->GetStringID(), nullptr);
    const FWRect rect = view->GetRect();
    EditText::GSetLong(this, kLeftItem, rect.left, nullptr);
    EditText::GSetLong(this, kRightItem, rect.right, nullptr);
    EditText::GSetLong(this, kTopItem, rect.top, nullptr);
    EditText::GSetLong(this, kBottomItem, rect.bottom, nullptr);
    Show();
}

bool MaterialIconDlg::DialogAccepted(FWView*)
{
    FWRect rect;
    if (!BaseDlg::TypedRect(this, *mView, {kLeftItem, kTopItem, kRightItem, kBottomItem}, rect))
        return false;
    FWDynamicString stringID;
    EditText::GGetString(this, kStringIDItem, &stringID);
    mView->SetStringID(stringID);
    mView->SetRect(rect);
    return true;
}
