// An independent reader and a hand builder of the classic resource-file layout, written from the
// published description for the tests alone (they share nothing with the host's own code).
//
// Header: data offset, map offset, data length, map length (32-bit big-endian). Data: per
// resource a 32-bit length and the bytes. Map: 16 bytes (a copy of the header), 4 + 2 reserved,
// 2 attributes, 2 offset of the type list and 2 offset of the name list (both from the map).
// Type list: count - 1, then type, count - 1 and reference-list offset (from the type list).
// Reference: id, name offset (from the name list, 0xFFFF none), attributes, 3-byte data offset
// (from the data area), 4 reserved. Names: a length byte and the bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

struct ClassicResource {
    uint32_t type;
    int16_t id;
    uint8_t attributes;
    bool hasName;
    std::string name;
    std::vector<uint8_t> data;

    bool operator==(const ClassicResource& o) const
    {
        return std::tie(type, id, attributes, hasName, name, data) ==
               std::tie(o.type, o.id, o.attributes, o.hasName, o.name, o.data);
    }
    bool operator<(const ClassicResource& o) const { return std::tie(type, id) < std::tie(o.type, o.id); }
};

namespace classic {

// A resource with a name when the name is not empty.
inline ClassicResource resource(uint32_t type, int16_t id, const std::string& name, std::vector<uint8_t> data,
                                uint8_t attributes = 0)
{
    return ClassicResource{type, id, attributes, !name.empty(), name, std::move(data)};
}

inline uint32_t u16(const std::vector<uint8_t>& f, size_t at)
{
    return uint32_t(f.at(at)) << 8 | f.at(at + 1);
}

inline uint32_t u32(const std::vector<uint8_t>& f, size_t at)
{
    return u16(f, at) << 16 | u16(f, at + 2);
}

inline void add16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

inline void add32(std::vector<uint8_t>& out, uint32_t v)
{
    add16(out, v >> 16);
    add16(out, v);
}

inline void set16(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    out.at(at) = uint8_t(v >> 8);
    out.at(at + 1) = uint8_t(v);
}

inline void set32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    set16(out, at, v >> 16);
    set16(out, at + 2, v);
}

} // namespace classic

// Every resource of a file, sorted by type and id. Out-of-range reads throw std::out_of_range.
inline std::vector<ClassicResource> ReadClassic(const std::vector<uint8_t>& f)
{
    using namespace classic;
    const size_t data = u32(f, 0), map = u32(f, 4);
    const size_t typeList = map + u16(f, map + 24), nameList = map + u16(f, map + 26);
    std::vector<ClassicResource> all;
    const uint32_t types = (u16(f, typeList) + 1) & 0xFFFF;
    for (uint32_t t = 0; t < types; ++t) {
        const size_t entry = typeList + 2 + 8 * t;
        const uint32_t count = u16(f, entry + 4) + 1;
        const size_t refs = typeList + u16(f, entry + 6);
        for (uint32_t r = 0; r < count; ++r) {
            const size_t ref = refs + 12 * r;
            ClassicResource res;
            res.type = u32(f, entry);
            res.id = int16_t(u16(f, ref));
            res.attributes = f.at(ref + 4);
            const uint32_t nameAt = u16(f, ref + 2);
            res.hasName = nameAt != 0xFFFF;
            if (res.hasName)
                for (size_t i = 0; i < f.at(nameList + nameAt); ++i)
                    res.name += char(f.at(nameList + nameAt + 1 + i));
            const size_t at = data + (u32(f, ref + 4) & 0xFFFFFF);
            const size_t length = u32(f, at);
            for (size_t i = 0; i < length; ++i)
                res.data.push_back(f.at(at + 4 + i));
            all.push_back(res);
        }
    }
    std::sort(all.begin(), all.end());
    return all;
}

// A file laid out unlike the usual writers: a filled reserved area, the map before the data, the
// name list between the type list and the reference lists, reference lists in reverse order,
// data in reverse order and padded, and non-zero reserved fields. Resources of one type must be
// given together.
inline std::vector<uint8_t> HandBuildClassic(const std::vector<ClassicResource>& resources, uint16_t mapAttributes = 0)
{
    using namespace classic;
    std::vector<uint32_t> types;
    for (const ClassicResource& r : resources)
        if (types.empty() || types.back() != r.type)
            types.push_back(r.type);

    std::vector<uint8_t> names;
    std::vector<uint32_t> nameOffsets;
    for (const ClassicResource& r : resources) {
        nameOffsets.push_back(r.hasName ? uint32_t(names.size()) : 0xFFFF);
        if (r.hasName) {
            names.push_back(uint8_t(r.name.size()));
            names.insert(names.end(), r.name.begin(), r.name.end());
        }
    }
    std::vector<uint8_t> dataArea;
    std::vector<uint32_t> dataOffsets(resources.size());
    for (size_t i = resources.size(); i-- > 0;) {
        dataOffsets[i] = uint32_t(dataArea.size());
        add32(dataArea, uint32_t(resources[i].data.size()));
        dataArea.insert(dataArea.end(), resources[i].data.begin(), resources[i].data.end());
        dataArea.insert(dataArea.end(), 3, 0xEE); // padding nobody points at
    }

    const uint32_t typeListLength = 2 + 8 * uint32_t(types.size());
    std::vector<uint8_t> map(16, 0); // header copy left zero, as some writers do
    add32(map, 0x12345678);          // reserved: handle to next map
    add16(map, 0x0102);              // reserved: file reference
    add16(map, mapAttributes);
    add16(map, 30);                  // type list after two spare bytes
    add16(map, 30 + typeListLength); // names right after the type list
    add16(map, 0xBEEF);
    const size_t typeList = map.size();
    add16(map, uint32_t(types.size()) - 1);
    map.resize(map.size() + 8 * types.size());
    map.insert(map.end(), names.begin(), names.end());
    for (size_t t = types.size(); t-- > 0;) {
        const size_t entry = typeList + 2 + 8 * t;
        uint32_t count = 0;
        set32(map, entry, types[t]);
        set16(map, entry + 6, uint32_t(map.size() - typeList));
        for (size_t i = 0; i < resources.size(); ++i) {
            if (resources[i].type != types[t])
                continue;
            add16(map, uint16_t(resources[i].id));
            add16(map, nameOffsets[i]);
            map.push_back(resources[i].attributes);
            map.push_back(uint8_t(dataOffsets[i] >> 16));
            add16(map, dataOffsets[i]);
            add32(map, 0xCAFEF00D);
            ++count;
        }
        set16(map, entry + 4, count - 1);
    }

    std::vector<uint8_t> file(256, 0xAA);
    const uint32_t mapOffset = 256, dataOffset = 256 + uint32_t(map.size());
    set32(file, 0, dataOffset);
    set32(file, 4, mapOffset);
    set32(file, 8, uint32_t(dataArea.size()));
    set32(file, 12, uint32_t(map.size()));
    file.resize(256 + map.size() + dataArea.size());
    std::copy(map.begin(), map.end(), file.begin() + 256);
    std::copy(dataArea.begin(), dataArea.end(), file.begin() + 256 + long(map.size()));
    return file;
}

// The file of one resource 'TEST' 128 named "Hi" holding 1, 2, 3, as the classic layout has it.
inline std::vector<uint8_t> OneResourceFileBytes()
{
    std::vector<uint8_t> file(256, 0);
    const uint8_t header[] = {0, 0, 1, 0, 0, 0, 1, 7, 0, 0, 0, 7, 0, 0, 0, 0x35};
    std::copy(std::begin(header), std::end(header), file.begin());
    const uint8_t rest[] = {
        0, 0, 0, 3, 1, 2, 3,                               // data: length, bytes
        0, 0, 1, 0, 0, 0, 1, 7, 0, 0, 0, 7, 0, 0, 0, 0x35, // map: header copy
        0, 0, 0, 0, 0, 0, 0, 0,                            // reserved, attributes
        0, 0x1C, 0, 0x32,                                  // type list at 28, names at 50
        0, 0, 'T', 'E', 'S', 'T', 0, 0, 0, 0x0A,           // one type, one resource, list at 10
        0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,             // id 128, name 0, attributes, data 0
        2, 'H', 'i'};
    file.insert(file.end(), std::begin(rest), std::end(rest));
    return file;
}
