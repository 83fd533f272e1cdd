#include "BeforeAfterPicker.h"

#include "FWDrawContext.h"
#include "FWWindow.h"

void BeforeAfterPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 48;
    height = 24;
}

void BeforeAfterPicker::AddPickerViews(int16_t x, int16_t y)
{
    if (IsPickerVisible())
        return;
    auto* current = new ColorSquare(GetPickerWindow());
    const FWRect left(x, y, int16_t(x + 24), int16_t(y + 24));
    current->Initialize(&left, this, false);
    AddOneViewToPickerWindow(current);
    auto* opening = new ColorSquare(GetPickerWindow());
    const FWRect right(left.right, y, int16_t(left.right + 24), int16_t(y + 24));
    opening->Initialize(&right, this, true);
    AddOneViewToPickerWindow(opening);
    mCurrent = current;
    mOpening = opening;
}

void BeforeAfterPicker::setSquare(ColorSquare* square, const FWArgbColor& color)
{
    if (square == nullptr || square->GetWindow() == nullptr)
        return;
    FWDrawContext context(square);
    square->SetSquareColor(FWColorBytes(color), context);
    context.Flush();
}

void BeforeAfterPicker::ReceiveNewColorToEdit(const FWArgbColor& color)
{
    if (!IsPickerVisible())
        return;
    setSquare(mCurrent, color);
    setSquare(mOpening, color);
}

void BeforeAfterPicker::ReceiveEditedColor(const FWArgbColor& color)
{
    if (!IsPickerVisible())
        return;
    setSquare(mCurrent, color);
}

void BeforeAfterPicker::ColorSquare::Initialize(const FWRect* rect, FWColorPicker* owner, bool clickable)
{
    SetRect(*rect);
    mOwner = owner;
    mClickable = clickable;
}

void BeforeAfterPicker::ColorSquare::SetSquareColor(FWArgb32 color, FWDrawContext& context)
{
    mColor = color;
    if (Visible() && AllParentsVisible())
        PaintSquare(context);
}

void BeforeAfterPicker::ColorSquare::PaintSquare(FWDrawContext& context) const
{
    FWRect r = GetRect();
    r.Inset(2, 2);
    context.PaintRect(&r, FWArgb32(255, mColor.r, mColor.g, mColor.b));
}

void BeforeAfterPicker::ColorSquare::Draw(FWDrawContext& context) const
{
    const FWRect r = GetRect();
    context.InsetRect(&r, true);
    PaintSquare(context);
}

bool BeforeAfterPicker::ColorSquare::MouseDownEvent(FWEvent&)
{
    if (!mClickable || mOwner == nullptr)
        return true;
    const FWArgbColor color(mColor);
    mOwner->ReceiveEditedColor(color);
    mOwner->DispatchEditedColor(color, ActionType(2));
    return true;
}
