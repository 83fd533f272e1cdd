#include "StaticText.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

namespace {

constexpr const char* kStaticTextSource = "FW/App/Source/StaticText";
constexpr int16_t kLineHeight = 13;

const FWStr<31> kStaticTextName("StaticText");
SubClassFactory<FWView, StaticText> sFactory("StaticText");

} // namespace

StaticText::StaticText()
{
    SetDebugName("StaticText");
}

void StaticText::Init(FWWindow* window, const FWRect& rect, const FWString* text, Style style)
{
    FWView::Init(window);
    mStyle = style;
    if (text != nullptr)
        mText = *text;
    SetRect(rect);
}

void StaticText::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    if (mStyle != kSingleLine)
        return;
    const FWFont font = GetWindow() != nullptr ? GetWindow()->Font() : FWFont();
    FWRect fitted = rect;
    fitted.right = int16_t(rect.left + font.GetStringWidth(&mText));
    fitted.bottom = int16_t(rect.top + kLineHeight);
    FWView::SetRect(fitted);
    mTextPoint = FWPoint(fitted.left, int16_t(fitted.bottom - 3));
}

void StaticText::Draw(FWDrawContext& context) const
{
    FWFontSaver font(context);
    if (GetWindow() != nullptr)
        context.SetFont(&GetWindow()->Font());
    const FWRect rect = GetRect();
    switch (mStyle) {
    case kSingleLine:
        context.DrawEmbossedString(mTextPoint.h, mTextPoint.v, &mText, IsGhosted(), 0, false);
        break;
    case kBoldWrapped:
        context.SetFontBold(true);
        context.DrawString(&rect, &mText);
        break;
    case kPlainWrapped:
        context.WrapString(&rect, &mText);
        break;
    default:
        break;
    }
}

bool StaticText::MouseDownEvent(FWEvent&)
{
    return SendInterfaceEvent(this);
}

FWView* StaticText::Duplicate(FWPoint offset)
{
    auto* copy = new StaticText;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, &mText, mStyle);
    return copy;
}

void StaticText::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mText.GetCString());
    std::fprintf(file, "\t\tviewArray[%ld] = new StaticText(window, rect, &string);\n", long(index));
}

// Version 1: version byte; the view's record; style (byte); text point; text (0-terminated).
void StaticText::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("StaticText", 1);
    FWView::OldWrite(stream);
    stream.WriteByte(int8_t(mStyle));
    stream.WriteFWPoint(mTextPoint);
    stream.WriteString(mText);
    stream.FinishClass("StaticText", this, 0);
}

void StaticText::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("StaticText");
    if (version == 1) {
        FWView::OldRead(stream);
        mStyle = Style(stream.ReadByte());
        stream.ReadFWPoint(mTextPoint);
        stream.ReadString(mText);
    } else {
        FWStoredDataNotice::Report("Unknown 'StaticText' version", kStaticTextSource, 231);
    }
    stream.FinishClass("StaticText", this, 0);
}

bool StaticText::DoInterface()
{
    StaticTextDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& StaticText::Viewable_Name() const
{
    return kStaticTextName;
}

const ImageBuffer* StaticText::Viewable_Icon()
{
    return DiskImage::Acquire(2012, FOUR_CHAR_CODE("argb"));
}
