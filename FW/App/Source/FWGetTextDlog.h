// A modal dialog that asks for one line of text: an optional prompt, an edit field holding the
// caller's text (all selected), OK and Cancel. Accepting stores the text in the caller's string,
// after an optional validator has accepted (and possibly changed) it.
#pragma once

#include "FWDialog.h"

class EditText;
class FWString;

class FWGetTextDlog : public FWModalDialog {
public:
    // Checks the entered text; may change it. The base accepts every text unchanged.
    class Validator {
    public:
        virtual ~Validator() = default;
        virtual bool ValidateText(FWString&) { return true; }
    };

    // No views yet; they are made when the dialog is run. The prompt, the text and the validator
    // are borrowed and must outlive the dialog.
    FWGetTextDlog(const char* prompt, FWString& text, Validator* validator);

    // The window and its views: prompt, edit field, OK, Cancel.
    void AutoInit() override;
    // Shows the window; the first time, the edit field takes the key focus.
    void Show() override;
    bool DialogAccepted(FWView* view) override;

    EditText* Field() const { return mEditField; }

private:
    const char* mPrompt;
    FWString& mText;
    Validator* mValidator;
    EditText* mEditField = nullptr;
};
