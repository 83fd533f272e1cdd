// The commands of the Utility menu and the alignment commands.
#include "EditWindow.h"
#include "QuillformApp.h"

void QuillformApp::adjust_grid(FWUserOp*) {}

void QuillformApp::ResizeDialog(FWUserOp*) {}

// Renumbering, tab order, source output, the shader interface and alignment are not built yet:
// their commands do nothing for now.
void QuillformApp::recompute_IDs(FWUserOp*) {}

void QuillformApp::do_tab_reorder(FWUserOp*) {}

void QuillformApp::do_shader(FWUserOp*)
{
    Instance()->InterfaceShader();
}

void QuillformApp::InterfaceShader() {}

void QuillformApp::write_source_file(FWUserOp*) {}

void QuillformApp::align_left(FWUserOp*) {}
void QuillformApp::align_right(FWUserOp*) {}
void QuillformApp::align_top(FWUserOp*) {}
void QuillformApp::align_bottom(FWUserOp*) {}
void QuillformApp::align_horiz(FWUserOp*) {}
void QuillformApp::align_vert(FWUserOp*) {}
void QuillformApp::align_edits(FWUserOp*) {}
void QuillformApp::align_distrib(FWUserOp*) {}
void QuillformApp::CenterInParentHoriz(FWUserOp*) {}
void QuillformApp::CenterInParentVert(FWUserOp*) {}
