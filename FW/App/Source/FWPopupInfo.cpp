#include "FWPopupInfo.h"

#include "FWApp.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWFont.h"
#include "FWMonitor.h"
#include "FWRect.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "HostInput.h"

namespace {

constexpr int16_t kTextLeft = 3;
constexpr int16_t kTextBaseline = 9;
constexpr int16_t kWidthWithoutFrontWindow = 100;
constexpr int16_t kBelowMouse = 16;
constexpr int16_t kHeight = 12;
constexpr int16_t kTextPadding = 5;

// Tips are on from start to end; nothing switches them off.
bool sTipsEnabled = true;

FWPopupInfo sInfoPopup;

} // namespace

// The tip's window: borderless, pale yellow, one line of text. Events it receives go on to the
// application. It keeps its text so that a redraw of the window draws it again.
class InfoWindow : public FWWindow {
public:
    explicit InfoWindow(const FWString& text) : FWWindow(0), mText(text) {}
    ~InfoWindow() override;

    FWEventHandler* GetParent(FWEvent&) override { return FWApp::Instance(); }

    bool UpdateEvent(FWEvent& event, FWDrawContext& context) override
    {
        FWWindow::UpdateEvent(event, context);
        DrawText(context);
        return true;
    }

    void DrawText(FWDrawContext& context)
    {
        context.SetFont(&Font());
        context.DrawString(kTextLeft, kTextBaseline, &mText);
    }

private:
    FWStr<255> mText;
};

InfoWindow::~InfoWindow()
{
    sInfoPopup.window_gone(this);
}

FWPopupInfo::~FWPopupInfo()
{
    close_window();
}

void FWPopupInfo::Show(const FWString& text)
{
    if (sTipsEnabled)
        sInfoPopup.open_window(text);
}

void FWPopupInfo::Hide()
{
    if (sTipsEnabled)
        sInfoPopup.close_window();
}

FWWindow* FWPopupInfo::Window()
{
    return sInfoPopup.mWindow;
}

void FWPopupInfo::open_window(const FWString& text)
{
    close_window();
    // The tip hands its events to the application, so there is none without one; and it would
    // stand in front of a window the framework does not own.
    if (!FWApp::Exists() || FWApp::Instance()->ForeignWindowOpen())
        return;

    auto* window = new InfoWindow(text);
    mWindow = window;
    window->SetStyle(4);
    window->SetDraging(false);
    window->SetTitleWidth(0);
    window->SetFrameWidth(0);

    FWRect rect;
    calc_window_rect(text, rect);
    if (!window->Initialize(nullptr, rect) || window->GetPDW() == nullptr) {
        close_window();
        return;
    }

    window->ViewMngr().SetInterfaceEvent(false);
    window->SetContentColor(FWArgb32(255, 255, 255, 119));
    window->Show();
    {
        FWDrawContext context(window);
        window->DrawText(context);
    }
    mPreviousCapture = FWEventDispatcher::Instance()->CaptureEventControl(window);
}

void FWPopupInfo::calc_window_rect(const FWString& text, FWRect& rect)
{
    int16_t width = kWidthWithoutFrontWindow;
    if (FWApp::Exists() && FWApp::Instance()->GetFrontWindow() != nullptr) {
        const FWFont font(1, 9);
        width = int16_t(font.GetStringWidth(&text));
    }

    Point mouse{0, 0};
    GetGlobalMouse(&mouse);
    rect.Set(mouse.h, int16_t(mouse.v + kBelowMouse), int16_t(mouse.h + width + kTextPadding),
             int16_t(mouse.v + kBelowMouse + kHeight));

    const FWMonitor* monitor = FWMonitor::FindClosestMonitorByPoint(FWPoint(mouse.h, mouse.v));
    if (monitor == nullptr)
        return;
    const FWRect& bounds = monitor->UsableBounds();
    if (rect.top < bounds.top)
        rect.Offset(0, int16_t(bounds.top - rect.top));
    if (rect.left < bounds.left)
        rect.Offset(int16_t(bounds.left - rect.left), 0);
    if (rect.bottom > bounds.bottom)
        rect.Offset(0, int16_t(bounds.bottom - rect.bottom));
    if (rect.right > bounds.right)
        rect.Offset(int16_t(bounds.right - rect.right), 0);
}

void FWPopupInfo::window_gone(FWWindow* window)
{
    if (window == nullptr || window != mWindow)
        return;
    mWindow = nullptr;
    // Only a tip that took the capture gives it back (a failed start never took it).
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    if (dispatcher->CapturedHandler() == window)
        dispatcher->ReleaseEventControl(mPreviousCapture);
    mPreviousCapture = nullptr;
}

void FWPopupInfo::close_window()
{
    FWWindow* window = mWindow;
    if (window == nullptr)
        return;
    // Forgotten first (the capture given back with it): the deletion below may reach Hide again
    // through the window list's reset.
    window_gone(window);
    FWEventDispatcher::Instance()->WindowListReset();
    window->SendMessage(Dependable::IsBeingDeleted);
    delete window;
}
