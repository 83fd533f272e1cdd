#include "LoadMachOFunction.h"

#include "HostBundles.h"

#include <map>
#include <string>

namespace {

std::map<std::string, CFBundleRef>& bundleCache()
{
    static std::map<std::string, CFBundleRef> sCache;
    return sCache;
}

CFBundleRef findBundle(const char* frameworkName)
{
    auto& cache = bundleCache();
    auto found = cache.find(frameworkName);
    if (found != cache.end())
        return found->second;
    CFBundleRef bundle = HostLoadFrameworkBundle(frameworkName);
    if (bundle != nullptr)
        cache.emplace(frameworkName, bundle);
    return bundle;
}

} // namespace

void* LoadMachOFunction(const char* functionName, const char* frameworkName)
{
    if (functionName == nullptr || frameworkName == nullptr)
        return nullptr;
    CFBundleRef bundle = findBundle(frameworkName);
    if (bundle == nullptr)
        return nullptr;
    return CFBundleGetFunctionPointerForName(bundle, functionName);
}
