#include "FD_MultiTypesList.h"

#include <algorithm>

namespace Corvel {

bool FD_MultiTypesList::Types::Holds(uint32_t type) const
{
    return std::find(mTypes.begin(), mTypes.end(), type) != mTypes.end();
}

void FD_MultiTypesList::AppendTypes(const char* name, const unsigned long* types, int count)
{
    std::vector<uint32_t> codes;
    for (int i = 0; types != nullptr && i < count; ++i)
        codes.push_back(uint32_t(types[i]));
    AppendTypes(name, codes.data(), int(codes.size()));
}

void FD_MultiTypesList::AppendTypes(const char* name, const uint32_t* types, int count)
{
    Types list;
    list.mName = FWDynamicString(name);
    if (types != nullptr && count > 0)
        list.mTypes.assign(types, types + count);
    mLists.push_back(std::move(list));
}

} // namespace Corvel
