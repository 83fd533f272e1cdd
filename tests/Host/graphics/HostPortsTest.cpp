// Ports and worlds: the current port and device, world creation and disposal, pixel access,
// port state and the record of what was drawn.
#include "HostTestWorld.h"

#include <gtest/gtest.h>

TEST(HostPorts, WorldsAreMadeForDepthsOneEightAndThirtyTwoOnly)
{
    Rect bounds{0, 0, 10, 20};
    GWorldPtr world = reinterpret_cast<GWorldPtr>(1);
    EXPECT_EQ(paramErr, NewGWorld(&world, 16, &bounds, nullptr, nullptr, 0));
    EXPECT_EQ(nullptr, world);
    EXPECT_EQ(paramErr, NewGWorld(&world, 32, nullptr, nullptr, nullptr, 0));
    Rect empty{5, 5, 5, 5};
    EXPECT_EQ(paramErr, NewGWorld(&world, 32, &empty, nullptr, nullptr, 0));
    Rect huge{-32768, -32768, 32767, 32767};
    EXPECT_EQ(memFullErr, NewGWorld(&world, 32, &huge, nullptr, nullptr, 0));
    EXPECT_EQ(paramErr, NewGWorld(nullptr, 32, &bounds, nullptr, nullptr, 0));

    struct Case {
        int16_t depth;
        int32_t minRowBytes;
    };
    for (Case c : {Case{1, 3}, Case{8, 20}, Case{32, 80}}) {
        ASSERT_EQ(noErr, NewGWorld(&world, c.depth, &bounds, GetCTable(kGreyTableID), nullptr, 0x108));
        PixMapHandle pixels = GetGWorldPixMap(world);
        EXPECT_TRUE(LockPixels(pixels));
        EXPECT_NE(nullptr, GetPixBaseAddr(pixels));
        EXPECT_GE(GetPixRowBytes(pixels), c.minRowBytes);
        EXPECT_EQ(c.depth, GetPixDepth(pixels));
        Rect r;
        GetPortBounds(world, &r);
        EXPECT_EQ(20, r.right);
        EXPECT_EQ(c.depth, GetGWorldDevice(world)->depth);
        UnlockPixels(pixels);
        DisposeGWorld(world);
        EXPECT_FALSE(IsValidPort(world));
    }
    EXPECT_EQ(nullptr, GetCTable(8));
}

TEST(HostPorts, SetGWorldMakesAWorldAndItsDeviceCurrentAndDisposalClearsThem)
{
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    Rect bounds{0, 0, 4, 4};
    GWorldPtr a, b;
    ASSERT_EQ(noErr, NewGWorld(&a, 32, &bounds, nullptr, nullptr, 0));
    ASSERT_EQ(noErr, NewGWorld(&b, 8, &bounds, nullptr, nullptr, 0));

    SetGWorld(a, GetMainDevice());
    CGrafPtr port;
    GDHandle device;
    GetGWorld(&port, &device);
    EXPECT_EQ(a, port);
    EXPECT_EQ(GetGWorldDevice(a), device);
    SetPort(b);
    GrafPtr current;
    GetPort(&current);
    EXPECT_EQ(b, current);
    SetGDevice(nullptr);
    EXPECT_EQ(GetMainDevice(), GetGDevice());

    DisposeGWorld(b);
    GetPort(&current);
    EXPECT_EQ(nullptr, current);
    SetPort(b); // a dead port is never made current
    GetPort(&current);
    EXPECT_EQ(nullptr, current);
    DisposeGWorld(a);
    DisposeGWorld(a); // already gone: nothing happens
    SetGWorld(savedPort, savedDevice);
}

TEST(HostPorts, NewPortsStartWithTheClassicState)
{
    HostTestWorld world(Rect{0, 0, 4, 4});
    EXPECT_EQ(kModePatCopy, GetPortPenMode(world.World()));
    Point size;
    GetPortPenSize(world.World(), &size);
    EXPECT_EQ(1, size.h);
    EXPECT_EQ(1, size.v);
    RGBColor fore, back;
    GetForeColor(&fore);
    GetBackColor(&back);
    EXPECT_EQ(0, fore.red);
    EXPECT_EQ(0xFFFF, back.green);
    EXPECT_EQ(kModeOr, GetPortTextMode(world.World()));
    RgnHandle clip = NewRgn();
    GetClip(clip);
    Rect r;
    GetRegionBounds(clip, &r);
    EXPECT_LE(r.left, -32767);
    GetPortVisibleRegion(world.World(), clip);
    GetRegionBounds(clip, &r);
    EXPECT_EQ(4, r.right);
    DisposeRgn(clip);

    PenSize(3, 4);
    PenMode(kModeXor);
    PenNormal();
    EXPECT_EQ(kModePatCopy, GetPortPenMode(world.World()));
    GetPortPenSize(world.World(), &size);
    EXPECT_EQ(1, size.v);
    TextFont(2);
    TextSize(14);
    TextFace(kHostFaceBold | kHostFaceItalic);
    EXPECT_EQ(2, GetPortTextFont(world.World()));
    EXPECT_EQ(14, GetPortTextSize(world.World()));
    EXPECT_EQ(kHostFaceBold | kHostFaceItalic, GetPortTextFace(world.World()));
}

TEST(HostPorts, VisibleRegionLimitsDrawingLikeTheClip)
{
    HostTestWorld world(Rect{0, 0, 10, 10});
    world.Fill(kTestWhite);
    RgnHandle visible = NewRgn();
    SetRectRgn(visible, 0, 0, 5, 10);
    SetPortVisibleRegion(world.World(), visible);
    Rect all{0, 0, 10, 10};
    PaintRect(&all);
    EXPECT_EQ(kTestBlack, world.At(4, 9));
    EXPECT_EQ(kTestWhite, world.At(5, 0));
    DisposeRgn(visible);
}

TEST(HostPorts, ChangedBoundsRecordWhatWasDrawn)
{
    HostTestWorld world(Rect{-10, -10, 40, 40});
    HostPort* port = world.World();
    EXPECT_EQ(0, port->ChangedBounds().right);
    Rect r{0, 0, 5, 5};
    PaintRect(&r);
    MoveTo(20, 30);
    LineTo(25, 31);
    Rect changed = port->ChangedBounds();
    EXPECT_EQ(0, changed.top);
    EXPECT_EQ(0, changed.left);
    EXPECT_EQ(32, changed.bottom);
    EXPECT_EQ(26, changed.right);
    port->ClearChanged();
    ClipRect(&r);
    Rect outside{10, 10, 20, 20};
    PaintRect(&outside); // clipped away: nothing drawn, nothing recorded
    EXPECT_EQ(0, port->ChangedBounds().right);

    // Copying into a world that is not current records in that world.
    HostTestWorld other(Rect{0, 0, 8, 8});
    Rect from{0, 0, 2, 2};
    Rect to{1, 1, 3, 3};
    port->ClearChanged();
    CopyBits(&other.Pixels(), &world.Pixels(), &from, &to, kModeCopy, nullptr);
    EXPECT_EQ(3, port->ChangedBounds().right);
}

TEST(HostPorts, PixelsAreSetAndReadInLocalCoordinates)
{
    HostTestWorld world(Rect{100, 200, 110, 210});
    RGBColor c{0x1234, 0x5678, 0x9ABC};
    PenMode(kModeXor);
    SetCPixel(205, 103, &c); // always copies, whatever the pen mode
    RGBColor back;
    GetCPixel(205, 103, &back);
    EXPECT_EQ(0x1212, back.red);
    EXPECT_EQ(0x5656, back.green);
    EXPECT_EQ(0x9A9A, back.blue);
    EXPECT_EQ(HostArgb(255, 0x12, 0x56, 0x9A), world.At(205, 103));
    SetCPixel(0, 0, &c);
    GetCPixel(0, 0, &back);
    EXPECT_EQ(0, back.red);
}
