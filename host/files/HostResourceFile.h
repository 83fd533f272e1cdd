// The resource-file layout, read and written as bytes (no files, no state). All numbers are
// big-endian; resource data are never byte-swapped.
//
//   0   header: data offset, map offset, data length, map length (4 bytes each), then reserved
//       bytes up to the data, which this writer starts at 256
//   data area: per resource a 4-byte length and the bytes
//   map: a copy of the header (16), reserved (4 + 2), attributes (2), type list offset (2) and
//       name list offset (2), both from the map's start;
//       type list: number of types - 1 (2), per type: type (4), number of resources - 1 (2),
//       offset of its reference list from the type list's start (2);
//       reference lists: per resource: id (2), name offset from the name list's start or -1 (2),
//       attributes (1), data offset from the data area's start (3), reserved (4);
//       name list: length-prefixed names.
#pragma once

#include "HostTypes.h"

#include <array>
#include <cstddef>
#include <vector>

// Resource attributes kept in the reference list.
enum : uint8_t {
    resSysHeap = 64,
    resPurgeable = 32,
    resLocked = 16,
    resProtected = 8,
    resPreload = 4,
    resChanged = 2, // in memory only: never written
};

// Map attributes.
enum : uint16_t {
    mapReadOnly = 128,
    mapCompact = 64,
    mapChanged = 32, // in memory only: never written
};

// One resource as a file holds it. Offsets are from the start of the file.
struct HostResourceRecord {
    ResType type;
    ResID id;
    uint8_t attributes;
    int64_t nameOffset;  // of the name's length byte; -1 when the resource has no name
    uint32_t dataOffset; // of the first data byte, after the length word
    uint32_t dataLength;
};

// What a file holds besides the resources' bytes.
struct HostResourceFileMap {
    uint16_t attributes = 0;
    bool hasHeaderReserve = false;              // the bytes between header and data are free
    std::array<uint8_t, 240> headerReserve{};   // bytes 16..255, kept when the file is rewritten
    std::vector<HostResourceRecord> records;    // by type in type-list order, then list order
};

// One resource to write: its name is length-prefixed (null: no name; length 0: an empty name,
// stored as its length byte).
struct HostResourceToWrite {
    ResType type;
    ResID id;
    uint8_t attributes;
    const uint8_t* name;
    const uint8_t* data;
    uint32_t dataLength;
};

// Receives the records of a file as Parse reads them.
class HostResourceRecordSink {
public:
    virtual ~HostResourceRecordSink() = default;
    virtual void Reserve(size_t count) = 0;                // before all records: their number
    virtual void BeginType(ResType type, size_t count) = 0; // before the records of each type
    virtual void Add(const HostResourceRecord& record) = 0;
};

class HostResourceFile {
public:
    // Reads the map of a file's bytes, checking every offset, length and count against them:
    // eofErr for no bytes at all, mapReadErr for anything damaged (offsets outside the file,
    // reference lists that overlap each other or the type list, a type listed twice, data that
    // overlap). Memory used stays proportional to the size of the map.
    static OSErr Parse(const uint8_t* bytes, size_t size, HostResourceFileMap& out);

    // The same checks, handing the records to sink in the same order instead of keeping them in
    // out.records. When it answers an error, the records handed over are to be dropped.
    static OSErr Parse(const uint8_t* bytes, size_t size, HostResourceFileMap& out, HostResourceRecordSink& sink);

    // Lays out a whole file: types in the order of their first resource, resources of a type in
    // the given order. The name list follows the reference lists, or, when only that keeps every
    // 16-bit offset in range, precedes them and the longest reference list comes last. addResFailed when the resources do not fit the layout
    // (a map beyond its 16-bit offsets, a data offset beyond 24 bits). `written` receives the
    // records of the new file in the given order.
    static OSErr Build(const std::vector<HostResourceToWrite>& resources, uint16_t attributes,
                       const std::array<uint8_t, 240>* headerReserve, std::vector<uint8_t>& out,
                       std::vector<HostResourceRecord>& written);

    // Whether a map of resources with these counts per type and this many name-list bytes can be
    // laid out with 16-bit offsets.
    static bool MapFits(const std::vector<uint32_t>& resourcesPerType, size_t nameListLength);

    // The bytes of an empty file: a header and a map with no types (286 bytes).
    static std::vector<uint8_t> Empty();
};
