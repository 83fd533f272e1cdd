// One parameter of a shader interface (layout 21000): the kind of control it is bound to, its
// type code, its name, its flags and its default, minimum and maximum. A value type: copying
// copies every field. CDataPTKC keeps one per parameter control of an edit window.
#pragma once

#include "FWArgb32.h"
#include "FWStr.h"

#include <array>
#include <cstdint>

class FWView;

class CItemPTKC {
public:
    // Kinds of the bound control; kind 0 is no parameter.
    enum ViewKind : int32_t { kNone = 0, kEditText = 1, kCheckBox = 2, kPopup = 3, kColorButton = 4, kGroup = 5 };
    // Custom types of a group (the first of mLong of a 'CUST' item).
    enum CustomType : int32_t { kCustomNone = 0, kMemoryBlock = 1, kGraph = 2, kGradient = 3 };

    static constexpr uint32_t kREAL = 0x5245414C; // 'REAL'
    static constexpr uint32_t kUREL = 0x5552454C; // 'UREL'
    static constexpr uint32_t kSINT = 0x53494E54; // 'SINT'
    static constexpr uint32_t kUINT = 0x55494E54; // 'UINT'
    static constexpr uint32_t kBOOL = 0x424F4F4C; // 'BOOL'
    static constexpr uint32_t kPOPU = 0x504F5055; // 'POPU'
    static constexpr uint32_t kCRGB = 0x43524742; // 'CRGB'
    static constexpr uint32_t kARGB = 0x41524742; // 'ARGB'
    static constexpr uint32_t kCUST = 0x43555354; // 'CUST'

    // A new item of the kind: empty auto name, no flags, defaults {0, 0, 100}, opaque blue, and
    // the kind's own type ('REAL', 'BOOL', 'POPU', 'CRGB'; none for a group or kind 0).
    explicit CItemPTKC(int32_t kind = kNone);

    // The kind of a control: check box, edit text, pop-up, colour button or group; 0 for the
    // root, branch pages and every other view.
    static int32_t GetViewType(const FWView* view);
    // Whether the type code fits the kind.
    static bool ValidView2PTKC(int32_t kind, uint32_t type);
    // Whether the code is one of the nine stored type codes.
    static bool KnownType(uint32_t type);
    static bool IsFloatType(uint32_t type) { return type == kREAL || type == kUREL; }
    static bool IsLongType(uint32_t type) { return type == kSINT || type == kUINT || type == kBOOL || type == kPOPU; }
    static bool IsColorType(uint32_t type) { return type == kCRGB || type == kARGB; }
    // The name of a custom type ("Memory Block", "Graph", "Gradient"); empty for any other.
    static const char* CustomTypeName(int32_t custom);

    // Predicates
    bool CanBeCustom() const { return mViewKind == kGroup; }
    int32_t GetCustomType() const { return mViewKind == kGroup ? mLong[0] : 0; }
    bool IsCustomNone() const { return mViewKind == kGroup && mLong[0] == kCustomNone; }
    bool IsActiveCustom() const { return mType == kCUST && mLong[0] > 0; }
    // Check boxes, edit texts, pop-ups and colour buttons always; a group with a custom type.
    bool IsActive() const { return !IsCustomNone(); }
    bool CanBeAnimated() const { return mType != 0 && mType != kCUST; }
    bool Animated() const { return CanBeAnimated() && mAnimated; }
    bool CanHaveLimits() const { return mType == kSINT || mType == kREAL || mType == kUINT || mType == kUREL; }
    bool Limited() const { return CanHaveLimits() && mLimited; }

    // 'CUST' with that custom type (no type for 0); the second long is cleared.
    void SetCustomType(int32_t custom);
    // The name; an unconfirmed custom item without a name shows its custom type's name.
    const FWString& GetName() const;
    // The control's text without trailing blanks, colons, commas and periods; the view's display
    // name when nothing is left.
    void SetAutoName(const FWString& text, const FWView* view);

    // Between the control and the item; views of another class than the kind's are skipped.
    // UI2Type: the type from the edit text's value type or the colour button's alpha flag.
    void UI2Type(FWView* view);
    // Type2UI: the other way.
    void Type2UI(FWView* view) const;
    // The control's value becomes the default, and back. Default2UI notes what the control then
    // shows; while it still shows that, UI2Default keeps the default, which the control may not
    // show exactly (a real's digits, a pop-up item the control does not have).
    void UI2Default(FWView* view);
    void Default2UI(FWView* view);
    // The control's own text for an automatic name; empty for a group.
    static void ControlText(FWView* view, int32_t kind, FWStr<255>& text);

    FWStr<255> mName;
    bool mAutoName = true;
    int32_t mViewKind = kNone;
    uint32_t mType = 0;
    bool mAnimated = false;
    bool mLimited = false;
    float mFloat[3] = {0.0f, 0.0f, 100.0f};
    int32_t mLong[3] = {0, 0, 100};
    FWArgb32 mColor = FWArgb32::Blue;

    // The record as read from the file, when the item holds one: a save writes these bytes back
    // while the item writes the same as they read.
    bool mHasStored = false;
    std::array<uint8_t, 52> mStored{};

private:
    // The control's state as text: the edit text's text, the check box's state, the pop-up's item
    // or the colour.
    void controlState(FWView* view, FWStr<255>& state) const;

    // Default2UI put the default into the control, whose state was then mControlStateOfDefault.
    bool mDefaultInControl = false;
    FWStr<255> mControlStateOfDefault;
};
