#include "Divider.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "SubClassFactory.h"

namespace {

constexpr const char* kDividerSource = "FW/App/Source/Divider";
const FWStr<31> kDisplayName("Divider");
SubClassFactory<FWView, Divider> sFactory("Divider");

} // namespace

void Divider::Init(FWWindow* window, const FWRect& rect)
{
    FWView::Init(window);
    SetRect(rect);
}

void Divider::SetRect(const FWRect& rect)
{
    FWRect r = rect;
    if (r.Width() <= r.Height()) {
        if (r.Height() <= 9)
            r.bottom = int16_t(r.top + 10);
        mHorizontal = false;
        r.right = int16_t(r.left + 2);
    } else {
        if (r.Width() <= 9)
            r.right = int16_t(r.left + 10);
        mHorizontal = true;
        r.bottom = int16_t(r.top + 2);
    }
    FWView::SetRect(r);
}

bool Divider::PntInRect(const FWPoint* point)
{
    if (point == nullptr)
        return false;
    FWRect hit = GetRect();
    if (mHorizontal) {
        hit.top = int16_t(hit.top - 1);
        hit.bottom = int16_t(hit.bottom + 1);
    } else {
        hit.left = int16_t(hit.left - 1);
        hit.right = int16_t(hit.right + 1);
    }
    return hit.PtInRect(*point);
}

FWView::EditType Divider::FilterEditType(EditType type)
{
    // Corners become the end they lie at; a side across the line becomes a move.
    static const EditType kHorizontal[10] = {kEditNone,  kEditLeft,  kEditRight, kEditLeft, kEditRight,
                                             kEditLeft,  kEditRight, kEditMove,  kEditMove, kEditMove};
    static const EditType kVertical[10] = {kEditNone, kEditTop,  kEditTop,  kEditBottom, kEditBottom,
                                           kEditMove, kEditMove, kEditTop,  kEditBottom, kEditMove};
    if (type < kEditTopLeft || type > kEditMove)
        return type;
    return mHorizontal ? kHorizontal[type] : kVertical[type];
}

void Divider::Draw(FWDrawContext& context) const
{
    FWForeColorSaver saver(context, FWGetAppColor(2));
    const FWRect r = GetRect();
    if (mHorizontal) {
        context.MoveTo(r.left, r.top);
        context.LineTo(r.right - 1, r.top);
        context.SetForeColor(FWGetAppColor(1));
        context.MoveTo(r.left, r.top + 1);
        context.LineTo(r.right - 1, r.top + 1);
    } else {
        context.MoveTo(r.left, r.top);
        context.LineTo(r.left, r.bottom - 1);
        context.SetForeColor(FWGetAppColor(1));
        context.MoveTo(r.left + 1, r.top);
        context.LineTo(r.left + 1, r.bottom - 1);
    }
}

FWView* Divider::Duplicate(FWPoint offset)
{
    auto* copy = new Divider;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect);
    return copy;
}

void Divider::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tviewArray[%d] = new Divider(window, rect);\n", int(index));
}

bool Divider::DoInterface()
{
    DividerDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& Divider::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* Divider::Viewable_Icon()
{
    return DiskImage::Acquire(2005, FOUR_CHAR_CODE("argb"));
}

void Divider::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("Divider", 1);
    FWView::OldWrite(stream);
    stream.WriteByte(mHorizontal ? 1 : 0);
    stream.FinishClass("Divider", this, 0);
}

void Divider::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("Divider");
    FWView::OldRead(stream);
    if (version == 1)
        mHorizontal = stream.ReadByte() != 0;
    else
        FWStoredDataNotice::Report("Unknown 'Divider' version", kDividerSource, __LINE__);
    stream.FinishClass("Divider", this, 0);
}
