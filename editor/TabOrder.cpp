// Tab-order mode: the user clicks the edit texts of a layout one after another to give them
// their keyboard order. The mode runs its own event loop until every field is numbered or Escape
// ends it; only updates reach the rest of the program meanwhile, and a quit asked for then ends
// the mode first and is handled after it.
#include "EditText.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWArgb32.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWEventDispatcher.h"
#include "FWStr.h"
#include "PreorderTraversal.h"
#include "QuillformApp.h"
#include "TabControl.h"

#include <string>
#include <vector>

bool EditWindow::mQuitRequested = false;

namespace {

constexpr int kEscape = 27;
constexpr int kStampLeft = 2, kStampBaseline = 10;

// While it lives, the window is titled "Press Esc to finish" and the editor is in the given
// modal editing mode; at its end the window is marked changed, titled as before and redrawn.
class CEditScope {
public:
    CEditScope(EditWindow* window, int32_t mode) : mWindow(window), mName(window->Name())
    {
        const FWStr<63> title("Press Esc to finish");
        mWindow->SetName(&title, false);
        EditWindow::mActMode = mode;
    }
    ~CEditScope()
    {
        mWindow->SetDirty(true);
        mWindow->SetName(&mName, false);
        EditWindow::mActMode = 0;
        mWindow->Inval(nullptr);
    }
    CEditScope(const CEditScope&) = delete;
    CEditScope& operator=(const CEditScope&) = delete;

private:
    EditWindow* mWindow;
    FWDynamicString mName;
};

bool isEscape(const FWEvent& event)
{
    const int c = uint8_t(event.EventCharacter());
    return c == kEscape || (c == '.' && (event.mModifiers & kFWCommandKey) != 0);
}

// The field's number, white on black over the field, until the window is next redrawn. A
// context of its own each time: the updates dispatched meanwhile draw with theirs.
void stamp(EditWindow& window, const FWRect& field, int32_t number)
{
    FWDrawContext context(&window);
    context.SetForeColor(FWArgb32(255, 255, 255, 255));
    context.SetBackColor(FWArgb32(255, 0, 0, 0));
    context.EraseRect(&field);
    const FWStr<15> text(std::to_string(number).c_str());
    context.DrawString(field.left + kStampLeft, field.top + kStampBaseline, &text);
}

} // namespace

void EditWindow::RequestQuitAfterMode()
{
    mQuitRequested = true;
    // The mode's loop may be waiting for an event: it wakes with a null one and sees the request.
    FWEventDispatcher::Unblock();
}

bool EditWindow::TakeQuitRequest()
{
    const bool requested = mQuitRequested;
    mQuitRequested = false;
    return requested;
}

void EditWindow::DoTabReorder()
{
    std::vector<EditText*> edits;
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (auto* edit = dynamic_cast<EditText*>(view)) {
            edit->SetTabPos(-1);
            edits.push_back(edit);
        }
    }
    if (edits.empty()) {
        QuillformApp::WarningMessage("No edits to set tabs");
        return;
    }

    int32_t counter = 0;
    CEditScope scope(this, 1);
    mQuitRequested = false;
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    bool done = false;
    while (!done && !mQuitRequested) {
        FWEvent event;
        dispatcher->GetEvent(event, false);
        switch (event.mType) {
        case kMouseDownEvent: {
            // Only presses in this window's content count.
            if (event.mWindow != this)
                break;
            FWView* view = ViewMngr().GetView(&event.mWhere, false);
            if (dynamic_cast<TabControl*>(view) != nullptr) {
                view->MouseDownEvent(event);
                break;
            }
            auto* edit = dynamic_cast<EditText*>(view);
            if (edit == nullptr || edit->GetTabPos() != -1)
                break;
            stamp(*this, edit->GlobalRect(), counter);
            edit->SetTabPos(counter++);
            done = counter == int32_t(edits.size());
            break;
        }
        case kKeyDownEvent:
            done = isEscape(event);
            break;
        case kUpdateEvent:
            dispatcher->Dispatch(event);
            break;
        default:
            break;
        }
    }
    // Fields left unclicked follow in the order of the layout.
    for (EditText* edit : edits)
        if (edit->GetTabPos() == -1)
            edit->SetTabPos(counter++);
    FWView::SortTabList(&ViewMngr().GetTabList());
}

void QuillformApp::do_tab_reorder(FWUserOp*)
{
    EditWindow* window = Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    // The mode marks the window changed itself; a layout without edit texts stays unchanged.
    window->DoTabReorder();
    // A quit that came during the mode is handled now that it is over.
    if (EditWindow::TakeQuitRequest())
        FWApp::FileQuit(nullptr);
}
