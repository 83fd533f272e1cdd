// Two colour squares: the left follows the colour being edited, the right keeps the colour the
// dialog opened with; a click on the right one makes that colour current again.
#pragma once

#include "FWColorPicker.h"
#include "FWView.h"

class BeforeAfterPicker : public FWColorPicker {
public:
    explicit BeforeAfterPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 20) {}

    void ReceiveNewColorToEdit(const FWArgbColor& color) override;
    void ReceiveEditedColor(const FWArgbColor& color) override;
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void AddPickerViews(int16_t h, int16_t v) override;

    class ColorSquare : public FWView {
    public:
        explicit ColorSquare(FWWindow* window) { FWView::Init(window); }
        void Initialize(const FWRect* rect, FWColorPicker* owner, bool clickable);
        FWArgb32 GetSquareColor() const { return mColor; }
        // Stores the colour and paints it at once when the square can be seen.
        void SetSquareColor(FWArgb32 color, FWDrawContext& context);
        void PaintSquare(FWDrawContext& context) const;
        void Draw(FWDrawContext& context) const override;
        bool MouseDownEvent(FWEvent& event) override;

    private:
        FWColorPicker* mOwner = nullptr;
        FWArgb32 mColor{0, 0, 0, 0};
        bool mClickable = false;
    };

    ColorSquare* GetCurrentSquare() const { return mCurrent; }
    ColorSquare* GetOpeningSquare() const { return mOpening; }

protected:
    void PickerViewsRemoved() override { mCurrent = mOpening = nullptr; }

private:
    void setSquare(ColorSquare* square, const FWArgbColor& color);

    ColorSquare* mCurrent = nullptr;
    ColorSquare* mOpening = nullptr;
};
