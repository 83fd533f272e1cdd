// The message dialog: a formatted text, an icon and up to three buttons (OK, Cancel and an
// alternative), run as a framework modal dialog whose views are built in code. Questions and
// warnings to the user go through it. Callers construct it, set titles and icon, Execute, read
// Result, send it IsBeingDeleted and destroy it. It also presents the assertion alert.
#pragma once

#include "FWDialog.h"
#include "FWProgrammerMessage.h"

#include <cstdint>
#include <memory>

class PushButton;

class FWUserMsg : public FWModalDialog {
public:
    // Results: none yet, OK, Cancel, the alternative button.
    enum : int32_t {
        kNoResult = -1,
        kResultOK = 2,
        kResultCancel = 3,
        kResultAlternative = 4,
    };

    // Formats the text; a text longer than 1023 characters is cut there.
    explicit FWUserMsg(const char* format, ...) __attribute__((format(printf, 2, 3)));
    ~FWUserMsg() override = default;

    // Settings, taking effect when the dialog is built. Titles are borrowed, not copied: a null
    // OK title shows "OK"; a null or empty Cancel or alternative title leaves that button out.
    void SetIcon(int32_t id) { mIconID = id; }
    void SetOKTitle(const char* title) { mOKTitle = title; }
    void SetCancelTitle(const char* title) { mCancelTitle = title; }
    void SetAltTitle(const char* title) { mAltTitle = title; }
    void SetPlayBeep(bool beep) { mPlayBeep = beep; }

    // Beeps when asked, then runs the dialog; true when it was accepted (OK, or the alternative
    // button). A dialog ended without a button (Escape) counts as Cancel.
    bool Execute() override;
    // kNoResult before Execute.
    int32_t Result() const { return mResult; }

    const char* Text() const { return mText.get(); }
    int32_t IconID() const { return mIconID; }

    // Builds the window and its views: text, picture, OK, Cancel, alternative (view id 2).
    void AutoInit() override;
    bool DialogAccepted(FWView* view) override;
    bool InterfaceEvent(FWView* view) override;
    // The first letter of the alternative title (either case) presses that button.
    bool KeyDownEvent(FWEvent& event) override;

    // Where the parts go (content coordinates), as AutoInit lays them out.
    struct Layout {
        FWRect icon, text, ok, cancel, alternative;
        int16_t contentWidth = 0;
        int16_t contentHeight = 0;
    };
    Layout calc_item_info() const;

    // Shows the formatted text with an OK button and answers Execute's result; a null format
    // shows nothing and answers 0. The text is formatted into one buffer shared by all calls.
    static int32_t Display(const char* format, ...) __attribute__((format(printf, 1, 2)));

    static constexpr size_t kTextSize = 1024;

private:
    void recordResult(FWView* view);

    std::unique_ptr<char[]> mText;
    int32_t mIconID = 140;
    const char* mOKTitle = nullptr;
    const char* mCancelTitle = nullptr;
    const char* mAltTitle = nullptr;
    bool mPlayBeep = false;
    int32_t mResult = kNoResult;
    PushButton* mAltButton = nullptr;
};

// The program's presenter of programmer messages: the assertion alert ("Abort", "Switch to
// Debugger"); true when the user chose "Abort". A notice that offers no abort has OK alone and
// answers false. With no application running, or while an alert is already up, the text goes to
// stderr instead.
bool FWPresentAssertionAlert(const FWProgrammerMessageInfo& info);
