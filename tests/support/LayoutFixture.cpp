#include "LayoutFixture.h"

#include "BranchItem.h"
#include "CheckBox.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "Group.h"
#include "FWWindow.h"
#include "FWOutlineView.h"
#include "HostMemory.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "StaticText.h"

namespace LayoutFixture {

namespace {

template <class View>
View* add(FWWindow& window, View* view, int32_t id)
{
    view->SetID(id);
    window.ViewMngr().GetViewTree()->AppendChild(view);
    return view;
}

std::string build()
{
    FWWindow maker;
    maker.SetSize(kWidth + 6, kHeight + 28);
    maker.ViewMngr().Initialize(FWRect());
    maker.ViewMngr().GetViewTree()->SetRect(FWRect(0, 0, kWidth, kHeight));

    auto* text = new StaticText;
    const FWStr<255> label("Name:");
    text->Init(&maker, FWRect(10, 10, 100, 30), &label, StaticText::kSingleLine);
    add(maker, text, kStaticText);

    auto* button = new PushButton;
    const FWStr<31> go("Go");
    button->Init(&maker, FWRect(20, 40, 100, 64), &go, 0);
    add(maker, button, kPushButton);

    auto* scroller = new Scroller;
    const FWRect bar(290, 10, 306, 150);
    scroller->Init(&maker, &bar);
    add(maker, scroller, kScroller);

    auto* picture = new PictureBox;
    picture->Init(&maker, FWRect(150, 40, 190, 80), 17, FOUR_CHAR_CODE("argb"));
    add(maker, picture, kPictureBox);

    // A group box of two pages, a check box on each.
    auto* group = new Group;
    group->Init(&maker, FWRect(200, 10, 285, 80), nullptr, Group::kTopLeft, Group::kSunken);
    add(maker, group, kGroup)->SetBranchTotal(2);
    for (int page = 0; page < 2; ++page) {
        auto* onPage = new CheckBox;
        FWStr<31> label(page == 0 ? "First" : "Second");
        onPage->Init(&maker, FWPoint(205, 20), &label);
        onPage->SetID(page == 0 ? kPageCheckBox : kPageCheckBox + 100);
        group->FindBranch(page)->AppendChild(onPage);
    }

    // A check box that ghosts the picture-like view beside it, a radio set whose second button
    // ghosts the same view, and a pop-up with three items.
    auto* linked = new PictureBox;
    linked->Init(&maker, FWRect(110, 95, 140, 120), 17, FOUR_CHAR_CODE("argb"));
    add(maker, linked, kLinkedView);
    auto* box = new CheckBox;
    FWStr<31> boxLabel("Use");
    box->Init(&maker, FWPoint(10, 90), &boxLabel);
    box->SetLinkedItem(0, kLinkedView);
    add(maker, box, kCheckBox);
    auto* radio = new RadioButtonSet;
    FWStr<31> choices[2] = {"One", "Two"};
    radio->Init(&maker, FWPoint(10, 112), 2, choices);
    radio->SetLinkedID(1, kLinkedView);
    add(maker, radio, kRadioSet);
    auto* popup = new Popup;
    auto* items = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const char* name : {"Small", "Medium", "Large"})
        items->AppendChild(new FWOpItem(name, 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    popup->Init(&maker, items, true);
    const FWStr<31> size("Size:");
    popup->Init(&maker, FWRect(150, 95, 280, 113), &size, 0, true);
    add(maker, popup, kPopup);

    // A list box and an outline view, with the flags a stored one reads back with.
    auto* list = new ListBox;
    list->Init(&maker, FWRect(10, 150, 120, 196));
    add(maker, list, kListBox);
    auto* outline = new FWOutlineView;
    const FWRect tree(200, 118, 285, 156);
    outline->Init(&maker, &tree, 0);
    add(maker, outline, kOutlineView);
    for (FWOutlineView* view : {static_cast<FWOutlineView*>(list), outline}) {
        view->ClearFlag(~0u);
        view->SetFlag(0x68);
    }

    auto* ok = new OKButton;
    ok->Init(&maker, FWRect(220, 160, 0, 0), nullptr);
    add(maker, ok, kOK)->MakeDefaultAccept();

    auto* cancel = new CancelButton;
    cancel->Init(&maker, FWRect(130, 160, 0, 0), nullptr);
    add(maker, cancel, kCancel)->MakeDefaultCancel();

    Handle h = maker.ViewMngr().SerializeViewTree();
    std::string bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

} // namespace

const std::string& Bytes()
{
    static const std::string sBytes = build();
    return sBytes;
}

} // namespace LayoutFixture
