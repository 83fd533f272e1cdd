// The commands of the Utility menu.
#include "EditText.h"
#include "EditWindow.h"
#include "QuillformApp.h"
#include "QuillformDialogs.h"

#include <algorithm>

namespace {

constexpr int32_t kMaxSize = 32000;

} // namespace

void QuillformApp::adjust_grid(FWUserOp*)
{
    QuillformApp* app = Instance();
    FWDocument* document = app->GetActiveDocument();
    if (document == nullptr)
        return;
    SetGridDialog dialog(document, app->GetGridSize());
    // Any value is taken: the edit windows treat a grid below 1 as no grid.
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
        // A window's size must fit its 16-bit frame.
        const int32_t newWidth = std::min(EditText::GGetLong(&dialog, SetDialogSize::kWidthItem), kMaxSize);
        const int32_t newHeight = std::min(EditText::GGetLong(&dialog, SetDialogSize::kHeightItem), kMaxSize);
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
