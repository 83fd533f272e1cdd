// A folder with tabs: one tab per page (branch) of the branching control, in one row along the
// top or stacked down the left side. Clicking a tab, or dragging anything over it, brings its
// page to the front.
#pragma once

#include "FWBranchingControl.h"
#include "FWDragReceiver.h"
#include "FWStr.h"

#include <vector>

class TabControl : public FWBranchingControl, public FWDragReceiver {
public:
    struct TabData {
        FWRect mRect;
        FWPoint mLabelOrigin; // the label's left end on its base line
        int32_t mLabelWidth = 0;
    };

    TabControl() = default;
    ~TabControl() override;
    TabControl(const TabControl&) = delete;
    TabControl& operator=(const TabControl&) = delete;

    // count pages, with labels[0..count-1] (null: empty labels).
    virtual void Init(FWWindow* window, const FWRect& rect, int32_t count, const FWStr<31>* labels);
    using FWBranchingControl::Init;

    // Tabs
    int32_t GetActiveTab() const { return GetActiveBranchIndex(); }
    void SetActiveTab(int32_t index) { SetActiveBranch(index); }
    int32_t GetTabCount() const { return int32_t(mTabs.size()); }
    const TabData& GetTab(int32_t index) const { return mTabs[size_t(index)]; }
    const FWStr<31>& GetLabel(int32_t index) const { return mLabels[size_t(index)]; }
    void SetLabel(int32_t index, const FWString& label) { mLabels[size_t(index)] = label; }
    // Replaces the tab records and labels by count empty ones (none for a count below 1); the
    // pages are not touched.
    void NewTabs(int32_t count) { resizeTabs(count); }
    // The first tab holding the point (the active one reaches 2 pixels higher); -1 for none.
    int32_t WhichTab(FWPoint point) const;
    bool IsSingleRow() const { return mSingleRow; }
    void SetSingleRow(bool single) { mSingleRow = single; }
    FWRect GetFolderRect() const { return mFolderRect; }

    // Lays the tabs and the folder out, widening the view to hold every tab and making it at
    // least 80 high.
    void SetRect(const FWRect& rect) override;
    void SetVisibility(bool visible) override;
    void ParentVisibilityChanged() override;
    // A click on an inactive tab shows its page and sends an interface event.
    bool MouseDownEvent(FWEvent& event) override;
    // A drag over an inactive tab shows its page.
    void Enter(const FWPoint& point, const FWDragData& data) override;
    void Within(const FWPoint& point, const FWDragData& data) override;

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "TabControl"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    // One tab record and label per page.
    void resizeTabs(int32_t count);
    // SetRect without the drop target.
    void layout(const FWRect& rect);
    // Shows page index when it is another tab's; true when it did.
    bool switchTo(FWPoint windowPoint);
    void updateDropTarget();
    void drawTab(FWDrawContext& context, int32_t index) const;
    void drawStackedTab(FWDrawContext& context, int32_t index) const;

    uint8_t mReserved = 0;
    FWRect mFolderRect;
    std::vector<TabData> mTabs;
    std::vector<FWStr<31>> mLabels;
    bool mLayoutFresh = true;
    bool mSingleRow = true;
};
