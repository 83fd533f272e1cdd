#include "LayoutEntries.h"

#include "FWViewMngr.h"
#include "HostMemory.h"

std::vector<LayoutEntry> LayoutEntries(const std::vector<uint8_t>& layout)
{
    std::vector<LayoutEntry> entries;
    size_t at = 17;
    while (at < layout.size()) {
        LayoutEntry entry;
        while (at < layout.size() && layout[at] != 0)
            entry.className.push_back(char(layout[at++]));
        if (at + 5 > layout.size())
            return {};
        const uint32_t length = uint32_t(layout[at + 1]) << 24 | uint32_t(layout[at + 2]) << 16 |
                                uint32_t(layout[at + 3]) << 8 | layout[at + 4];
        at += 5;
        if (length > layout.size() - at)
            return {};
        entry.bodyAt = at;
        entry.body.assign(layout.begin() + long(at), layout.begin() + long(at + length));
        at += length;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<uint8_t> SavedLayout(FWViewMngr& manager)
{
    Handle saved = manager.SerializeViewTree();
    if (saved == nullptr)
        return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*saved);
    std::vector<uint8_t> bytes(p, p + GetHandleSize(saved));
    DisposeHandle(saved);
    return bytes;
}

std::vector<uint8_t> SavedBody(FWViewMngr& manager, const char* className)
{
    for (const LayoutEntry& entry : LayoutEntries(SavedLayout(manager)))
        if (entry.className == className)
            return entry.body;
    return {};
}
