// The host's display devices: by default one virtual screen of 1280 x 800 whose usable area
// leaves out the menu bar the host draws across its top. The device calls keep the names the
// framework uses to walk the screens.
#pragma once

#include "HostTypes.h"

#include <vector>

struct HostGDevice;
using GDHandle = HostGDevice*;

// Attributes asked of a device through TestDeviceAttribute.
enum : int16_t {
    mainScreen = 11,   // the screen that holds the menu bar
    screenDevice = 13, // the device is a screen
    screenActive = 15, // the screen is in use
};

constexpr int16_t kHostDefaultScreenWidth = 1280;
constexpr int16_t kHostDefaultScreenHeight = 800;
constexpr int16_t kHostMenuBarHeight = 20;

// The first device, or null when there is none.
GDHandle GetDeviceList();
// The device after gd, or null after the last one.
GDHandle GetNextDevice(GDHandle gd);
Boolean TestDeviceAttribute(GDHandle gd, int16_t attribute);
// The device's rectangle in global coordinates.
Rect GetDeviceRect(GDHandle gd);
// Bits per pixel of the device.
int16_t GetDevicePixelSize(GDHandle gd);
// The part of the device where windows may be placed: the device rectangle without the menu bar
// on the main screen. paramErr for a null device.
OSStatus GetAvailableWindowPositioningBounds(GDHandle gd, Rect* bounds);

// The rectangle of the main screen, global coordinates (0, 0 at its top-left).
Rect HostMainScreenBounds();

// Configuration. One screen of width x height (at least 1 x 1), main, with the menu bar.
// The size can also come from the environment variable FW_HOST_SCREEN ("1280x800"), read once
// before the first device query.
void HostConfigureScreen(int16_t width, int16_t height);
// The display's usable size: unless the size was chosen (FW_HOST_SCREEN or a configuration
// call), the screen becomes the default size or that size, whichever is smaller on each axis.
void HostFitScreenToDisplay(int32_t width, int32_t height);

// Test interface: replace the device list (in order). An empty list means no screen at all.
struct HostDeviceConfig {
    Rect bounds;
    Rect usableBounds;
    int16_t pixelSize = 32;
    bool isScreen = true;
    bool isActive = true;
    bool isMain = false;
};
void HostConfigureDevices(const std::vector<HostDeviceConfig>& devices);
// Test interface: forget every configuration, so that the next query configures the screen as
// at start-up.
void HostResetScreenConfiguration();
