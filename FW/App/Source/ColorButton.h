// A push button showing a colour swatch. A click opens the colour picker on it; dragging out of
// it carries its colour away as an 'ARGB' scrap; dropping such a scrap on it takes the colour.
#pragma once

#include "FWArgb32.h"
#include "FWDragReceiver.h"
#include "FWDragScrap.h"
#include "FWDynamicString.h"
#include "PushButton.h"

// The dragged colour: four bytes alpha, red, green, blue.
class ColorScrap : public FWDragScrap {
public:
    explicit ColorScrap(const FWArgb32& color) : mBytes{color.a, color.r, color.g, color.b} {}
    uint32_t Type() const override;
    void RetrieveData(const void*& data, int& size) const override;

private:
    uint8_t mBytes[4];
};

class ColorButton : public PushButton, public FWDragReceiver {
public:
    ColorButton() = default;
    ~ColorButton() override;
    ColorButton(const ColorButton&) = delete;
    ColorButton& operator=(const ColorButton&) = delete;

    virtual void Init(FWWindow* window, const FWRect& rect, FWArgb32 color);
    using PushButton::Init;

    // Colour and picker options (no redraw)
    FWArgb32 GetColor() const { return mColor; }
    void SetColor(const FWArgb32& color) { mColor = color; }
    bool GetEditAlpha() const { return mEditAlpha; }
    void SetEditAlpha(bool edit) { mEditAlpha = edit; }
    const FWDynamicString& GetPromptString() const { return mPrompt; }
    void SetPromptString(const FWString& prompt) { mPrompt = prompt; }
    // The button colour becomes the window background's.
    void DefaultState() override;

    // At least 15 x 15; a drop target while it can be seen.
    void SetRect(const FWRect& rect) override;
    void SetVisibility(bool visible) override;
    void ParentVisibilityChanged() override;
    EditType FilterEditType(EditType type) override { return type; }

    void Draw(FWDrawContext& context) const override;
    // A click opens the picker; leaving the button with the mouse held drags the colour.
    bool MouseDownEvent(FWEvent& event) override;

    // Drops: only a flavour of exactly four bytes is a colour.
    void Enter(const FWPoint& point, const FWDragData& data) override;
    void Exit(const FWPoint& point, const FWDragData& data) override;
    void Accept(const FWDragData& data) override;

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "ColorButton"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    // The colour a drag carries, when the data holds a whole one.
    static bool droppedColor(const FWDragData& data, FWArgb32& color);
    bool takesDrops() const;
    void updateDropTarget();
    void DrawDragHilite(const FWArgb32& light, const FWArgb32& dark);
    void pick();

    FWArgb32 mColor;
    bool mEditAlpha = true;
    FWDynamicString mPrompt;
};
