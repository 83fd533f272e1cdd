#include "FWToolWindow.h"

#include "FWApp.h"
#include "FWDrawContext.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWToolWindowView.h"

namespace {

constexpr int16_t kWindowWidth = 118;
constexpr int32_t kZoomStep = 40;

} // namespace

FWToolWindow* FWToolWindow::sInstance = nullptr;

FWToolWindow* FWToolWindow::Instance()
{
    if (sInstance == nullptr)
        sInstance = new FWToolWindow;
    return sInstance;
}

FWToolWindow::FWToolWindow() : FWWindow(3)
{
    FWRect rect;
    FWGetAppRect(&rect);
    rect.right = int16_t(rect.left + kWindowWidth);
    Initialize(FWApp::Exists() ? FWApp::Instance()->GetActiveDocument() : nullptr, rect);
    SetResizing(true, nullptr, 255);
    SetZooming(true);
    const FWStr<31> name("Tools");
    SetName(&name, false);
    FWRect content;
    GetContentRect(&content);
    mView = new FWToolWindowView(this, content);
    if (FWView* root = ViewMngr().GetViewTree())
        root->AppendChild(mView);
}

FWToolWindow::~FWToolWindow()
{
    // The application deletes its windows when it ends; a later Instance makes a new one.
    if (sInstance == this)
        sInstance = nullptr;
}

void FWToolWindow::AddFolder(FWToolFolder& folder)
{
    mView->AddFolder(folder);
}

bool FWToolWindow::CloseEvent()
{
    Hide();
    return false;
}

void FWToolWindow::SetSize(int32_t width, int32_t height)
{
    FWWindow::SetSize(width, height);
    if (mView == nullptr)
        return;
    FWRect content;
    GetContentRect(&content);
    mView->SetRect(content);
}

bool FWToolWindow::WheelEvent(FWPoint where, int16_t notches)
{
    return mView != nullptr && mView->WheelScroll(where, notches);
}

bool FWToolWindow::ZoomEvent()
{
    if (!FWApp::Exists())
        return true;
    FWApp* app = FWApp::Instance();
    FWRect before[4];
    for (int i = 0; i < 4; ++i)
        app->GetFourViewRect(i, &before[i]);

    const bool halfsize = mView->HalfsizeMode();
    const FWRect size = Size();
    SetSize(size.Width() + (halfsize ? kZoomStep : -kZoomStep), size.Height());
    mView->SetHalfsizeMode(!halfsize);
    {
        FWDrawContext context(this);
        DrawWindowFrame(context);
        ViewMngr().DrawTree(context, ViewMngr().GetViewTree());
    }

    int32_t left = 0;
    int32_t top = 0;
    GetLocation(&left, &top);
    if (left < -4 || left > 4)
        return true;
    FWRect after[4];
    for (int i = 0; i < 4; ++i)
        app->GetFourViewRect(i, &after[i]);
    for (FWWindow* window = app->GetFrontWindow(); window != nullptr; window = window->NextWindowUnder()) {
        const FWRect frame = window->GlobalFrame();
        bool moved = false;
        for (int i = 0; i < 4; ++i) {
            if (before[i].left != frame.left || before[i].right != frame.right)
                continue;
            window->SetLocation(after[i].left, frame.top);
            window->SetSize(after[i].Width(), frame.Height());
            moved = true;
        }
        if (!moved && frame.left >= before[0].left - 3 && frame.left <= before[0].left + 3) {
            window->SetLocation(after[0].left, frame.top);
            window->SetSize(frame.Width() + before[0].left - after[0].left, frame.Height());
            moved = true;
        }
        if (moved) {
            window->ResizeEvent();
            window->Inval(nullptr);
        }
    }
    return true;
}
