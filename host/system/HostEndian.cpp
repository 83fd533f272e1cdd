// The record of installed flippers.
#include "HostEndian.h"

#include <map>
#include <utility>

namespace {

struct Flipper {
    CoreEndianFlipProc proc;
    void* refcon;
};

std::map<std::pair<OSType, OSType>, Flipper>& flippers()
{
    static auto* table = new std::map<std::pair<OSType, OSType>, Flipper>;
    return *table;
}

} // namespace

OSStatus CoreEndianInstallFlipper(OSType dataDomain, OSType dataType, CoreEndianFlipProc proc, void* refcon)
{
    flippers()[{dataDomain, dataType}] = Flipper{proc, refcon};
    return noErr;
}

OSStatus CoreEndianGetFlipper(OSType dataDomain, OSType dataType, CoreEndianFlipProc* proc, void** refcon)
{
    auto it = flippers().find({dataDomain, dataType});
    if (it == flippers().end())
        return handlerNotFoundErr;
    if (proc != nullptr)
        *proc = it->second.proc;
    if (refcon != nullptr)
        *refcon = it->second.refcon;
    return noErr;
}
