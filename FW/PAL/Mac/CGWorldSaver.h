// Scope savers of the current graphics world and device, used around off-screen work so that
// whatever port was current before is current again afterwards.
#pragma once

#include "HostPorts.h"

// Keeps the current world and device and, when given a port and device, makes those current;
// the destructor makes the kept ones current again if the kept port is still a live port.
class CGWorldSaver {
public:
    CGWorldSaver();
    CGWorldSaver(CGrafPtr port, GDHandle device);
    ~CGWorldSaver();
    CGWorldSaver(const CGWorldSaver&) = delete;
    CGWorldSaver& operator=(const CGWorldSaver&) = delete;

private:
    CGrafPtr mPort = nullptr;
    GDHandle mDevice = nullptr;
};

// Keeps the current device and makes the given one current; the destructor restores it.
class CGDeviceSaver {
public:
    explicit CGDeviceSaver(GDHandle device);
    ~CGDeviceSaver();
    CGDeviceSaver(const CGDeviceSaver&) = delete;
    CGDeviceSaver& operator=(const CGDeviceSaver&) = delete;

private:
    GDHandle mDevice = nullptr;
};
