// A view whose drawing and mouse handling are plain callback functions, so that code outside the
// class hierarchy (an OpenGL renderer) can own its contents. It may own an OpenGL context. Its
// stored record is the view's own.
#pragma once

#include "FWView.h"

#include <cstdint>

struct QZ_Control;

namespace Engine3D {
class GL_Context;
}

class QZ_GLView : public FWView {
public:
    // The mouse-move kinds.
    enum : int32_t { kMovedIn = 1, kMoved = 2, kMovedOut = 4 };

    using DrawProc = void (*)(const QZ_Control* control);
    // A non-zero result asks for an interface event.
    using MouseDownProc = int32_t (*)(QZ_Control* control, uint32_t modifiers, int32_t h, int32_t v);
    using MouseMoveProc = void (*)(QZ_Control* control, uint32_t modifiers, int32_t h, int32_t v, int32_t kind);

    QZ_GLView();
    // Releases the context.
    ~QZ_GLView() override;

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;
    bool MouseMovedIn() override;
    bool SetCursor() override;
    bool MouseMovedOut() override;
    bool DoInterface() override;
    const char* FactoryGetClassName() const override { return "QZ_GLView"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

    // Callbacks and the context (owned; a new one releases the old).
    void SetDrawProc(DrawProc proc) { mDrawProc = proc; }
    void SetMouseDownProc(MouseDownProc proc) { mMouseDownProc = proc; }
    void SetMouseMoveProc(MouseMoveProc proc) { mMouseMoveProc = proc; }
    void SetContext(Engine3D::GL_Context* context);
    Engine3D::GL_Context* GetContext() const { return mContext; }
    FWPoint LastMousePoint() const { return mLastMouse; }

private:
    FWPoint mouseInWindow() const;

    Engine3D::GL_Context* mContext = nullptr;
    DrawProc mDrawProc = nullptr;
    MouseDownProc mMouseDownProc = nullptr;
    MouseMoveProc mMouseMoveProc = nullptr;
    FWPoint mLastMouse{-32000, -32000};
};
