// The small view that shows one tool, by its icon or (in text mode) its name, inside a tool
// grid, and turns a click into the tool's activation. Several widgets may show one tool at once;
// each hears ToolStateChanged when the tool's state changes.
#pragma once

#include "FWSmartView.h"

class DiskImage;
class FWString;
class FWTool;

class FWToolWidget : public FWSmartView {
public:
    explicit FWToolWidget(const FWTool& tool) : mTool(&tool) {}

    // A new widget of the same kind for the same tool; the caller owns it.
    virtual FWToolWidget* CreateCloneWidget() const = 0;
    virtual void ActivateTool() = 0;
    virtual void ToolStateChanged(const FWTool& tool) = 0;

    // Flags only: nothing is redrawn.
    virtual bool TextMode() const { return mTextMode; }
    virtual void SetTextMode(bool textMode) { mTextMode = textMode; }
    virtual bool IsPressed() const { return mPressed; }
    virtual void SetPressed(bool pressed) { mPressed = pressed; }

    virtual const FWString& ToolName() const;
    virtual const DiskImage* ToolIcon() const;
    virtual bool ToolIsDisabled() const;
    virtual bool ToolIsActivated() const;

    // The hover tip shows the tool's name.
    bool MousePaused() override;
    void Draw(FWDrawContext& context) const override = 0;

    const FWTool* Tool() const { return mTool; }
    // Draws the widget now, on its window.
    void UpdateNow();

    // Pieces of the drawing.
    // A sunken bevel while pressed, else a raised one.
    void DrawBorder(FWDrawContext& context) const;
    // The icon centred (or scaled down into the rect less 2), or the name wrapped when there
    // is no icon.
    void DrawIcon(FWDrawContext& context) const;
    // The name on one embossed line, cut with an ellipsis.
    void DrawName(FWDrawContext& context) const;
    // Three dots at the bottom left for tools with an alternate action.
    void DrawEllipsis(FWDrawContext& context) const;

private:
    bool mPressed = false;
    bool mTextMode = false;
    const FWTool* mTool;
};
