// The push button: a bevelled frame with an optional image and an optional line of text, laid
// out by a placement and an icon position. A click is followed by a PushButtonTracker, which
// shows the button pressed while the mouse is inside it; a click released inside reports the
// button's interface event. OKButton and CancelButton are push buttons with a dialog's defaults:
// a modal dialog ends when one of them is clicked.
#pragma once

#include "FWStr.h"
#include "FWView.h"
#include "MouseTrack.h"

#include <cstdint>

class DiskImage;
class ImageBuffer;

class PushButton : public FWView {
public:
    // 0 bevel with cut corners, 1 square bevel; any other value draws no frame.
    using Border = int32_t;
    // 0 momentary (springs back when the click ends); any other value toggles.
    using Behaviour = int32_t;
    // Where the image sits against the text: 0 left, 1 above, 2 right, 3 below.
    using IconPosition = int32_t;
    // Where the image-and-text block sits: 0 centred, 1 left, 2 top, 3 right, 4 bottom.
    using Placement = int32_t;

    // A width or height below this becomes 20.
    static constexpr int16_t kLeastKept = 7;

    PushButton();
    // Releases the image unless it is the shared default picture.
    ~PushButton() override;

    // Binds the view, copies the text when given, takes the image (0: none), then SetRect.
    virtual void Init(FWWindow* window, const FWRect& rect, const FWString* text, int32_t iconID);
    using FWView::Init;

    // Geometry: a width or height of 6 or less becomes 20; the layout is computed anew.
    void SetRect(const FWRect& rect) override;
    // 7 x 7: the least size SetRect keeps, so that the editor gives the button no size it widens.
    FWPoint LeastSize() const override { return FWPoint(kLeastKept, kLeastKept); }

    // Image: 'argb', then 'cicn', then 'PICT' of the id, else the default picture; 0 or less
    // leaves no image. No relayout and no redraw.
    void SetIcon(int32_t id);
    int32_t GetIconID() const { return mIconID; }
    const ImageBuffer* GetImage() const;

    // State and text (no redraw)
    void SetState(bool on) { mState = on; }
    bool GetState() const { return mState; }
    const FWString& GetText() const { return mText; }
    // Laid out at the next SetRect.
    void SetText(const FWString& text) { mText = text; }

    // Look: Border invalidates the button; Placement, IconPosition and bold lay it out anew.
    Border GetBorder() const { return mBorder; }
    Behaviour GetBehaviour() const { return mBehaviour; }
    Placement GetPlacement() const { return mPlacement; }
    IconPosition GetIconPosition() const { return mIconPosition; }
    bool GetBoldText() const { return mBold; }
    void SetBorder(Border border);
    void SetBehaviour(Behaviour behaviour) { mBehaviour = behaviour; }
    void SetPlacement(Placement placement);
    void SetIconPosition(IconPosition position);
    void SetBoldText(bool bold);

    // Where the layout put the image and the text (pen position and right limit).
    FWRect GetIconRect() const { return mIconRect; }
    FWPoint GetTextPosition() const { return mTextPosition; }
    int32_t GetTextLimit() const { return mTextLimit; }

    // Drawing and events
    void Draw(FWDrawContext& context) const override;
    // Tracks the click; a release inside reports the interface event. Always handled.
    bool MouseDownEvent(FWEvent& event) override;
    // Shows the button pressed for 6 ticks; reports nothing.
    void SimulateMouseClick() override;
    // Draws the button now, outside an update.
    void DrawNow();

    // Copies and persistence: the duplicate of any push button is a plain PushButton.
    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "PushButton"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

    // Recomputes where the text and the image are drawn.
    void recalc_layout();

protected:
    void setText(const FWString& text) { mText = text; }

private:
    void releaseImage();
    void acquireImage(int32_t id);
    void drawFrame(FWDrawContext& context) const;
    void drawBevel(FWDrawContext& context, const FWRect& rect) const;

    Border mBorder = 0;
    Behaviour mBehaviour = 0;
    IconPosition mIconPosition = 0;
    Placement mPlacement = 0;
    int32_t mIconID = 0;
    DiskImage* mImage = nullptr;
    FWRect mIconRect;
    bool mState = false;
    FWStr<31> mText;
    bool mBold = false;
    FWPoint mTextPosition;
    int32_t mTextLimit = 0;
};

class OKButton : public PushButton {
public:
    OKButton() = default;
    // Image 131; an empty width becomes 74 and an empty height 29; "OK" unless a text is
    // given; bold.
    void Init(FWWindow* window, const FWRect& rect, const FWString* text);
    using PushButton::Init;
    const char* FactoryGetClassName() const override { return "OKButton"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
};

class CancelButton : public PushButton {
public:
    CancelButton() = default;
    // Image 130; an empty width becomes 66 and an empty height 24; "Cancel" unless a text is
    // given; bold.
    void Init(FWWindow* window, const FWRect& rect, const FWString* text);
    using PushButton::Init;
    const char* FactoryGetClassName() const override { return "CancelButton"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
};

// Presses and releases the button as the mouse enters and leaves it; the pressed look shows
// from construction on.
class PushButtonTracker : public MouseTrack {
public:
    explicit PushButtonTracker(PushButton* button);
    void MouseMoved() override;
    void FinishInteraction() override;
    // The mouse was inside the button at the release.
    bool Succesful() const { return mInside; }

private:
    PushButton* mButton;
    bool mStartState;
    bool mInside = true;
};
