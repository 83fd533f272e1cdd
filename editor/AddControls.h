// The tools of the "Interface Items" folder: each switches the edit windows to creating its kind
// of control. A creation function makes that control over a rectangle in window-content
// coordinates, bound to the window but in no tree yet; it answers null for a rectangle too small
// for the kind.
#pragma once

class FWRect;
class FWUserOp;
class FWView;
class FWWindow;

class AddControls {
public:
    static void OnOKButtonTool(FWUserOp*);
    static void OnCancelButtonTool(FWUserOp*);
    static void OnStaticTextTool(FWUserOp*);
    static void OnEditTextTool(FWUserOp*);
    static void OnCheckBoxTool(FWUserOp*);
    static void OnColorButtonTool(FWUserOp*);
    static void OnPopupMenuTool(FWUserOp*);
    static void OnTabTool(FWUserOp*);
    static void OnGroupTool(FWUserOp*);
    static void OnDividerTool(FWUserOp*);
    static void OnRadiobuttonSetTool(FWUserOp*);
    static void OnListBoxTool(FWUserOp*);
    static void OnColorSliderTool(FWUserOp*);
    static void OnTextButtonTool(FWUserOp*);
    static void OnPictureButtonTool(FWUserOp*);
    static void OnPictureTool(FWUserOp*);
    static void OnScrollbarTool(FWUserOp*);
    static void OnOpenGLTool(FWUserOp*);

    static FWView* CreateOKButton(FWWindow* window, const FWRect& rect);
    static FWView* CreateCancelButton(FWWindow* window, const FWRect& rect);
    static FWView* CreateStaticText(FWWindow* window, const FWRect& rect);
    static FWView* CreateEditText(FWWindow* window, const FWRect& rect);
    static FWView* CreateCheckbox(FWWindow* window, const FWRect& rect);
    static FWView* CreateColorButton(FWWindow* window, const FWRect& rect);
    static FWView* CreatePopup(FWWindow* window, const FWRect& rect);
    static FWView* CreateTabControl(FWWindow* window, const FWRect& rect);
    // Style 2 with the label "Group"; Command held at the end of the drag makes style 0, Option
    // style 1, both without a label.
    static FWView* CreateGroup(FWWindow* window, const FWRect& rect);
    static FWView* CreateDivider(FWWindow* window, const FWRect& rect);
    static FWView* CreateRadioButton(FWWindow* window, const FWRect& rect);
    static FWView* CreateListBox(FWWindow* window, const FWRect& rect);
    static FWView* CreateColorSlider(FWWindow* window, const FWRect& rect);
    static FWView* CreateTextButton(FWWindow* window, const FWRect& rect);
    static FWView* CreatePictureButton(FWWindow* window, const FWRect& rect);
    static FWView* CreatePictureBox(FWWindow* window, const FWRect& rect);
    static FWView* CreateScroller(FWWindow* window, const FWRect& rect);
    static FWView* CreateOpenGL(FWWindow* window, const FWRect& rect);
};
