// Creating controls in an edit window: the "Interface Items" tools choose a creation function,
// and in Create mode a rectangle dragged in any edit window becomes a control of that kind,
// placed under the deepest container that holds it.
#include "AddControls.h"
#include "EditWindow.h"

#include "CDataPTKC.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "Divider.h"
#include "EditText.h"
#include "FWDrawContext.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "ListBox.h"
#include "ColorSlider.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QZ_GLView.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "StaticText.h"
#include "TabControl.h"

#include <memory>

namespace {

constexpr int32_t kPictureID = 17;

// The rectangle exceeds the kind's least width and height.
bool fits(const FWRect& rect, int minWidth, int minHeight)
{
    return rect.Width() > minWidth && rect.Height() > minHeight;
}

// A control made and set up by init; a throw leaves nothing behind.
template <class View, class Init>
FWView* make(Init&& init)
{
    auto view = std::make_unique<View>();
    init(*view);
    return view.release();
}

} // namespace

// Tools ------------------------------------------------------------------------------------------

void EditWindow::SetConstructor(FWView* (*proc)(FWWindow*, const FWRect&))
{
    mToolType = 2;
    mCreateProc = proc;
    SetWindowEvents(false);
    if (QuillformApp::Exists())
        QuillformApp::Instance()->InvalAll();
}

void AddControls::OnOKButtonTool(FWUserOp*) { EditWindow::SetConstructor(CreateOKButton); }
void AddControls::OnCancelButtonTool(FWUserOp*) { EditWindow::SetConstructor(CreateCancelButton); }
void AddControls::OnStaticTextTool(FWUserOp*) { EditWindow::SetConstructor(CreateStaticText); }
void AddControls::OnEditTextTool(FWUserOp*) { EditWindow::SetConstructor(CreateEditText); }
void AddControls::OnCheckBoxTool(FWUserOp*) { EditWindow::SetConstructor(CreateCheckbox); }
void AddControls::OnColorButtonTool(FWUserOp*) { EditWindow::SetConstructor(CreateColorButton); }
void AddControls::OnPopupMenuTool(FWUserOp*) { EditWindow::SetConstructor(CreatePopup); }
void AddControls::OnTabTool(FWUserOp*) { EditWindow::SetConstructor(CreateTabControl); }
void AddControls::OnGroupTool(FWUserOp*) { EditWindow::SetConstructor(CreateGroup); }
void AddControls::OnDividerTool(FWUserOp*) { EditWindow::SetConstructor(CreateDivider); }
void AddControls::OnRadiobuttonSetTool(FWUserOp*) { EditWindow::SetConstructor(CreateRadioButton); }
void AddControls::OnListBoxTool(FWUserOp*) { EditWindow::SetConstructor(CreateListBox); }
void AddControls::OnColorSliderTool(FWUserOp*) { EditWindow::SetConstructor(CreateColorSlider); }
void AddControls::OnTextButtonTool(FWUserOp*) { EditWindow::SetConstructor(CreateTextButton); }
void AddControls::OnPictureButtonTool(FWUserOp*) { EditWindow::SetConstructor(CreatePictureButton); }
void AddControls::OnPictureTool(FWUserOp*) { EditWindow::SetConstructor(CreatePictureBox); }
void AddControls::OnScrollbarTool(FWUserOp*) { EditWindow::SetConstructor(CreateScroller); }
void AddControls::OnOpenGLTool(FWUserOp*) { EditWindow::SetConstructor(CreateOpenGL); }

// Creation functions ----------------------------------------------------------------------------

FWView* AddControls::CreateOKButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<OKButton>([&](OKButton& v) {
        v.Init(window, rect, nullptr);
        v.MakeDefaultAccept();
    });
}

FWView* AddControls::CreateCancelButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<CancelButton>([&](CancelButton& v) {
        v.Init(window, rect, nullptr);
        v.MakeDefaultCancel();
    });
}

FWView* AddControls::CreateStaticText(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    const FWStr<31> text("StaticText");
    return make<StaticText>([&](StaticText& v) { v.Init(window, rect, &text, StaticText::kSingleLine); });
}

FWView* AddControls::CreateEditText(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    FWStr<31> text("EditText");
    return make<EditText>([&](EditText& v) {
        v.Init(window, rect, &text);
        // Validated as a real number, without expressions.
        v.Set(true, FWString::Type(3), false);
    });
}

FWView* AddControls::CreateCheckbox(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    FWStr<31> text("CheckBox");
    return make<CheckBox>([&](CheckBox& v) { v.Init(window, FWPoint(rect.left, rect.top), &text); });
}

FWView* AddControls::CreateColorButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    // Opaque blue.
    return make<ColorButton>([&](ColorButton& v) { v.Init(window, rect, FWArgb32(255, 0, 0, 255)); });
}

FWView* AddControls::CreatePopup(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    FWRect r = rect;
    r.bottom = int16_t(r.top + 16);
    const FWStr<31> label("Popup");
    return make<Popup>([&](Popup& v) { v.Init(window, r, &label, 0, true); });
}

FWView* AddControls::CreateTabControl(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 19, 9))
        return nullptr;
    const FWStr<31> labels[3] = {FWStr<31>("Tab 1"), FWStr<31>("Tab 2"), FWStr<31>("Tab 3")};
    return make<TabControl>([&](TabControl& v) { v.Init(window, rect, 3, labels); });
}

FWView* AddControls::CreateGroup(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 19, 9))
        return nullptr;
    // The keys as they are at the end of the drag, not as they were at the press.
    if (FWIsPressed(COMMAND_KEY))
        return make<Group>([&](Group& v) { v.Init(window, rect, nullptr, Group::kTopLeft, Group::kRaised); });
    if (FWIsPressed(OPTION_KEY))
        return make<Group>([&](Group& v) { v.Init(window, rect, nullptr, Group::kTopLeft, Group::kSunken); });
    FWStr<31> label("Group");
    return make<Group>([&](Group& v) { v.Init(window, rect, &label, Group::kTopLeft, Group::kEngraved); });
}

FWView* AddControls::CreateDivider(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 1, 1))
        return nullptr;
    return make<Divider>([&](Divider& v) { v.Init(window, rect); });
}

FWView* AddControls::CreateRadioButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    FWStr<31> labels[5] = {FWStr<31>("Button 1"), FWStr<31>("Button 2"), FWStr<31>("Button 3"), FWStr<31>("Button 4"),
                           FWStr<31>("Button 5")};
    return make<RadioButtonSet>([&](RadioButtonSet& v) { v.Init(window, FWPoint(rect.left, rect.top), 5, labels); });
}

FWView* AddControls::CreateListBox(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<ListBox>([&](ListBox& v) { v.Init(window, rect); });
}

FWView* AddControls::CreateColorSlider(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<ColorSlider>([&](ColorSlider& v) { v.Init(window, rect, ColorSlider::kGray); });
}

FWView* AddControls::CreateTextButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    const FWStr<31> text("Button");
    return make<PushButton>([&](PushButton& v) { v.Init(window, rect, &text, 0); });
}

FWView* AddControls::CreatePictureButton(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<PushButton>([&](PushButton& v) { v.Init(window, rect, nullptr, kPictureID); });
}

FWView* AddControls::CreatePictureBox(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<PictureBox>([&](PictureBox& v) { v.Init(window, rect, kPictureID, FOUR_CHAR_CODE("argb")); });
}

FWView* AddControls::CreateScroller(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<Scroller>([&](Scroller& v) { v.Init(window, &rect); });
}

FWView* AddControls::CreateOpenGL(FWWindow* window, const FWRect& rect)
{
    if (!fits(rect, 9, 9))
        return nullptr;
    return make<QZ_GLView>([&](QZ_GLView& v) {
        v.FWView::Init(window);
        v.SetRect(rect);
    });
}

// Create mode ------------------------------------------------------------------------------------

void EditWindow::CreateNewItem(FWDrawContext& context, FWPoint start)
{
    FWRect rect;
    GetUserDragRect(context, start, &rect);
    if (mCreateProc == nullptr)
        return;
    FWView* view = mCreateProc(this, rect);
    if (view == nullptr)
        return;
    if (mShaderData != nullptr)
        mShaderData->AddItem(view);
    ClearAllSelection(context);
    InsertNewView(context, view);
}

void EditWindow::InsertNewView(FWDrawContext& context, FWView* view)
{
    ViewMngr().FallIntoTree(view);
    view->DrawView(context);
    SetDirty(true);
}
