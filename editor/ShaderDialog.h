// The Shader dialog: edits the parameter interface of layout 21000 (the front edit window's
// CDataPTKC). It lists the layout's controls, edits each parameter's name, type, limits and
// animation flag and the interface's tag, header value, parameter count and multi-thread flag,
// and takes a preview image from the clipboard. Edits go straight into the items; the caller
// restores them on Cancel and renumbers the views on OK.
#pragma once

#include "FWDialog.h"
#include "FWStr.h"
#include "RecomputeIDs.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

class CDataPTKC;
class CItemPTKC;
class DiskImage;
class EditWindow;
class ImageBuffer;
class ListBox;

// One row of a parameter-type menu; a table ends at the first row without a label.
struct CPMenu {
    int32_t mType;
    const char* mLabel;
    // The row holding the type, or -1 (at most 100 rows are looked at).
    static int32_t Type2Index(const CPMenu* table, int32_t type);
};

class ShaderDialog : public FWModalDialog {
public:
    static constexpr int32_t kLayoutID = 21000;
    enum Item : int32_t {
        kPreview = 3,
        kName = 4,
        kType = 5,
        kLimits = 6,
        kAnimated = 7,
        kMinimum = 8,
        kMaximum = 9,
        kTag = 10,
        kListMode = 11,
        kCount = 12,
        kHeader = 13,
        kMultiThread = 14,
        kList = 20,
        kCountMode = 21,
        kNewImage = 22,
        kRemoveImage = 25,
    };
    // The list icons: numbers, boolean, pop-up, colours, memory block, graph, gradient. Free
    // 'PICT' ids of the program (400-404 are the windows' resize handles).
    static constexpr int32_t kIconIDs[7] = {410, 411, 412, 413, 414, 415, 416};

    // Built from the program's layout 21000; records: the caller's list, OK, Cancel and the
    // preview group first, whose item pointers are filled in here.
    ShaderDialog(EditWindow* window, std::vector<RECOMPUTE_IDS::CItemInfo>& records);
    ~ShaderDialog() override;

    bool InterfaceEvent(FWView* view) override;
    bool InterfaceTextEvent(EditText* edit) override;
    bool DialogAccepted(FWView* view) override;
    void DrawCustomView(FWDrawContext& context, const FWView* view) override;

    // The list
    void InterfaceFillList();
    // The row's text and icon for a record; italic: the item is not confirmed yet.
    void GetItemTextIcon(long position, FWStr<255>& name, const ImageBuffer*& icon, bool* italic);
    void RefreshSelectedItem();
    // The item of the one selected row; null for none, several, the preview or a view without one.
    CItemPTKC* GetSinglePTKC();
    void GetSelectedItems(std::vector<FWView*>& views);
    // OK, Cancel and the preview go back to the top rows after a drag.
    void InterfaceReorder();
    // The records rewritten in list order.
    void ReorderItems();

    // The parameter's fields
    void InterfaceParameter();
    void SetParamPopup(CItemPTKC* item);
    void FillParamPopup(const CPMenu* table, long row);
    // The item takes the type of the row; true when it changed.
    bool GetParamType(CItemPTKC* item, long row);
    void InterfaceParamType(const CItemPTKC* item);
    void InterfaceParamsCount();
    void InterfaceNewImage();

    ListBox* GetListBox() const { return mList; }

    // After OK: the records become OK, Cancel, the preview, the active parameters and then the
    // other controls, each in list order; the parameters get ids 4, 5, ... and the other controls
    // the next ones. A view the list does not hold (a page of a branching control) whose id is
    // now taken gets one above the last; the next new view gets the one after the highest.
    static void ApplyOrder(EditWindow& window, std::vector<RECOMPUTE_IDS::CItemInfo>& records);

    // What the list shows: false the active parameters, true every control. Kept for the run.
    static bool mShowAllControls;
    // The notice of newly added (italic) controls is still to be shown; it is shown once a run.
    static bool notifyItalic;

private:
    void ghost(int32_t id, bool ghost);
    // Every numeric field in use that the user edited holds a number it takes; else the first
    // that does not is named in a warning and false.
    bool typedNumbersFit();
    // Every parameter whose limits the user typed has a minimum no greater than its maximum and
    // its default between them; else the first that does not is named in a warning and false.
    bool typedLimitsFit();
    // The field's present text becomes the one shown; edited: the text differs from it.
    void noteShown(int32_t id);
    bool edited(int32_t id);
    const ImageBuffer* iconOf(const CItemPTKC& item, bool& known) const;

    EditWindow* mEditWindow;
    CDataPTKC* mData;
    ListBox* mList = nullptr;
    std::vector<RECOMPUTE_IDS::CItemInfo>& mRecords;
    DiskImage* mIcons[7] = {};
    // The texts the dialog put in its fields, by id: a field the user has not edited stands for
    // the stored value it shows, which OK keeps whatever the field can show or take.
    std::map<int32_t, FWStr<255>> mShownTexts;
    // The minimum and maximum of the parameter shown, in both of their slots, as they were then.
    struct Limit {
        float real = 0;
        int32_t whole = 0;
    };
    Limit mShownLimits[2];
    // The parameters whose minimum or maximum field the user left edited.
    std::set<const CItemPTKC*> mLimitsTyped;
};
