// Loads arbitrary bytes as a 'WINT' layout into a window. A layout that loads must save, and
// its saved form must load and save back to the same bytes; nothing may crash, hang or leak, and
// no byte may reach an assertion alert (a notice about damaged or newer records is fine).
#include "FWException.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "FactoryHandler.h"
#include "HostMemory.h"
#include "ProgrammerMessageRecorder.h"
#include "ViewTestClasses.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Every class a stored layout may name, the tests' own included: a layout holding one that is
// not linked would be refused before its records are read.
const char* const kStoredClasses[] = {
    "ParentWindow", "FWView",    "BranchItem",     "PushButton",  "OKButton",  "CancelButton", "Scroller",
    "StaticText",   "PictureBox", "EditText",      "FWCmdView",   "MaterialIcon", "QZ_GLView", "Group",
    "Popup",        "CheckBox",  "RadioButtonSet", "Slider",      "ColorSlider", "TabControl", "Divider",
    "FWOutlineView", "ListBox",  "ColorButton",    "TestGroup",   "TestBranching", "TestSwatch",
};

// The two windows live as long as the process: making a window (its port, fonts and the shared
// icons of the first view manager) costs many times a load.
struct Windows {
    Windows()
    {
        RegisterTestViewClasses();
        for (const char* name : kStoredClasses)
            if (FactoryHandler<FWView>::FindFactory(FWStr<255>(name)) == nullptr)
                __builtin_trap();
        loaded.SetSize(400, 300);
    }
    FWWindow loaded;
    FWWindow copy;
};

Windows& windows()
{
    static Windows* const made = new Windows; // never deleted: it is reachable to the end
    return *made;
}

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
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    Windows& w = windows();
    try {
        if (!w.loaded.ViewMngr().InitializeFromData(reinterpret_cast<const char*>(data), uint32_t(size)))
            return 0;
    } catch (const FWException&) {
        if (w.loaded.ViewMngr().GetViewTree() != nullptr)
            __builtin_trap(); // a failed load keeps no tree
        return 0;
    }
    const std::vector<char> first = saved(w.loaded.ViewMngr());
    if (!w.copy.ViewMngr().InitializeFromData(first.data(), uint32_t(first.size())))
        __builtin_trap();
    if (saved(w.copy.ViewMngr()) != first)
        __builtin_trap();
    return 0;
}
