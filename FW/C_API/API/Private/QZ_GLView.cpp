#include "QZ_GLView.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "GL_Context.h"
#include "QZ_Convert.h"
#include "QZ_Util.h"
#include "SubClassFactory.h"

namespace {

const FWStr<31> kDisplayName("GLView");
SubClassFactory<FWView, QZ_GLView> sFactory("QZ_GLView");

constexpr FWPoint kNoPoint{-32000, -32000};

} // namespace

QZ_GLView::QZ_GLView()
{
    SetDebugName("QZ_GLView");
}

QZ_GLView::~QZ_GLView()
{
    Engine3D::GL_Context::ReleaseContext(mContext);
}

void QZ_GLView::SetContext(Engine3D::GL_Context* context)
{
    if (context == mContext)
        return;
    Engine3D::GL_Context::ReleaseContext(mContext);
    mContext = context;
}

void QZ_GLView::Draw(FWDrawContext& context) const
{
    if (!AllParentsVisible())
        return;
    if (mDrawProc != nullptr) {
        mDrawProc(QZ_Convert::ToQZ_Control(this));
        return;
    }
    FWForeColorSaver fore(context, FWArgb32(255, 127, 127, 127));
    const FWRect r = GetRect();
    context.PaintRect(&r);
}

bool QZ_GLView::MouseDownEvent(FWEvent& event)
{
    bool report = true;
    if (mMouseDownProc != nullptr)
        report = mMouseDownProc(QZ_Convert::ToQZ_Control(this), QZ_Util::GetQZModifiers(event.mModifiers),
                                event.mWhere.h, event.mWhere.v) != 0;
    if (report)
        SendInterfaceEvent(this);
    mLastMouse = kNoPoint;
    return true;
}

bool QZ_GLView::ContextualMouseDownEvent(FWEvent& event)
{
    return MouseDownEvent(event);
}

FWPoint QZ_GLView::mouseInWindow() const
{
    FWPoint where;
    if (GetWindow() != nullptr)
        GetWindow()->GetMouseLocal(&where);
    return where;
}

bool QZ_GLView::MouseMovedIn()
{
    if (mMouseMoveProc == nullptr)
        return true;
    const FWPoint where = mouseInWindow();
    mMouseMoveProc(QZ_Convert::ToQZ_Control(this), QZ_Util::GetQZModifiers(FWGetModifiers()), where.h, where.v,
                   kMovedIn);
    mLastMouse = where;
    return true;
}

bool QZ_GLView::SetCursor()
{
    if (mMouseMoveProc == nullptr)
        return true;
    const FWPoint where = mouseInWindow();
    if (where != mLastMouse) {
        mMouseMoveProc(QZ_Convert::ToQZ_Control(this), QZ_Util::GetQZModifiers(FWGetModifiers()), where.h, where.v,
                       kMoved);
        mLastMouse = where;
    }
    return true;
}

bool QZ_GLView::MouseMovedOut()
{
    if (mMouseMoveProc == nullptr)
        return true;
    const FWPoint where = mouseInWindow();
    mMouseMoveProc(QZ_Convert::ToQZ_Control(this), QZ_Util::GetQZModifiers(FWGetModifiers()), where.h, where.v,
                   kMovedOut);
    return true;
}

bool QZ_GLView::DoInterface()
{
    OpenGLDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& QZ_GLView::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* QZ_GLView::Viewable_Icon()
{
    return DiskImage::Acquire(1002, FOUR_CHAR_CODE("argb"));
}
