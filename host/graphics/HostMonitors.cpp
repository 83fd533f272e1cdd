// The device list behind the screen queries: a configurable list of virtual screens.
#include "HostMonitors.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

struct HostGDevice {
    HostDeviceConfig config;
    HostGDevice* next = nullptr;
};

namespace {

std::vector<std::unique_ptr<HostGDevice>>& devices()
{
    static std::vector<std::unique_ptr<HostGDevice>> sDevices;
    return sDevices;
}

bool sConfigured = false;
// The size was chosen (FW_HOST_SCREEN or a configuration call), so no display may change it.
bool sSizeChosen = false;

HostDeviceConfig singleScreen(int16_t width, int16_t height)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    HostDeviceConfig config;
    config.bounds = Rect{0, 0, height, width};
    int16_t usableTop = height > kHostMenuBarHeight ? kHostMenuBarHeight : height;
    config.usableBounds = Rect{usableTop, 0, height, width};
    config.isMain = true;
    return config;
}

void install(const std::vector<HostDeviceConfig>& list)
{
    auto& all = devices();
    all.clear();
    for (const auto& config : list) {
        auto device = std::make_unique<HostGDevice>();
        device->config = config;
        if (!all.empty())
            all.back()->next = device.get();
        all.push_back(std::move(device));
    }
    sConfigured = true;
}

void configureFromEnvironment()
{
    int width = kHostDefaultScreenWidth;
    int height = kHostDefaultScreenHeight;
    if (const char* text = std::getenv("FW_HOST_SCREEN")) {
        int w = 0;
        int h = 0;
        if (std::sscanf(text, "%dx%d", &w, &h) == 2 && w > 0 && h > 0 && w <= 16384 && h <= 16384) {
            width = w;
            height = h;
            sSizeChosen = true;
        }
    }
    install({singleScreen(int16_t(width), int16_t(height))});
}

void ensureConfigured()
{
    if (!sConfigured)
        configureFromEnvironment();
}

} // namespace

GDHandle GetDeviceList()
{
    ensureConfigured();
    return devices().empty() ? nullptr : devices().front().get();
}

GDHandle GetNextDevice(GDHandle gd)
{
    return gd != nullptr ? gd->next : nullptr;
}

Boolean TestDeviceAttribute(GDHandle gd, int16_t attribute)
{
    if (gd == nullptr)
        return false;
    switch (attribute) {
    case mainScreen:
        return gd->config.isMain;
    case screenDevice:
        return gd->config.isScreen;
    case screenActive:
        return gd->config.isActive;
    default:
        return false;
    }
}

Rect GetDeviceRect(GDHandle gd)
{
    return gd != nullptr ? gd->config.bounds : Rect{0, 0, 0, 0};
}

int16_t GetDevicePixelSize(GDHandle gd)
{
    return gd != nullptr ? gd->config.pixelSize : 0;
}

OSStatus GetAvailableWindowPositioningBounds(GDHandle gd, Rect* bounds)
{
    if (gd == nullptr || bounds == nullptr)
        return paramErr;
    *bounds = gd->config.usableBounds;
    return noErr;
}

Rect HostMainScreenBounds()
{
    ensureConfigured();
    for (const auto& device : devices())
        if (device->config.isMain)
            return device->config.bounds;
    return devices().empty() ? Rect{0, 0, 0, 0} : devices().front()->config.bounds;
}

void HostConfigureScreen(int16_t width, int16_t height)
{
    install({singleScreen(width, height)});
    sSizeChosen = true;
}

void HostConfigureDevices(const std::vector<HostDeviceConfig>& list)
{
    install(list);
    sSizeChosen = true;
}

void HostResetScreenConfiguration()
{
    sConfigured = false;
    sSizeChosen = false;
}

void HostFitScreenToDisplay(int32_t width, int32_t height)
{
    ensureConfigured();
    if (sSizeChosen || width <= 0 || height <= 0)
        return;
    const auto fitted = [](int32_t want, int16_t most) { return int16_t(want < most ? want : most); };
    const int16_t w = fitted(width, kHostDefaultScreenWidth);
    const int16_t h = fitted(height, kHostDefaultScreenHeight);
    const Rect now = HostMainScreenBounds();
    if (now.right - now.left != w || now.bottom - now.top != h)
        install({singleScreen(w, h)});
}
