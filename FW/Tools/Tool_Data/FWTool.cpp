#include "FWTool.h"

#include "DiskImage.h"
#include "FWCmdWindow.h"
#include "FWToolWidgets.h"
#include "FWUserOp.h"

namespace {

constexpr uint32_t kArgbType = 0x61726762; // 'argb'
constexpr uint32_t kCicnType = 0x6369636E; // 'cicn'

// Tool icons are looked up as 'argb' first, then as 'cicn'.
DiskImage* acquireIcon(int32_t id)
{
    if (id == 0)
        return nullptr;
    if (DiskImage* image = DiskImage::Acquire(id, kArgbType))
        return image;
    return DiskImage::Acquire(id, kCicnType);
}

} // namespace

FWTool::FWTool(const FWUserOp& op)
    : mAction(op.Action()),
      mAltAction(op.AltAction()),
      mShortcutKey(static_cast<signed char>(op.ShortcutKey())),
      mShortcutMods(op.ShortcutMods()),
      mIcon(acquireIcon(op.IconID())),
      mName(op.Name()),
      mDisabled((op.Flags() & kUserOpDisabled) != 0)
{
}

FWTool::~FWTool()
{
    DiskImage::Release(mIcon);
}

void FWTool::DoAction() const
{
    if (mAction != nullptr)
        mAction(nullptr);
}

void FWTool::DoAltAction() const
{
    if (mAltAction != nullptr)
        mAltAction(nullptr);
}

bool FWTool::CanActivate() const
{
    return mCanActivate == nullptr || mCanActivate();
}

bool FWTool::CanDeactivate(const FWString& newToolName) const
{
    return mCanDeactivate == nullptr || mCanDeactivate(newToolName.GetCString());
}

// Modal tools ----------------------------------------------------------------------------------

FWModalTool::FWModalTool(const FWUserOp& op) : FWTool(op)
{
    SetExclusiveGroup(1);
}

FWToolWidget* FWModalTool::CreateNewWidget() const
{
    return new FWModalToolWidget(*this);
}

bool FWModalTool::Activate()
{
    if (Activated())
        return false;
    SetActivated(true);
    FWCmdWindow::StatusMessage(false, Icon() != nullptr ? Icon()->RsrcID() : 0, Name().GetCString(), " ", nullptr);
    DoAction();
    return true;
}

bool FWModalTool::Deactivate()
{
    if (!Activated())
        return false;
    SetActivated(false);
    return true;
}

// Radio tools ----------------------------------------------------------------------------------

FWRadioTool::FWRadioTool(const FWUserOp& op) : FWTool(op)
{
    SetExclusiveGroup((op.Flags() & 512) != 0 ? 3 : 2);
}

FWToolWidget* FWRadioTool::CreateNewWidget() const
{
    return new FWRadioToolWidget(*this);
}

bool FWRadioTool::Activate()
{
    if (Activated())
        return false;
    SetActivated(true);
    DoAction();
    return true;
}

bool FWRadioTool::Deactivate()
{
    if (!Activated())
        return false;
    SetActivated(false);
    return true;
}

// Button and check tools -----------------------------------------------------------------------

FWButtonTool::FWButtonTool(const FWUserOp& op) : FWTool(op) {}

FWToolWidget* FWButtonTool::CreateNewWidget() const
{
    return new FWButtonToolWidget(*this);
}

bool FWButtonTool::Activate()
{
    DoAction();
    return false;
}

FWCheckTool::FWCheckTool(const FWUserOp& op) : FWTool(op) {}

FWToolWidget* FWCheckTool::CreateNewWidget() const
{
    return new FWCheckToolWidget(*this);
}

bool FWCheckTool::Activate()
{
    SetActivated(!Activated());
    DoAction();
    return true;
}
