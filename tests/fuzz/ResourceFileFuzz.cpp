// Opens arbitrary bytes as a resource file and reads every resource in it, by id and by index;
// a file that opens is also written out anew and must read back the same.
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameBytes(Handle h, const uint8_t* bytes, uint32_t length)
{
    return GetHandleSize(h) == Size(length) && (length == 0 || std::memcmp(*h, bytes, length) == 0);
}

void readEveryResource(const uint8_t* data, const HostResourceFileMap& map)
{
    for (const HostResourceRecord& record : map.records) {
        Handle h = Get1Resource(record.type, record.id);
        check(h != nullptr);
        SInt16 id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(h, &id, &type, name);
        check(ResError() == noErr && id == record.id && type == record.type);
        ReleaseResource(h);
    }
    // By index: a type's resources come in the order of its reference list.
    size_t first = 0;
    while (first < map.records.size()) {
        const ResType type = map.records[first].type;
        size_t end = first;
        while (end < map.records.size() && map.records[end].type == type)
            ++end;
        const size_t count = std::min<size_t>(end - first, 0x7FFF);
        check(Count1Resources(type) == SInt16(count));
        for (size_t i = 0; i < count; ++i) {
            const HostResourceRecord& record = map.records[first + i];
            Handle h = Get1IndResource(type, SInt16(i + 1));
            check(h != nullptr && sameBytes(h, data + record.dataOffset, record.dataLength));
            ReleaseResource(h);
        }
        first = end;
    }
}

void writeAndReadBack(const uint8_t* data, const HostResourceFileMap& map)
{
    std::vector<HostResourceToWrite> resources;
    for (const HostResourceRecord& r : map.records)
        resources.push_back({r.type, r.id, r.attributes, r.nameOffset >= 0 ? data + r.nameOffset : nullptr,
                             data + r.dataOffset, r.dataLength});
    std::vector<uint8_t> bytes;
    std::vector<HostResourceRecord> written;
    if (HostResourceFile::Build(resources, map.attributes, map.hasHeaderReserve ? &map.headerReserve : nullptr, bytes,
                                written) != noErr)
        return;
    HostResourceFileMap again;
    check(HostResourceFile::Parse(bytes.data(), bytes.size(), again) == noErr);
    check(again.records.size() == map.records.size());
    for (size_t i = 0; i < map.records.size(); ++i) {
        const HostResourceRecord& a = map.records[i];
        const HostResourceRecord& b = again.records[i];
        check(a.type == b.type && a.id == b.id && (a.attributes & ~resChanged) == b.attributes);
        check(a.dataLength == b.dataLength &&
              std::memcmp(data + a.dataOffset, bytes.data() + b.dataOffset, a.dataLength) == 0);
        // A name is written as stored: an empty one stays empty, none stays none.
        const bool named = a.nameOffset >= 0;
        check(named == (b.nameOffset >= 0));
        if (named)
            check(std::memcmp(data + a.nameOffset, bytes.data() + b.nameOffset, 1 + data[a.nameOffset]) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HostResourceFileMap map;
    const OSErr parsed = HostResourceFile::Parse(data, size, map);
    const SInt16 ref = HostOpenMemoryResFile(data, size);
    check((ref > 0) == (parsed == noErr));
    if (ref <= 0) {
        check(ResError() == parsed);
        return 0;
    }
    readEveryResource(data, map);
    CloseResFile(ref);
    writeAndReadBack(data, map);
    return 0;
}
