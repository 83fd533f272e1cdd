// A layout holding a message log, a material icon and an OpenGL view loads, draws on the headless
// screen and saves back to the same bytes.
#include "FWCmdView.h"
#include "FWDrawContext.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "MaterialIcon.h"
#include "QZ_GLView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string save(FWWindow& window)
{
    Handle h = window.ViewMngr().SerializeViewTree();
    if (h == nullptr)
        return "";
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

TEST(ControlsLayout, LogIconAndGLViewLoadDrawAndSaveBack)
{
    HostDesktopScope desk;
    FWWindow source;
    source.Initialize(nullptr, FWRect(50, 50, 450, 300));
    auto* log = new FWCmdView;
    log->Init(&source);
    log->SetRect(FWRect(10, 10, 200, 100));
    source.ViewMngr().GetViewTree()->AppendChild(log);
    auto* icon = new MaterialIcon;
    icon->Init(&source, FWPoint(220, 10));
    source.ViewMngr().GetViewTree()->AppendChild(icon);
    auto* gl = new QZ_GLView;
    gl->Init(&source);
    gl->SetRect(FWRect(220, 100, 380, 200));
    source.ViewMngr().GetViewTree()->AppendChild(gl);
    const std::string first = save(source);
    ASSERT_FALSE(first.empty());

    FWWindow shown;
    shown.Initialize(nullptr, FWRect(50, 320, 450, 570));
    ASSERT_TRUE(shown.ViewMngr().InitializeFromData(first.data(), uint32_t(first.size())));
    shown.Show();
    {
        FWDrawContext context(&shown);
        shown.ViewMngr().Draw(context);
    }
    HostComposeScreen();
    FWPoint grey{300, 150};
    shown.WindowToGlobal(&grey);
    EXPECT_EQ(0x7F7F7Fu, HostDesktopScope::Rgb(HostScreenPixel(Point{grey.v, grey.h})));
    const std::string second = save(shown);

    FWWindow again;
    again.Initialize(nullptr, FWRect(50, 50, 450, 300));
    ASSERT_TRUE(again.ViewMngr().InitializeFromData(second.data(), uint32_t(second.size())));
    // The root's visible flag follows its window.
    again.Show();
    EXPECT_EQ(second, save(again));
}

} // namespace
