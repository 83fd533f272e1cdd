// The content of a new shader interface (layout 21000): OK, Cancel and the group that shows the
// preview, with the ids the shader dialog and the renumbering look for.
#include "EditWindow.h"

#include "Group.h"
#include "PushButton.h"

namespace {

constexpr int32_t kRootID = 1000;
constexpr int32_t kOKID = 1, kCancelID = 2, kPreviewID = 3;

} // namespace

void EditWindow::DefaultShaderUI()
{
    FWView* root = ViewMngr().GetViewTree();
    if (root == nullptr)
        return;
    root->DeleteChildren();
    root->SetID(kRootID);
    SetSize(387, 224);

    auto* ok = new OKButton;
    ok->Init(this, FWRect(301, 163, 365, 189), nullptr);
    root->AppendChild(ok);
    ok->SetID(kOKID);
    ok->MakeDefaultAccept();

    auto* cancel = new CancelButton;
    cancel->Init(this, FWRect(222, 166, 286, 186), nullptr);
    root->AppendChild(cancel);
    cancel->SetID(kCancelID);
    cancel->MakeDefaultCancel();

    auto* preview = new Group;
    preview->Init(this, FWRect(217, 9, 368, 148), nullptr, Group::LabelPosition(0), Group::kCustom);
    root->AppendChild(preview);
    preview->SetID(kPreviewID);

    ViewMngr().SetCounterID(kPreviewID);
}
