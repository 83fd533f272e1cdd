// Loads arbitrary bytes as a 'WINT' layout into a window. A layout that loads must save, and
// its saved form must load and save back to the same bytes; nothing may crash, hang or leak.
#include "FWException.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostMemory.h"
#include "ProgrammerMessageRecorder.h"
#include "ViewTestClasses.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

std::vector<char> saved(FWViewMngr& manager)
{
    Handle h = manager.SerializeViewTree();
    if (h == nullptr)
        __builtin_trap();
    std::vector<char> bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RegisterTestViewClasses();
    ProgrammerMessageRecorder quiet; // damaged layouts report; the reports are not the point
    FWWindow window;
    window.SetSize(400, 300);
    try {
        if (!window.ViewMngr().InitializeFromData(reinterpret_cast<const char*>(data), uint32_t(size)))
            return 0;
    } catch (const FWException&) {
        if (window.ViewMngr().GetViewTree() != nullptr)
            __builtin_trap(); // a failed load keeps no tree
        return 0;
    }
    const std::vector<char> first = saved(window.ViewMngr());
    FWWindow copy;
    if (!copy.ViewMngr().InitializeFromData(first.data(), uint32_t(first.size())))
        __builtin_trap();
    if (saved(copy.ViewMngr()) != first)
        __builtin_trap();
    return 0;
}
