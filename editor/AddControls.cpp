// Creating controls in an edit window is not built yet: the tools choose nothing for now.
#include "AddControls.h"

void AddControls::OnOKButtonTool(FWUserOp*) {}
void AddControls::OnCancelButtonTool(FWUserOp*) {}
void AddControls::OnStaticTextTool(FWUserOp*) {}
void AddControls::OnEditTextTool(FWUserOp*) {}
void AddControls::OnCheckBoxTool(FWUserOp*) {}
void AddControls::OnColorButtonTool(FWUserOp*) {}
void AddControls::OnPopupMenuTool(FWUserOp*) {}
void AddControls::OnTabTool(FWUserOp*) {}
void AddControls::OnGroupTool(FWUserOp*) {}
void AddControls::OnDividerTool(FWUserOp*) {}
void AddControls::OnRadiobuttonSetTool(FWUserOp*) {}
void AddControls::OnListBoxTool(FWUserOp*) {}
void AddControls::OnColorSliderTool(FWUserOp*) {}
void AddControls::OnTextButtonTool(FWUserOp*) {}
void AddControls::OnPictureButtonTool(FWUserOp*) {}
void AddControls::OnPictureTool(FWUserOp*) {}
void AddControls::OnScrollbarTool(FWUserOp*) {}
void AddControls::OnOpenGLTool(FWUserOp*) {}
