// The OpenGL view: its grey face, its mouse callbacks, and a real off-screen context drawn into
// the view through a draw callback.
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "GL_Context.h"
#include "HostDesktopScope.h"
#include "HostGLContext.h"
#include "HostHeadless.h"
#include "HostScreen.h"
#include "ImageBuffer.h"
#include "QZ_Convert.h"
#include "QZ_GLView.h"
#include "QZ_Util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Window {
    HostDesktopScope desk;
    FWWindow window;
    QZ_GLView* view = new QZ_GLView;

    Window()
    {
        window.Initialize(nullptr, FWRect(100, 100, 300, 250));
        window.Show();
        view->Init(&window);
        view->SetRect(FWRect(20, 20, 84, 68));
        window.ViewMngr().GetViewTree()->AppendChild(view);
    }
    void draw()
    {
        {
            FWDrawContext context(&window);
            window.ViewMngr().Draw(context);
        }
        HostComposeScreen();
    }
    uint32_t screen(int h, int v)
    {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        return HostDesktopScope::Rgb(HostScreenPixel(Point{p.v, p.h}));
    }
    void moveMouse(int h, int v)
    {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        HostInjectMouseMove(Point{p.v, p.h});
        HostTakeInjectedInput();
    }
};

struct Move {
    int32_t h, v, kind;
};
std::vector<Move> sMoves;

void recordMove(QZ_Control*, uint32_t, int32_t h, int32_t v, int32_t kind)
{
    sMoves.push_back({h, v, kind});
}

TEST(QZ_GLView, WithoutADrawCallbackItIsGrey)
{
    Window w;
    w.draw();
    EXPECT_EQ(0x7F7F7Fu, w.screen(40, 40));
}

TEST(QZ_GLView, ModifierFlags)
{
    const std::pair<unsigned short, uint32_t> cases[] = {
        {0x0200, 1}, {0x1000, 18}, {0x0100, 4}, {0x0800, 8}, {0x1200, 19}, {0x1B00, 31}, {0, 0},
    };
    for (auto [bits, flags] : cases)
        EXPECT_EQ(flags, QZ_Util::GetQZModifiers(bits)) << bits;
}

TEST(QZ_GLView, MouseMovesAreReportedOncePerPosition)
{
    Window w;
    sMoves.clear();
    w.view->SetMouseMoveProc(recordMove);
    w.moveMouse(30, 30);
    w.view->MouseMovedIn();
    w.view->SetCursor();
    w.moveMouse(31, 30);
    w.view->SetCursor();
    w.view->SetCursor();
    FWEvent click(kMouseDownEvent, &w.window, 0);
    w.view->MouseDownEvent(click);
    w.view->SetCursor();
    w.view->MouseMovedOut();
    // In; a move (the first update at the entry point reports nothing); after the click the
    // same point is a move again; out.
    ASSERT_EQ(4u, sMoves.size());
    const int32_t kinds[] = {1, 2, 2, 4};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(kinds[i], sMoves[i].kind) << i;
    EXPECT_EQ(31, sMoves[3].h);
}

// Clears the context to (0, 128, 255), draws a white triangle over its middle and shows the
// pixels in the view.
Engine3D::GL_Context* sContext = nullptr;

void drawWithGL(const QZ_Control* control)
{
    using ClearColor = void (*)(float, float, float, float);
    using Clear = void (*)(unsigned);
    using Begin = void (*)(unsigned);
    using Vertex2f = void (*)(float, float);
    using Color3f = void (*)(float, float, float);
    using End = void (*)();
    auto proc = [](const char* name) { return Engine3D::GL_Context::GetProcAddress(name); };
    if (!sContext->MakeCurrent())
        return;
    reinterpret_cast<ClearColor>(proc("glClearColor"))(0.0f, 128.0f / 255.0f, 1.0f, 1.0f);
    reinterpret_cast<Clear>(proc("glClear"))(0x4000);
    reinterpret_cast<Color3f>(proc("glColor3f"))(1.0f, 1.0f, 1.0f);
    reinterpret_cast<Begin>(proc("glBegin"))(0x0004);
    reinterpret_cast<Vertex2f>(proc("glVertex2f"))(-0.5f, -0.5f);
    reinterpret_cast<Vertex2f>(proc("glVertex2f"))(0.5f, -0.5f);
    reinterpret_cast<Vertex2f>(proc("glVertex2f"))(0.0f, 0.5f);
    reinterpret_cast<End>(proc("glEnd"))();

    auto* view = const_cast<FWView*>(reinterpret_cast<const FWView*>(control));
    const FWRect rect = view->GetRect();
    const FWRect size(0, 0, rect.Width(), rect.Height());
    ImageBuffer image(&size, kImageBufferDepth32);
    if (!sContext->ReadInto(image))
        return;
    FWDrawContext context(view);
    context.DrawImage(&image, &rect, false);
}

TEST(QZ_GLView, AContextDrawsIntoTheView)
{
    Window w;
    const FWRect r = w.view->GetRect();
    Engine3D::GL_Context* context = Engine3D::GL_Context::Create(r.Width(), r.Height());
    if (context == nullptr)
        GTEST_SKIP() << "no OpenGL context can be made on this machine";
    const int32_t live = HostGLContext::LiveCount();
    w.view->SetContext(context);
    sContext = context;
    w.view->SetDrawProc(drawWithGL);
    w.draw();
    EXPECT_EQ(0x0080FFu, w.screen(r.left + 1, r.top + 1));
    EXPECT_EQ(0xFFFFFFu, w.screen(r.left + r.Width() / 2, r.top + r.Height() / 2));
    // Deleting the view releases its context once.
    w.view->Unlink();
    delete w.view;
    EXPECT_EQ(live - 1, HostGLContext::LiveCount());
    Engine3D::GL_Context::ReleaseContext(nullptr);
    EXPECT_EQ(live - 1, HostGLContext::LiveCount());
}

} // namespace
