#include "ColorButton.h"
#include "ControlDialogs.h"

#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWColorModels.h"
#include "FWColorPickerDialog.h"
#include "FWDragData.h"
#include "FWDragManager.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEventDispatcher.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "ImageBuffer.h"
#include "SubClassFactory.h"

#include <algorithm>

namespace {

constexpr const char* kColorButtonSource = "FW/App/Source/ColorButton";
constexpr uint32_t kColorScrapType = FOUR_CHAR_CODE("ARGB");
const FWStr<31> kDisplayName("ColorButton");
SubClassFactory<FWView, ColorButton> sFactory("ColorButton");

// The button a drag is running from, so that it does not take its own colour as a drop.
ColorButton* sCurrentDragButton = nullptr;

void line(FWDrawContext& context, int32_t h1, int32_t v1, int32_t h2, int32_t v2)
{
    context.MoveTo(h1, v1);
    context.LineTo(h2, v2);
}

} // namespace

uint32_t ColorScrap::Type() const
{
    return kColorScrapType;
}

void ColorScrap::RetrieveData(const void*& data, int& size) const
{
    data = mBytes;
    size = 4;
}

ColorButton::~ColorButton()
{
    FWDragManager::UnregisterReceiver(this);
    if (sCurrentDragButton == this)
        sCurrentDragButton = nullptr;
}

void ColorButton::Init(FWWindow* window, const FWRect& rect, FWArgb32 color)
{
    PushButton::Init(window, rect, nullptr, 0);
    SetRect(rect);
    mColor = color;
}

void ColorButton::DefaultState()
{
    mColor = FWGetAppColor(0);
}

// ---- geometry and drop target

void ColorButton::SetRect(const FWRect& rect)
{
    FWRect r = rect;
    if (r.Width() <= 9)
        r.right = int16_t(r.left + 15);
    if (r.Height() <= 9)
        r.bottom = int16_t(r.top + 15);
    FWView::SetRect(r);
    recalc_layout();
    updateDropTarget();
}

bool ColorButton::takesDrops() const
{
    return GetWindow() != nullptr && Visible() && AllParentsVisible();
}

void ColorButton::updateDropTarget()
{
    // While its tree is being read the links are not resolved yet; the window's showing
    // registers the button then.
    if (GetWindow() != nullptr && GetWindow() == FWViewMngr::GetUnserializationWindow())
        return;
    if (!takesDrops()) {
        FWDragManager::UnregisterReceiver(this);
        return;
    }
    FWRect rect = GetRect();
    ViewToWindow(rect);
    FWDragManager::RegisterReceiver(this, GetWindow(), rect);
}

void ColorButton::SetVisibility(bool visible)
{
    PushButton::SetVisibility(visible);
    updateDropTarget();
}

void ColorButton::ParentVisibilityChanged()
{
    PushButton::ParentVisibilityChanged();
    updateDropTarget();
}

// ---- drawing

void ColorButton::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context, context.GetForeColor(), context.GetBackColor());
    FWRect r = GetRect();
    if (GetState()) {
        context.SetForeColor(FWGetAppColor(0));
        line(context, r.left, r.bottom, r.left, r.top);
        context.LineTo(r.right - 1, r.top);
        r.left = int16_t(r.left + 1);
        r.top = int16_t(r.top + 1);
        context.InsetRect(&r, false);
    } else {
        context.SetForeColor(FWGetAppColor(0));
        line(context, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
        context.LineTo(r.right - 1, r.top + 2);
        r.right = int16_t(r.right - 1);
        r.bottom = int16_t(r.bottom - 1);
        context.ExtrudedRect(&r, nullptr);
    }
    r.Inset(1, 1);
    context.SetForeColor(IsGhosted() ? FWGetAppColor(10) : FWArgb32::Black);
    context.FrameRect(&r);
    r.Inset(1, 1);
    context.PaintRect(&r, FWArgb32(255, mColor.r, mColor.g, mColor.b));

    const FWString& text = GetText();
    if (text.GetCurrLength() == 0)
        return;
    FWFontSaver fontSaver(context);
    if (GetWindow() != nullptr)
        context.SetFont(&GetWindow()->Font());
    context.SetFontBold(GetBoldText());
    const int16_t shift = GetState() ? 1 : 0;
    const FWPoint at = GetTextPosition();
    const int16_t width = int16_t(std::max<int32_t>(1, GetTextLimit() - at.h));
    const FWArgb32 dimmed = FWGetAppColor(10);
    // Dark text with a light emboss on a light colour, the other way round on a dark one.
    if (GetLuminance(mColor.r, mColor.g, mColor.b) >= 128)
        context.DrawEmbossedStringColors(at.h + shift, at.v + shift, &text, IsGhosted() ? dimmed : FWArgb32::Black,
                                         FWGetAppColor(1), width, false);
    else
        context.DrawEmbossedStringColors(at.h + shift, at.v + shift, &text, IsGhosted() ? dimmed : FWGetAppColor(1),
                                         FWArgb32::Black, width, false);
}

void ColorButton::DrawDragHilite(const FWArgb32& light, const FWArgb32& dark)
{
    if (!takesDrops())
        return;
    FWDrawContext context(this);
    FWRect r = GetRect();
    r.Inset(3, 3);
    r.right = int16_t(r.right - 1);
    r.bottom = int16_t(r.bottom - 1);
    context.SetForeColor(light);
    line(context, r.left, r.bottom - 2, r.left, r.top);
    context.LineTo(r.right - 2, r.top);
    line(context, r.left + 3, r.bottom - 3, r.right - 3, r.bottom - 3);
    context.LineTo(r.right - 3, r.top + 3);
    context.SetForeColor(dark);
    line(context, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
    context.LineTo(r.right - 1, r.top + 1);
    line(context, r.left + 2, r.bottom - 4, r.left + 2, r.top + 2);
    context.LineTo(r.right - 4, r.top + 2);
    context.Flush();
}

// ---- events

void ColorButton::pick()
{
    // A cancelled pick leaves the button as it was: no change to report.
    if (FWColorPickerDialog::PickColor(this))
        SendInterfaceEvent(this);
}

bool ColorButton::MouseDownEvent(FWEvent& event)
{
    FWWindow* window = GetWindow();
    if (window == nullptr)
        return false;
    FWRect inWindow = GetRect();
    ViewToWindow(inWindow);
    FWEventUtil::ResetMouseTrack();
    int h = event.mWhere.h;
    int v = event.mWhere.v;
    while (FWEventUtil::TrackMouseDown(*window, h, v)) {
        if (inWindow.PtInRect(FWPoint(int16_t(h), int16_t(v))))
            continue;
        // Left with the button held: the colour goes as a drag.
        FWDragData data;
        data.AddScrap(new ColorScrap(mColor));
        const FWRect square(0, 0, 32, 32);
        ImageBuffer image(&square, kImageBufferDepth32);
        if (image.Valid()) {
            FWDrawContext* painter = image.SetContext();
            const FWArgb32 frame = painter->GetForeColor();
            painter->PaintRect(&square, FWArgb32(255, mColor.r, mColor.g, mColor.b));
            painter->SetForeColor(frame);
            painter->FrameRect(&square);
            image.ReleaseContext();
            data.SetImage(&image);
        }
        sCurrentDragButton = this;
        const int result = FWDragManager::TrackDrag(event, window, data);
        sCurrentDragButton = nullptr;
        if (result == 0)
            pick();
        return true;
    }
    pick();
    return true;
}

bool ColorButton::droppedColor(const FWDragData& data, FWArgb32& color)
{
    const FWDragScrap* scrap = data.FindScrap(kColorScrapType);
    if (scrap == nullptr)
        return false;
    const void* bytes = nullptr;
    int size = 0;
    scrap->RetrieveData(bytes, size);
    // Another program's flavour may be short or missing: only four bytes make a colour.
    if (bytes == nullptr || size != 4)
        return false;
    const auto* b = static_cast<const uint8_t*>(bytes);
    color = FWArgb32(b[0], b[1], b[2], b[3]);
    return true;
}

void ColorButton::Enter(const FWPoint&, const FWDragData& data)
{
    FWArgb32 dropped;
    if (sCurrentDragButton == this || !droppedColor(data, dropped))
        return;
    const auto light = [](uint8_t c) { return int(c) + (255 - int(c)) * 2 / 3; };
    DrawDragHilite(FWArgb32(255, light(mColor.r), light(mColor.g), light(mColor.b)),
                   FWArgb32(255, mColor.r / 3, mColor.g / 3, mColor.b / 3));
}

void ColorButton::Exit(const FWPoint&, const FWDragData& data)
{
    FWArgb32 dropped;
    if (sCurrentDragButton == this || !droppedColor(data, dropped))
        return;
    const FWArgb32 own(255, mColor.r, mColor.g, mColor.b);
    DrawDragHilite(own, own);
}

void ColorButton::Accept(const FWDragData& data)
{
    FWArgb32 dropped;
    if (sCurrentDragButton == this || !takesDrops() || !droppedColor(data, dropped))
        return;
    mColor = dropped;
    Inval();
    SendInterfaceEvent(this);
}

// ---- editor support

FWView* ColorButton::Duplicate(FWPoint offset)
{
    auto* copy = new ColorButton;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, mColor);
    return copy;
}

void ColorButton::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    std::fprintf(file, "\t\tcolor.Set(%d, %d, %d, %d);\n", mColor.a, mColor.r, mColor.g, mColor.b);
    std::fprintf(file, "\t\tviewArray[%ld] = new ColorButton(window, rect, color);\n", long(index));
}

bool ColorButton::DoInterface()
{
    ColorButtonDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& ColorButton::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* ColorButton::Viewable_Icon()
{
    return DiskImage::Acquire(2003, FOUR_CHAR_CODE("argb"));
}

// ---- the stored record

void ColorButton::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("ColorButton", 1);
    PushButton::OldWrite(stream);
    stream.WriteByte(int8_t(mColor.a));
    stream.WriteByte(int8_t(mColor.r));
    stream.WriteByte(int8_t(mColor.g));
    stream.WriteByte(int8_t(mColor.b));
    stream.WriteByte(mEditAlpha ? 1 : 0);
    stream.WriteString(mPrompt);
    stream.FinishClass("ColorButton", this, 0);
}

void ColorButton::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("ColorButton");
    PushButton::OldRead(stream);
    if (version == 1) {
        const uint8_t a = uint8_t(stream.ReadByte());
        const uint8_t r = uint8_t(stream.ReadByte());
        const uint8_t g = uint8_t(stream.ReadByte());
        const uint8_t b = uint8_t(stream.ReadByte());
        mColor = FWArgb32(a, r, g, b);
        mEditAlpha = stream.ReadByte() != 0;
        stream.ReadString(mPrompt);
    } else {
        FWStoredDataNotice::Report("Unknown 'ColorButton' version", kColorButtonSource, __LINE__);
    }
    stream.FinishClass("ColorButton", this, 0);
}
