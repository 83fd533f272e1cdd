// The material icon: its fixed square, its look without a material, and its stored record.
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostScreen.h"
#include "MaterialIcon.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> stored(FWView& view)
{
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    view.OldWrite(out);
    const auto* p = reinterpret_cast<const uint8_t*>(out.Buffer());
    return std::vector<uint8_t>(p, p + out.Size());
}

uint32_t rgb(const FWArgb32& c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

TEST(MaterialIcon, IsAFixedSquareThatOnlyMoves)
{
    MaterialIcon icon;
    icon.Init(nullptr, FWPoint(10, 20));
    EXPECT_EQ(FWRect(10, 20, 76, 86), icon.GetRect());
    EXPECT_EQ(FWRect(12, 22, 74, 84), icon.PreviewRect());
    icon.SetRect(FWRect(5, 6, 300, 7));
    EXPECT_EQ(FWRect(5, 6, 71, 72), icon.GetRect());
    for (auto type : {FWView::kEditTopLeft, FWView::kEditRight, FWView::kEditBottom, FWView::kEditMove})
        EXPECT_EQ(FWView::kEditMove, icon.FilterEditType(type));
}

TEST(MaterialIcon, ShowsAnEmptySquareWithBevelAndFrame)
{
    HostDesktopScope desk;
    FWSetColorScheme();
    FWWindow window;
    window.Initialize(nullptr, FWRect(100, 100, 300, 250));
    window.Show();
    auto* icon = new MaterialIcon;
    icon->Init(&window, FWPoint(10, 20));
    window.ViewMngr().GetViewTree()->AppendChild(icon);
    {
        FWDrawContext context(&window);
        window.ViewMngr().Draw(context);
    }
    HostComposeScreen();
    auto screen = [&window](int h, int v) {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        return HostDesktopScope::Rgb(HostScreenPixel(Point{p.v, p.h}));
    };
    EXPECT_EQ(rgb(FWGetAppColor(2)), screen(40, 50));
    EXPECT_EQ(0u, screen(11, 40));  // the frame, inset by 1
    EXPECT_EQ(0u, screen(40, 84));
}

TEST(MaterialIcon, RecordHoldsColourAndPreviewAndLoadsOpaqueBlack)
{
    MaterialIcon icon;
    icon.Init(nullptr, FWPoint(10, 20));
    std::vector<uint8_t> bytes = stored(icon);
    ASSERT_GT(bytes.size(), 13u);
    EXPECT_EQ(1, bytes[0]);
    const std::vector<uint8_t> tail = {0, 0, 0, 0, 0x00, 0x16, 0x00, 0x0C, 0x00, 0x54, 0x00, 0x4A};
    EXPECT_EQ(tail, std::vector<uint8_t>(bytes.end() - 12, bytes.end()));

    bytes[bytes.size() - 12] = 0;
    bytes[bytes.size() - 11] = 1;
    bytes[bytes.size() - 10] = 2;
    bytes[bytes.size() - 9] = 3;
    SerialStream in(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
    MaterialIcon read;
    read.OldRead(in);
    EXPECT_EQ(FWArgb32(255, 0, 0, 0), read.Color());
    EXPECT_EQ(nullptr, read.GetMaterial());
    const std::vector<uint8_t> back = stored(read);
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0, 0, 0}), std::vector<uint8_t>(back.end() - 12, back.end() - 8));

    ProgrammerMessageRecorder messages;
    bytes[0] = 2;
    SerialStream bad(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
    MaterialIcon other;
    other.OldRead(bad);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'MaterialIcon' version"}, messages.Texts());
}

} // namespace
