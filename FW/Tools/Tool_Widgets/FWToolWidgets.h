// The widgets the four kinds of tool make: each is attached to its tool for its whole life,
// tracks a click itself and draws the tool's state.
#pragma once

#include "FWToolWidget.h"

class DiskImage;

// A widget attached to its tool from construction to destruction.
class FWManagedToolWidget : public FWToolWidget {
public:
    explicit FWManagedToolWidget(const FWTool& tool);
    // Detaches from the tool and clears the last-clicked record when it names this widget.
    ~FWManagedToolWidget() override;

    // The click: the handler first, else tracked until release; a release inside activates.
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;

    FWToolWidget* CreateCloneWidget() const override;
    void ActivateTool() override;
    // A visible widget is invalidated so that it redraws with the tool's state.
    void ToolStateChanged(const FWTool& tool) override;

protected:
    // The border, then the name (text mode) or the icon, then the ellipsis.
    void DrawManaged(FWDrawContext& context) const;
};

class FWButtonToolWidget : public FWManagedToolWidget {
public:
    using FWManagedToolWidget::FWManagedToolWidget;
    void Draw(FWDrawContext& context) const override;
};

// Highlighted (application colour 11) while its tool is the current one.
class FWModalToolWidget : public FWManagedToolWidget {
public:
    using FWManagedToolWidget::FWManagedToolWidget;
    void Draw(FWDrawContext& context) const override;
    void DrawModalHilite(FWDrawContext& context) const;
};

// Radio and check widgets show their state by a mark in the top-right corner.
class FWRadioToolWidget : public FWManagedToolWidget {
public:
    using FWManagedToolWidget::FWManagedToolWidget;
    void Draw(FWDrawContext& context) const override;
    void DrawRadioMark(FWDrawContext& context) const;

private:
    static DiskImage* sMarkOn;
    static DiskImage* sMarkOff;
    static bool sMarksLoaded;
};

class FWCheckToolWidget : public FWManagedToolWidget {
public:
    using FWManagedToolWidget::FWManagedToolWidget;
    void Draw(FWDrawContext& context) const override;
    void DrawCheckMark(FWDrawContext& context) const;

private:
    static DiskImage* sMarkOn;
    static DiskImage* sMarkOff;
    static bool sMarksLoaded;
};
