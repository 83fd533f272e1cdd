// The handles of the plain-function interface layer: a control's handle is the view itself.
#pragma once

class FWView;
struct QZ_Control;

namespace QZ_Convert {

inline QZ_Control* ToQZ_Control(FWView* view)
{
    return reinterpret_cast<QZ_Control*>(view);
}
inline const QZ_Control* ToQZ_Control(const FWView* view)
{
    return reinterpret_cast<const QZ_Control*>(view);
}
inline FWView* ToFWView(QZ_Control* control)
{
    return reinterpret_cast<FWView*>(control);
}

} // namespace QZ_Convert
