// The controls' property dialogs: what each reads from its control and writes back on OK.
#include "ControlDialogs.h"

#include "CheckBox.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "EditText.h"
#include "FS_ResourceFileRA.h"
#include "FS_UtilPAC.h"
#include "FWControlFont.h"
#include "FWDocument.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWWindow.h"
#include "Group.h"
#include "PictureBox.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "StaticText.h"
#include "TabControl.h"

#include <algorithm>

namespace {

// Resource ids are 16-bit: any other id names no resource.
constexpr int32_t kLeastResourceID = INT16_MIN, kMostResourceID = INT16_MAX;

// Typing a name into a field at or past the count makes the count reach it.
void extendCount(FWWindow* window, EditText* edit, const int32_t* items, int32_t size, int32_t countItem)
{
    if (edit == nullptr || edit->GetTextLength() == 0)
        return;
    const int32_t* at = std::find(items, items + size, edit->ID());
    if (at == items + size)
        return;
    const int32_t position = int32_t(at - items);
    if (position < EditText::GGetLong(window, countItem))
        return;
    FWDrawContext context(window);
    EditText::GSetLong(window, countItem, position + 1, &context);
}

bool emptyField(FWWindow* window, int32_t item)
{
    FWStr<255> text;
    EditText::GGetString(window, item, &text);
    return text.GetCurrLength() == 0;
}

} // namespace

// --- Static text ---------------------------------------------------------------------------------

StaticTextDlg::StaticTextDlg(FWDocument* document, StaticText* text)
    : BaseDlg(document, kLayoutID, text, theStandardID)
{
    RadioButtonSet::GSetButton(this, kStyleItem, text->GetStyle(), nullptr);
    EditText::GSetString(this, kTextItem, &text->GetText(), nullptr);
}

bool StaticTextDlg::AcceptItems()
{
    auto* text = static_cast<StaticText*>(mView);
    FWDynamicString value;
    EditText::GGetString(this, kTextItem, &value);
    text->SetText(value);
    text->SetStyle(StaticText::Style(RadioButtonSet::GGetButton(this, kStyleItem)));
    return true;
}

// --- Group box -----------------------------------------------------------------------------------

GroupDlg::GroupDlg(FWDocument* document, Group* group) : BaseDlg(document, kLayoutID, group, theStandardID)
{
    RadioButtonSet::GSetButton(this, kStyleItem, group->GetStyle(), nullptr);
    RadioButtonSet::GSetButton(this, kLabelPositionItem, group->GetLabelPosition(), nullptr);
    EditText::GSetString(this, kLabelItem, &group->GetLabel().mText, nullptr);
    EditText::GSetLong(this, kLayersItem, group->GetBranchTotal(), nullptr);
    EditText::GSetLong(this, kActiveLayerItem, group->GetActiveBranchIndex() + 1, nullptr);
}

bool GroupDlg::AcceptItems()
{
    auto* group = static_cast<Group*>(mView);
    int32_t layers = 0, active = 0;
    if (!TypedNumber(this, kLayersItem, 0, kMaxLayers, "The number of layers", layers) ||
        !TypedNumber(this, kActiveLayerItem, 0, kMaxLayers, "The active layer", active))
        return false;
    if (layers != group->GetBranchTotal() && !MayDeletePlaced(*group, layers, "layers", "group"))
        return false;
    group->SetStyle(Group::Style(RadioButtonSet::GGetButton(this, kStyleItem)));
    group->SetLabelPosition(Group::LabelPosition(RadioButtonSet::GGetButton(this, kLabelPositionItem)));
    FWDynamicString label;
    EditText::GGetString(this, kLabelItem, &label);
    group->SetLabel(label);
    if (layers != group->GetBranchTotal())
        group->SetBranchTotal(layers);
    // Only a layer that exists becomes active.
    const int32_t index = active - 1;
    if (index != group->GetActiveBranchIndex() && index >= 0 && index < group->GetBranchTotal())
        group->SetActiveLayer(index);
    return true;
}

// --- Tab control ---------------------------------------------------------------------------------

TabControlDlg::TabControlDlg(FWDocument* document, TabControl* tabs)
    : BaseDlg(document, kLayoutID, tabs, theStandardID)
{
    CheckBox::GSetState(this, kSingleRowItem, tabs->IsSingleRow(), nullptr);
    EditText::GSetLong(this, kCountItem, tabs->GetTabCount(), nullptr);
    const int32_t shown = std::min(tabs->GetTabCount(), kMaxTabs);
    for (int32_t i = 0; i < shown; ++i)
        EditText::GSetString(this, theItems[size_t(i)], &tabs->GetLabel(i), nullptr);
}

bool TabControlDlg::InterfaceTextEvent(EditText* edit)
{
    extendCount(this, edit, theItems.data(), kMaxTabs, kCountItem);
    return BaseDlg::InterfaceTextEvent(edit);
}

bool TabControlDlg::AcceptItems()
{
    int32_t count = 0;
    if (!TypedNumber(this, kCountItem, 0, kMaxTabs, "The number of tabs", count))
        return false;
    auto* tabs = static_cast<TabControl*>(mView);
    if (count != tabs->GetBranchTotal() && !MayDeletePlaced(*tabs, count, "tabs", "tab control"))
        return false;
    tabs->ValidateBranches();
    if (count != tabs->GetBranchTotal()) {
        tabs->NewTabs(count);
        tabs->SetBranchTotal(count);
        if (count > 0)
            tabs->SetActiveTab(0);
    }
    tabs->SetSingleRow(CheckBox::GGetState(this, kSingleRowItem));
    for (int32_t i = 0; i < tabs->GetTabCount() && i < kMaxTabs; ++i) {
        FWDynamicString label;
        EditText::GGetString(this, theItems[size_t(i)], &label);
        tabs->SetLabel(i, label);
    }
    return true;
}

// --- Views with the shared fields only --------------------------------------------------------------

OpenGLDlg::OpenGLDlg(FWDocument* document, FWView* view) : BaseDlg(document, kLayoutID, view, theStandardID) {}

ScrollerDlg::ScrollerDlg(FWDocument* document, FWView* view) : BaseDlg(document, kLayoutID, view, theStandardID) {}

DividerDlg::DividerDlg(FWDocument* document, FWView* view) : BaseDlg(document, kLayoutID, view, theStandardID) {}

ListBoxDlg::ListBoxDlg(FWDocument* document, FWView* view) : BaseDlg(document, kLayoutID, view, theStandardID) {}

// --- Push button ---------------------------------------------------------------------------------

PushButtonDlg::PushButtonDlg(FWDocument* document, PushButton* button)
    : BaseDlg(document, kLayoutID, button, theStandardID), mIconID(button->GetIconID())
{
    RadioButtonSet::GSetButton(this, kBorderItem, button->GetBorder(), nullptr);
    RadioButtonSet::GSetButton(this, kBehaviourItem, button->GetBehaviour(), nullptr);
    RadioButtonSet::GSetButton(this, kPlacementItem, button->GetPlacement(), nullptr);
    RadioButtonSet::GSetButton(this, kIconPositionItem, button->GetIconPosition() + 1, nullptr);
    CheckBox::GSetState(this, kBoldItem, button->GetBoldText(), nullptr);
    EditText::GSetString(this, kTextItem, &button->GetText(), nullptr);
    EditText::GSetLong(this, kIconItem, mIconID, nullptr);
    Show();
}

bool PushButtonDlg::AcceptItems()
{
    int32_t icon = 0;
    if (!TypedNumber(this, kIconItem, kLeastResourceID, kMostResourceID, "The icon ID", icon))
        return false;
    auto* button = static_cast<PushButton*>(mView);
    button->SetBorder(RadioButtonSet::GGetButton(this, kBorderItem));
    button->SetBehaviour(RadioButtonSet::GGetButton(this, kBehaviourItem));
    button->SetPlacement(RadioButtonSet::GGetButton(this, kPlacementItem));
    button->SetIconPosition(RadioButtonSet::GGetButton(this, kIconPositionItem) - 1);
    button->SetBoldText(CheckBox::GGetState(this, kBoldItem));
    FWDynamicString text;
    EditText::GGetString(this, kTextItem, &text);
    button->SetText(text);
    // An unchanged id keeps the image the button has, even if its resource changed meanwhile.
    if (icon != mIconID)
        button->SetIcon(icon);
    return true;
}

// --- Edit text -----------------------------------------------------------------------------------

EditTextDlg::EditTextDlg(FWDocument* document, EditText* edit) : BaseDlg(document, kLayoutID, edit, theStandardID)
{
    EditText::GSetString(this, kAutoValueItem, &edit->AutoValueString(), nullptr);
    EditText::GSetString(this, kTitleItem, &edit->GetTitle(), nullptr);
    CheckBox::GSetState(this, kValidateItem, edit->Validates(), nullptr);
    CheckBox::GSetState(this, kExpressionsItem, edit->AllowsExpressions(), nullptr);
    RadioButtonSet::GSetButton(this, kTypeItem, edit->FilterType(), nullptr);
}

bool EditTextDlg::AcceptItems()
{
    auto* edit = static_cast<EditText*>(mView);
    FWDynamicString text;
    EditText::GGetString(this, kAutoValueItem, &text);
    edit->SetAutoValueString(text);
    EditText::GGetString(this, kTitleItem, &text);
    edit->SetTitle(text);
    const bool validate = CheckBox::GGetState(this, kValidateItem);
    const bool expressions = CheckBox::GGetState(this, kExpressionsItem);
    const auto type = FWString::Type(RadioButtonSet::GGetButton(this, kTypeItem));
    edit->Set(validate, type, expressions);
    edit->UseLexer(validate ? EditText::LexerForType(type, expressions) : nullptr, false);
    return true;
}

// --- Check box -----------------------------------------------------------------------------------

CheckBoxDlg::CheckBoxDlg(FWDocument* document, CheckBox* check) : BaseDlg(document, kLayoutID, check, theStandardID)
{
    EditText::GSetString(this, kLabelItem, &check->GetText(), nullptr);
}

bool CheckBoxDlg::AcceptItems()
{
    FWDynamicString label;
    EditText::GGetString(this, kLabelItem, &label);
    static_cast<CheckBox*>(mView)->SetText(label);
    return true;
}

// --- Picture box ---------------------------------------------------------------------------------

PictureBoxDlg::PictureBoxDlg(FWDocument* document, PictureBox* picture)
    : BaseDlg(document, kLayoutID, picture, theStandardID)
{
    EditText::GSetLong(this, kPictureItem, picture->GetPictureID(), nullptr);
}

bool PictureBoxDlg::AcceptItems()
{
    int32_t id = 0;
    if (!TypedNumber(this, kPictureItem, kLeastResourceID, kMostResourceID, "The picture ID", id))
        return false;
    auto* picture = static_cast<PictureBox*>(mView);
    // The picture comes from the file of the layout being edited, searched before the program's.
    FWWindow* window = picture->GetWindow();
    FWDocument* document = window != nullptr ? window->GetDocument() : nullptr;
    if (document != nullptr && document->HasAssociatedFile()) {
        Corvel::FS_Locator locator;
        Corvel::FS_UtilPAC::DotPathNameToLocator(document->AssociatedFile().PathName(), locator);
        Corvel::FS_ResourceFileRA file(locator, false);
        picture->SetPicture(id);
    } else {
        picture->SetPicture(id);
    }
    return true;
}

// --- Colour button ------------------------------------------------------------------------------

ColorButtonDlg::ColorButtonDlg(FWDocument* document, ColorButton* button)
    : BaseDlg(document, kLayoutID, button, theStandardID)
{
    EditText::GSetString(this, kTextItem, &button->GetText(), nullptr);
    CheckBox::GSetState(this, kEditAlphaItem, button->GetEditAlpha(), nullptr);
    EditText::GSetString(this, kPromptItem, &button->GetPromptString(), nullptr);
}

bool ColorButtonDlg::AcceptItems()
{
    auto* button = static_cast<ColorButton*>(mView);
    FWDynamicString text;
    EditText::GGetString(this, kTextItem, &text);
    button->SetText(text);
    button->SetEditAlpha(CheckBox::GGetState(this, kEditAlphaItem));
    EditText::GGetString(this, kPromptItem, &text);
    button->SetPromptString(text);
    return true;
}

// --- Radio-button set ----------------------------------------------------------------------------

RadioButtonDlg::RadioButtonDlg(FWDocument* document, RadioButtonSet* set)
    : BaseDlg(document, kLayoutID, set, theStandardID)
{
    EditText::GSetLong(this, kCountItem, set->GetCount(), nullptr);
    const int32_t shown = std::min(set->GetCount(), kMaxButtons);
    for (int32_t i = 0; i < shown; ++i) {
        if (set->HasLabels())
            EditText::GSetString(this, theLabel[size_t(i)], &set->GetLabel(i).mText, nullptr);
        EditText::GSetLong(this, theGhost[size_t(i)], set->GetButton(i).mLinkedID, nullptr);
    }
}

bool RadioButtonDlg::AcceptItems()
{
    auto* set = static_cast<RadioButtonSet*>(mView);
    // A set is as tall as its buttons: one of none could no longer be seen, clicked or selected.
    // The dialog has a label field for each of 11 buttons; more would be cut without a word.
    int32_t count = 0;
    if (!TypedNumber(this, kCountItem, 1, kMaxButtons, "The number of buttons", count))
        return false;
    // View ids are 32-bit and none is below 0; an empty field ghosts nothing.
    int32_t ghosts[kMaxButtons] = {};
    for (int32_t i = 0; i < count; ++i) {
        const int32_t item = theGhost[size_t(i)];
        if (!emptyField(this, item) &&
            !TypedNumber(this, item, 0, INT32_MAX, "The ID of the view a button ghosts (empty for none)", ghosts[i]))
            return false;
    }
    if (count != set->GetCount())
        set->NewButtons(count);
    // Measured in the set's own font, the one its labels are drawn in, rather than the dialog's:
    // a set in another font would otherwise get a width that cuts or pads its labels.
    const FWFont& font = FWControlFont(*set);
    int32_t widest = 0;
    for (int32_t i = 0; i < set->GetCount(); ++i) {
        FWDynamicString label;
        EditText::GGetString(this, theLabel[size_t(i)], &label);
        set->SetLabel(i, label);
        set->SetLinkedID(i, ghosts[i]);
        widest = std::max(widest, font.GetStringWidth(&label));
    }
    set->SetLabelWidth(widest);
    return true;
}

// --- Colour slider -------------------------------------------------------------------------------

ColorSliderDlg::ColorSliderDlg(FWDocument* document, ColorSlider* slider)
    : BaseDlg(document, kLayoutID, slider, theStandardID)
{
    RadioButtonSet::GSetButton(this, kTypeItem, slider->GetStyle(), nullptr);
}

bool ColorSliderDlg::AcceptItems()
{
    static_cast<ColorSlider*>(mView)->SetStyle(ColorSlider::Type(RadioButtonSet::GGetButton(this, kTypeItem)));
    return true;
}
