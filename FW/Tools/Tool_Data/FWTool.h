// A tool: one command of the tool tree as the tool window, palettes and tool menus show it. A
// tool keeps what it needs of its command (actions, icon, name, disabled flag), its activated
// state and exclusive group, and the widgets that show it. The manager (FWToolManagerImp) makes
// the tools once and keeps them for the life of the program.
#pragma once

#include "FWStr.h"

#include <cstdint>
#include <vector>

class DiskImage;
class FWToolWidget;
class FWUserOp;

using FWToolActionProc = void (*)(FWUserOp*);

class FWTool {
public:
    // Exclusive groups: 0 none; the modal tools share 1, the radio tools 2 (3 with flag 512).
    using ExclusiveType = uint32_t;
    using CanActivateProc = bool (*)();
    using CanDeactivateProc = bool (*)(const char* newToolName);

    explicit FWTool(const FWUserOp& op);
    FWTool(const FWTool&) = delete;
    FWTool& operator=(const FWTool&) = delete;
    // Releases the icon.
    virtual ~FWTool();

    // A new widget showing this tool; the caller owns it.
    virtual FWToolWidget* CreateNewWidget() const = 0;
    // True when the state changed so that the widgets must be redrawn.
    virtual bool Activate() = 0;
    virtual bool Deactivate() = 0;

    const DiskImage* Icon() const { return mIcon; }
    const FWString& Name() const { return mName; }
    bool Disabled() const { return mDisabled; }
    bool Activated() const { return mActivated; }
    bool HasAltProc() const { return mAltAction != nullptr; }
    ExclusiveType ExclusiveGroup() const { return mExclusiveGroup; }

    // Run the action or the alternate action, when there is one, with a null command.
    void DoAction() const;
    void DoAltAction() const;
    // True without a hook, else the hook's answer.
    bool CanActivate() const;
    bool CanDeactivate(const FWString& newToolName) const;
    void SetActivated(bool activated) { mActivated = activated; }
    void SetExclusiveGroup(ExclusiveType group) { mExclusiveGroup = group; }

    // The widgets showing the tool, in attachment order (not owned).
    const std::vector<FWToolWidget*>& Widgets() const { return mWidgets; }

private:
    friend class FWToolManagerImp; // attaches and detaches the widgets

    FWToolActionProc mAction;
    FWToolActionProc mAltAction;
    CanActivateProc mCanActivate = nullptr;
    CanDeactivateProc mCanDeactivate = nullptr;
    signed char mShortcutKey;
    uint16_t mShortcutMods;
    DiskImage* mIcon = nullptr;
    FWStr<63> mName;
    bool mDisabled;
    bool mActivated = false;
    ExclusiveType mExclusiveGroup = 0;
    // Which widgets show a tool is not part of its state: const tools still gain and lose them.
    mutable std::vector<FWToolWidget*> mWidgets;
};

// Modal tools (flag 2): one of group 1 is the current tool. Activating shows a status message
// and runs the action once; activating it again does nothing.
class FWModalTool : public FWTool {
public:
    explicit FWModalTool(const FWUserOp& op);
    FWToolWidget* CreateNewWidget() const override;
    bool Activate() override;
    bool Deactivate() override;
};

// Radio tools (flag 2048 without 2): exclusive within group 2, or 3 with flag 512.
class FWRadioTool : public FWTool {
public:
    explicit FWRadioTool(const FWUserOp& op);
    FWToolWidget* CreateNewWidget() const override;
    bool Activate() override;
    bool Deactivate() override;
};

// Button tools (flag 1): run the action on every click and never stay active.
class FWButtonTool : public FWTool {
public:
    explicit FWButtonTool(const FWUserOp& op);
    FWToolWidget* CreateNewWidget() const override;
    bool Activate() override;
    bool Deactivate() override { return false; }
};

// Check tools (none of those flags): each activation toggles the state and runs the action.
class FWCheckTool : public FWTool {
public:
    explicit FWCheckTool(const FWUserOp& op);
    FWToolWidget* CreateNewWidget() const override;
    bool Activate() override;
    bool Deactivate() override { return false; }
};
