// The tools of the "Interface Items" folder: each switches the edit windows to creating its kind
// of control.
#pragma once

class FWUserOp;

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
};
