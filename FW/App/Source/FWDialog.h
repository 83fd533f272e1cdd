// The modal dialog: a framework window that runs its own event loop until the user accepts or
// cancels it. While one is up, clicks on other windows beep, other windows still redraw, and
// Return, Enter, Escape and Command-period work the dialog's default accept and cancel views.
// Dialogs nest: each Show pushes the modal window and each Hide pops it.
//
// Headless runs answer without a user, as the host's own modal loops do: a preset answer
// (HostModalPresetAnswer) presses the default-accept view ("ok"), the cancel view ("cancel") or
// the first other push button ("alternative"); with no preset and no input left the dialog is
// accepted, or cancelled when it has no usable default-accept view. Every run is recorded with
// the dialog's title and static texts (HostModalShownLog).
#pragma once

#include "FWWindow.h"

#include <string>
#include <vector>

class PushButton;

class FWModalDialog : public FWWindow {
public:
    FWModalDialog();
    // A dialog deleted while shown still leaves the modal count and stack balanced.
    ~FWModalDialog() override;

    // Builds the dialog's views before it is shown; the default has none.
    virtual void AutoInit() {}
    // Runs the dialog until it is accepted or cancelled; true when accepted.
    virtual bool Execute();
    // Asked when the user accepts; false keeps the dialog open.
    virtual bool DialogAccepted(FWView*) { return true; }

    void Show() override;
    void Hide() override;
    // Return and Enter accept through the usable default-accept view; Escape and Command-period
    // cancel through the default-cancel view (swallowed without one).
    bool KeyDownEvent(FWEvent& event) override;
    // A usable OK button accepts, a usable Cancel button cancels.
    bool InterfaceEvent(FWView* view) override;

    // How an absent user answers a headless run once nothing else is left: accept through the
    // default-accept view (the default), or cancel through the cancel view.
    enum class Unattended { kAccept, kCancel };
    void SetUnattendedAnswer(Unattended answer) { mUnattended = answer; }

    void AllowIdleTime(bool allow) { mAllowIdleTime = allow; }
    void SetAutoFocus(bool on) { mAutoFocus = on; }
    bool IsDone() const { return mDone; }
    bool IsAccepted() const { return mAccepted; }

    // A width by height rectangle centred in the application's area, then moved up by a sixth
    // of that area's height when its top lies lower than that.
    static FWRect& calc_dlog_rect_on_screen(FWRect& rect, int32_t width, int32_t height);
    // Visible, every ancestor visible, and neither it nor any ancestor ghosted.
    static bool IsUsable(const FWView* view);

protected:
    // The usable default-accept and default-cancel views, or null.
    FWView* usableDefaultAccept();
    FWView* usableDefaultCancel();
    // The first usable push button that is neither default view, or null.
    PushButton* firstOtherButton();
    // What Return and Escape do once the view is known.
    void acceptThrough(FWView* view);
    void cancelThrough(FWView* view);

    bool mDone = false;
    bool mAccepted = false;
    bool mAllowIdleTime = true;
    bool mAutoFocus = true;
    FWWindow* mPreviousModal = nullptr;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/FWDialog";

    void runLoop();
    bool nextEvent(FWEvent& event, bool headless, uint32_t sleep);
    void handle(FWEvent& event);
    void route(FWEvent& event);
    void giveFirstFocus();
    std::vector<std::string> shownTexts();
    // Headless answers.
    void drawPending();
    void applyPreset();
    void answerUnattended();

    Unattended mUnattended = Unattended::kAccept;
    bool mSawPress = false; // a press in this dialog was handled: releases are its own
};
