// The colour-picker dialog's interchangeable pickers: their common base, the manager that owns
// them and the colour being edited and hands every edit to the other shown pickers and to the
// colour button, and the view-moving helpers the dialog and the pickers share.
#pragma once

#include "FWArgb32.h"
#include "FWArgbColor.h"
#include "FWEventHandler.h"
#include "FWRect.h"
#include "FWStr.h"

#include <cstdint>
#include <vector>

class ColorButton;
class FWColorPickerManager;
class FWView;
class FWWindow;
class ImageBuffer;

// Bytes of a float colour: each component x 255, truncated, then held to 0..255 so that a typed
// value beyond the range gives the nearest byte instead of wrapping.
uint8_t FWColorByte(float component);
FWArgb32 FWColorBytes(const FWArgbColor& color);

class FWColorPicker : public FWEventHandler {
public:
    FWColorPicker(const FWColorPickerManager* manager, int pickerID);
    ~FWColorPicker() override;
    FWColorPicker(const FWColorPicker&) = delete;
    FWColorPicker& operator=(const FWColorPicker&) = delete;

    // A new starting colour; a picker shows it without sending anything back.
    virtual void ReceiveNewColorToEdit(const FWArgbColor& color) { (void)color; }
    // Another picker edited the colour.
    virtual void ReceiveEditedColor(const FWArgbColor& color) { ReceiveNewColorToEdit(color); }
    virtual void AddToWindow(FWWindow* window, int16_t h, int16_t v);
    // Deletes the picker's views; the picker is hidden afterwards.
    virtual void RemoveFromWindow(FWWindow* window);
    virtual void OffsetColorPicker(int16_t dh, int16_t dv);
    virtual void MoveColorPickerTo(int16_t h, int16_t v);
    virtual void GetColorPickerSize(int16_t& width, int16_t& height);
    virtual const ImageBuffer* GetPickerNormalImage() const { return mNormalImage; }
    virtual const ImageBuffer* GetPickerHilitedImage() const { return mHilitedImage; }
    virtual void GetPickerName(FWStr<31>& name) { name = FWStr<31>(""); }
    virtual bool IsPickerVisible() const { return !mViews.empty(); }
    virtual void AddPickerViews(int16_t h, int16_t v) { (void)h, (void)v; }

    int GetPickerID() const { return mPickerID; }
    void GetColorPickerLocation(int16_t& h, int16_t& v) const;
    FWWindow* GetPickerWindow() const { return mWindow; }
    const FWColorPickerManager* GetManager() const { return mManager; }
    const std::vector<FWView*>& GetPickerViews() const { return mViews; }

    // Puts the view at the end of the window's tree, as one of the picker's, reporting to it.
    void AddOneViewToPickerWindow(FWView* view);
    // The icon and its hilited form (darkened by half).
    void ReadImagesFromDisk(int32_t resourceID, uint32_t resourceType);
    void DispatchEditedColor(const FWArgbColor& color, const ActionType& action);

protected:
    // Told when the views are deleted, so that the picker drops its pointers to them.
    virtual void PickerViewsRemoved() {}
    // Redraws a view of the picker at once.
    void RedrawView(const FWView* view) const;

private:
    const FWColorPickerManager* mManager;
    const ImageBuffer* mNormalImage = nullptr;
    ImageBuffer* mHilitedImage = nullptr;
    int16_t mLocationH = 0;
    int16_t mLocationV = 0;
    int mPickerID;
    std::vector<FWView*> mViews;
    FWWindow* mWindow = nullptr;
};

class FWColorPickerManager {
public:
    FWColorPickerManager() = default;
    virtual ~FWColorPickerManager();
    FWColorPickerManager(const FWColorPickerManager&) = delete;
    FWColorPickerManager& operator=(const FWColorPickerManager&) = delete;

    // Every picker, made on first use: before/after, ARGB, HSV, CMYK, mixer, swatches.
    const std::vector<FWColorPicker*>& GetThePickerList() const;
    FWColorPicker* GetPickerFromPickerID(int id) const;
    // The button's colour becomes the one edited and goes to every shown picker.
    void SetColorTarget(ColorButton* button);
    ColorButton* GetColorTarget() const { return mTarget; }
    void SetCurrentColor(const FWArgbColor& color);
    void GetCurrentColor(FWArgbColor& color) const { color = mCurrent; }
    // An edit from a picker: to every other shown picker, then into the button, which is
    // redrawn and tells its owner the phase of the edit.
    void DispatchColorEvent(FWColorPicker* source, const FWArgbColor& color, const ActionType& action) const;
    void SetEditAlpha(bool edit) { mEditAlpha = edit; }
    bool GetEditAlpha() const { return mEditAlpha; }

private:
    ColorButton* mTarget = nullptr;
    mutable FWArgbColor mCurrent;
    mutable std::vector<FWColorPicker*> mPickers;
    bool mEditAlpha = true;
};

// Moves a point inside the rectangle (its right and bottom edges are outside).
void PinPointInRect(FWPoint& point, const FWRect& rect);
// Erase the view's place in the window background, move it, erase its new place.
void MoveViewTo(FWView* view, int16_t h, int16_t v);
void OffsetView(FWView* view, int16_t dh, int16_t dv);
