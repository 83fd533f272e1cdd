// A framework window: a platform window whose frame and title bar the framework draws, holding
// the view manager of its view tree. Its content area starts at (FrameWidth, TitleWidth) inside
// the window.
#pragma once

#include "DepReference.h"
#include "Dependable.h"
#include "FWDocument.h"
#include "FWEventHandler.h"
#include "FWFont.h"
#include "FWList.h"
#include "FWRect.h"
#include "FWViewMngr.h"
#include "ListNode.h"

#include <cstdint>

class EditText;
class FWView;

class FWWindow : public Dependable, public FWEventHandler {
public:
    using WindowStyle = int32_t;

    explicit FWWindow(WindowStyle style = 0);
    // Leaves the window lists it is in: its document's (and so the application's), else the
    // application's.
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

    // The document and the window lists
    FWDocument* GetDocument() const { return mDocument; }
    // Leaves the old document's window list, then joins the new one's.
    virtual void SetDocument(FWDocument* document);
    // The object that manages a group of windows, told when this window is deleted; none unless
    // a derived window sets one.
    Dependable* GetMultiWindow() const { return mMultiWindow; }
    // Told that the document changed; true when the window did something about it.
    virtual bool DocumentUpdateEvent() { return false; }
    void AddToAppList(FWList<FWWindow>* list);
    void RemoveFromAppList(FWList<FWWindow>* list);
    void AddToDocList(FWList<FWWindow>* list);
    void RemoveFromDocList(FWList<FWWindow>* list);

    // Whether the menu bar's commands may be used while this window is in front.
    bool MenusAllowed() const { return mMenusAllowed; }

    // The font views draw in unless they choose another.
    const FWFont& Font() const { return mFont; }

    // The event chain: the view under the mouse or with the key focus, else the window.
    FWEventHandler* GetDynamicHandler(FWEvent& event) override;

    bool ReceiveMessage(Dependable* sender, Message m) override;

protected:
    Dependable* mMultiWindow = nullptr;

private:
    // Forgets the document, remembering it for the destructor.
    void forgetDocument(FWDocument* document);

    DepReference<FWDocument> mDocument{this, true};
    FWDocument* mLastDocument = nullptr;
    FWViewMngr mViewMngr;
    WindowStyle mStyle;
    bool mVisible = false;
    bool mMenusAllowed = true;
    bool mWindowSpace = false;
    FWRect mSize;
    FWRect mUserState;
    int32_t mLocationH = 0;
    int32_t mLocationV = 0;
    int32_t mTitleWidth = 25;
    int32_t mFrameWidth = 3;
    FWFont mFont;
    EditText* mPendingTextEvent = nullptr;
    uint32_t mPendingSince = 0;
    ListNode<FWWindow> mAppListNode;
    ListNode<FWWindow> mDocListNode;
};
