#include "TabControl.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDragManager.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStreamException.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

#include <algorithm>

namespace {

constexpr const char* kTabSource = "FW/App/Source/TabControl";
const FWStr<31> kDisplayName("TabControl");
SubClassFactory<FWView, TabControl> sFactory("TabControl");

// The smallest stored tab: rectangle, label origin, label width and an empty label.
constexpr uint32_t kStoredTabBytes = 8 + 4 + 4 + 1;
// The height of the strip of tabs that takes drops.
constexpr int16_t kTabStrip = 17;

FWRect rectOf(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return FWRect(int16_t(left), int16_t(top), int16_t(right), int16_t(bottom));
}

void line(FWDrawContext& context, const FWArgb32& colour, int32_t h1, int32_t v1, int32_t h2, int32_t v2)
{
    context.SetForeColor(colour);
    context.MoveTo(h1, v1);
    context.LineTo(h2, v2);
}

} // namespace

TabControl::~TabControl()
{
    FWDragManager::UnregisterReceiver(this);
}

void TabControl::Init(FWWindow* window, const FWRect& rect, int32_t count, const FWStr<31>* labels)
{
    FWView::Init(window);
    FWView::SetRect(rect);
    resizeTabs(count);
    for (int32_t i = 0; labels != nullptr && i < GetTabCount(); ++i)
        mLabels[size_t(i)] = labels[i];
    SetBranchTotal(std::max(count, 0));
    SetRect(rect);
    // The pages were made before the view grew to hold its tabs: they take its final size, or
    // the views placed on them would be clipped to the smaller one.
    ValidateBranches();
}

void TabControl::resizeTabs(int32_t count)
{
    const size_t size = size_t(std::max(count, 0));
    mTabs.assign(size, TabData());
    mLabels.assign(size, FWStr<31>());
}

int32_t TabControl::WhichTab(FWPoint point) const
{
    const int32_t active = GetActiveTab();
    for (int32_t i = 0; i < GetTabCount(); ++i) {
        FWRect rect = mTabs[size_t(i)].mRect;
        if (i == active)
            rect.top = int16_t(rect.top - 2);
        if (rect.PtInRect(point))
            return i;
    }
    return -1;
}

// ---- layout

void TabControl::SetRect(const FWRect& rect)
{
    layout(rect);
    updateDropTarget();
}

void TabControl::layout(const FWRect& rect)
{
    FWView::SetRect(rect);
    mFolderRect = rect;
    FWFont font;
    if (GetWindow() != nullptr)
        font = GetWindow()->Font();
    for (size_t i = 0; i < mTabs.size(); ++i)
        mTabs[i].mLabelWidth = font.GetStringWidth(&mLabels[i]);

    int32_t minimumWidth = 0;
    if (!mSingleRow) {
        int32_t widest = 0;
        for (const TabData& tab : mTabs)
            widest = std::max(widest, tab.mLabelWidth);
        mFolderRect.left = int16_t(mFolderRect.left + widest + 9);
        int32_t y = rect.top + 5;
        for (TabData& tab : mTabs) {
            tab.mLabelOrigin = FWPoint(int16_t(rect.left + 9), int16_t(y + 17));
            tab.mRect = rectOf(rect.left, y, mFolderRect.left, y + 25);
            y += 29;
        }
    } else {
        mFolderRect.top = int16_t(mFolderRect.top + 18);
        int32_t x = rect.left + 10;
        for (TabData& tab : mTabs) {
            tab.mLabelOrigin = FWPoint(int16_t(x + 6), int16_t(rect.top + 14));
            tab.mRect = rectOf(x, rect.top, x + tab.mLabelWidth + 12, rect.top + 17);
            x += tab.mLabelWidth + 16;
        }
        if (!mTabs.empty())
            minimumWidth = mTabs.back().mRect.right + 10 - rect.left;
    }

    // The view grows to hold its tabs and a page; the folder grows with it.
    FWRect view = rect;
    if (view.Width() < minimumWidth)
        view.right = int16_t(view.left + minimumWidth);
    if (view.Height() < 80)
        view.bottom = int16_t(view.top + 80);
    mFolderRect.right = view.right;
    mFolderRect.bottom = view.bottom;
    FWView::SetRect(view);

    if (mLayoutFresh)
        mLayoutFresh = false;
    else
        ValidateBranches();
}

void TabControl::updateDropTarget()
{
    if (GetWindow() == nullptr || !Visible() || !AllParentsVisible()) {
        FWDragManager::UnregisterReceiver(this);
        return;
    }
    FWRect strip = GetRect();
    strip.bottom = int16_t(strip.top + kTabStrip);
    ViewToWindow(strip);
    FWDragManager::RegisterReceiver(this, GetWindow(), strip);
}

void TabControl::SetVisibility(bool visible)
{
    FWBranchingControl::SetVisibility(visible);
    updateDropTarget();
}

void TabControl::ParentVisibilityChanged()
{
    FWBranchingControl::ParentVisibilityChanged();
    updateDropTarget();
}

// ---- switching pages

bool TabControl::switchTo(FWPoint windowPoint)
{
    FWPoint point = windowPoint;
    WindowToView(point);
    const int32_t index = WhichTab(point);
    if (index < 0 || index == GetActiveTab())
        return false;
    SetActiveTab(index);
    FWWindow* window = GetWindow();
    if (window == nullptr || !AllParentsVisible())
        return true;
    FWDrawContext context(this);
    const FWRect rect = GetRect();
    const FWRect page = rectOf(rect.left + 3, rect.top + 21, rect.right - 5, rect.bottom - 5);
    context.EraseRect(&page);
    window->ViewMngr().DrawTree(context, this);
    return true;
}

bool TabControl::MouseDownEvent(FWEvent& event)
{
    if (!switchTo(event.mWhere))
        return false;
    SendInterfaceEvent(this);
    return true;
}

void TabControl::Enter(const FWPoint& point, const FWDragData&)
{
    switchTo(point);
}

void TabControl::Within(const FWPoint& point, const FWDragData&)
{
    switchTo(point);
}

// ---- drawing

void TabControl::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context, context.GetForeColor(), context.GetBackColor());
    const bool ghosted = IsGhosted();
    const FWArgb32 outline = ghosted ? FWGetAppColor(10) : FWArgb32::Black;

    // The folder, with its corners cut, a two-pixel bevel and a drop shadow.
    const int32_t l = mFolderRect.left, t = mFolderRect.top;
    const int32_t r = mFolderRect.right - 3, b = mFolderRect.bottom - 3;
    const FWArgb32 shade = FWGetAppColor(9);
    line(context, shade, r, t + 2, r, b);
    line(context, shade, r + 1, t + 2, r + 1, b + 1);
    line(context, shade, l + 2, b, r, b);
    line(context, shade, l + 2, b + 1, r + 1, b + 1);
    line(context, outline, l + 1, t, r - 2, t);
    line(context, outline, l + 1, b - 1, r - 2, b - 1);
    line(context, outline, l, t + 1, l, b - 2);
    line(context, outline, r - 1, t + 1, r - 1, b - 2);
    for (int i = 1; i <= 2; ++i) {
        line(context, FWGetAppColor(1), l + 1, t + i, r - 2 - i, t + i);
        line(context, FWGetAppColor(1), l + i, t + 1, l + i, b - 2 - i);
        line(context, FWGetAppColor(2), l + 1 + i, b - 1 - i, r - 2, b - 1 - i);
        line(context, FWGetAppColor(2), r - 1 - i, t + 1 + i, r - 1 - i, b - 2);
    }
    const FWArgb32 corners[6] = {FWGetAppColor(3), FWGetAppColor(4), FWGetAppColor(5),
                                 FWGetAppColor(6), FWGetAppColor(7), FWGetAppColor(8)};
    line(context, corners[0], l + 1, t + 1, l + 1, t + 1);
    line(context, corners[1], r - 2, t + 1, r - 2, t + 1);
    line(context, corners[2], l + 1, b - 2, l + 1, b - 2);
    line(context, corners[3], r - 2, b - 2, r - 2, b - 2);
    line(context, corners[4], r - 3, t + 2, r - 3, t + 2);
    line(context, corners[5], l + 2, b - 3, l + 2, b - 3);

    // The active tab last, so that it opens into the folder over its neighbours' edges.
    const int32_t active = GetActiveTab();
    for (int32_t i = 0; i < GetTabCount(); ++i)
        if (i != active)
            mSingleRow ? drawTab(context, i) : drawStackedTab(context, i);
    if (active >= 0 && active < GetTabCount())
        mSingleRow ? drawTab(context, active) : drawStackedTab(context, active);

    for (int32_t i = 0; i < GetTabCount(); ++i) {
        const TabData& tab = mTabs[size_t(i)];
        context.DrawEmbossedString(tab.mLabelOrigin.h, tab.mLabelOrigin.v, &mLabels[size_t(i)], ghosted, 0, false);
    }
}

void TabControl::drawTab(FWDrawContext& context, int32_t index) const
{
    const bool active = index == GetActiveTab();
    const FWArgb32 outline = IsGhosted() ? FWGetAppColor(10) : FWArgb32::Black;
    const FWRect& rect = mTabs[size_t(index)].mRect;
    const int32_t l = rect.left, r = rect.right, b = rect.bottom;
    const int32_t t = active ? rect.top : rect.top + 2;
    const FWArgb32 back = FWGetAppColor(0);
    if (active) {
        FWRect top = rectOf(l, rect.top, r, rect.top + 5);
        context.PaintRect(&top, back);
        // Open into the folder: its top line and bevel go under the tab.
        FWRect under = rectOf(l + 1, b, r - 1, b + 3);
        context.PaintRect(&under, back);
    } else {
        FWRect top = rectOf(l, rect.top, r + 1, rect.top + 4);
        context.PaintRect(&top, back);
    }
    // The bevel runs one pixel below the rectangle for the active tab, and stops one above the
    // folder's top line for the others.
    const int32_t end = active ? b : b - 1;
    line(context, outline, l, end, l, t + 1);
    line(context, outline, l + 1, t, r - 2, t);
    line(context, outline, r - 1, t + 1, r - 1, end);
    line(context, back, r, t + 1, r, end);
    line(context, back, r + 1, t + 1, r + 1, end);
    for (int i = 1; i <= 2; ++i) {
        line(context, FWGetAppColor(1), l + 1, t + i, r - 2 - i, t + i);
        line(context, FWGetAppColor(1), l + i, t + 1, l + i, end);
        line(context, FWGetAppColor(2), r - 1 - i, t + 1 + i, r - 1 - i, end);
    }
    line(context, FWGetAppColor(3), l + 1, t + 1, l + 1, t + 1);
    line(context, FWGetAppColor(4), r - 2, t + 1, r - 2, t + 1);
}

void TabControl::drawStackedTab(FWDrawContext& context, int32_t index) const
{
    const bool active = index == GetActiveTab();
    const FWArgb32 outline = IsGhosted() ? FWGetAppColor(10) : FWArgb32::Black;
    const FWRect& rect = mTabs[size_t(index)].mRect;
    const int32_t t = rect.top, b = rect.bottom, r = rect.right;
    const int32_t l = active ? rect.left : rect.left + 2;
    const FWArgb32 back = FWGetAppColor(0);
    if (active) {
        FWRect side = rectOf(rect.left, t, rect.left + 5, b);
        context.PaintRect(&side, back);
        FWRect into = rectOf(r, t + 1, r + 3, b - 1);
        context.PaintRect(&into, back);
    } else {
        FWRect side = rectOf(rect.left, t, rect.left + 4, b + 1);
        context.PaintRect(&side, back);
    }
    const int32_t end = active ? r : r - 1;
    const FWArgb32 light = FWGetAppColor(active ? 2 : 1);
    const FWArgb32 dark = FWGetAppColor(active ? 1 : 2);
    line(context, outline, end, t, l + 1, t);
    line(context, outline, l, t + 1, l, b - 2);
    line(context, outline, l + 1, b - 1, end, b - 1);
    line(context, back, l + 1, b, end, b);
    line(context, back, l + 1, b + 1, end, b + 1);
    for (int i = 1; i <= 2; ++i) {
        line(context, light, l + i, t + 1, l + i, b - 2 - i);
        line(context, light, l + 1, t + i, end, t + i);
        line(context, dark, l + 1 + i, b - 1 - i, end, b - 1 - i);
    }
    line(context, FWGetAppColor(3), l + 1, t + 1, l + 1, t + 1);
    line(context, FWGetAppColor(5), l + 1, b - 2, l + 1, b - 2);
}

// ---- editor support

FWView* TabControl::Duplicate(FWPoint offset)
{
    auto* copy = new TabControl;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, GetTabCount(), mLabels.data());
    return copy;
}

void TabControl::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    for (int32_t i = 0; i < GetTabCount(); ++i)
        std::fprintf(file, "\t\tstrings[%d].Set(\"%s\");\n", int(i), mLabels[size_t(i)].GetCString());
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tviewArray[%d] = new TabControl(window, rect, %d, strings);\n", int(index),
                 int(GetTabCount()));
}

bool TabControl::DoInterface()
{
    TabControlDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& TabControl::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* TabControl::Viewable_Icon()
{
    return DiskImage::Acquire(2013, FOUR_CHAR_CODE("argb"));
}

// ---- the stored record

void TabControl::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("TabControl", 1);
    FWBranchingControl::OldWrite(stream);
    stream.WriteLong(0);
    stream.WriteLong(0);
    stream.WriteByte(int8_t(mReserved));
    stream.WriteFWRect(mFolderRect);
    stream.WriteByte(mSingleRow ? 1 : 0);
    // One record per page of the base part, also for pages added without a tab.
    static const TabData kEmptyTab;
    static const FWStr<31> kEmptyLabel;
    for (int32_t i = 0; i < GetBranchTotal(); ++i) {
        const bool known = i < GetTabCount();
        const TabData& tab = known ? mTabs[size_t(i)] : kEmptyTab;
        stream.WriteFWRect(tab.mRect);
        stream.WriteFWPoint(tab.mLabelOrigin);
        stream.WriteLong(tab.mLabelWidth);
        stream.WriteString(known ? mLabels[size_t(i)] : kEmptyLabel);
    }
    stream.FinishClass("TabControl", this, 0);
}

void TabControl::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("TabControl");
    FWBranchingControl::OldRead(stream);
    mLayoutFresh = true;
    const int32_t total = GetBranchTotal();
    const uint32_t left = stream.Size() - stream.GetCurrPos();
    if (version == 1) {
        stream.ReadLong();
        stream.ReadLong();
        mReserved = uint8_t(stream.ReadByte());
        stream.ReadFWRect(mFolderRect);
        mSingleRow = stream.ReadByte() != 0;
        // A total the rest of the record cannot hold is damage, not a count to allocate for.
        if (total < 0 || uint64_t(total) * kStoredTabBytes > stream.Size() - stream.GetCurrPos())
            throw FWReadFailedException();
        resizeTabs(total);
        for (size_t i = 0; i < mTabs.size(); ++i) {
            stream.ReadFWRect(mTabs[i].mRect);
            stream.ReadFWPoint(mTabs[i].mLabelOrigin);
            mTabs[i].mLabelWidth = stream.ReadLong();
            stream.ReadString(mLabels[i]);
        }
    } else {
        FWStoredDataNotice::Report("Unknown 'TabControl' version", kTabSource, __LINE__);
        // Every page still gets an (empty) tab, so that layout, drawing and hits find one.
        if (total < 0 || uint32_t(total) > left)
            throw FWReadFailedException();
        resizeTabs(total);
    }
    // The tree's links are not resolved yet, so the drop target waits until the window shows.
    layout(GetRect());
    stream.FinishClass("TabControl", this, 0);
}
