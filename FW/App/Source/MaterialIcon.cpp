#include "MaterialIcon.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "Material.h"
#include "SubClassFactory.h"

namespace {

const FWStr<31> kDisplayName("MaterialIcon");
SubClassFactory<FWView, MaterialIcon> sFactory("MaterialIcon");

constexpr int16_t kSize = 66;

} // namespace

MaterialIcon::MaterialIcon()
{
    SetDebugName("MaterialIcon");
}

void MaterialIcon::Init(FWWindow* window, FWPoint topLeft)
{
    FWView::Init(window);
    SetRect(FWRect(topLeft.h, topLeft.v, int16_t(topLeft.h + 64), int16_t(topLeft.v + 64)));
}

FWView* MaterialIcon::Duplicate(FWPoint offset)
{
    auto* copy = new MaterialIcon;
    const FWRect r = GetRect();
    copy->Init(GetWindow(), FWPoint(int16_t(r.left + offset.h), int16_t(r.top + offset.v)));
    return copy;
}

void MaterialIcon::SetRect(const FWRect& rect)
{
    const FWRect square(rect.left, rect.top, int16_t(rect.left + kSize), int16_t(rect.top + kSize));
    FWView::SetRect(square);
    mPreviewRect = square;
    mPreviewRect.Inset(2, 2);
}

void MaterialIcon::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\tpoint.Set(%d, %d);\n", r.left, r.top);
    std::fprintf(file, "\t\tviewArray[%d] = QZNEW MaterialIcon(window, point);\n", int(index));
}

void MaterialIcon::Draw(FWDrawContext& context) const
{
    FWColorSaver colours(context);
    if (mMaterial != nullptr) {
        if (const ImageBuffer* preview = mMaterial->GetPreviewBuffer())
            context.DrawImage(preview, &mPreviewRect, false);
    } else {
        context.EraseRect(&mPreviewRect, FWGetAppColor(2));
    }
    const FWRect r = GetRect();
    context.InsetRect(&r, false);
    FWRect frame = r;
    frame.Inset(1, 1);
    context.SetForeColor(IsGhosted() ? FWGetAppColor(10) : FWArgb32(255, 0, 0, 0));
    context.FrameRect(&frame);
}

bool MaterialIcon::MouseDownEvent(FWEvent&)
{
    return SendInterfaceEvent(this);
}

bool MaterialIcon::DoInterface()
{
    MaterialIconDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& MaterialIcon::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* MaterialIcon::Viewable_Icon()
{
    return DiskImage::Acquire(2001, FOUR_CHAR_CODE("argb"));
}

// Version 1: version byte; the view record; the colour as alpha, red, green, blue bytes; the
// preview rectangle.
void MaterialIcon::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("MaterialIcon", 1);
    FWView::OldWrite(stream);
    stream.WriteByte(int8_t(mColor.a));
    stream.WriteByte(int8_t(mColor.r));
    stream.WriteByte(int8_t(mColor.g));
    stream.WriteByte(int8_t(mColor.b));
    stream.WriteFWRect(mPreviewRect);
    stream.FinishClass("MaterialIcon", this, 0);
}

void MaterialIcon::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("MaterialIcon");
    FWView::OldRead(stream);
    if (version == 1) {
        for (int i = 0; i < 4; ++i)
            stream.ReadByte();
        stream.ReadFWRect(mPreviewRect);
    } else {
        FWStoredDataNotice::Report("Unknown 'MaterialIcon' version", kSourcePath, __LINE__);
    }
    // A loaded icon never has a material, and shows opaque black.
    mMaterial = nullptr;
    mColor = FWArgb32(255, 0, 0, 0);
    stream.FinishClass("MaterialIcon", this, 0);
}
