// The property dialogs' layouts. Every one starts with the view's rectangle (fields 3-8: left,
// top, right, bottom, width, height) and its string ID (9; 10 in the pop-up's, whose 9 is the
// label), then the control's own items, then Cancel and OK. Fields are made in the order the Tab
// key visits them; labels take ids from 901 on, which no dialog reads.
#include "PropertyLayouts.h"

#include "CheckBox.h"
#include "EditText.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWWindow.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "StaticText.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr int16_t kRowHeight = 18;
constexpr int16_t kRowStep = 24;
// Where a control's own items begin, below the shared fields.
constexpr int16_t kOwnTop = 88;

enum class Kind { kText, kSigned, kUnsigned };

template <class View>
View* add(FWView& root, View* view, int32_t id)
{
    view->SetID(id);
    view->SetVisibility(true);
    root.AppendChild(view);
    return view;
}

EditText* field(FWWindow& w, FWView& root, int32_t id, int16_t left, int16_t top, int16_t right, const char* title,
                Kind kind)
{
    auto* view = new EditText;
    FWStr<63> caption(title != nullptr ? title : "");
    view->Init(&w, FWRect(left, top, right, int16_t(top + kRowHeight)), title != nullptr ? &caption : nullptr);
    if (kind == Kind::kSigned)
        view->Set(true, FWString::kSignedInteger, false);
    else if (kind == Kind::kUnsigned)
        view->Set(true, FWString::kUnsignedInteger, false);
    return add(root, view, id);
}

void label(FWWindow& w, FWView& root, int32_t id, int16_t left, int16_t top, const char* text)
{
    auto* view = new StaticText;
    const FWStr<255> title(text);
    view->Init(&w, FWRect(left, top, int16_t(left + 150), int16_t(top + 13)), &title, StaticText::kSingleLine);
    add(root, view, id);
}

void check(FWWindow& w, FWView& root, int32_t id, int16_t left, int16_t top, const char* text)
{
    auto* view = new CheckBox;
    FWStr<255> title(text);
    view->Init(&w, FWPoint(left, top), &title);
    add(root, view, id);
}

// A radio set under a caption; the answer is the bottom of the set.
int16_t radios(FWWindow& w, FWView& root, int32_t id, int32_t captionID, int16_t left, int16_t top,
               const char* caption, std::initializer_list<const char*> names)
{
    label(w, root, captionID, left, top, caption);
    std::vector<FWStr<31>> labels;
    for (const char* name : names)
        labels.emplace_back(name);
    auto* view = new RadioButtonSet;
    view->Init(&w, FWPoint(left, int16_t(top + 16)), int32_t(labels.size()), labels.data());
    add(root, view, id);
    return int16_t(top + 16 + 14 * int32_t(labels.size()));
}

// The rectangle's fields and the string ID (or, for the pop-up, its label and then the ID).
void sharedFields(FWWindow& w, FWView& root, int16_t width, bool popup)
{
    field(w, root, 3, 10, 10, 120, "Left:", Kind::kSigned);
    field(w, root, 4, 130, 10, 240, "Top:", Kind::kSigned);
    field(w, root, 5, 10, 34, 120, "Right:", Kind::kSigned);
    field(w, root, 6, 130, 34, 240, "Bottom:", Kind::kSigned);
    field(w, root, 7, 250, 10, 350, "Width:", Kind::kSigned);
    field(w, root, 8, 250, 34, 350, "Height:", Kind::kSigned);
    if (popup) {
        field(w, root, 9, 10, 58, 240, "Label:", Kind::kText);
        field(w, root, 10, 250, 58, int16_t(width - 10), "String ID:", Kind::kText);
    } else {
        field(w, root, 9, 10, 58, int16_t(width - 10), "String ID:", Kind::kText);
    }
}

// Cancel and OK at the bottom right: the default cancel and accept views.
void okAndCancel(FWWindow& w, FWView& root, int16_t width, int16_t height)
{
    const int16_t top = int16_t(height - 34);
    auto* cancel = new CancelButton;
    const FWStr<31> cancelText("Cancel");
    cancel->Init(&w, FWRect(int16_t(width - 180), top, int16_t(width - 100), int16_t(top + 22)), &cancelText);
    add(root, cancel, 2)->MakeDefaultCancel();
    auto* ok = new OKButton;
    const FWStr<31> okText("OK");
    ok->Init(&w, FWRect(int16_t(width - 90), top, int16_t(width - 10), int16_t(top + 22)), &okText);
    add(root, ok, 1)->MakeDefaultAccept();
}

// A dialog of the shared fields and the control's own items.
PropertyLayout dialog(int16_t id, const char* name, int16_t width, int16_t height,
                      std::function<void(FWWindow&, FWView&)> own = nullptr, bool popup = false)
{
    return {id, name, width, height, [=](FWWindow& w, FWView& root) {
                sharedFields(w, root, width, popup);
                if (own)
                    own(w, root);
                okAndCancel(w, root, width, height);
            }};
}

const std::string kTabTitles[10] = {"Tab 1:", "Tab 2:", "Tab 3:", "Tab 4:", "Tab 5:",
                                    "Tab 6:", "Tab 7:", "Tab 8:", "Tab 9:", "Tab 10:"};

} // namespace

const std::vector<PropertyLayout>& PropertyLayouts()
{
    static const std::vector<PropertyLayout> layouts = {
        dialog(101, "Static Text", 360, 210,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 350, "Text:", Kind::kText);
                   radios(w, root, 13, 901, 10, 116, "Style:", {"Single line", "Bold, wrapped", "Plain, wrapped"});
               }),
        dialog(102, "Group", 360, 300,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 350, "Label:", Kind::kText);
                   field(w, root, 11, 10, kOwnTop + kRowStep, 170, "Layers:", Kind::kUnsigned);
                   field(w, root, 12, 180, kOwnTop + kRowStep, 350, "Active layer:", Kind::kUnsigned);
                   radios(w, root, 17, 901, 10, 142, "Style:",
                          {"Raised", "Sunken", "Engraved", "Embossed", "Framed, sunken", "Custom"});
                   radios(w, root, 18, 902, 180, 142, "Label position:",
                          {"Top left", "Top centre", "Top right", "Bottom left", "Bottom centre", "Bottom right"});
               }),
        dialog(103, "Tab Control", 360, 300,
               [](FWWindow& w, FWView& root) {
                   check(w, root, 11, 10, kOwnTop + 2, "Tabs in one row");
                   field(w, root, 12, 180, kOwnTop, 350, "Tabs:", Kind::kUnsigned);
                   for (int i = 0; i < 10; ++i) {
                       const int16_t left = i < 5 ? 10 : 180;
                       const int16_t top = int16_t(kOwnTop + kRowStep * (1 + i % 5));
                       field(w, root, 13 + i, left, top, int16_t(left + 160), kTabTitles[i].c_str(), Kind::kText);
                   }
               }),
        dialog(104, "OpenGL View", 360, 130),
        dialog(110, "Push Button", 360, 300,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 350, "Text:", Kind::kText);
                   field(w, root, 11, 10, kOwnTop + kRowStep, 170, "Icon ID:", Kind::kSigned);
                   check(w, root, 12, 180, kOwnTop + kRowStep + 2, "Bold text");
                   radios(w, root, 19, 901, 10, 142, "Behaviour:", {"Momentary", "Toggle"});
                   radios(w, root, 20, 902, 10, 192, "Border:", {"Bevel, cut corners", "Square bevel", "None"});
                   radios(w, root, 21, 903, 130, 142, "Icon:",
                          {"Not arranged", "Left of text", "Above text", "Right of text", "Below text"});
                   radios(w, root, 22, 904, 250, 142, "Placement:", {"Centred", "Left", "Top", "Right", "Bottom"});
               }),
        dialog(111, "Edit Text", 360, 270,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 350, "Title:", Kind::kText);
                   check(w, root, 11, 10, kOwnTop + kRowStep + 2, "Validate");
                   check(w, root, 12, 120, kOwnTop + kRowStep + 2, "Allow expressions");
                   field(w, root, 15, 10, kOwnTop + 2 * kRowStep, 350, "Auto-value name:", Kind::kText);
                   radios(w, root, 20, 901, 10, kOwnTop + 3 * kRowStep, "Value type:",
                          {"Unsigned integer", "Signed integer", "Unsigned real", "Signed real", "On/off",
                           "Expression list"});
               }),
        dialog(112, "Check Box", 360, 150,
               [](FWWindow& w, FWView& root) { field(w, root, 10, 10, kOwnTop, 350, "Label:", Kind::kText); }),
        dialog(114, "Scroller", 360, 130),
        dialog(115, "Divider", 360, 130),
        dialog(116, "Picture", 360, 150,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 200, "Picture ID:", Kind::kSigned);
               }),
        dialog(117, "Color Button", 360, 200,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 350, "Text:", Kind::kText);
                   check(w, root, 11, 10, kOwnTop + kRowStep + 2, "Edit alpha");
                   field(w, root, 12, 10, kOwnTop + 2 * kRowStep, 350, "Prompt:", Kind::kText);
               }),
        dialog(118, "Radio Buttons", 360, 440,
               [](FWWindow& w, FWView& root) {
                   field(w, root, 10, 10, kOwnTop, 170, "Buttons:", Kind::kUnsigned);
                   label(w, root, 901, 10, kOwnTop + kRowStep, "Label");
                   label(w, root, 902, 250, kOwnTop + kRowStep, "Ghosts view");
                   // Buttons 9, 10 and 11 ghost through fields 32, 30 and 28.
                   static const int32_t ghosts[11] = {12, 14, 16, 18, 20, 22, 24, 26, 32, 30, 28};
                   for (int i = 0; i < 11; ++i) {
                       const int16_t top = int16_t(kOwnTop + 40 + kRowStep * i);
                       const std::string title = std::to_string(i + 1) + ":";
                       field(w, root, 11 + 2 * i, 10, top, 240, title.c_str(), Kind::kText);
                       field(w, root, ghosts[i], 250, top, 350, nullptr, Kind::kUnsigned);
                   }
               }),
        dialog(120, "Color Slider", 360, 320,
               [](FWWindow& w, FWView& root) {
                   radios(w, root, 13, 901, 10, kOwnTop, "Colour:",
                          {"Grey", "Red", "Green", "Blue", "Hue", "Saturation", "Value", "Cyan", "Magenta", "Yellow",
                           "Black", "Whiteness", "Blackness"});
               }),
        dialog(122, "List Box", 360, 130),
        dialog(
            200, "Popup", 560, 540,
            [](FWWindow& w, FWView& root) {
                check(w, root, 11, 10, kOwnTop + 2, "Notify on every click");
                field(w, root, 12, 250, kOwnTop, 360, "Items:", Kind::kUnsigned);
                // The 75 names in five columns of fifteen, column by column.
                for (int i = 0; i < 75; ++i) {
                    const int16_t left = int16_t(10 + 110 * (i / 15));
                    const int16_t top = int16_t(kOwnTop + kRowStep + 22 * (i % 15));
                    field(w, root, 13 + i, left, top, int16_t(left + 100), nullptr, Kind::kText);
                }
                auto* load = new PushButton;
                const FWStr<255> text("Load from text file...");
                load->Init(&w, FWRect(10, 506, 170, 528), &text, 0);
                add(root, load, 91);
            },
            true),
    };
    return layouts;
}
