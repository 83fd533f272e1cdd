// A widget standing for several tools: it shows one of them, a click works that one, and a
// click held for 16 ticks opens a tool menu of all of them to choose another. When one of its
// tools becomes active anywhere, the widget switches to show it.
#pragma once

#include "FWStr.h"
#include "FWToolWidget.h"

#include <vector>

class FWToolMenu;

class FWMenuToolWidget : public FWToolWidget {
public:
    // Stands for the tool and shows it.
    explicit FWMenuToolWidget(const FWTool& tool);
    // Deletes the shown widget and detaches from every tool.
    ~FWMenuToolWidget() override;

    void AddTool(const FWTool& tool);
    // The title of its tool menu.
    void SetName(const FWString& name) { mMenuName = name; }
    const FWString& MenuName() const { return mMenuName; }
    const std::vector<const FWTool*>& Tools() const { return mTools; }
    // Shows the tool through a new widget of its own.
    void SetCurrentTool(const FWTool& tool);
    void SelectIndexedTool(int32_t index);
    // A new tool menu of its tools; the caller owns it.
    FWToolMenu* CreateNewMenu();
    FWToolWidget* CurrentWidget() const { return mCurrentWidget; }

    // A clone shows the first tool.
    FWToolWidget* CreateCloneWidget() const override;
    void ActivateTool() override {}
    void ToolStateChanged(const FWTool& tool) override;

    // The shown widget answers these.
    bool IsPressed() const override;
    void SetPressed(bool pressed) override;
    const FWString& ToolName() const override;
    const DiskImage* ToolIcon() const override;
    bool ToolIsDisabled() const override;
    bool ToolIsActivated() const override;
    bool MousePaused() override;
    // These act on both.
    void SetTextMode(bool textMode) override;
    void Init(FWWindow* window) override;
    void SetRect(const FWRect& rect) override;
    void SetVisibility(bool visible) override;

    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;
    // The shown widget, then an arrow pointing right at the bottom right.
    void Draw(FWDrawContext& context) const override;

private:
    // Whether the button is still down 16 ticks after the press.
    static bool IsMenuClick();

    std::vector<const FWTool*> mTools;
    FWToolWidget* mCurrentWidget = nullptr;
    FWStr<63> mMenuName;
};
