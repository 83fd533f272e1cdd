// Layouts built view by view in an edit window, for the tests of the editor's layout commands.
#pragma once

#include "FWRect.h"

#include <cstdint>

class EditWindow;
class FWView;

enum class ViewKind {
    kPlain,        // a bare view: its rectangle is exactly the one given
    kOK,
    kCancel,
    kPreviewGroup, // a group of style 5
    kGroup,        // a group of style 1
    kEditText,
    kCheckBox,
    kPopup,
    kRadioSet,
    kStaticText,
    kDivider,
    kPushButton,
};

// An empty edit window of no document, 400 x 300.
EditWindow* NewEditWindow();
// Makes a view of that kind, binds it to the window, gives it the id and appends it to parent
// (the root when null).
FWView* AddView(EditWindow& window, ViewKind kind, int32_t id, FWView* parent = nullptr,
                const FWRect& rect = FWRect(10, 10, 90, 30));
