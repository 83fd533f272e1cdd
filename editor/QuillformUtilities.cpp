// The commands of the Utility menu.
#include "EditText.h"
#include "EditWindow.h"
#include "QuillformApp.h"
#include "QuillformDialogs.h"

void QuillformApp::adjust_grid(FWUserOp*)
{
    QuillformApp* app = Instance();
    FWDocument* document = app->GetActiveDocument();
    if (document == nullptr)
        return;
    SetGridDialog dialog(document, app->GetGridSize());
    // The edit windows treat a grid of 0 as no grid.
    if (dialog.Execute())
        app->SetGridSize(EditText::GGetLong(&dialog, SetGridDialog::kGridItem));
    dialog.SendMessage(Dependable::IsBeingDeleted);
}

void QuillformApp::ResizeDialog(FWUserOp*)
{
    QuillformApp* app = Instance();
    EditWindow* window = app->GetFrontEditWindow();
    FWDocument* document = app->GetActiveDocument();
    if (window == nullptr || document == nullptr)
        return;
    const FWRect size = window->Size();
    const int32_t width = size.right - size.left;
    const int32_t height = size.bottom - size.top;
    const FWRect limit = window->ResizeLimit(); // left: the least width, top: the least height
    SetDialogSize dialog(document, width, height, FWPoint(limit.left, limit.top));
    if (dialog.Execute()) {
        // The dialog has refused any size the window cannot take.
        const int32_t newWidth = EditText::GGetLong(&dialog, SetDialogSize::kWidthItem);
        const int32_t newHeight = EditText::GGetLong(&dialog, SetDialogSize::kHeightItem);
        if (newWidth != width || newHeight != height) {
            window->SetSize(newWidth, newHeight);
            window->SetDirty(true);
        }
    }
    dialog.SendMessage(Dependable::IsBeingDeleted);
}

// The shader interface itself is in ShaderDialog.cpp.
void QuillformApp::do_shader(FWUserOp*)
{
    Instance()->InterfaceShader();
}
