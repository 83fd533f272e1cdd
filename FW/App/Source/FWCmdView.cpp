// The message log: message layout, scrolling to the end, drawing, the input boxes, and hand
// panning with the space bar.
#include "FWCmdView.h"

#include "DiskImage.h"
#include "EditText.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWEventDispatcher.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "Scroller.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <cstring>

namespace {

const FWStr<31> kDisplayName("FWCmdView");
SubClassFactory<FWView, FWCmdView> sFactory("FWCmdView");

constexpr int32_t kFirstTop = 1;
constexpr int16_t kBoxWidth = 250;
constexpr int16_t kBoxHeight = 18;

bool isBreak(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

// CmdLine ----------------------------------------------------------------------------------

CmdLine::CmdLine(int32_t iconID, const char* text, int32_t top) : mIconID(iconID), mText(text), mTop(top)
{
    acquire();
}

CmdLine::CmdLine(const CmdLine& other) : mIconID(other.mIconID), mText(other.mText), mTop(other.mTop)
{
    acquire();
}

CmdLine& CmdLine::operator=(const CmdLine& other)
{
    if (this == &other)
        return *this;
    release();
    mIconID = other.mIconID;
    mText = other.mText;
    mTop = other.mTop;
    acquire();
    return *this;
}

CmdLine::~CmdLine()
{
    release();
}

void CmdLine::acquire()
{
    mIcon = mIconID != 0 ? DiskImage::Acquire(mIconID, FOUR_CHAR_CODE("argb")) : nullptr;
}

void CmdLine::release()
{
    if (mIcon != nullptr)
        DiskImage::Release(static_cast<DiskImage*>(mIcon));
    mIcon = nullptr;
}

void CmdLine::SetIcon(int32_t iconID)
{
    release();
    mIconID = iconID;
    acquire();
}

int32_t CmdLine::Lines() const
{
    int32_t lines = 1;
    const char* p = mText.GetCString();
    const uint32_t n = mText.GetCurrLength();
    for (uint32_t i = 0; i < n; ++i) {
        if (!isBreak(p[i]))
            continue;
        ++lines;
        // A run of control characters after a break counts once.
        while (i + 1 < n && uint8_t(p[i + 1]) < 32)
            ++i;
    }
    return lines;
}

int32_t CmdLine::Height() const
{
    const int32_t lines = Lines();
    return lines == 1 ? 16 : lines * 12 + 1;
}

// The view ---------------------------------------------------------------------------------

FWCmdView::FWCmdView() : mScroller(new Scroller)
{
    SetDebugName("FWCmdView");
}

FWCmdView::~FWCmdView()
{
    delete mScroller;
}

void FWCmdView::Init(FWWindow* window)
{
    FWView::Init(window);
    mScroller->SetWindow(window);
    mScroller->SetInterfaceTarget(window);
}

void FWCmdView::OldRead(SerialStream& stream)
{
    FWView::OldRead(stream);
    // A log from a layout lays out its scroll bar in the window it was loaded into.
    mScroller->SetWindow(GetWindow());
    mScroller->SetInterfaceTarget(GetWindow());
    SetRect(GetRect());
}

FWRect FWCmdView::ScrollBarRect() const
{
    FWRect r = GetRect();
    r.Inset(1, 1);
    r.right = int16_t(r.left + 11);
    return r;
}

FWRect FWCmdView::ContentRect() const
{
    FWRect r = GetRect();
    r.Inset(2, 2);
    r.left = int16_t(r.left + 10);
    return r;
}

int32_t FWCmdView::DataHeight() const
{
    if (mLines.empty())
        return 0;
    return mLines.back().Top() + mLines.back().Height() + 3;
}

void FWCmdView::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    mScroller->SetRect(ScrollBarRect());
    mScroller->SetScrollMax(ContentRect().Height(), DataHeight());
    mScroller->SetScrollVal(mScroller->ScrollMax());
    for (int i = 0; i < 2; ++i)
        if (mCreated[i] != nullptr)
            mCreated[i]->SetRect(editBoxRect(i));
}

// Messages ---------------------------------------------------------------------------------

void FWCmdView::AppendMessage(int32_t icon, const char* text, const char* detail, const char* input)
{
    bool added = false;
    if (text != nullptr) {
        FWDynamicString all(text);
        if (detail != nullptr) {
            all += "\n";
            all += detail;
        }
        int32_t top = kFirstTop;
        if (!mLines.empty()) {
            top = mLines.back().Top() + mLines.back().Height() + 1;
            mLineCount += mLines.back().Lines();
        }
        mLines.emplace_back(icon, all.GetCString(), top);
        added = true;
    } else if (detail != nullptr && !mLines.empty()) {
        mLines.back().Text() += "\n";
        mLines.back().Text() += detail;
        added = true;
    }
    if (added)
        updateScrolling();
    if (input != nullptr)
        set_edit_text(input, 0);
    else
        hide_edit_boxes();
}

void FWCmdView::ReplaceMessage(int32_t icon, const char* text, const char* detail, const char* input)
{
    if (mLines.empty()) {
        AppendMessage(icon, text, detail, input);
        return;
    }
    CmdLine& last = mLines.back();
    if (icon != 0)
        last.SetIcon(icon);
    if (text != nullptr)
        last.Text() = text;
    if (detail != nullptr) {
        FWDynamicString& t = last.Text();
        if (last.Lines() == 1) {
            t += "\n";
        } else {
            // The last line starts after the last break.
            uint32_t cut = t.GetCurrLength();
            while (cut > 0 && !isBreak(t[cut - 1]))
                --cut;
            t.Erase(cut, t.GetCurrLength());
        }
        t += detail;
    }
    updateScrolling();
    if (input != nullptr)
        set_edit_text(input, 0);
    else
        hide_edit_boxes();
}

void FWCmdView::invalLastRow()
{
    if (GetWindow() == nullptr || mLines.empty())
        return;
    FWRect row = ContentRect();
    const int16_t top = int16_t(row.top + mLines.back().Top() - mScroller->ScrollVal());
    row.top = std::max(row.top, top);
    if (row.Empty())
        return;
    ViewToWindow(row);
    GetWindow()->Inval(&row);
}

void FWCmdView::updateScrolling()
{
    const int32_t before = mScroller->ScrollVal();
    mScroller->SetScrollMax(ContentRect().Height(), DataHeight());
    const int32_t maximum = mScroller->ScrollMax();
    if (before != maximum) {
        mScroller->SetScrollVal(maximum);
        mScroller->Inval();
        invalLastRow();
        scroll_by(maximum - before);
    } else {
        invalLastRow();
    }
}

void FWCmdView::scroll_by(int32_t change)
{
    FWWindow* window = GetWindow();
    if (window == nullptr || !window->Visible() || change == 0)
        return;
    FWRect area = ContentRect();
    for (EditText* box : mActive)
        if (box != nullptr)
            area.right = std::min(area.right, box->GetRect().left);
    if (area.Empty())
        return;
    FWDrawContext context(this);
    context.ScrollRect(&area, 0, -change);
}

void FWCmdView::scroll_proc(int32_t change, void* view, Scroller*)
{
    static_cast<FWCmdView*>(view)->scroll_by(change);
}

// Input boxes ------------------------------------------------------------------------------

FWRect FWCmdView::editBoxRect(int index) const
{
    const FWRect content = ContentRect();
    int16_t bottom = int16_t(content.top + kBoxHeight);
    // Without a message the box sits at the top of the content.
    if (!mLines.empty()) {
        const CmdLine& last = mLines.back();
        bottom = int16_t(content.top + last.Top() + 16 - mScroller->ScrollVal() + (last.Lines() - 1) * 12);
    }
    FWRect box(int16_t(content.right - 4 - kBoxWidth), int16_t(bottom - kBoxHeight), int16_t(content.right - 4),
               bottom);
    if (index == 1)
        box.Offset(0, -13);
    return box;
}

void FWCmdView::show_edit_box(const char* text, int index)
{
    EditText* box = mCreated[index];
    if (box == nullptr) {
        box = new EditText;
        box->Init(GetWindow(), editBoxRect(index), nullptr);
        box->SetID(index - 100);
        box->SetPostTextEvents(false);
        box->SetTextColor(FWArgb32(0, 102, 0, 0));
        box->EventOnReturnOnly();
        if (index == 1)
            box->EventOnLoseFocus();
        AppendChild(box);
        mCreated[index] = box;
    } else {
        box->SetRect(editBoxRect(index));
        box->SetVisibility(true);
    }
    box->SetText(text);
    box->SelectText();
    box->Inval();
    mActive[index] = box;
    FWWindow* window = GetWindow();
    if (window != nullptr && FWEventDispatcher::Instance()->KeyWindow() == window)
        window->ViewMngr().SetKeyFocus(box);
}

void FWCmdView::set_edit_text(const char* text, int index)
{
    if (index < 0 || index > 1)
        return;
    if (mActive[index] == nullptr) {
        show_edit_box(text, index);
        return;
    }
    mActive[index]->SetText(text);
    mActive[index]->Inval();
}

void FWCmdView::hide_edit_boxes()
{
    bool hid = false;
    for (EditText*& box : mActive) {
        if (box == nullptr)
            continue;
        if (!mLines.empty()) {
            FWDynamicString typed;
            box->GetText(&typed);
            mLines.back().Text() += typed;
        }
        box->Inval();
        box->SetVisibility(false);
        box = nullptr;
        hid = true;
    }
    if (hid)
        invalLastRow();
}

EditText* FWCmdView::editTarget() const
{
    return mActive[mEditIndex];
}

// Events -----------------------------------------------------------------------------------

bool FWCmdView::MouseDownEvent(FWEvent& event)
{
    FWPoint where = event.mWhere;
    WindowToView(where);
    if (!GetRect().PtInRect(where))
        return false;
    if ((event.mModifiers & kFWCommandKey) != 0) {
        if (GetWindow() != nullptr)
            GetWindow()->InterfaceEvent(this);
        return true;
    }
    if (ScrollBarRect().PtInRect(where)) {
        if (mScroller->GetWindow() == nullptr)
            mScroller->SetWindow(GetWindow());
        mScroller->Track(where, scroll_proc, this);
        return true;
    }
    if (FWIsPressed(SPACE_BAR))
        pan(where);
    return true;
}

void FWCmdView::pan(FWPoint start)
{
    FWWindow* window = GetWindow();
    if (window == nullptr)
        return;
    static CCrsrHandle sClosedHand = FWGetCursor(10002);
    FWSetCursor(sClosedHand);
    int16_t lastV = start.v;
    while (FWIsMouseStillDown()) {
        FWPoint where;
        window->GetMouseLocal(&where);
        WindowToView(where);
        int32_t d = lastV - where.v;
        lastV = where.v;
        const int32_t value = mScroller->ScrollVal();
        d = std::clamp(d, -value, mScroller->ScrollMax() - value);
        if (d == 0)
            continue;
        mScroller->SetScrollVal(value + d);
        mScroller->Inval();
        scroll_by(d);
    }
}

bool FWCmdView::AutoKeyEvent(FWEvent& event)
{
    const int c = uint8_t(event.EventCharacter());
    const bool boxShown = mActive[0] != nullptr || mActive[1] != nullptr;
    const bool navigation = c == 1 || c == 4 || (c >= 28 && c <= 31);
    if (c == 11 || c == 12 || (boxShown && (c == 8 || c == 127 || navigation)))
        return KeyDownEvent(event);
    return false;
}

bool FWCmdView::CutEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->CutEvent(event);
}

bool FWCmdView::CopyEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->CopyEvent(event);
}

bool FWCmdView::PasteEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->PasteEvent(event);
}

bool FWCmdView::ClearEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->ClearEvent(event);
}

bool FWCmdView::SelectAllEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->SelectAllEvent(event);
}

bool FWCmdView::SelectNoneEvent(FWEvent& event)
{
    return editTarget() != nullptr && editTarget()->SelectNoneEvent(event);
}

bool FWCmdView::CanCut()
{
    return editTarget() != nullptr && editTarget()->CanCut();
}

bool FWCmdView::CanCopy()
{
    return editTarget() != nullptr && editTarget()->CanCopy();
}

bool FWCmdView::CanPaste()
{
    return editTarget() != nullptr && editTarget()->CanPaste();
}

bool FWCmdView::CanClear()
{
    return editTarget() != nullptr && editTarget()->CanClear();
}

bool FWCmdView::CanSelectAll()
{
    return editTarget() != nullptr && editTarget()->CanSelectAll();
}

bool FWCmdView::CanSelectNone()
{
    return editTarget() != nullptr && editTarget()->CanSelectNone();
}

// Drawing ----------------------------------------------------------------------------------

void FWCmdView::Draw(FWDrawContext& context) const
{
    const FWRect view = GetRect();
    FWRect visible;
    context.GetVisRect(&visible);
    if (!view.IntersectRect(visible))
        return;
    FWColorSaver colours(context);
    FWPenSaver pen(context);
    FWFontSaver font(context);
    context.InsetRect(&view, true);
    mScroller->Draw(context);

    FWRect area;
    visible.IntersectRect(ContentRect(), &area);
    FWClipSaver clip(context, &area);
    context.PaintRect(&area, FWGetAppColor(0));
    if (mLines.empty())
        return;
    context.SetForeColor(FWArgb32::Gray75);
    context.PenNormal();

    // One message before the first whose top is at or below the scroll value.
    const int32_t value = mScroller->ScrollVal();
    auto first = std::lower_bound(mLines.begin(), mLines.end(), value,
                                  [](const CmdLine& line, int32_t v) { return line.Top() < v; });
    if (first == mLines.end())
        first = mLines.end() - 1;
    if (first != mLines.begin())
        --first;

    const FWRect content = ContentRect();
    const FWFont plain = context.GetFont();
    FWFont bold = plain;
    bold.SetBold(true);
    for (auto line = first; line != mLines.end(); ++line) {
        int32_t x = content.left + 3;
        int32_t y = content.top + line->Top() - value;
        if (y > area.bottom)
            break;
        if (line->Icon() != nullptr) {
            const FWRect iconRect(int16_t(x), int16_t(y), int16_t(x + 16), int16_t(y + 16));
            context.DrawImage(line->Icon(), &iconRect, false);
        }
        x += 20;
        y += 11;
        const char* text = line->Text().GetCString();
        const uint32_t n = line->Text().GetCurrLength();
        uint32_t start = 0;
        bool firstLine = true;
        while (start <= n) {
            uint32_t end = start;
            while (end < n && !isBreak(text[end]))
                ++end;
            context.SetFont(firstLine ? &bold : &plain);
            FWDynamicString piece;
            piece.Set(end - start, text + start);
            context.DrawString(x, y, &piece);
            firstLine = false;
            y += 12;
            if (end >= n)
                break;
            // A run of control characters after a break counts as one break.
            start = end + 1;
            while (start < n && uint8_t(text[start]) < 32)
                ++start;
        }
    }
}

const FWString& FWCmdView::Viewable_Name() const
{
    return kDisplayName;
}
