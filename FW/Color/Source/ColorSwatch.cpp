// Swatches, swatch lists and their files.
#include "ColorSwatch.h"

#include "FWColorModels.h"
#include "FWException.h"
#include "FWFileStream.h"
#include "FWSafeSave.h"
#include "HostReplacementFile.h"
#include "FWStreamException.h"
#include "FileReference.h"
#include "HostCoreFoundation.h"
#include "IFFBlocks.h"
#include "IFFDispatcher.h"
#include "IFFException.h"

#include <memory>

namespace {

constexpr uint8_t kBlockVersion = 1;
constexpr uint32_t kOldestUnreadVersion = 0x010000C0;
// A 'swch' block's smallest body: version, an empty 'strg' block and the count.
constexpr uint32_t kSmallestSwatchBody = 1 + 9 + 4;
constexpr uint32_t kSwatchBlockHeader = 8;

void checkFileHead(FWStream& stream, IFFDispatcher& dispatcher, uint32_t wanted, const char* wrongSignature)
{
    uint32_t signature = 0;
    ReadSignature(stream, dispatcher, signature);
    if (signature != wanted)
        throw FWException(wrongSignature);
    uint32_t version = 0;
    ReadVersion(stream, dispatcher, version);
    if (version <= kOldestUnreadVersion)
        throw FWException("the version of the swatches file was unknown");
}

void writeFileHead(FWStream& stream, IFFDispatcher& dispatcher, uint32_t signature)
{
    WriteSignature(stream, dispatcher, signature);
    WriteVersion(stream, dispatcher, kSwatchFileVersion);
}

// The bytes left in the block whose body began at bodyStart.
uint32_t bytesLeft(FWStream& stream, uint32_t bodyStart, uint32_t size)
{
    const uint32_t at = stream.GetStreamPosition();
    const uint64_t end = uint64_t(bodyStart) + size;
    return at >= end ? 0 : uint32_t(end - at);
}

void readBlockVersion(FWStream& stream)
{
    // Any later version has the same layout.
    if (stream.ReadUChar() == 0)
        throw IFFUnknownVersion();
}

} // namespace

// ---------------------------------------------------------------------------------------------

CColorSwatch::CColorSwatch(short count, const FWStr<31ul>* name) : mColors(size_t(count > 0 ? count : 0))
{
    if (name != nullptr)
        mName = *name;
}

void CColorSwatch::SetNumColors(short n)
{
    const size_t wanted = size_t(n > 0 ? n : 0);
    if (wanted != mColors.size())
        mColors.resize(wanted);
}

CSwatchList::~CSwatchList()
{
    RemoveAllSwatches();
}

void CSwatchList::AddSwatch(CColorSwatch* swatch)
{
    mSwatches.push_back(swatch);
}

CColorSwatch* CSwatchList::FindSwatchByIndex(long i) const
{
    return static_cast<unsigned long>(i) < mSwatches.size() ? mSwatches[size_t(i)] : nullptr;
}

long CSwatchList::FindSwatchIndex(const CColorSwatch* swatch) const
{
    for (size_t i = 0; i < mSwatches.size(); ++i)
        if (mSwatches[i] == swatch)
            return long(i);
    return -1;
}

CColorSwatch* CSwatchList::FindSwatchByName(const FWStr<31ul>& name) const
{
    for (CColorSwatch* swatch : mSwatches)
        if (swatch->GetSwatchName() == name)
            return swatch;
    return nullptr;
}

void CSwatchList::RemoveSwatchByIndex(long i)
{
    if (static_cast<unsigned long>(i) >= mSwatches.size())
        return;
    CColorSwatch* swatch = mSwatches[size_t(i)];
    mSwatches.erase(mSwatches.begin() + i);
    delete swatch;
}

void CSwatchList::RemoveAllSwatches()
{
    for (CColorSwatch* swatch : mSwatches)
        delete swatch;
    mSwatches.clear();
}

void CSwatchList::TakeSwatches(CSwatchList& other)
{
    mSwatches.insert(mSwatches.end(), other.mSwatches.begin(), other.mSwatches.end());
    other.mSwatches.clear();
}

// ---------------------------------------------------------------------------------------------

void WriteSwatchBlock(FWStream& stream, IFFDispatcher& dispatcher, const CColorSwatch& swatch)
{
    dispatcher.BeginIFFBlockWrite(stream, kSwatchBlock);
    stream.WriteUChar(kBlockVersion);
    WriteString(stream, dispatcher, swatch.GetSwatchName());
    const short count = swatch.GetNumColors();
    stream.WriteULong(uint32_t(count));
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(count) * 3);
    for (short i = 0; i < count; ++i) {
        const FWRgb32& color = swatch[i];
        bytes.insert(bytes.end(), {color.r, color.g, color.b});
    }
    if (!bytes.empty())
        stream.WriteData(bytes.data(), uint32_t(bytes.size()));
    dispatcher.EndIFFBlockWrite(stream, kSwatchBlock);
}

void ReadSwatchBlock(FWStream& stream, IFFDispatcher& dispatcher, CColorSwatch& swatch)
{
    uint32_t id = 0;
    uint32_t size = 0;
    dispatcher.BeginIFFBlockRead(stream, id, size);
    if (id != kSwatchBlock)
        throw IFFUnexpectedIFF();
    const uint32_t bodyStart = stream.GetStreamPosition();
    if (size < kSmallestSwatchBody)
        throw IFFUnexpectedSize();
    readBlockVersion(stream);
    FWStr<31ul> name;
    ReadString(stream, dispatcher, name);
    if (bytesLeft(stream, bodyStart, size) < 4)
        throw IFFUnexpectedSize();
    // The count is checked before anything is sized by it: it must fit the 16-bit count of a
    // swatch and the colours must lie within the block.
    const uint32_t count = stream.ReadULong();
    if (count > uint32_t(kMaxSwatchColors) || uint64_t(count) * 3 > bytesLeft(stream, bodyStart, size))
        throw IFFUnexpectedSize();
    std::vector<uint8_t> bytes(size_t(count) * 3);
    if (!bytes.empty())
        stream.ReadData(bytes.data(), uint32_t(bytes.size()));
    dispatcher.EndIFFBlockRead(stream, id, size);

    swatch.SetSwatchName(name);
    swatch.SetNumColors(short(count));
    for (uint32_t i = 0; i < count; ++i)
        swatch[short(i)].Set(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
}

void WriteSwatchCollectionBlock(FWStream& stream, IFFDispatcher& dispatcher, const CSwatchList& list)
{
    dispatcher.BeginIFFBlockWrite(stream, kSwatchCollectionBlock);
    stream.WriteUChar(kBlockVersion);
    stream.WriteULong(uint32_t(list.CountSwatches()));
    for (long i = 0; i < list.CountSwatches(); ++i)
        WriteSwatchBlock(stream, dispatcher, *list.FindSwatchByIndex(i));
    dispatcher.EndIFFBlockWrite(stream, kSwatchCollectionBlock);
}

void ReadSwatchCollectionBlock(FWStream& stream, IFFDispatcher& dispatcher, CSwatchList& list)
{
    uint32_t id = 0;
    uint32_t size = 0;
    dispatcher.BeginIFFBlockRead(stream, id, size);
    if (id != kSwatchCollectionBlock)
        throw IFFUnexpectedIFF();
    const uint32_t bodyStart = stream.GetStreamPosition();
    if (size < 5)
        throw IFFUnexpectedSize();
    readBlockVersion(stream);
    const uint32_t count = stream.ReadULong();
    if (uint64_t(count) * (kSwatchBlockHeader + kSmallestSwatchBody) > bytesLeft(stream, bodyStart, size))
        throw IFFUnexpectedSize();
    for (uint32_t i = 0; i < count; ++i) {
        auto swatch = std::make_unique<CColorSwatch>();
        ReadSwatchBlock(stream, dispatcher, *swatch);
        list.AddSwatch(swatch.release());
    }
    dispatcher.EndIFFBlockRead(stream, id, size);
}

// ---------------------------------------------------------------------------------------------

void WriteColorSwatchStream(FWStream& stream, const CColorSwatch& swatch)
{
    IFFDispatcher dispatcher;
    writeFileHead(stream, dispatcher, kSwatchFileSignature);
    WriteSwatchBlock(stream, dispatcher, swatch);
}

void ReadColorSwatchStream(FWStream& stream, CColorSwatch& swatch)
{
    IFFDispatcher dispatcher;
    checkFileHead(stream, dispatcher, kSwatchFileSignature, "the signature of the swatch file was wrong");
    ReadSwatchBlock(stream, dispatcher, swatch);
}

void WriteColorSwatchesStream(FWStream& stream, const CSwatchList& list)
{
    IFFDispatcher dispatcher;
    writeFileHead(stream, dispatcher, kSwatchesFileSignature);
    WriteSwatchCollectionBlock(stream, dispatcher, list);
}

void ReadColorSwatchesStream(FWStream& stream, CSwatchList& list)
{
    IFFDispatcher dispatcher;
    checkFileHead(stream, dispatcher, kSwatchesFileSignature, "the signature of the swatches file was wrong");
    ReadSwatchCollectionBlock(stream, dispatcher, list);
}

namespace {

// The temporary file of a save over an existing file, noted while it is written so that an end
// signal removes it (HostRemoveUnfinishedSaves); forgotten once renamed or removed.
class NotedTemporary {
public:
    NotedTemporary(FWSafeSave& save, const FileReference& target)
    {
        const FileReference& written = save.GetFileStream()->GetFileReference();
        if (written != target)
            mSlot = HostNoteUnfinishedSave(written.GetCString());
    }
    ~NotedTemporary() { HostForgetUnfinishedSave(mSlot); }
    NotedTemporary(const NotedTemporary&) = delete;
    NotedTemporary& operator=(const NotedTemporary&) = delete;

private:
    int mSlot = -1;
};

} // namespace

void WriteColorSwatchFile(const FileReference& file, const CColorSwatch& swatch)
{
    FWSafeSave save(FWPlatform::kBigEndian, file, 0);
    const NotedTemporary noted(save, file);
    WriteColorSwatchStream(*save.GetFileStream(), swatch);
    save.SaveSucceeded();
}

void ReadColorSwatchFile(const FileReference& file, CColorSwatch& swatch)
{
    FWFileStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, file);
    ReadColorSwatchStream(stream, swatch);
}

void WriteColorSwatches(const FileReference& file, const CSwatchList& list)
{
    FWSafeSave save(FWPlatform::kBigEndian, file, 0);
    const NotedTemporary noted(save, file);
    WriteColorSwatchesStream(*save.GetFileStream(), list);
    save.SaveSucceeded();
}

void ReadColorSwatches(const FileReference& file, CSwatchList& list)
{
    FWFileStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, file);
    ReadColorSwatchesStream(stream, list);
}

// ---------------------------------------------------------------------------------------------

void ReadColorTableStream(FWStream& stream, CColorSwatch& swatch)
{
    const uint32_t at = stream.GetStreamPosition();
    const uint32_t size = stream.GetStreamSize();
    if (at > size || size - at < kColorTableColors * 3)
        throw FWReadFailedException();
    uint8_t bytes[kColorTableColors * 3];
    stream.ReadData(bytes, sizeof bytes);
    swatch.SetNumColors(short(kColorTableColors));
    for (uint32_t i = 0; i < kColorTableColors; ++i)
        swatch[short(i)].Set(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
}

void ReadColorTableFile(const FileReference& file, CColorSwatch& swatch)
{
    FWFileStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, file);
    CColorSwatch read;
    ReadColorTableStream(stream, read);

    // File names are UTF-8; swatch names are in the system encoding like all text.
    FWStr<255> fileName;
    file.GetFileName(fileName);
    const std::string macRoman = HostFileNameToMacRoman(fileName.GetCString());
    const FWStr<31ul> name(macRoman.c_str());
    swatch.SetSwatchName(name);
    swatch.SetNumColors(read.GetNumColors());
    for (short i = 0; i < read.GetNumColors(); ++i)
        swatch[i] = read[i];
}

// ---------------------------------------------------------------------------------------------

void MakeDefaultSwatches(CSwatchList& list)
{
    constexpr int kCount = 256;
    auto add = [&list](const char* name, auto colorAt) {
        FWStr<31ul> text(name);
        auto swatch = std::make_unique<CColorSwatch>(short(kCount), &text);
        for (int i = 0; i < kCount; ++i)
            (*swatch)[short(i)] = colorAt(i);
        list.AddSwatch(swatch.release());
    };
    auto hsv = [](int h, int s, int v) {
        uint8_t r = 0, g = 0, b = 0;
        HSVToRGB(uint8_t(h), uint8_t(s), uint8_t(v), r, g, b);
        return FWRgb32(r, g, b);
    };

    // The 6 x 6 x 6 cube without black, four ramps of ten, then black.
    std::vector<FWRgb32> system;
    for (int r = 255; r >= 0; r -= 51)
        for (int g = 255; g >= 0; g -= 51)
            for (int b = 255; b >= 0; b -= 51)
                if (r != 0 || g != 0 || b != 0)
                    system.emplace_back(r, g, b);
    std::vector<int> ramp;
    for (int k = 14; k >= 1; --k)
        if (k % 3 != 0)
            ramp.push_back(17 * k);
    for (int channel = 0; channel < 4; ++channel)
        for (int v : ramp)
            system.emplace_back(channel == 0 || channel == 3 ? v : 0, channel == 1 || channel == 3 ? v : 0,
                                channel == 2 || channel == 3 ? v : 0);
    system.emplace_back(0, 0, 0);
    add("System", [&system](int i) { return system[size_t(i)]; });

    add("Black Body", [](int i) {
        if (i <= 85)
            return FWRgb32(3 * i, 0, 0);
        if (i <= 170)
            return FWRgb32(255, (3 * i + 1) % 256, 0);
        return FWRgb32(255, 255, (3 * i + 2) % 256);
    });
    add("Gray Scale", [](int i) { return FWRgb32(i, i, i); });
    add("Spectrum", [&hsv](int i) { return hsv(210 * i / 255, 255, 255); });
    add("Metals", [&hsv](int i) { return hsv(150, 180 - 127 * i / 255, 76 + 179 * i / 255); });
}
