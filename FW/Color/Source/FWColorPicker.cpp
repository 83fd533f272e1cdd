#include "FWColorPicker.h"

#include "ARGBPicker.h"
#include "BeforeAfterPicker.h"
#include "ColorButton.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "ImageBuffer.h"
#include "MixerPicker.h"
#include "ModelPickers.h"
#include "SwatchPicker.h"

#include <algorithm>

uint8_t FWColorByte(float component)
{
    const float scaled = component * 255.0f;
    // Not-a-number and values below the range give 0.
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return uint8_t(scaled);
}

FWArgb32 FWColorBytes(const FWArgbColor& color)
{
    return FWArgb32(FWColorByte(color.a), FWColorByte(color.r), FWColorByte(color.g), FWColorByte(color.b));
}

// ---- the picker base

FWColorPicker::FWColorPicker(const FWColorPickerManager* manager, int pickerID)
    : mManager(manager), mPickerID(pickerID)
{
}

FWColorPicker::~FWColorPicker()
{
    if (mNormalImage != nullptr)
        DiskImage::Release(static_cast<const DiskImage*>(mNormalImage));
    delete mHilitedImage;
}

void FWColorPicker::AddToWindow(FWWindow* window, int16_t h, int16_t v)
{
    mWindow = window;
    mLocationH = h;
    mLocationV = v;
    AddPickerViews(h, v);
}

void FWColorPicker::RemoveFromWindow(FWWindow*)
{
    for (FWView* view : mViews) {
        view->Unlink();
        delete view;
    }
    mViews.clear();
    PickerViewsRemoved();
    FWEventDispatcher::Instance()->WindowListReset();
}

void FWColorPicker::OffsetColorPicker(int16_t dh, int16_t dv)
{
    if (dh == 0 && dv == 0)
        return;
    mLocationH = int16_t(mLocationH + dh);
    mLocationV = int16_t(mLocationV + dv);
    for (FWView* view : mViews)
        OffsetView(view, dh, dv);
}

void FWColorPicker::MoveColorPickerTo(int16_t h, int16_t v)
{
    OffsetColorPicker(int16_t(h - mLocationH), int16_t(v - mLocationV));
}

void FWColorPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 120;
    height = 80;
}

void FWColorPicker::GetColorPickerLocation(int16_t& h, int16_t& v) const
{
    h = mLocationH;
    v = mLocationV;
}

void FWColorPicker::AddOneViewToPickerWindow(FWView* view)
{
    if (mWindow == nullptr || mWindow->ViewMngr().GetViewTree() == nullptr) {
        delete view;
        return;
    }
    mWindow->ViewMngr().GetViewTree()->AppendChild(view);
    mViews.push_back(view);
    view->SetInterfaceTarget(this);
}

void FWColorPicker::ReadImagesFromDisk(int32_t resourceID, uint32_t resourceType)
{
    mNormalImage = DiskImage::Acquire(resourceID, resourceType);
    if (mNormalImage == nullptr)
        return;
    const FWRect rect = mNormalImage->GetRect();
    auto* hilited = new ImageBuffer(&rect, kImageBufferDepth32);
    if (!hilited->Valid()) {
        delete hilited;
        return;
    }
    {
        FWDrawContext context(hilited);
        context.DrawImage(mNormalImage, &rect, false);
        context.FadeRect(&rect, 0.5, FWArgb32(0, 0, 0, 0), nullptr);
    }
    hilited->CopyMask(mNormalImage);
    mHilitedImage = hilited;
}

void FWColorPicker::DispatchEditedColor(const FWArgbColor& color, const ActionType& action)
{
    mManager->DispatchColorEvent(this, color, action);
}

void FWColorPicker::RedrawView(const FWView* view) const
{
    if (view == nullptr || view->GetWindow() == nullptr || !view->Visible() || !view->AllParentsVisible())
        return;
    FWDrawContext context(const_cast<FWView*>(view));
    view->Draw(context);
    context.Flush();
}

// ---- the manager

FWColorPickerManager::~FWColorPickerManager()
{
    for (FWColorPicker* picker : mPickers)
        delete picker;
}

const std::vector<FWColorPicker*>& FWColorPickerManager::GetThePickerList() const
{
    if (mPickers.empty()) {
        mPickers.push_back(new BeforeAfterPicker(this));
        mPickers.push_back(new ARGBPicker(this));
        mPickers.push_back(new HSVPicker(this));
        mPickers.push_back(new CMYKPicker(this));
        mPickers.push_back(new MixerPicker(this));
        mPickers.push_back(new SwatchPicker(this));
    }
    return mPickers;
}

FWColorPicker* FWColorPickerManager::GetPickerFromPickerID(int id) const
{
    for (FWColorPicker* picker : GetThePickerList())
        if (picker->GetPickerID() == id)
            return picker;
    return nullptr;
}

void FWColorPickerManager::SetColorTarget(ColorButton* button)
{
    mTarget = button;
    if (button != nullptr)
        SetCurrentColor(FWArgbColor(button->GetColor()));
}

void FWColorPickerManager::SetCurrentColor(const FWArgbColor& color)
{
    mCurrent = color;
    for (FWColorPicker* picker : GetThePickerList())
        if (picker->IsPickerVisible())
            picker->ReceiveNewColorToEdit(mCurrent);
}

void FWColorPickerManager::DispatchColorEvent(FWColorPicker* source, const FWArgbColor& color,
                                              const ActionType& action) const
{
    mCurrent = color;
    for (FWColorPicker* picker : GetThePickerList())
        if (picker != source && picker->IsPickerVisible())
            picker->ReceiveEditedColor(color);
    if (mTarget == nullptr)
        return;
    mTarget->SetColor(FWColorBytes(color));
    if (mTarget->GetWindow() != nullptr && mTarget->Visible() && mTarget->AllParentsVisible()) {
        FWDrawContext context(mTarget);
        mTarget->Draw(context);
        context.Flush();
    }
    mTarget->SendInterfaceAction(mTarget, action);
}

// ---- moving views

void PinPointInRect(FWPoint& point, const FWRect& rect)
{
    if (point.h < rect.left)
        point.h = rect.left;
    else if (point.h >= rect.right)
        point.h = int16_t(rect.right - 1);
    if (point.v < rect.top)
        point.v = rect.top;
    else if (point.v >= rect.bottom)
        point.v = int16_t(rect.bottom - 1);
}

void OffsetView(FWView* view, int16_t dh, int16_t dv)
{
    FWRect rect = view->GetRect();
    FWWindow* window = view->GetWindow();
    if (window == nullptr) {
        rect.Offset(dh, dv);
        view->SetRect(rect);
        return;
    }
    FWDrawContext context(window);
    context.SetBackColor(FWGetAppColor(0));
    context.EraseRect(&rect);
    rect.Offset(dh, dv);
    view->SetRect(rect);
    context.EraseRect(&rect);
}

void MoveViewTo(FWView* view, int16_t h, int16_t v)
{
    const FWRect rect = view->GetRect();
    OffsetView(view, int16_t(h - rect.left), int16_t(v - rect.top));
}
