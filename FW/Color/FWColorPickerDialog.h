// The modal colour picker opened from a colour button: the before/after squares, a bin of picker
// icons and the pickers the user chose to show, each in a frame under a title handle. Every edit
// reaches the button at once; Cancel puts the old colour back. Dragging icons shows, moves and
// hides pickers and switches between a row and a stack; that arrangement, the pickers shown,
// the unit of the channel picker and the window's place are kept for the rest of the run.
#pragma once

#include "FWColorPicker.h"
#include "FWDialog.h"
#include "FWView.h"

#include <vector>

class CancelButton;
class ColorButton;
class ColorPickerHandle;
class DiskImage;
class ImageBuffer;
class OKButton;
class PickerBin;
class StaticText;

class FWColorPickerDialog : public FWModalDialog {
public:
    FWColorPickerDialog();
    ~FWColorPickerDialog() override;

    // Runs the picker on the button's colour; true when the user kept the new colour.
    static bool PickColor(ColorButton* button);

    void Initialize(const FWString* prompt);
    using FWModalDialog::Initialize;
    void LayoutColorPicker(bool centre);
    // Tracks the drag of a picker icon and applies the drop; true when it moved far enough to
    // be a drag. (dh, dv) goes from the press to the icon's top-left.
    bool ClickPickerIcon(FWEvent& event, int16_t dh, int16_t dv, FWRect& iconRect, const ImageBuffer* restImage,
                         const ImageBuffer* pressedImage, FWColorPicker* picker);
    // Where a drop at the point would insert: an index (0x4000 set for a horizontal marker and
    // the stacked arrangement), or 0xFFFF for none, with the marker's place.
    void FindInsertionIndex(FWPoint where, int16_t& index, FWPoint& markerTopLeft, FWPoint& markerSize) const;
    void ResumePickerState();
    void SetUpDefaultState();
    FWColorPicker* FindBeforeAfterPicker() const;
    const std::vector<FWColorPicker*>& GetPickerList() const { return mManager.GetThePickerList(); }
    FWColorPickerManager& GetManager() { return mManager; }
    bool DragWindow(FWEvent& event) override;

    bool IsHorizontal() const { return mHorizontal; }
    int16_t GetPickersTop() const { return mPickersTop; }
    PickerBin* GetBin() const { return mBin; }
    const std::vector<ColorPickerHandle*>& GetHandles() const { return mHandles; }
    const std::vector<FWView*>& GetFrames() const { return mFrames; }
    OKButton* GetOKButton() const { return mOK; }
    CancelButton* GetCancelButton() const { return mCancel; }

    // Kept for the run only, never written.
    static int32_t sColorPickerLeft;
    static int32_t sColorPickerTop;
    static bool gPickerHorizontal;
    static bool gARGBPercent;
    static std::vector<int> gPickerDialogState;

private:
    void FixCurrentWindowSize(bool centre);
    ColorPickerHandle* newHandle(FWColorPicker* picker);
    void drawMarker(FWDrawContext& context, int16_t index, FWPoint topLeft, FWPoint size) const;

    FWColorPickerManager mManager;
    bool mHorizontal;
    PickerBin* mBin = nullptr;
    int16_t mPickersTop = 0;
    std::vector<ColorPickerHandle*> mHandles;
    const DiskImage* mMarkerPicture = nullptr;
    OKButton* mOK = nullptr;
    CancelButton* mCancel = nullptr;
    StaticText* mPrompt = nullptr;
    std::vector<FWView*> mFrames;
};

// The row of picker icons, 24 x 24 each; dragging one into the picker area shows that picker.
class PickerBin : public FWView {
public:
    explicit PickerBin(FWColorPickerDialog* dialog) { FWView::Init(dialog); }
    void Initialize(int16_t h, int16_t v);
    bool MouseDownEvent(FWEvent& event) override;
    void Draw(FWDrawContext& context) const override;
    FWColorPickerDialog* GetPickerDialog() const;
    const std::vector<FWColorPicker*>* GetPickerList() const;
};

// A shown picker's title: its icon and name. Dragging the icon moves or hides the picker.
class ColorPickerHandle : public FWView {
public:
    explicit ColorPickerHandle(FWColorPickerDialog* dialog) { FWView::Init(dialog); }
    void Initialize(FWColorPicker* picker, int16_t h, int16_t v);
    bool MouseDownEvent(FWEvent& event) override;
    void Draw(FWDrawContext& context) const override;
    FWColorPicker* GetThePicker() const { return mPicker; }
    int16_t GetPickerWidth() const { return mWidth; }
    int16_t GetPickerHeight() const { return mHeight; }
    FWColorPickerDialog* GetPickerDialog() const;

private:
    FWColorPicker* mPicker = nullptr;
    int16_t mWidth = 0;
    int16_t mHeight = 0;
    FWStr<31> mName;
};
