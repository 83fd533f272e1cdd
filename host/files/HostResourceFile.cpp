// Reader and writer of the resource-file layout described in the header.
#include "HostResourceFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kDataStart = 256;
constexpr uint32_t kMapHeaderSize = 28;
constexpr uint32_t kTypeEntrySize = 8;
constexpr uint32_t kRefEntrySize = 12;
constexpr uint32_t kNoName = 0xFFFF;
constexpr uint32_t kLargestOffset16 = 0xFFFF;
constexpr uint32_t kLargestOffset24 = 0xFFFFFF;

uint32_t read16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

uint32_t read24(const uint8_t* p)
{
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

uint32_t read32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void put16(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    out[at] = uint8_t(v >> 8);
    out[at + 1] = uint8_t(v);
}

void put24(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    out[at] = uint8_t(v >> 16);
    put16(out, at + 1, v);
}

void put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    put16(out, at, v >> 16);
    put16(out, at + 2, v);
}

struct Span {
    uint64_t start;
    uint64_t end;
};

// True when no two spans share a byte (empty spans share nothing).
bool disjoint(std::vector<Span>& spans)
{
    auto byStart = [](const Span& a, const Span& b) { return a.start < b.start; };
    // A file written in order is sorted already; checking that is linear.
    if (!std::is_sorted(spans.begin(), spans.end(), byStart))
        std::sort(spans.begin(), spans.end(), byStart);
    uint64_t reached = 0;
    for (const Span& s : spans) {
        if (s.start == s.end)
            continue;
        if (s.start < reached)
            return false;
        reached = s.end;
    }
    return true;
}

uint32_t nameBytes(const uint8_t* name)
{
    return name != nullptr ? 1u + name[0] : 0u;
}

} // namespace

namespace {

// Keeps the records in the map.
class RecordList final : public HostResourceRecordSink {
public:
    explicit RecordList(std::vector<HostResourceRecord>& records) : mRecords(records) {}
    void Reserve(size_t count) override { mRecords.reserve(count); }
    void BeginType(ResType, size_t) override {}
    void Add(const HostResourceRecord& record) override { mRecords.push_back(record); }

private:
    std::vector<HostResourceRecord>& mRecords;
};

} // namespace

OSErr HostResourceFile::Parse(const uint8_t* bytes, size_t size, HostResourceFileMap& out)
{
    out = HostResourceFileMap();
    std::vector<HostResourceRecord> records;
    RecordList list(records);
    const OSErr err = Parse(bytes, size, out, list);
    out.records = std::move(records);
    return err;
}

OSErr HostResourceFile::Parse(const uint8_t* bytes, size_t size, HostResourceFileMap& out, HostResourceRecordSink& sink)
{
    out = HostResourceFileMap();
    if (size == 0)
        return eofErr;
    if (bytes == nullptr || size < kHeaderSize)
        return mapReadErr;
    const uint64_t dataOffset = read32(bytes);
    const uint64_t mapOffset = read32(bytes + 4);
    const uint64_t dataLength = read32(bytes + 8);
    const uint64_t mapLength = read32(bytes + 12);
    if (dataOffset + dataLength > size || mapOffset + mapLength > size || mapLength < kMapHeaderSize)
        return mapReadErr;

    const uint8_t* map = bytes + mapOffset;
    const uint64_t typeList = read16(map + 24);
    const uint64_t nameList = read16(map + 26);
    if (typeList + 2 > mapLength)
        return mapReadErr;
    const uint32_t typeCount = (read16(map + typeList) + 1) & 0xFFFF; // 0xFFFF: no types
    const uint64_t typeListEnd = typeList + 2 + uint64_t(typeCount) * kTypeEntrySize;
    if (typeListEnd > mapLength)
        return mapReadErr;

    std::vector<Span> referenceLists;
    std::unordered_set<ResType> types;
    uint64_t resourceCount = 0;
    for (uint32_t t = 0; t < typeCount; ++t) {
        const uint8_t* entry = map + typeList + 2 + uint64_t(t) * kTypeEntrySize;
        const uint64_t count = read16(entry + 4) + 1;
        const uint64_t start = typeList + read16(entry + 6);
        const uint64_t end = start + count * kRefEntrySize;
        if (start < typeListEnd || end > mapLength || !types.insert(read32(entry)).second)
            return mapReadErr;
        referenceLists.push_back({start, end});
        resourceCount += count;
    }
    if (!disjoint(referenceLists))
        return mapReadErr;

    out.attributes = uint16_t(read16(map + 22));
    out.hasHeaderReserve = dataOffset >= kDataStart && mapOffset >= kDataStart && size >= kDataStart;
    if (out.hasHeaderReserve)
        std::memcpy(out.headerReserve.data(), bytes + kHeaderSize, out.headerReserve.size());

    // Each list lies within the map, so the records are bounded by the map's size.
    sink.Reserve(size_t(resourceCount));
    // The data of a file written in order follow each other, which proves them disjoint as they
    // are read; otherwise they are sorted and checked at the end.
    bool dataInOrder = true;
    uint64_t dataReached = 0;
    for (uint32_t t = 0; t < typeCount; ++t) {
        const uint8_t* entry = map + typeList + 2 + uint64_t(t) * kTypeEntrySize;
        const ResType type = read32(entry);
        const uint64_t count = read16(entry + 4) + 1;
        const uint8_t* refs = map + typeList + read16(entry + 6);
        sink.BeginType(type, size_t(count));
        for (uint64_t r = 0; r < count; ++r) {
            const uint8_t* ref = refs + r * kRefEntrySize;
            HostResourceRecord record{};
            record.type = type;
            record.id = ResID(read16(ref));
            record.attributes = ref[4];
            const uint64_t dataAt = read24(ref + 5);
            if (dataAt + 4 > dataLength)
                return mapReadErr;
            const uint64_t length = read32(bytes + dataOffset + dataAt);
            if (dataAt + 4 + length > dataLength)
                return mapReadErr;
            record.dataOffset = uint32_t(dataOffset + dataAt + 4);
            record.dataLength = uint32_t(length);
            dataInOrder = dataInOrder && dataAt >= dataReached;
            dataReached = dataAt + 4 + length;
            const uint32_t nameAt = read16(ref + 2);
            record.nameOffset = -1;
            if (nameAt != kNoName) {
                const uint64_t at = nameList + nameAt;
                if (at + 1 > mapLength || at + 1 + map[at] > mapLength)
                    return mapReadErr;
                record.nameOffset = int64_t(mapOffset + at);
            }
            sink.Add(record);
        }
    }
    if (!dataInOrder) {
        // Every offset and length was checked above.
        std::vector<Span> data;
        data.reserve(size_t(resourceCount));
        for (uint32_t t = 0; t < typeCount; ++t) {
            const uint8_t* entry = map + typeList + 2 + uint64_t(t) * kTypeEntrySize;
            const uint64_t count = read16(entry + 4) + 1;
            const uint8_t* refs = map + typeList + read16(entry + 6);
            for (uint64_t r = 0; r < count; ++r) {
                const uint64_t dataAt = read24(refs + r * kRefEntrySize + 5);
                data.push_back({dataAt, dataAt + 4 + read32(bytes + dataOffset + dataAt)});
            }
        }
        if (!disjoint(data))
            return mapReadErr;
    }
    return noErr;
}

bool HostResourceFile::MapFits(const std::vector<uint32_t>& resourcesPerType, size_t nameListLength)
{
    const uint64_t types = resourcesPerType.size();
    if (types > 0xFFFF || nameListLength > kLargestOffset16)
        return false;
    uint64_t total = 0;
    for (uint32_t count : resourcesPerType) {
        if (count == 0 || count > 0x10000)
            return false;
        total += count;
    }
    const uint64_t typeListLength = 2 + types * kTypeEntrySize;
    if (kMapHeaderSize + typeListLength + total * kRefEntrySize <= kLargestOffset16)
        return true; // names after the reference lists
    if (types == 0)
        return false;
    // Names before the reference lists, the longest list last: every list must start within
    // reach of the type list.
    const uint32_t longest = *std::max_element(resourcesPerType.begin(), resourcesPerType.end());
    const uint64_t lastListStart = typeListLength + nameListLength + (total - longest) * kRefEntrySize;
    return kMapHeaderSize + typeListLength <= kLargestOffset16 && lastListStart <= kLargestOffset16;
}

OSErr HostResourceFile::Build(const std::vector<HostResourceToWrite>& resources, uint16_t attributes,
                              const std::array<uint8_t, 240>* headerReserve, std::vector<uint8_t>& out,
                              std::vector<HostResourceRecord>& written)
{
    // Group by type, types in the order of their first resource.
    std::vector<ResType> typeOrder;
    std::unordered_map<ResType, std::vector<size_t>> byType;
    size_t nameListLength = 0;
    uint64_t dataLength = 0;
    for (size_t i = 0; i < resources.size(); ++i) {
        auto [it, added] = byType.try_emplace(resources[i].type);
        if (added)
            typeOrder.push_back(resources[i].type);
        it->second.push_back(i);
        nameListLength += nameBytes(resources[i].name);
        dataLength += 4 + uint64_t(resources[i].dataLength);
    }
    std::vector<uint32_t> counts;
    for (ResType type : typeOrder)
        counts.push_back(uint32_t(byType[type].size()));
    if (!MapFits(counts, nameListLength))
        return addResFailed;

    const uint64_t types = typeOrder.size();
    const uint64_t typeListLength = 2 + types * kTypeEntrySize;
    const uint64_t refsLength = resources.size() * uint64_t(kRefEntrySize);
    const bool namesFirst = kMapHeaderSize + typeListLength + refsLength > kLargestOffset16;
    // Where each type's reference list starts, from the type list. After the names, the lists go
    // shortest first so that the longest one starts last.
    std::vector<size_t> placement(typeOrder.size());
    for (size_t t = 0; t < placement.size(); ++t)
        placement[t] = t;
    if (namesFirst)
        std::stable_sort(placement.begin(), placement.end(),
                         [&](size_t a, size_t b) { return counts[a] < counts[b]; });
    std::vector<uint64_t> listStart(typeOrder.size());
    uint64_t cursor = typeListLength + (namesFirst ? nameListLength : 0);
    for (size_t t : placement) {
        listStart[t] = cursor;
        cursor += uint64_t(counts[t]) * kRefEntrySize;
    }
    const uint64_t nameListStart = kMapHeaderSize + (namesFirst ? typeListLength : typeListLength + refsLength);
    const uint64_t mapLength = kMapHeaderSize + typeListLength + refsLength + nameListLength;
    const uint64_t mapOffset = kDataStart + dataLength;
    if (mapOffset + mapLength > 0x7FFFFFFF)
        return addResFailed;

    out.assign(size_t(mapOffset + mapLength), 0);
    written.assign(resources.size(), HostResourceRecord{});
    put32(out, 0, kDataStart);
    put32(out, 4, uint32_t(mapOffset));
    put32(out, 8, uint32_t(dataLength));
    put32(out, 12, uint32_t(mapLength));
    if (headerReserve != nullptr)
        std::memcpy(out.data() + kHeaderSize, headerReserve->data(), headerReserve->size());
    std::memcpy(out.data() + mapOffset, out.data(), kHeaderSize);
    const size_t map = size_t(mapOffset);
    put16(out, map + 22, attributes & ~uint32_t(mapChanged));
    put16(out, map + 24, kMapHeaderSize);
    put16(out, map + 26, uint32_t(nameListStart));

    const size_t typeList = map + kMapHeaderSize;
    put16(out, typeList, uint32_t(types - 1)); // no types: 0xFFFF
    uint64_t dataCursor = 0;
    uint64_t nameCursor = 0;
    for (size_t t = 0; t < typeOrder.size(); ++t) {
        const std::vector<size_t>& members = byType[typeOrder[t]];
        const size_t entry = typeList + 2 + t * kTypeEntrySize;
        uint64_t refCursor = listStart[t];
        put32(out, entry, typeOrder[t]);
        put16(out, entry + 4, uint32_t(members.size() - 1));
        put16(out, entry + 6, uint32_t(refCursor));
        for (size_t index : members) {
            const HostResourceToWrite& resource = resources[index];
            if (dataCursor > kLargestOffset24)
                return addResFailed;
            const size_t ref = typeList + size_t(refCursor);
            put16(out, ref, uint16_t(resource.id));
            put16(out, ref + 2, kNoName);
            out[ref + 4] = resource.attributes & uint8_t(~resChanged);
            put24(out, ref + 5, uint32_t(dataCursor));

            HostResourceRecord& record = written[index];
            record.type = resource.type;
            record.id = resource.id;
            record.attributes = out[ref + 4];
            record.nameOffset = -1;
            if (uint32_t n = nameBytes(resource.name)) {
                put16(out, ref + 2, uint32_t(nameCursor));
                record.nameOffset = int64_t(map + nameListStart + nameCursor);
                std::memcpy(out.data() + record.nameOffset, resource.name, n);
                nameCursor += n;
            }
            const size_t data = kDataStart + size_t(dataCursor);
            put32(out, data, resource.dataLength);
            if (resource.dataLength > 0)
                std::memcpy(out.data() + data + 4, resource.data, resource.dataLength);
            record.dataOffset = uint32_t(data + 4);
            record.dataLength = resource.dataLength;
            dataCursor += 4 + uint64_t(resource.dataLength);
            refCursor += kRefEntrySize;
        }
    }
    return noErr;
}

std::vector<uint8_t> HostResourceFile::Empty()
{
    std::vector<uint8_t> bytes;
    std::vector<HostResourceRecord> none;
    Build({}, 0, nullptr, bytes, none);
    return bytes;
}
