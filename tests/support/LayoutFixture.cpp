#include "LayoutFixture.h"

#include "FWStr.h"
#include "FWWindow.h"
#include "HostMemory.h"
#include "PictureBox.h"
#include "PushButton.h"
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
