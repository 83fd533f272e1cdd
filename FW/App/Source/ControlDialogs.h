// The controls' property dialogs, opened by each control's DoInterface from the layout editor.
// Each fills its own items from the control after the base has filled the rectangle and string
// ID, and on OK writes them back before the base writes the rectangle and string ID. Nothing
// changes in the control before OK, except a pop-up's items loaded from a text file.
#pragma once

#include "BaseDlg.h"

#include <array>
#include <cstdint>

class CheckBox;
class ColorButton;
class EditText;
class FWDocument;
class Group;
class PictureBox;
class Popup;
class PushButton;
class RadioButtonSet;
class StaticText;
class TabControl;
class ColorSlider;

class StaticTextDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 101;
    static constexpr int32_t kTextItem = 10, kStyleItem = 13;
    StaticTextDlg(FWDocument* document, StaticText* text);
    bool AcceptItems() override;
};

class GroupDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 102;
    static constexpr int32_t kLabelItem = 10, kLayersItem = 11, kActiveLayerItem = 12, kStyleItem = 17,
                             kLabelPositionItem = 18;
    // Layers are shown one at a time, picked at run time through a chooser; none offers more
    // than a pop-up's 75 items.
    static constexpr int32_t kMaxLayers = 75;
    GroupDlg(FWDocument* document, Group* group);
    bool AcceptItems() override;
};

class TabControlDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 103;
    static constexpr int32_t kSingleRowItem = 11, kCountItem = 12;
    static constexpr int32_t kMaxTabs = 10;
    // The label fields, in tab order.
    static constexpr std::array<int32_t, kMaxTabs> theItems{13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    TabControlDlg(FWDocument* document, TabControl* tabs);
    bool InterfaceTextEvent(EditText* edit) override;
    bool AcceptItems() override;
};

class OpenGLDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 104;
    OpenGLDlg(FWDocument* document, FWView* view);
};

class PushButtonDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 110;
    static constexpr int32_t kTextItem = 10, kIconItem = 11, kBoldItem = 12, kBehaviourItem = 19, kBorderItem = 20,
                             kIconPositionItem = 21, kPlacementItem = 22;
    PushButtonDlg(FWDocument* document, PushButton* button);
    bool AcceptItems() override;

private:
    // The icon id shown, so that an unchanged field keeps the button's image.
    int32_t mIconID;
};

class EditTextDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 111;
    static constexpr int32_t kTitleItem = 10, kValidateItem = 11, kExpressionsItem = 12, kAutoValueItem = 15,
                             kTypeItem = 20;
    EditTextDlg(FWDocument* document, EditText* edit);
    bool AcceptItems() override;
};

class CheckBoxDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 112;
    static constexpr int32_t kLabelItem = 10;
    CheckBoxDlg(FWDocument* document, CheckBox* check);
    bool AcceptItems() override;
};

class ScrollerDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 114;
    ScrollerDlg(FWDocument* document, FWView* view);
};

class DividerDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 115;
    DividerDlg(FWDocument* document, FWView* view);
};

class PictureBoxDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 116;
    static constexpr int32_t kPictureItem = 10;
    PictureBoxDlg(FWDocument* document, PictureBox* picture);
    bool AcceptItems() override;
};

class ColorButtonDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 117;
    static constexpr int32_t kTextItem = 10, kEditAlphaItem = 11, kPromptItem = 12;
    ColorButtonDlg(FWDocument* document, ColorButton* button);
    bool AcceptItems() override;
};

class RadioButtonDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 118;
    static constexpr int32_t kCountItem = 10;
    static constexpr int32_t kMaxButtons = 11;
    // Per button: the field of its label and the field of the id of the view it ghosts.
    static constexpr std::array<int32_t, kMaxButtons> theLabel{11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31};
    static constexpr std::array<int32_t, kMaxButtons> theGhost{12, 14, 16, 18, 20, 22, 24, 26, 32, 30, 28};
    RadioButtonDlg(FWDocument* document, RadioButtonSet* set);
    bool AcceptItems() override;
};

class ColorSliderDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 120;
    static constexpr int32_t kTypeItem = 13;
    ColorSliderDlg(FWDocument* document, ColorSlider* slider);
    bool AcceptItems() override;
};

class ListBoxDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 122;
    ListBoxDlg(FWDocument* document, FWView* view);
};

class PopupDlg : public BaseDlg {
public:
    static constexpr int32_t kLayoutID = 200;
    static constexpr CStandardID theStandardID{3, 4, 5, 6, 7, 8, 10};
    static constexpr int32_t kLabelItem = 9, kNotifyItem = 11, kCountItem = 12, kLoadButton = 91;
    static constexpr int32_t kMaxItems = 75;
    static constexpr int32_t kFirstItem = 13;
    PopupDlg(FWDocument* document, Popup* popup);
    bool InterfaceTextEvent(EditText* edit) override;
    bool InterfaceEvent(FWView* view) override;
    bool AcceptItems() override;

    // The item-name field of position p (0 .. kMaxItems - 1).
    static int32_t ItemField(int32_t p) { return kFirstItem + p; }

private:
    // Reads up to kMaxItems lines of a chosen text file into the pop-up and the fields.
    void loadTextFile();
};

// Built in code, without width and height fields.
class MaterialIconDlg : public FWModalDialog {
public:
    static constexpr int32_t kLeftItem = 4, kTopItem = 5, kRightItem = 6, kBottomItem = 7, kStringIDItem = 9;
    MaterialIconDlg(FWDocument* document, FWView* view);
    bool DialogAccepted(FWView* view) override;

private:
    FWView* mView;
};
