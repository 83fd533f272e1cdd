// The Shader dialog and the "Shader.. " command that runs it on the front layout 21000.
#include "ShaderDialog.h"

#include "BaseDlg.h"
#include "CDataPTKC.h"
#include "CItemPTKC.h"
#include "CheckBox.h"
#include "DiskImage.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWAppColor.h"
#include "FWClipboard.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWProgrammerMessage.h"
#include "ImageBuffer.h"
#include "ListBox.h"
#include "MakeFWItemGhosted.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

bool ShaderDialog::mShowAllControls = false;
bool ShaderDialog::notifyItalic = true;

namespace {

constexpr uint32_t kPICT = FOUR_CHAR_CODE("PICT");
constexpr uint32_t kPopupMenuFlags = 128;

const CPMenu thePopupEdit[] = {{CItemPTKC::kREAL, "Signed Float"},
                               {CItemPTKC::kUREL, "Unsigned Float"},
                               {CItemPTKC::kSINT, "Signed Integer"},
                               {CItemPTKC::kUINT, "Unsigned Integer"},
                               {0, nullptr}};
const CPMenu thePopupBool[] = {{CItemPTKC::kBOOL, "Boolean"}, {0, nullptr}};
const CPMenu thePopupPopup[] = {{CItemPTKC::kPOPU, "Popup"}, {0, nullptr}};
const CPMenu thePopupColor[] = {{CItemPTKC::kCRGB, "Color (RGB)"}, {CItemPTKC::kARGB, "Color (ARGB)"}, {0, nullptr}};
const CPMenu thePopupCustom[] = {{0, "None"}, {1, "Memory Block"}, {2, "Graph"}, {3, "Gradient"}, {0, nullptr}};
const CPMenu thePopupNone[] = {{0, "None"}, {0, nullptr}};
// The tables a parameter's type is searched in, in this order.
const CPMenu* const theMenuCP[] = {thePopupEdit, thePopupBool, thePopupPopup, thePopupColor, thePopupCustom};

int32_t rowCount(const CPMenu* table)
{
    int32_t count = 0;
    while (count < 100 && table[count].mLabel != nullptr)
        ++count;
    return count;
}

// The first table holding the type, or null.
const CPMenu* tableOf(int32_t type)
{
    for (const CPMenu* table : theMenuCP)
        if (CPMenu::Type2Index(table, type) >= 0)
            return table;
    return nullptr;
}

// An edit text's value type for a limited parameter's type.
FWString::Type valueTypeOf(uint32_t type)
{
    switch (type) {
    case CItemPTKC::kSINT:
        return FWString::kSignedInteger;
    case CItemPTKC::kUINT:
        return FWString::kUnsignedInteger;
    case CItemPTKC::kUREL:
        return FWString::kUnsignedReal;
    default:
        return FWString::kSignedReal;
    }
}

using NumberRange = BaseDlg::NumberRange;

constexpr double kLongLeast = -2147483648.0;
constexpr double kLongMost = 2147483647.0;
// Up to 2^24 a float holds every whole number, so the field shows again the number typed.
constexpr double kRealMost = 16777216.0;
// Whole numbers of 32 bits; those from 0 on.
constexpr NumberRange kLongRange = {false, kLongLeast, kLongMost};
constexpr NumberRange kNaturalRange = {false, 0, kLongMost};

// The range of a parameter's minimum and maximum, by its type: what its stored slot holds and the
// field shows back.
NumberRange limitRangeOf(uint32_t type)
{
    switch (type) {
    case CItemPTKC::kSINT:
        return kLongRange;
    case CItemPTKC::kUINT:
        return kNaturalRange;
    case CItemPTKC::kUREL:
        return {true, 0, kRealMost};
    default:
        return {true, -kRealMost, kRealMost};
    }
}

// The slots of a parameter's default (its value), minimum and maximum.
constexpr int kValueSlot = 0, kMinimumSlot = 1, kMaximumSlot = 2;

// The parameter's default, minimum and maximum as numbers, in the slots its type uses.
std::array<double, 3> valueAndLimits(const CItemPTKC& item)
{
    std::array<double, 3> slots{};
    for (int slot = 0; slot < 3; ++slot)
        slots[size_t(slot)] = CItemPTKC::IsFloatType(item.mType) ? double(item.mFloat[slot]) : double(item.mLong[slot]);
    return slots;
}

// A slot's number as the limit fields show it.
std::string shownNumber(const CItemPTKC& item, int slot)
{
    FWStr<63> text;
    if (CItemPTKC::IsFloatType(item.mType))
        text.Set(double(item.mFloat[slot]), 0, int16_t(FWString::GetFloatingPtPrecision()), false);
    else
        text.Set(item.mLong[slot]);
    return text.GetCString();
}

} // namespace

int32_t CPMenu::Type2Index(const CPMenu* table, int32_t type)
{
    for (int32_t i = 0; i < 100 && table[i].mLabel != nullptr; ++i)
        if (table[i].mType == type)
            return i;
    return -1;
}

// ---- Construction --------------------------------------------------------------------------

ShaderDialog::ShaderDialog(EditWindow* window, std::vector<RECOMPUTE_IDS::CItemInfo>& records)
    : mEditWindow(window), mData(window->GetShaderData()), mRecords(records)
{
    const FWStr<31> title("Shader");
    SetName(&title, false);
    Initialize(window->GetDocument(), kLayoutID);
    for (int i = 0; i < 7; ++i)
        mIcons[i] = DiskImage::Acquire(kIconIDs[i], kPICT);
    for (RECOMPUTE_IDS::CItemInfo& record : mRecords)
        record.mItem = mData->GetItem(record.mView);

    RadioButtonSet::GSetButton(this, kCountMode, mData->mAllParams ? 0 : 1, nullptr);
    InterfaceParamsCount();
    char tag[5] = {};
    std::copy(mData->mTag, mData->mTag + 4, tag);
    const FWStr<4> tagText(tag);
    EditText::GSetString(this, kTag, &tagText, nullptr);
    EditText::GSetLong(this, kHeader, mData->mHeaderValue, nullptr);
    noteShown(kTag);
    noteShown(kHeader);
    CheckBox::GSetState(this, kMultiThread, mData->mMultiThread, nullptr);
    Popup::GSetItemSelected(this, kListMode, mShowAllControls ? 1 : 0, nullptr);
    ghost(kRemoveImage, !mData->HasNewImage());

    mList = dynamic_cast<ListBox*>(ViewMngr().GetView(kList));
    if (mList != nullptr) {
        mList->SetFlag(ListBox::kFlat | ListBox::kNoActiveColumn | ListBox::kNoVisibilityColumn |
                       ListBox::kNoLockColumn | ListBox::kNoHScrollArea);
        mList->ClearFlag(ListBox::kNoRowNumbers);
        mList->SetFlag(ListBox::kNoRename);
        if (!mList->HasVScroller())
            mList->AddVScroller();
    }
    InterfaceFillList();
    InterfaceParameter();
    if (mList != nullptr && mList->First() != nullptr)
        mList->ScrollToNode(mList->First(), false);
}

ShaderDialog::~ShaderDialog()
{
    for (DiskImage*& icon : mIcons) {
        DiskImage::Release(icon);
        icon = nullptr;
    }
}

void ShaderDialog::ghost(int32_t id, bool ghost)
{
    MakeFWItemGhosted(this, id, ghost);
}

void ShaderDialog::noteShown(int32_t id)
{
    EditText::GGetString(this, id, &mShownTexts[id]);
}

bool ShaderDialog::edited(int32_t id)
{
    FWStr<255> text;
    EditText::GGetString(this, id, &text);
    return !(text == mShownTexts[id]);
}

// ---- The list ------------------------------------------------------------------------------

void ShaderDialog::InterfaceFillList()
{
    if (mList == nullptr)
        return;
    mList->KillAllItems();
    for (size_t position = mShowAllControls ? 0 : 3; position < mRecords.size(); ++position) {
        if (!mShowAllControls && !mRecords[position].ActivePTKC())
            continue;
        FWStr<255> name;
        const ImageBuffer* icon = nullptr;
        bool italic = false;
        GetItemTextIcon(long(position), name, icon, &italic);
        ListBoxItem* row = mList->AddLast(name, long(position), icon);
        if (italic)
            row->SetTextFlags(2);
    }
}

const ImageBuffer* ShaderDialog::iconOf(const CItemPTKC& item, bool& known) const
{
    known = true;
    int index = -1;
    if (CItemPTKC::IsFloatType(item.mType) || item.mType == CItemPTKC::kSINT || item.mType == CItemPTKC::kUINT)
        index = 0;
    else if (item.mType == CItemPTKC::kBOOL)
        index = 1;
    else if (item.mType == CItemPTKC::kPOPU)
        index = 2;
    else if (CItemPTKC::IsColorType(item.mType))
        index = 3;
    else if (item.mType == CItemPTKC::kCUST && item.mLong[0] >= 1 && item.mLong[0] <= 3)
        index = 3 + item.mLong[0];
    else if (item.mType == CItemPTKC::kCUST)
        known = false;
    return index >= 0 ? mIcons[index] : nullptr;
}

void ShaderDialog::GetItemTextIcon(long position, FWStr<255>& name, const ImageBuffer*& icon, bool* italic)
{
    icon = nullptr;
    if (italic != nullptr)
        *italic = false;
    if (position < 0 || size_t(position) >= mRecords.size())
        return;
    const RECOMPUTE_IDS::CItemInfo& record = mRecords[size_t(position)];
    name = record.GetName();
    const CItemPTKC* item = record.mItem;
    if (position < 3 || item == nullptr || !item->IsActive())
        return;
    bool known = true;
    icon = iconOf(*item, known);
    if (!known)
        return;
    name = item->GetName();
    if (italic != nullptr)
        *italic = item->mAutoName;
}

void ShaderDialog::RefreshSelectedItem()
{
    ListBoxItem* row = mList != nullptr ? mList->SingleSelectedItem() : nullptr;
    if (row == nullptr)
        return;
    FWStr<255> name;
    const ImageBuffer* icon = nullptr;
    bool italic = false;
    GetItemTextIcon(row->ID(), name, icon, &italic);
    row->Viewable_SetName(name);
    row->Viewable_SetIcon(icon);
    row->SetTextFlags(italic ? 2 : 0);
    mList->InvalNode(row);
}

CItemPTKC* ShaderDialog::GetSinglePTKC()
{
    ListBoxItem* row = mList != nullptr ? mList->SingleSelectedItem() : nullptr;
    if (row == nullptr || row->ID() < 0 || size_t(row->ID()) >= mRecords.size())
        return nullptr;
    const RECOMPUTE_IDS::CItemInfo& record = mRecords[size_t(row->ID())];
    if (record.mView->ID() == CDataPTKC::kPreviewID)
        return nullptr;
    return record.mItem;
}

void ShaderDialog::GetSelectedItems(std::vector<FWView*>& views)
{
    views.clear();
    if (mList == nullptr)
        return;
    for (ListBoxItem* row = mList->First(); row != nullptr; row = mList->Next())
        if (row->Viewable_NodeSelected() && row->ID() >= 0 && size_t(row->ID()) < mRecords.size())
            views.push_back(mRecords[size_t(row->ID())].mView);
}

void ShaderDialog::InterfaceReorder()
{
    if (!mShowAllControls || mList == nullptr)
        return;
    bool inPlace = true;
    for (long i = 0; i < 3; ++i) {
        ListBoxItem* row = mList->Item(i);
        inPlace = inPlace && row != nullptr && row->ID() == i;
    }
    if (inPlace)
        return;
    std::vector<long> fixed;
    for (long index = 0; index < mList->ListSize() && fixed.size() < 3;) {
        const long id = mList->Item(index)->ID();
        if (id >= 0 && id <= 2) {
            fixed.push_back(id);
            mList->RemoveItem(index);
        } else {
            ++index;
        }
    }
    std::sort(fixed.begin(), fixed.end());
    for (size_t i = 0; i < fixed.size(); ++i) {
        FWStr<255> name;
        const ImageBuffer* icon = nullptr;
        GetItemTextIcon(fixed[i], name, icon, nullptr);
        mList->InsertItem(long(i), fixed[i], name, icon);
    }
    mList->Inval();
}

void ShaderDialog::ReorderItems()
{
    if (mList == nullptr)
        return;
    // OK, Cancel and the preview first unless the list shows them, then the list's rows in their
    // order, then every record the list does not show, in its order: each record exactly once.
    std::vector<RECOMPUTE_IDS::CItemInfo> ordered;
    std::vector<bool> taken(mRecords.size(), false);
    const auto take = [&](size_t position) {
        if (position < mRecords.size() && !taken[position]) {
            taken[position] = true;
            ordered.push_back(mRecords[position]);
        }
    };
    if (!mShowAllControls)
        for (size_t position = 0; position < 3; ++position)
            take(position);
    for (ListBoxItem* row = mList->First(); row != nullptr; row = mList->Next())
        if (row->ID() >= 0)
            take(size_t(row->ID()));
    for (size_t position = 0; position < mRecords.size(); ++position)
        take(position);
    mRecords = ordered;
}

// ---- The parameter's fields ------------------------------------------------------------------

void ShaderDialog::InterfaceParameter()
{
    CItemPTKC* item = GetSinglePTKC();
    ghost(kType, item == nullptr);
    SetParamPopup(item);
    InterfaceParamType(item);
}

void ShaderDialog::SetParamPopup(CItemPTKC* item)
{
    if (item == nullptr) {
        FillParamPopup(thePopupNone, 0);
        return;
    }
    if (item->CanBeCustom()) {
        FillParamPopup(thePopupCustom, std::max(CPMenu::Type2Index(thePopupCustom, item->GetCustomType()), 0));
        return;
    }
    if (const CPMenu* table = tableOf(int32_t(item->mType))) {
        FillParamPopup(table, CPMenu::Type2Index(table, int32_t(item->mType)));
        return;
    }
    FillParamPopup(thePopupNone, 0);
}

void ShaderDialog::FillParamPopup(const CPMenu* table, long row)
{
    auto* popup = dynamic_cast<Popup*>(ViewMngr().GetView(kType));
    if (popup == nullptr)
        return;
    auto* menu = new FWOpMenu("", 0, kPopupMenuFlags, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    const int32_t count = rowCount(table);
    for (int32_t i = 0; i < count; ++i)
        menu->AppendChild(new FWOpItem(table[i].mLabel, i, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    popup->SetPopupMenu(menu, true);
    popup->SetItemSelected(int(row));
    popup->Inval();
}

bool ShaderDialog::GetParamType(CItemPTKC* item, long row)
{
    if (item == nullptr || row < 0)
        return false;
    if (item->CanBeCustom()) {
        if (row >= rowCount(thePopupCustom) || (row == item->GetCustomType() && (row == 0) == (item->mType == 0)))
            return false;
        item->SetCustomType(int32_t(row));
        return true;
    }
    const CPMenu* table = tableOf(int32_t(item->mType));
    if (table == nullptr || row >= rowCount(table) || uint32_t(table[row].mType) == item->mType)
        return false;
    item->mType = uint32_t(table[row].mType);
    return true;
}

void ShaderDialog::InterfaceParamType(const CItemPTKC* item)
{
    const bool none = item == nullptr || item->IsCustomNone();
    ghost(kName, none);
    ghost(kAnimated, none || !item->CanBeAnimated());
    ghost(kLimits, none || !item->CanHaveLimits());
    ghost(kMinimum, none || !item->Limited());
    ghost(kMaximum, none || !item->Limited());

    const FWStr<255> name(none ? FWStr<255>() : FWStr<255>(item->GetName()));
    EditText::GSetString(this, kName, &name, nullptr);
    CheckBox::GSetState(this, kAnimated, item != nullptr && item->Animated(), nullptr);
    CheckBox::GSetState(this, kLimits, item != nullptr && item->Limited(), nullptr);

    for (int32_t id : {int32_t(kMinimum), int32_t(kMaximum)}) {
        auto* field = dynamic_cast<EditText*>(ViewMngr().GetView(id));
        if (field == nullptr)
            continue;
        const int slot = id == kMinimum ? kMinimumSlot : kMaximumSlot;
        if (item == nullptr || !item->CanHaveLimits()) {
            field->SetText("");
        } else {
            field->Set(true, valueTypeOf(item->mType), false);
            if (CItemPTKC::IsFloatType(item->mType))
                field->SetFloat(item->mFloat[slot]);
            else
                field->SetLong(item->mLong[slot]);
            mShownLimits[slot - kMinimumSlot] = {item->mFloat[slot], item->mLong[slot]};
        }
        noteShown(id);
        field->Inval();
    }
}

void ShaderDialog::InterfaceParamsCount()
{
    const bool counted = RadioButtonSet::GGetButton(this, kCountMode) == 1;
    EditText::GSetLong(this, kCount, counted ? mData->mParamLimit : mData->NumActivePTKC(), nullptr);
    noteShown(kCount);
    ghost(kCount, !counted);
}

void ShaderDialog::InterfaceNewImage()
{
    FWClipboard* clipboard = FWClipboard::Instance();
    clipboard->ImportPlatformClipboard();
    // A cancelled wait leaves the preview as it was.
    if (!clipboard->WaitForPlatformImage())
        return;
    auto* clip = dynamic_cast<FWClipboardImage*>(clipboard->GetClipData(&typeid(FWClipboardImage)));
    const ImageBuffer* image = clip != nullptr ? clip->Decode() : nullptr;
    if (image == nullptr && clipboard->ImageTooLarge()) {
        QuillformApp::WarningMessage(
            "The image needs a width (right - left) from 1 to 32767 and a height (bottom - top) from 1 to 32767.");
        return;
    }
    if (image == nullptr || !image->Valid()) {
        QuillformApp::WarningMessage("Please place image to clipboard.\rThe recommended size is 127 x 127");
        return;
    }
    mData->SetNewImage(image);
    if (FWView* preview = ViewMngr().GetView(kPreview))
        preview->Inval();
    ghost(kRemoveImage, false);
}

// ---- Events --------------------------------------------------------------------------------

bool ShaderDialog::InterfaceEvent(FWView* view)
{
    switch (view != nullptr ? view->ID() : -1) {
    case kType:
        if (CItemPTKC* item = GetSinglePTKC()) {
            if (GetParamType(item, Popup::GItemSelected(this, kType))) {
                InterfaceParamType(item);
                if (item->CanBeCustom()) {
                    RefreshSelectedItem();
                    if (RadioButtonSet::GGetButton(this, kCountMode) == 0) {
                        EditText::GSetLong(this, kCount, mData->NumActivePTKC(), nullptr);
                        noteShown(kCount);
                    }
                }
            }
        }
        break;
    case kLimits:
        if (CItemPTKC* item = GetSinglePTKC()) {
            item->mLimited = CheckBox::GGetState(this, kLimits);
            ghost(kMinimum, !item->mLimited);
            ghost(kMaximum, !item->mLimited);
        }
        break;
    case kAnimated:
        if (CItemPTKC* item = GetSinglePTKC())
            item->mAnimated = CheckBox::GGetState(this, kAnimated);
        break;
    case kListMode: {
        const bool all = Popup::GItemSelected(this, kListMode) == 1;
        if (all != mShowAllControls) {
            ReorderItems();
            mShowAllControls = all;
            InterfaceFillList();
            InterfaceParameter();
            if (mList != nullptr && mList->First() != nullptr)
                mList->ScrollToNode(mList->First(), false);
        }
        break;
    }
    case kList:
        if (mList != nullptr && mList->Event() == ListBox::kEventSelectionChanged) {
            std::vector<FWView*> views;
            GetSelectedItems(views);
            mEditWindow->SelectViews(views);
            InterfaceParameter();
        } else if (mList != nullptr && mList->Event() == ListBox::kEventMoved) {
            InterfaceReorder();
            InterfaceParameter();
        }
        break;
    case kCountMode:
        InterfaceParamsCount();
        break;
    case kNewImage:
        InterfaceNewImage();
        break;
    case kRemoveImage:
        mData->DeleteNewImage();
        if (FWView* preview = ViewMngr().GetView(kPreview))
            preview->Inval();
        ghost(kRemoveImage, true);
        break;
    default:
        break;
    }
    return FWModalDialog::InterfaceEvent(view);
}

bool ShaderDialog::InterfaceTextEvent(EditText* edit)
{
    const int32_t id = edit != nullptr ? static_cast<FWView*>(edit)->ID() : -1;
    CItemPTKC* item = (id == kName || id == kMinimum || id == kMaximum) ? GetSinglePTKC() : nullptr;
    if (id == kName && item != nullptr) {
        edit->GetText(&item->mName);
        RefreshSelectedItem();
    } else if ((id == kMinimum || id == kMaximum) && item != nullptr && item->CanHaveLimits()) {
        // Only a number the field takes reaches the item; OK names what is wrong with the rest.
        // The text shown again stands for the stored value, which it may not show exactly.
        const int slot = id == kMinimum ? kMinimumSlot : kMaximumSlot;
        // OK checks the limits typed against each other and the default.
        if (edited(kMinimum) || edited(kMaximum))
            mLimitsTyped.insert(item);
        else
            mLimitsTyped.erase(item);
        if (!edited(id)) {
            item->mFloat[slot] = mShownLimits[slot - kMinimumSlot].real;
            item->mLong[slot] = mShownLimits[slot - kMinimumSlot].whole;
            return true;
        }
        FWStr<255> text;
        edit->GetText(&text);
        double value = 0;
        if (!BaseDlg::ReadNumber(text, limitRangeOf(item->mType), value))
            return true;
        if (CItemPTKC::IsFloatType(item->mType))
            item->mFloat[slot] = float(value);
        else
            item->mLong[slot] = int32_t(value);
    } else if (id == kTag && edit->GetTextLength() > 4) {
        FWStr<255> text;
        edit->GetText(&text);
        const FWStr<4> cut(text);
        EditText::GSetString(this, kTag, &cut, nullptr);
        edit->Inval();
    }
    return true;
}

bool ShaderDialog::typedNumbersFit()
{
    struct Field {
        int32_t id;
        const char* what;
        NumberRange range;
    };
    std::vector<Field> fields;
    if (const CItemPTKC* item = GetSinglePTKC(); item != nullptr && item->Limited()) {
        fields.push_back({kMinimum, "The minimum", limitRangeOf(item->mType)});
        fields.push_back({kMaximum, "The maximum", limitRangeOf(item->mType)});
    }
    fields.push_back({kHeader, "The header value", kLongRange});
    if (RadioButtonSet::GGetButton(this, kCountMode) == 1)
        fields.push_back({kCount, "The parameter count", kNaturalRange});
    double value = 0;
    for (const Field& field : fields)
        // What the dialog showed stands for a stored value: only what the user typed is refused.
        if (edited(field.id) && !BaseDlg::TypedNumber(this, field.id, field.range, field.what, value))
            return false;
    return true;
}

bool ShaderDialog::typedLimitsFit()
{
    // In the layout's order, so that the first parameter at fault is the one named.
    for (const RECOMPUTE_IDS::CItemInfo& record : mRecords) {
        const CItemPTKC* item = record.mItem;
        if (item == nullptr || mLimitsTyped.count(item) == 0 || !item->Limited())
            continue;
        const std::array<double, 3> slots = valueAndLimits(*item);
        const double low = slots[kMinimumSlot], high = slots[kMaximumSlot], value = slots[kValueSlot];
        if (low <= high && value >= low && value <= high)
            continue;
        const std::string shown[3] = {shownNumber(*item, kValueSlot), shownNumber(*item, kMinimumSlot),
                                      shownNumber(*item, kMaximumSlot)};
        char text[500];
        if (low > high)
            std::snprintf(text, sizeof text, "The minimum of %s (%s) must not exceed its maximum (%s).",
                          item->GetName().GetCString(), shown[kMinimumSlot].c_str(), shown[kMaximumSlot].c_str());
        else
            std::snprintf(text, sizeof text, "The value of %s (%s) must lie between its minimum (%s) and maximum (%s).",
                          item->GetName().GetCString(), shown[kValueSlot].c_str(), shown[kMinimumSlot].c_str(),
                          shown[kMaximumSlot].c_str());
        QuillformApp::WarningMessage(text);
        return false;
    }
    return true;
}

bool ShaderDialog::DialogAccepted(FWView*)
{
    if (!typedNumbersFit() || !typedLimitsFit())
        return false;
    ReorderItems();
    // Fields left as shown keep what they stand for; the numbers were checked above, or are the
    // whole numbers the dialog showed.
    FWStr<255> text;
    EditText::GGetString(this, kTag, &text);
    if (edited(kTag))
        for (uint32_t i = 0; i < 4; ++i)
            mData->mTag[i] = i < text.GetCurrLength() ? text[i] : 0;
    double value = 0;
    EditText::GGetString(this, kHeader, &text);
    if (edited(kHeader) && BaseDlg::ReadNumber(text, kLongRange, value))
        mData->mHeaderValue = int32_t(value);
    EditText::GGetString(this, kCount, &text);
    if (BaseDlg::ReadNumber(text, kNaturalRange, value))
        mData->mParamLimit = int32_t(value);
    mData->mAllParams = RadioButtonSet::GGetButton(this, kCountMode) == 0;
    mData->mMultiThread = CheckBox::GGetState(this, kMultiThread);
    return true;
}

void ShaderDialog::DrawCustomView(FWDrawContext& context, const FWView* view)
{
    if (view == nullptr || view->ID() != kPreview)
        return;
    FWColorSaver colors(context);
    FWRect r = view->GetRect();
    for (const FWArgb32& color : {FWArgb32::Black, FWArgb32::White, FWArgb32::Black}) {
        context.SetForeColor(color);
        context.FrameRect(&r);
        r.Inset(1, 1);
    }
    if (const ImageBuffer* image = mData->GetImage()) {
        context.DrawImage(image, &r, false);
        return;
    }
    context.EraseRect(&r, FWGetAppColor(0));
    const FWStr<31> text("No Image");
    const FWFont font = context.GetFont();
    const int32_t width = font.GetStringWidth(&text);
    context.SetForeColor(FWArgb32::Black);
    context.DrawString((r.left + r.right - width) / 2, (r.top + r.bottom) / 2 + 4, &text);
}

// ---- The command ---------------------------------------------------------------------------

void ShaderDialog::ApplyOrder(EditWindow& window, std::vector<RECOMPUTE_IDS::CItemInfo>& records)
{
    std::vector<RECOMPUTE_IDS::CItemInfo> ordered(records.begin(), records.begin() + std::min<size_t>(3, records.size()));
    for (int pass = 0; pass < 2; ++pass)
        for (size_t position = 3; position < records.size(); ++position)
            if (records[position].ActivePTKC() == (pass == 0))
                ordered.push_back(records[position]);
    records = ordered;

    std::set<FWView*> listed;
    std::set<int32_t> used;
    int32_t top = 0;
    for (size_t position = 0; position < records.size(); ++position) {
        FWView* view = records[position].mView;
        if (position >= 3)
            view->SetID(int32_t(position + 1));
        listed.insert(view);
        used.insert(view->ID());
        top = std::max(top, view->ID());
    }
    FWView* root = window.ViewMngr().GetViewTree();
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (listed.count(view) != 0)
            continue;
        if (used.count(view->ID()) != 0)
            view->SetID(++top);
        used.insert(view->ID());
        if (view != root)
            top = std::max(top, view->ID());
    }
    window.ViewMngr().SetCounterID(top);
}

void QuillformApp::InterfaceShader()
{
    EditWindow* window = GetFrontEditWindow();
    if (window == nullptr)
        return;
    if (window->ViewMngr().GetResID() != ShaderDialog::kLayoutID) {
        ErrorMessage("Shader options can be edited only for WINT 21000");
        return;
    }
    // Every window of layout 21000 has its shader data, however it came to that id.
    CDataPTKC* data = window->GetShaderData();
    if (data == nullptr) {
        fw_programmer_message("The window of WINT 21000 has no shader data", "editor/ShaderDialog", __LINE__);
        return;
    }
    std::vector<RECOMPUTE_IDS::CItemInfo> records;
    // The first OK button, Cancel button and preview group.
    enum SpecialView { kOKView, kCancelView, kPreviewView, kSpecialViews };
    const FWView* special[kSpecialViews] = {};
    const bool unordered = RECOMPUTE_IDS::NeedRecomputeIDs(window, records, special);
    if (special[kOKView] == nullptr) {
        ErrorMessage("Shader interface requires Ok button. Please create it");
        return;
    }
    if (special[kCancelView] == nullptr) {
        ErrorMessage("Shader interface requires Cancel button. Please create it");
        return;
    }
    if (special[kPreviewView] == nullptr) {
        ErrorMessage("Shader interface requires Preview control that should be invisible group. Please create it");
        return;
    }
    if (unordered) {
        ErrorMessage("Items are not ordered. Use 'Recompute IDs' first");
        return;
    }
    const int32_t named = data->SetAutoNames();
    if (named > 0 && ShaderDialog::notifyItalic) {
        ShaderDialog::notifyItalic = false;
        char text[120];
        std::snprintf(text, sizeof text, "You've %d newly added controls that will be drawn with italic font", int(named));
        WarningMessage(text);
    }
    std::vector<CItemPTKC> saved;
    data->SaveMap(saved);
    // A preview pasted earlier and not saved yet survives a cancelled dialog.
    std::unique_ptr<ImageBuffer> pending = data->CopyNewImage();
    bool accepted = false;
    {
        ShaderDialog dialog(window, records);
        accepted = dialog.Execute();
        dialog.SendMessage(Dependable::IsBeingDeleted);
    }
    if (!accepted) {
        data->DeleteNewImage();
        data->RestoreNewImage(std::move(pending));
        data->RestoreMap(saved);
        return;
    }
    window->SetDirty(true);
    data->ClrAutoNames();
    {
        FWDrawContext context(window);
        window->ClearAllSelection(context);
    }
    ShaderDialog::ApplyOrder(*window, records);
    window->Inval(nullptr);
}
