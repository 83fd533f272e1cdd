// The shared test layout: one of each control a dialog is built from, with an OK and a Cancel
// button as its default views, as the bytes of a 'WINT' resource written by the controls' own
// classes. The owner of each control class adds its control here: an id below and a few lines in
// the builder.
#pragma once

#include <cstdint>
#include <string>

namespace LayoutFixture {

// View ids of the controls, and the root's size.
enum ID : int32_t {
    kStaticText = 10,
    kPushButton = 11,
    kScroller = 12,
    kPictureBox = 13,
    kGroup = 14,
    kPageCheckBox = 15,
    kRadioSet = 16,
    kPopup = 17,
    kCheckBox = 18,
    kLinkedView = 19,
    kOK = 20,
    kCancel = 21,
    kListBox = 22,
    kOutlineView = 23,
};
constexpr int16_t kWidth = 320;
constexpr int16_t kHeight = 200;

// Where the controls lie (window-content coordinates), for clicks.
struct Places {
    static constexpr int16_t kButtonH = 40, kButtonV = 50;   // inside the push button
    static constexpr int16_t kScrollerH = 298, kScrollerV = 20; // on the scroller's thumb
    static constexpr int16_t kCheckBoxH = 15, kCheckBoxV = 98;  // on the check box linked to kLinkedView
    static constexpr int16_t kRadioH = 15, kRadioV = 128;       // on the radio set's second button
    static constexpr int16_t kPopupH = 230, kPopupV = 100;      // on the pop-up's box
    static constexpr int16_t kListBoxH = 60, kListBoxV = 175;   // inside the (empty) list box
    static constexpr int16_t kOKH = 260, kOKV = 170;
    static constexpr int16_t kCancelH = 170, kCancelV = 170;
};

// The layout's bytes (built once).
const std::string& Bytes();

} // namespace LayoutFixture
