// Swatches: named lists of RGB colours, kept in a list that owns them, and their two IFF file
// kinds: a single swatch ('SWCH') and a whole collection ('SWCC'). Both start with a signature
// block and a version block; every number is big-endian. Also reads colour-table files: 256
// records of red, green, blue bytes.
#pragma once

#include "FWRgb32.h"
#include "FWStr.h"

#include <cstdint>
#include <vector>

class FWStream;
class FileReference;
class IFFDispatcher;

constexpr uint32_t kSwatchFileType = 0x53574348;      // 'SWCH'
constexpr uint32_t kSwatchesFileType = 0x53505246;    // 'SPRF'
constexpr uint32_t kColorTableFileType = 0x38424354;  // '8BCT'
constexpr uint32_t kSwatchFileSignature = 0x53574348; // 'SWCH'
constexpr uint32_t kSwatchesFileSignature = 0x53574343; // 'SWCC'
constexpr uint32_t kSwatchFileVersion = 0x010000C1;
constexpr uint32_t kSwatchBlock = 0x73776368;           // 'swch'
constexpr uint32_t kSwatchCollectionBlock = 0x73776363; // 'swcc'
// The count is a 16-bit number in memory.
constexpr int32_t kMaxSwatchColors = 32767;
constexpr uint32_t kColorTableColors = 256;

class CColorSwatch {
public:
    CColorSwatch() = default;
    // count colours, all black; the name is copied when given.
    CColorSwatch(short count, const FWStr<31ul>* name);

    const FWStr<31ul>& GetSwatchName() const { return mName; }
    void GetSwatchName(FWStr<31ul>& out) const { out = mName; }
    void SetSwatchName(const FWStr<31ul>& name) { mName = name; }

    short GetNumColors() const { return short(mColors.size()); }
    // Colours added at the end are black; colours past n are dropped.
    void SetNumColors(short n);

    // No range check: callers keep within the count.
    FWRgb32& operator[](short index) { return mColors[size_t(index)]; }
    const FWRgb32& operator[](short index) const { return mColors[size_t(index)]; }

private:
    FWStr<31ul> mName;
    std::vector<FWRgb32> mColors;
};

// Swatches in display order. The list owns them: a removed swatch is deleted.
class CSwatchList {
public:
    CSwatchList() = default;
    virtual ~CSwatchList();
    CSwatchList(const CSwatchList&) = delete;
    CSwatchList& operator=(const CSwatchList&) = delete;

    long CountSwatches() const { return long(mSwatches.size()); }
    void AddSwatch(CColorSwatch* swatch);
    // Null when i is not below the count (a negative i included).
    CColorSwatch* FindSwatchByIndex(long i) const;
    // -1 when absent.
    long FindSwatchIndex(const CColorSwatch* swatch) const;
    // The first swatch of that name; null when none.
    CColorSwatch* FindSwatchByName(const FWStr<31ul>& name) const;
    void RemoveSwatchByIndex(long i);
    // Deletes every swatch.
    void RemoveAllSwatches();
    // Moves every swatch of other to the end of this list, leaving other empty.
    void TakeSwatches(CSwatchList& other);

private:
    std::vector<CColorSwatch*> mSwatches;
};

// The blocks of both file kinds. Readers throw IFFUnexpectedIFF for another block id,
// IFFUnknownVersion for a block version 0, and IFFUnexpectedSize for a colour count above
// kMaxSwatchColors or beyond the block. A collection reader appends each swatch once it is
// read whole.
void WriteSwatchBlock(FWStream& stream, IFFDispatcher& dispatcher, const CColorSwatch& swatch);
void ReadSwatchBlock(FWStream& stream, IFFDispatcher& dispatcher, CColorSwatch& swatch);
void WriteSwatchCollectionBlock(FWStream& stream, IFFDispatcher& dispatcher, const CSwatchList& list);
void ReadSwatchCollectionBlock(FWStream& stream, IFFDispatcher& dispatcher, CSwatchList& list);

// Whole files on a stream: signature, version, then the one block. A wrong signature or a
// version not above 0x010000C0 throws FWException with its own text.
void WriteColorSwatchStream(FWStream& stream, const CColorSwatch& swatch);
void ReadColorSwatchStream(FWStream& stream, CColorSwatch& swatch);
void WriteColorSwatchesStream(FWStream& stream, const CSwatchList& list);
void ReadColorSwatchesStream(FWStream& stream, CSwatchList& list);

// Whole files on disk. Writing goes through a safe save, so a failed write leaves the file as it
// was; reading appends to the list given.
void WriteColorSwatchFile(const FileReference& file, const CColorSwatch& swatch);
void ReadColorSwatchFile(const FileReference& file, CColorSwatch& swatch);
void WriteColorSwatches(const FileReference& file, const CSwatchList& list);
void ReadColorSwatches(const FileReference& file, CSwatchList& list);

// A colour table: the first 768 bytes give 256 colours; the rest is ignored. A shorter table
// throws FWReadFailedException and leaves the swatch as it was. The file's name (UTF-8) becomes
// the swatch's name in the system encoding, cut to 31 characters.
void ReadColorTableStream(FWStream& stream, CColorSwatch& swatch);
void ReadColorTableFile(const FileReference& file, CColorSwatch& swatch);

// The five swatches a new collection starts with, appended in order: "System", "Black Body",
// "Gray Scale", "Spectrum", "Metals", 256 colours each.
void MakeDefaultSwatches(CSwatchList& list);
