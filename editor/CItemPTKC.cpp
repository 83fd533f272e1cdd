// A shader parameter: its kind and type rules, and the exchange of its type and default with the
// control it is bound to.
#include "CItemPTKC.h"

#include "BranchItem.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "EditText.h"
#include "Group.h"
#include "ParentWindow.h"
#include "Popup.h"

#include <cstdio>
#include <cstring>

namespace {

// The edit text's value types and the type codes they stand for.
struct ValueTypeCode {
    FWString::Type valueType;
    uint32_t code;
};
constexpr ValueTypeCode kValueTypes[] = {
    {FWString::kUnsignedInteger, CItemPTKC::kUINT},
    {FWString::kSignedInteger, CItemPTKC::kSINT},
    {FWString::kUnsignedReal, CItemPTKC::kUREL},
    {FWString::kSignedReal, CItemPTKC::kREAL},
};

bool valueTypeOf(uint32_t code, FWString::Type& type)
{
    for (const ValueTypeCode& entry : kValueTypes) {
        if (entry.code == code) {
            type = entry.valueType;
            return true;
        }
    }
    return false;
}

} // namespace

CItemPTKC::CItemPTKC(int32_t kind) : mViewKind(kind)
{
    switch (kind) {
    case kEditText:
        mType = kREAL;
        break;
    case kCheckBox:
        mType = kBOOL;
        break;
    case kPopup:
        mType = kPOPU;
        break;
    case kColorButton:
        mType = kCRGB;
        break;
    default:
        mType = 0;
        break;
    }
}

int32_t CItemPTKC::GetViewType(const FWView* view)
{
    if (dynamic_cast<const CheckBox*>(view) != nullptr)
        return kCheckBox;
    if (dynamic_cast<const EditText*>(view) != nullptr)
        return kEditText;
    if (dynamic_cast<const Popup*>(view) != nullptr)
        return kPopup;
    if (dynamic_cast<const ColorButton*>(view) != nullptr)
        return kColorButton;
    if (dynamic_cast<const ParentWindow*>(view) != nullptr || dynamic_cast<const BranchItem*>(view) != nullptr)
        return kNone;
    if (dynamic_cast<const Group*>(view) != nullptr)
        return kGroup;
    return kNone;
}

bool CItemPTKC::ValidView2PTKC(int32_t kind, uint32_t type)
{
    switch (kind) {
    case kEditText:
        return type == kREAL || type == kUREL || type == kSINT || type == kUINT;
    case kCheckBox:
        return type == kBOOL;
    case kPopup:
        return type == kPOPU;
    case kColorButton:
        return type == kCRGB || type == kARGB;
    case kGroup:
        return type == kCUST;
    default:
        return false;
    }
}

bool CItemPTKC::KnownType(uint32_t type)
{
    return IsFloatType(type) || IsLongType(type) || IsColorType(type) || type == kCUST;
}

const char* CItemPTKC::CustomTypeName(int32_t custom)
{
    switch (custom) {
    case kMemoryBlock:
        return "Memory Block";
    case kGraph:
        return "Graph";
    case kGradient:
        return "Gradient";
    default:
        return "";
    }
}

void CItemPTKC::SetCustomType(int32_t custom)
{
    mType = custom == kCustomNone ? 0 : kCUST;
    mLong[0] = custom;
    mLong[1] = 0;
}

const FWString& CItemPTKC::GetName() const
{
    static const FWStr<31> sCustomNames[] = {FWStr<31>(""), FWStr<31>("Memory Block"), FWStr<31>("Graph"),
                                             FWStr<31>("Gradient")};
    if (mAutoName && mName.GetCurrLength() == 0 && mType == kCUST && mLong[0] >= kMemoryBlock &&
        mLong[0] <= kGradient)
        return sCustomNames[mLong[0]];
    return mName;
}

void CItemPTKC::SetAutoName(const FWString& text, const FWView* view)
{
    uint32_t length = text.GetCurrLength();
    while (length > 0 && text[length - 1] != 0 && std::strchr(" :,.", text[length - 1]) != nullptr)
        --length;
    if (length > 0 || view == nullptr)
        mName.Set(length, text.GetCString());
    else
        mName = view->Viewable_Name();
}

void CItemPTKC::UI2Type(FWView* view)
{
    if (mViewKind == kEditText) {
        if (auto* edit = dynamic_cast<EditText*>(view)) {
            for (const ValueTypeCode& entry : kValueTypes)
                if (entry.valueType == edit->FilterType())
                    mType = entry.code;
        }
    } else if (mViewKind == kColorButton) {
        if (auto* button = dynamic_cast<ColorButton*>(view))
            mType = button->GetEditAlpha() ? kARGB : kCRGB;
    }
}

void CItemPTKC::Type2UI(FWView* view) const
{
    FWString::Type valueType;
    if (IsColorType(mType)) {
        if (auto* button = dynamic_cast<ColorButton*>(view))
            button->SetEditAlpha(mType == kARGB);
    } else if (valueTypeOf(mType, valueType)) {
        if (auto* edit = dynamic_cast<EditText*>(view))
            edit->Set(true, valueType, false);
    }
}

void CItemPTKC::controlState(FWView* view, FWStr<255>& state) const
{
    char text[16] = "";
    if (auto* edit = dynamic_cast<EditText*>(view); edit != nullptr && mViewKind == kEditText) {
        edit->GetText(&state);
        return;
    }
    if (auto* box = dynamic_cast<CheckBox*>(view); box != nullptr && mViewKind == kCheckBox)
        std::snprintf(text, sizeof text, "%d", box->GetState() ? 1 : 0);
    else if (auto* popup = dynamic_cast<Popup*>(view); popup != nullptr && mViewKind == kPopup)
        std::snprintf(text, sizeof text, "%d", int(popup->ItemSelected()));
    else if (auto* button = dynamic_cast<ColorButton*>(view); button != nullptr && mViewKind == kColorButton) {
        const FWArgb32 c = button->GetColor();
        std::snprintf(text, sizeof text, "%02x%02x%02x%02x", c.a, c.r, c.g, c.b);
    }
    state = text;
}

void CItemPTKC::UI2Default(FWView* view)
{
    if (mDefaultInControl) {
        FWStr<255> state;
        controlState(view, state);
        if (state == mControlStateOfDefault)
            return;
    }
    switch (mViewKind) {
    case kCheckBox:
        if (auto* box = dynamic_cast<CheckBox*>(view))
            mLong[0] = box->GetState() ? 1 : 0;
        break;
    case kPopup:
        if (auto* popup = dynamic_cast<Popup*>(view))
            mLong[0] = popup->ItemSelected();
        break;
    case kColorButton:
        if (auto* button = dynamic_cast<ColorButton*>(view))
            mColor = button->GetColor();
        break;
    case kEditText:
        if (auto* edit = dynamic_cast<EditText*>(view)) {
            if (mType == kSINT || mType == kUINT)
                mLong[0] = edit->GetLong();
            else if (IsFloatType(mType))
                mFloat[0] = edit->GetFloat();
        }
        break;
    default:
        break;
    }
}

void CItemPTKC::Default2UI(FWView* view)
{
    Type2UI(view);
    switch (mViewKind) {
    case kCheckBox:
        if (auto* box = dynamic_cast<CheckBox*>(view))
            box->SetState(mLong[0] != 0);
        break;
    case kPopup:
        // A pop-up without items (they are made where the interface is used) keeps its stored
        // value: it has no item to select.
        if (auto* popup = dynamic_cast<Popup*>(view); popup != nullptr && popup->CountItems() > 0)
            popup->SetItemSelected(mLong[0]);
        break;
    case kColorButton:
        if (auto* button = dynamic_cast<ColorButton*>(view)) {
            button->SetColor(mColor);
            button->SetEditAlpha(mType == kARGB);
        }
        break;
    case kEditText:
        if (auto* edit = dynamic_cast<EditText*>(view)) {
            if (mType == kSINT || mType == kUINT)
                edit->SetLong(mLong[0]);
            else if (IsFloatType(mType))
                edit->SetFloat(mFloat[0]);
        }
        break;
    default:
        break;
    }
    mDefaultInControl = true;
    controlState(view, mControlStateOfDefault);
}

void CItemPTKC::ControlText(FWView* view, int32_t kind, FWStr<255>& text)
{
    text = "";
    switch (kind) {
    case kCheckBox:
        if (auto* box = dynamic_cast<CheckBox*>(view))
            text = box->GetText();
        break;
    case kEditText:
        if (auto* edit = dynamic_cast<EditText*>(view))
            text = edit->GetTitle();
        break;
    case kPopup:
        if (auto* popup = dynamic_cast<Popup*>(view))
            text = popup->GetLabel();
        break;
    case kColorButton:
        if (auto* button = dynamic_cast<ColorButton*>(view))
            text = button->GetText();
        break;
    default:
        break;
    }
}
