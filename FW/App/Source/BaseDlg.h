// The base of the controls' property dialogs: a modal dialog loaded from one of the program's
// own layouts, titled after the view it edits, with edit fields for the view's rectangle (left,
// top, right, bottom, width and height, kept consistent while the user types) and its string ID.
// Accepting writes the string ID and the rectangle back into the view.
#pragma once

#include "FWDialog.h"
#include "HostPixels.h"

#include <cstdint>

class EditText;
class FWBranchingControl;
class FWDocument;
class FWString;

class BaseDlg : public FWModalDialog {
public:
    // The item ids of the shared fields.
    struct CStandardID {
        int32_t left;
        int32_t top;
        int32_t right;
        int32_t bottom;
        int32_t width;
        int32_t height;
        int32_t stringID;
    };
    static constexpr CStandardID theStandardID{3, 4, 5, 6, 7, 8, 9};
    // The largest width and height of a window, frame included: its pixels live in one port, whose
    // store holds at most a square of this side.
    static constexpr int32_t kLargestWindow = HostPixelMap::kMaxSquareSide;

    // Titles the dialog "<view's display name> (ID:<view id>)", loads the layout (from the
    // document's file when one is given, else from the program's resources) and fills the
    // shared fields from the view.
    BaseDlg(FWDocument* document, int32_t layoutID, FWView* view, const CStandardID& ids);
    ~BaseDlg() override = default;

    // Keeps the width and height fields in step with the edges and the other way round.
    bool InterfaceTextEvent(EditText* edit) override;
    // Writes the dialog's own items (AcceptItems), then the string ID and the rectangle of the
    // left, top, right and bottom fields. A rectangle the view cannot take is refused first, so
    // that the dialog stays open with the fields as typed and the view unchanged.
    bool DialogAccepted(FWView* view) final;

    // The rectangle of the dialog's edge fields (ids of left, top, right, bottom) when the view
    // can take it: 16-bit edges (a field that holds no number is refused as well), a width
    // (right - left) and height (bottom - top) of at least the view's least size, and some of it
    // inside the largest content its window can have, so that it can still be seen, clicked and
    // selected. Otherwise says what is allowed and gives false.
    static bool TypedRect(FWWindow* dialog, const FWView& view, const int32_t (&edges)[4], FWRect& rect);
    // What a number field takes: a whole number or a real, from least to most.
    struct NumberRange {
        bool real;
        double least;
        double most;
    };
    // The number in the text when it is one and lies in the range: an optional sign and digits,
    // for a real with one decimal point ('.' or ','). Nothing else, not even a space, so that
    // what is taken is what the field shows.
    static bool ReadNumber(const FWString& text, const NumberRange& range, double& value);
    // The number in the dialog's field when ReadNumber takes it. Otherwise (an empty field, a
    // lone sign or anything else too) says "<what> must lie between <least> and <most>." and
    // gives false. Every dialog refuses a number it cannot take this way, before it changes
    // anything.
    static bool TypedNumber(FWWindow* dialog, int32_t item, const NumberRange& range, const char* what,
                            double& value);
    // The same for a whole number of 32 bits.
    static bool TypedNumber(FWWindow* dialog, int32_t item, int32_t least, int32_t most, const char* what,
                            int32_t& value);

    FWView* View() const { return mView; }

protected:
    // Writes the dialog's own items into the view; false keeps the dialog open, and is given
    // before anything is written.
    virtual bool AcceptItems() { return true; }
    // Shows the text in a message with one OK button (the error icon when error is true) and
    // waits for it to be dismissed.
    static void ShowMessage(const char* text, bool error);
    // Whether the control may take a new page total. One that would delete views placed on the
    // pages that go asks first, naming how many ("Setting the number of <counted> to <total>
    // deletes <n> controls placed in the <where>."), with Cancel as its default button: only OK
    // clicked deletes. Cancel gives false, so that the dialog stays open as typed.
    static bool MayDeletePlaced(FWBranchingControl& control, int32_t total, const char* counted, const char* where);

    FWView* mView;
    CStandardID mIDs;
};

