// The scroll bar: a sunken trough with a raised thumb whose length shows the visible share of a
// larger extent. Its value runs from 0 to a maximum of total - visible. A container drives the
// scrollers it owns through a callback; a scroller placed in a layout on its own reports through
// interface actions (0 begins, 1 goes on, 2 ends) and then its interface event. Taller than wide
// is vertical. While it is dragged it draws through an off-screen buffer.
#pragma once

#include "FWView.h"

#include <cstdint>

class ImageBuffer;

class Scroller : public FWView {
public:
    // Told of each change of the value during a drag: the change, the caller's context, the bar.
    using ScrollProc = void (*)(int32_t change, void* context, Scroller* scroller);

    Scroller();
    ~Scroller() override;

    // Binds the view; takes the rectangle when one is given; then visible 20 of a total of 50.
    void Init(FWWindow* window, const FWRect* rect);
    using FWView::Init;

    // Values. SetScrollMax (visible, total) keeps the value within the new maximum and sizes
    // the thumb; SetScrollVal stores the value as it is (callers clamp), without redrawing.
    void SetScrollMax(int32_t visible, int32_t total);
    void SetScrollVal(int32_t value) { mValue = value; }
    int32_t ScrollVal() const { return mValue; }
    int32_t ScrollMax() const { return mMaximum; }
    int32_t VisibleSize() const { return mVisible; }
    int32_t TotalSize() const { return mTotal; }
    int32_t LastChange() const { return mLastChange; }
    int32_t ThumbLength() const { return mThumbLength; }
    int32_t Travel() const { return mTravel; }

    // Geometry
    void SetRect(const FWRect& rect) override;
    bool IsVertical() const;
    int32_t ScrollerLength() const;
    // The thumb within the view rectangle; the whole bar when the thumb cannot move.
    FWRect* GetThumbRect(FWRect* out) const;

    // 1 draws through an off-screen buffer (made when there is something to scroll), 0 draws
    // directly; answers whether a buffer existed before.
    bool SetDrawMode(int mode);

    // The drag loop from a press at start; without a callback the bar reports to its interface
    // target instead.
    void Track(FWPoint start, ScrollProc proc, void* context);

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;

    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "Scroller"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    void RecalcThumb();
    void makeBuffer();
    void freeBuffer();
    void drawBar(FWDrawContext& context) const;
    void drawNow();
    // Reports a change of the value during a drag.
    void report(ScrollProc proc, void* context, int32_t action);

    int32_t mVisible = 0;
    int32_t mTotal = 0;
    int32_t mValue = 0;
    int32_t mMaximum = 0;
    int32_t mLastChange = 0;
    int32_t mThumbLength = 0;
    int32_t mTravel = 0;
    ImageBuffer* mBuffer = nullptr;
};
