// A text the user cannot edit: a single embossed line that sizes itself to its text (style 0),
// or a text wrapped inside the view's rectangle, bold (style 1) or plain (style 2). A click only
// reports an interface event.
#pragma once

#include "FWStr.h"
#include "FWView.h"

#include <cstdint>

class StaticText : public FWView {
public:
    enum Style : int32_t { kSingleLine = 0, kBoldWrapped = 1, kPlainWrapped = 2 };

    StaticText();

    // Binds the view, takes the style and the text (when given, cut to 255 characters), then
    // SetRect.
    void Init(FWWindow* window, const FWRect& rect, const FWString* text, Style style);
    using FWView::Init;

    // Style 0 fits the rectangle to the text: its width, 13 high.
    void SetRect(const FWRect& rect) override;

    const FWString& GetText() const { return mText; }
    void SetText(const FWString& text) { mText = text; }
    Style GetStyle() const { return mStyle; }
    void SetStyle(Style style) { mStyle = style; }
    FWPoint GetTextPoint() const { return mTextPoint; }
    // Stored in memory only.
    void SetInternational(bool on) { mInternational = on; }
    bool International() const { return mInternational; }

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;
    EditType FilterEditType(EditType) override { return kEditMove; }

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "StaticText"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    Style mStyle = kSingleLine;
    FWStr<255> mText;
    FWPoint mTextPoint;
    bool mInternational = false;
};
