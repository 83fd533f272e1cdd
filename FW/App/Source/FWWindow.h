// A framework window: a platform window whose frame and title bar the framework draws, holding
// the view manager of its view tree. Its content area starts at (FrameWidth, TitleWidth) inside
// the window.
#pragma once

#include "Dependable.h"
#include "FWEventHandler.h"
#include "FWFont.h"
#include "FWRect.h"
#include "FWViewMngr.h"

#include <cstdint>

class EditText;
class FWView;
struct HostWindow;

class FWWindow : public Dependable, public FWEventHandler {
public:
    using WindowStyle = int32_t;

    explicit FWWindow(WindowStyle style = 0);
    ~FWWindow() override;

    WindowStyle GetStyle() const { return mStyle; }

    // The view tree
    FWViewMngr& ViewMngr() { return mViewMngr; }
    const FWViewMngr& ViewMngr() const { return mViewMngr; }

    // Geometry. Size is the whole window (frame and title included) in its own coordinates;
    // the content rectangle is (0, 0, width - 2 x frame, height - title - frame).
    FWRect Size() const { return mSize; }
    virtual void GetContentRect(FWRect* rect);
    // The title bar's height and the frame's width (low 16 bits), or 0 in window space.
    int16_t TitleWidth() const { return mWindowSpace ? 0 : int16_t(mTitleWidth); }
    int16_t FrameWidth() const { return mWindowSpace ? 0 : int16_t(mFrameWidth); }
    virtual void SetTitleWidth(int32_t width) { mTitleWidth = width; }
    virtual void SetFrameWidth(int32_t width) { mFrameWidth = width; }
    void WindowSpace() { mWindowSpace = true; }
    void ContentSpace() { mWindowSpace = false; }
    void GetLocation(int32_t* h, int32_t* v) const;
    virtual void SetLocation(int32_t h, int32_t v);
    // Resizes the window; the root view follows the new content rectangle.
    virtual void SetSize(int32_t width, int32_t height);
    // SetSize, then the new frame becomes the state that zooming returns to.
    void SetUserSize(int32_t width, int32_t height);
    // Global to content coordinates.
    void GlobalToWindow(FWPoint* where) const;

    // The platform window: a plain host window at the global rectangle, showing this window's
    // whole area (frame and title included). GetPDW is null before it is made.
    void CreatePlatformWindow(FWRect* globalRect);
    HostWindow* GetPDW() const { return mPlatformWindow; }
    // The framework window whose platform window this is; null for null or none.
    static FWWindow* ReturnFWWindow(void* platformWindow);

    // Visibility and update
    bool Visible() const { return mVisible; }
    virtual void Show();
    virtual void Hide();
    // Marks a rectangle of the content for redrawing; null marks the whole window.
    void Inval(const FWRect* rect);

    // Keys and text events
    virtual bool AcceptsKeyEvents() const { return true; }
    // A derived window may consume a key before the views see it.
    virtual bool FilterKeyEvent(const FWEvent&) { return false; }
    // Told whenever the key focus moves.
    virtual void NewKeyFocus(FWView*) {}
    // Notes an edit field whose change is to be reported after a delay.
    void PostTextEvent(EditText* edit);

    // The font views draw in unless they choose another.
    const FWFont& Font() const { return mFont; }

    // The event chain: the view under the mouse or with the key focus, else the window.
    FWEventHandler* GetDynamicHandler(FWEvent& event) override;

    bool ReceiveMessage(Dependable* sender, Message m) override;

private:
    FWViewMngr mViewMngr;
    WindowStyle mStyle;
    bool mVisible = false;
    bool mWindowSpace = false;
    FWRect mSize;
    FWRect mUserState;
    int32_t mLocationH = 0;
    int32_t mLocationV = 0;
    int32_t mTitleWidth = 25;
    int32_t mFrameWidth = 3;
    FWFont mFont;
    EditText* mPendingTextEvent = nullptr;
    HostWindow* mPlatformWindow = nullptr;
    uint32_t mPendingSince = 0;
};
