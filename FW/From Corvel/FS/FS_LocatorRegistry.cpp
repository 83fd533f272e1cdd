#include "FS_LocatorRegistry.h"

#include "FS_RegInfo.h"
#include "FS_RelativeLocatorUtil.h"
#include "FWProgrammerMessage.h"

#include <map>
#include <memory>
#include <set>

namespace Corvel {

namespace {

const char* const kSourcePath = "FW/From Corvel/FS/FS_LocatorRegistry";

std::unique_ptr<std::map<int, FS_RegInfo>> sEntries;

// visited guards against entries that name each other as parents.
void lookUp(int key, FS_Locator& out, std::set<int>& visited)
{
    out.Clear();
    if (!sEntries || !visited.insert(key).second)
        return;
    auto found = sEntries->find(key);
    if (found == sEntries->end())
        return;
    const FS_RegInfo& entry = found->second;
    if (entry.parentKey == 0) {
        out = entry.locator;
        return;
    }
    lookUp(entry.parentKey, out, visited);
    if (out.NumNames() != 0)
        FS_RelativeLocatorUtil::Resolve(out, entry.locator, out);
}

} // namespace

void FS_LocatorRegistry::Init()
{
    sEntries = std::make_unique<std::map<int, FS_RegInfo>>();
}

void FS_LocatorRegistry::CleanUp()
{
    sEntries.reset();
}

void FS_LocatorRegistry::RegisterLocator(int key, const FS_Locator& locator)
{
    if (!sEntries) {
        fw_programmer_message("Locator registered before the file services started", kSourcePath, __LINE__);
        return;
    }
    sEntries->emplace(key, FS_RegInfo{0, locator});
}

void FS_LocatorRegistry::LookUpLocator(int key, FS_Locator& out)
{
    std::set<int> visited;
    lookUp(key, out, visited);
}

} // namespace Corvel
