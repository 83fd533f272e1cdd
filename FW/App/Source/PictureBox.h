// Shows one picture resource, chosen by id, inside a 1-pixel margin; its size follows the
// picture. A container, so other views can be placed on it; a click reports its interface event,
// which lets a dialog use a picture as a button.
#pragma once

#include "FWGroupControl.h"

#include <cstdint>

class DiskImage;
class ImageBuffer;

class PictureBox : public FWGroupControl {
public:
    PictureBox();
    // Releases the image unless it is the shared default picture.
    ~PictureBox() override;

    // Binds the view, loads the picture (the type, then 'cicn', then 'PICT'; id 17, an id of 0
    // or less and a missing picture show the default picture), then SetRect.
    void Init(FWWindow* window, const FWRect& rect, int32_t id, uint32_t type);
    // Binds the view to show the image's own resource; the rectangle is not changed.
    void Init(FWWindow* window, const DiskImage* image);
    using FWGroupControl::Init;

    // With an image, the rectangle takes the picture's size and a 1-pixel margin.
    void SetRect(const FWRect& rect) override;

    int32_t GetPictureID() const { return mPictureID; }
    uint32_t GetResType() const { return mResType; }
    FWRect GetPictureRect() const { return mPictureRect; }
    const ImageBuffer* GetImage() const;
    // Shows the picture of that id from the current resource files ('argb', then 'cicn', then
    // 'PICT'); id 17 and an id without a usable image show the default picture.
    void SetPicture(int32_t id);

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;
    EditType FilterEditType(EditType) override { return kEditMove; }

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "PictureBox"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    void releaseImage();
    // The types in turn for any id but the default picture's (17), else the default picture.
    void loadImage(int32_t id, std::initializer_list<uint32_t> types);

    int32_t mPictureID = 0;
    uint32_t mResType;
    FWRect mPictureRect;
    DiskImage* mImage = nullptr;
};
