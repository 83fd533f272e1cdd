// The editor's tools: built from the tool table, "Edit" active, and the tool window shown with
// its three folders open.
#include "FWDrawContext.h"
#include "FWStr.h"
#include "FWToolManager.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "QuillformApp.h"

void QuillformApp::SetUpTools()
{
    FWToolManager::Initialize(sToolbarRoot);
    FWToolManager::ActivateToolByName("Edit");
    FWToolWindow* window = FWToolWindow::Instance();
    window->SetClosing(false);
    window->SetAcceptsKeyEvents(false);
    if (FWToolWindowView* view = window->GetView()) {
        for (const char* folder : {"Manipulation", "Alignment", "Interface Items"})
            view->ExpandNamedFolder(FWStr<31>(folder));
    }
    window->Show();
    const FWStr<31> title("Tools");
    window->SetName(&title, false);
    FWDrawContext context(window);
    window->ViewMngr().Draw(context);
}
