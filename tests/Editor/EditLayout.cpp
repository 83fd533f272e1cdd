#include "EditLayout.h"

#include "CheckBox.h"
#include "Divider.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "Group.h"
#include "Popup.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "StaticText.h"

EditWindow* NewEditWindow()
{
    auto* window = new EditWindow(nullptr, FWRect(100, 100, 500, 400));
    window->Show();
    return window;
}

FWView* AddView(EditWindow& window, ViewKind kind, int32_t id, FWView* parent, const FWRect& rect)
{
    FWStr<31> label("Label");
    FWView* view = nullptr;
    switch (kind) {
    case ViewKind::kPlain:
        view = new FWView;
        view->Init(&window);
        view->SetRect(rect);
        break;
    case ViewKind::kOK: {
        auto* ok = new OKButton;
        ok->Init(&window, rect, nullptr);
        view = ok;
        break;
    }
    case ViewKind::kCancel: {
        auto* cancel = new CancelButton;
        cancel->Init(&window, rect, nullptr);
        view = cancel;
        break;
    }
    case ViewKind::kPreviewGroup:
    case ViewKind::kGroup: {
        auto* group = new Group;
        group->Init(&window, rect, nullptr, Group::kTopLeft,
                    kind == ViewKind::kPreviewGroup ? Group::kCustom : Group::kSunken);
        view = group;
        break;
    }
    case ViewKind::kEditText: {
        auto* edit = new EditText;
        edit->Init(&window, rect, &label);
        view = edit;
        break;
    }
    case ViewKind::kCheckBox: {
        auto* box = new CheckBox;
        box->Init(&window, FWPoint(rect.left, rect.top), &label);
        view = box;
        break;
    }
    case ViewKind::kPopup: {
        auto* popup = new Popup;
        popup->Init(&window, new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0), true);
        popup->Init(&window, rect, &label, 0, true);
        view = popup;
        break;
    }
    case ViewKind::kRadioSet: {
        auto* radio = new RadioButtonSet;
        FWStr<31> labels[2] = {"One", "Two"};
        radio->Init(&window, FWPoint(rect.left, rect.top), 2, labels);
        view = radio;
        break;
    }
    case ViewKind::kStaticText: {
        auto* text = new StaticText;
        text->Init(&window, rect, &label, StaticText::kSingleLine);
        view = text;
        break;
    }
    case ViewKind::kDivider: {
        auto* divider = new Divider;
        divider->Init(&window, rect);
        view = divider;
        break;
    }
    case ViewKind::kPushButton: {
        auto* button = new PushButton;
        button->Init(&window, rect, &label, 0);
        view = button;
        break;
    }
    }
    view->SetID(id);
    (parent != nullptr ? parent : window.ViewMngr().GetViewTree())->AppendChild(view);
    return view;
}
