#include "PictureBox.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWDrawContext.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWViewMngr.h"
#include "SubClassFactory.h"

namespace {

constexpr const char* kPictureBoxSource = "FW/App/Source/PictureBox";
constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");
constexpr uint32_t kCicn = FOUR_CHAR_CODE("cicn");
constexpr uint32_t kPict = FOUR_CHAR_CODE("PICT");
constexpr int32_t kDefaultPictureID = 17;

const FWStr<31> kPictureBoxName("PictureBox");
SubClassFactory<FWView, PictureBox> sFactory("PictureBox");

} // namespace

PictureBox::PictureBox() : mResType(kArgb)
{
    SetDebugName("PictureBox");
}

PictureBox::~PictureBox()
{
    releaseImage();
}

void PictureBox::releaseImage()
{
    if (mImage != nullptr && mImage != FWViewMngr::defaultPicture)
        DiskImage::Release(mImage);
    mImage = nullptr;
}

void PictureBox::loadImage(int32_t id, std::initializer_list<uint32_t> types)
{
    releaseImage();
    if (id != kDefaultPictureID) {
        for (uint32_t type : types)
            if ((mImage = DiskImage::Acquire(id, type)) != nullptr)
                return;
    }
    mImage = FWViewMngr::defaultPicture;
}

void PictureBox::SetPicture(int32_t id)
{
    mPictureID = id;
    releaseImage();
    if (id != kDefaultPictureID) {
        DiskImage* found = nullptr;
        for (uint32_t type : {kArgb, kCicn, kPict})
            if ((found = DiskImage::Acquire(id, type)) != nullptr)
                break;
        if (found != nullptr && found->Valid()) {
            mImage = found;
            return;
        }
        if (found != nullptr)
            DiskImage::Release(found);
    }
    mImage = FWViewMngr::defaultPicture;
}

const ImageBuffer* PictureBox::GetImage() const
{
    return mImage;
}

void PictureBox::Init(FWWindow* window, const FWRect& rect, int32_t id, uint32_t type)
{
    FWView::Init(window);
    mPictureID = id;
    mResType = type;
    // Built in code, only an id above 0 names a picture; a stored one may name any id.
    loadImage(id > 0 ? id : kDefaultPictureID, {type, kCicn, kPict});
    SetRect(rect);
}

void PictureBox::Init(FWWindow* window, const DiskImage* image)
{
    FWView::Init(window);
    mPictureID = image != nullptr ? image->RsrcID() : 0;
    mResType = image != nullptr ? image->RsrcType() : kArgb;
    loadImage(mPictureID > 0 ? mPictureID : kDefaultPictureID, {mResType, kCicn});
}

void PictureBox::SetRect(const FWRect& rect)
{
    if (mImage == nullptr) {
        FWView::SetRect(rect);
        return;
    }
    const FWRect picture = mImage->GetRect();
    FWRect fitted = rect;
    fitted.right = int16_t(rect.left + picture.Width() + 2);
    fitted.bottom = int16_t(rect.top + picture.Height() + 2);
    FWView::SetRect(fitted);
    mPictureRect = fitted;
    mPictureRect.Inset(1, 1);
}

void PictureBox::Draw(FWDrawContext& context) const
{
    if (mImage != nullptr)
        context.DrawImage(mImage, &mPictureRect, false);
}

bool PictureBox::MouseDownEvent(FWEvent&)
{
    return SendInterfaceEvent(this);
}

FWView* PictureBox::Duplicate(FWPoint offset)
{
    auto* copy = new PictureBox;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, mPictureID, mResType);
    return copy;
}

void PictureBox::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tviewArray[%ld] = new PictureBox(window, rect, %ld);\n", long(index), long(mPictureID));
}

// Version 1: version byte; the view's record; picture id; picture rect. The type is not stored:
// a picture box read back shows an 'argb' picture.
void PictureBox::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("PictureBox", 1);
    FWView::OldWrite(stream);
    stream.WriteLong(mPictureID);
    stream.WriteFWRect(mPictureRect);
    stream.FinishClass("PictureBox", this, 0);
}

void PictureBox::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("PictureBox");
    mResType = kArgb;
    FWView::OldRead(stream);
    if (version == 1) {
        mPictureID = stream.ReadLong();
        stream.ReadFWRect(mPictureRect);
    } else {
        FWStoredDataNotice::Report("Unknown 'PictureBox' version", kPictureBoxSource, 287);
    }
    stream.FinishClass("PictureBox", this, 0);
    loadImage(mPictureID, {kArgb, kCicn, kPict});
}

bool PictureBox::DoInterface()
{
    PictureBoxDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& PictureBox::Viewable_Name() const
{
    return kPictureBoxName;
}

const ImageBuffer* PictureBox::Viewable_Icon()
{
    return DiskImage::Acquire(2008, kArgb);
}
