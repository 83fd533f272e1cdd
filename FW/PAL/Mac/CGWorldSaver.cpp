#include "CGWorldSaver.h"

CGWorldSaver::CGWorldSaver()
{
    GetGWorld(&mPort, &mDevice);
}

CGWorldSaver::CGWorldSaver(CGrafPtr port, GDHandle device)
{
    GetGWorld(&mPort, &mDevice);
    SetGWorld(port, device);
}

CGWorldSaver::~CGWorldSaver()
{
    if (IsValidPort(mPort))
        SetGWorld(mPort, mDevice);
}

CGDeviceSaver::CGDeviceSaver(GDHandle device)
{
    mDevice = GetGDevice();
    SetGDevice(device);
}

CGDeviceSaver::~CGDeviceSaver()
{
    SetGDevice(mDevice);
}
