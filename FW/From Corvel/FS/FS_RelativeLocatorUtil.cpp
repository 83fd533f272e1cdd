#include "FS_RelativeLocatorUtil.h"

#include "FS_Exception.h"

namespace Corvel {

void FS_RelativeLocatorUtil::Resolve(const FS_Locator& base, const FS_Locator& relative, FS_Locator& out)
{
    // relative may be out too: read it from a copy.
    const FS_Locator steps = relative;
    out = base;
    for (uint32_t i = 0; i < steps.NumNames(); ++i) {
        const FWDynamicString& name = steps[i];
        if (name.GetCurrLength() != 0) {
            out.AppendName(name);
            continue;
        }
        if (out.NumNames() == 0)
            throw FS_BadPathNameX();
        out.RemoveLastName();
    }
}

} // namespace Corvel
