// The message dialog: a formatted text, an icon and up to three buttons (OK, Cancel and an
// alternative), run modally. Questions and warnings to the user go through it. Callers construct
// it, set titles and icon, Execute, read Result, send it IsBeingDeleted and destroy it.
#pragma once

#include "Dependable.h"

#include <cstdint>
#include <memory>

class FWUserMsg : public Dependable {
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

    // Settings, taking effect when the dialog is shown. Titles are borrowed, not copied: a null
    // OK title shows "OK"; a null or empty Cancel or alternative title leaves that button out.
    void SetIcon(int32_t id) { mIconID = id; }
    void SetOKTitle(const char* title) { mOKTitle = title; }
    void SetCancelTitle(const char* title) { mCancelTitle = title; }
    void SetAltTitle(const char* title) { mAltTitle = title; }
    void SetPlayBeep(bool beep) { mPlayBeep = beep; }

    // Beeps when asked, then runs the dialog until a button ends it; true when OK ended it.
    bool Execute();
    // kNoResult before Execute (and when the dialog ended without a button).
    int32_t Result() const { return mResult; }

    const char* Text() const { return mText.get(); }
    int32_t IconID() const { return mIconID; }

    // Shows the formatted text with an OK button and answers Execute's result; a null format
    // shows nothing and answers 0. The text is formatted into one buffer shared by all calls.
    static int32_t Display(const char* format, ...) __attribute__((format(printf, 1, 2)));

    static constexpr size_t kTextSize = 1024;

private:
    std::unique_ptr<char[]> mText;
    int32_t mIconID = 140;
    const char* mOKTitle = nullptr;
    const char* mCancelTitle = nullptr;
    const char* mAltTitle = nullptr;
    bool mPlayBeep = false;
    int32_t mResult = kNoResult;
};
