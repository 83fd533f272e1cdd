// The shader interface of layout 21000: its items, the stored forms of 'PTKC', 'PICT' and 'QZMP',
// and the linking of stored records to the layout's controls.
#include "CDataPTKC.h"

#include "CQF_Document.h"
#include "DiskImageDecoder.h"
#include "EditWindow.h"
#include "FS_ResourceFileRA.h"
#include "FS_ResourceUtil.h"
#include "FWDrawContext.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWView.h"
#include "HostMemory.h"
#include "ImageBuffer.h"
#include "PreorderTraversal.h"
#include "SerialStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unordered_set>

namespace {

const char* const kSourcePath = "editor/CDataPTKC";

// The lines of the notice shown when a layout 21000 opens with damaged shader resources.
const char* const kDamagedInterface = "Damaged 'PTKC' 128 \"Interface\": only the parameters before the damage "
                                      "were read";
const char* const kDamagedPreview = "Damaged 'PICT' 21000 \"Image Preview\": no preview is shown";
const char* const kDamagedMultiThread = "Damaged 'QZMP' 128 \"MultiThread\": read as off";
const char* const kRecordsNotKept = "'PTKC' 128 \"Interface\": parameters that do not line up with the layout's "
                                    "controls will not be saved: ";
const char* const kCustomNoneNotKept = "'PTKC' 128 \"Interface\": custom parameters of type None will not be saved: ";
// Both counted in one line, where the notice has no room for each with its reason.
const char* const kParametersNotKept = "'PTKC' 128 \"Interface\": %zu parameters will not be saved";
// The notice is shown in a text of at most this many characters, its lines included.
constexpr size_t kNoticeLength = 255;

// Length-prefixed resource names.
const unsigned char kInterfaceName[] = "\x09Interface";
const unsigned char kPreviewName[] = "\x0DImage Preview";
const unsigned char kMultiThreadName[] = "\x0BMultiThread";

constexpr uint32_t kNoLimitsFlag = 0x80000000u;
constexpr uint32_t kAnimatedFlag = 0x40000000u;
constexpr uint32_t kNameBlock = 32;
constexpr uint32_t kMaxName = 31;

CQF_Document* documentOf(EditWindow* window)
{
    return window != nullptr ? dynamic_cast<CQF_Document*>(window->GetDocument()) : nullptr;
}

// A resource of the document's file, opened by `file`; null when the file could not be opened.
Handle documentResource(const Corvel::FS_ResourceFileRA& file, uint32_t type, int32_t id)
{
    return file.OpenedResourceFile() != 0 ? Corvel::FS_ResourceUtil::Get1Resource(type, id) : nullptr;
}

bool readRecord(SerialStream& in, CItemPTKC& item)
{
    uint8_t name[kNameBlock];
    in.ReadBlock_old(name, kNameBlock);
    if (name[0] > kMaxName)
        return false;
    item.mName.Set(name[0], reinterpret_cast<const char*>(name + 1));
    const uint32_t flags = uint32_t(in.ReadLong());
    item.mLimited = (flags & kNoLimitsFlag) == 0;
    item.mAnimated = (flags & kAnimatedFlag) != 0;
    item.mType = uint32_t(in.ReadLong());
    if (CItemPTKC::IsFloatType(item.mType)) {
        for (int i = 0; i < 3; ++i) {
            item.mFloat[i] = in.ReadFloat();
            item.mLong[i] = CDataPTKC::FloatToLong(item.mFloat[i]);
        }
    } else if (CItemPTKC::IsLongType(item.mType) || item.mType == CItemPTKC::kCUST) {
        // Longs are kept exactly; the float slots get their nearest single-precision value.
        for (int i = 0; i < 3; ++i) {
            item.mLong[i] = in.ReadLong();
            item.mFloat[i] = float(item.mLong[i]);
        }
    } else if (CItemPTKC::IsColorType(item.mType)) {
        uint8_t channel[6];
        for (uint8_t& c : channel)
            c = uint8_t(uint16_t(in.ReadShort()) >> 8);
        item.mColor = FWArgb32(channel[3], channel[0], channel[1], channel[2]);
    } else {
        return false;
    }
    return true;
}

void encodeRecord(SerialStream& out, const CItemPTKC& item)
{
    uint8_t name[kNameBlock] = {};
    const uint32_t length = std::min(item.mName.GetCurrLength(), kMaxName);
    name[0] = uint8_t(length);
    std::memcpy(name + 1, item.mName.GetCString(), length);
    out.WriteBlock_old(name, kNameBlock);
    out.WriteLong(int32_t((item.mLimited ? 0 : kNoLimitsFlag) | (item.mAnimated ? kAnimatedFlag : 0)));
    out.WriteLong(int32_t(item.mType));
    if (CItemPTKC::IsFloatType(item.mType)) {
        for (float value : item.mFloat)
            out.WriteFloat(value);
    } else if (CItemPTKC::IsLongType(item.mType)) {
        for (int32_t value : item.mLong)
            out.WriteLong(value);
    } else if (item.mType == CItemPTKC::kCUST) {
        out.WriteLong(item.mLong[0]);
        out.WriteLong(0);
        out.WriteLong(0);
    } else {
        const FWArgb32& c = item.mColor;
        for (uint8_t channel : {c.r, c.g, c.b, c.a})
            out.WriteShort(int16_t(uint16_t(channel) << 8));
        out.WriteShort(0);
        out.WriteShort(0);
    }
}

std::string encoded(const CItemPTKC& item)
{
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    encodeRecord(out, item);
    return std::string(out.Buffer(), out.Size());
}

// A record read from the file and not changed since is written with the bytes read, so that what
// the item's fields do not hold (the low bytes of a colour's shorts, other flag bits, what follows
// a name) stays as stored.
void writeRecord(SerialStream& out, const CItemPTKC& item)
{
    std::string bytes = encoded(item);
    if (item.mHasStored) {
        SerialStream in(reinterpret_cast<const char*>(item.mStored.data()), uint32_t(item.mStored.size()),
                        SerialStream::kReading);
        CItemPTKC stored = item;
        if (readRecord(in, stored) && encoded(stored) == bytes)
            bytes.assign(item.mStored.begin(), item.mStored.end());
    }
    out.WriteBlock_old(bytes.data(), uint32_t(bytes.size()));
}

// The record's fields go into the item, which keeps its kind and is no longer automatic.
void LinkView2PTKC(CItemPTKC& item, const CItemPTKC& record)
{
    const int32_t kind = item.mViewKind;
    item = record;
    item.mViewKind = kind;
    item.mAutoName = false;
}

} // namespace

// ---- Stored forms --------------------------------------------------------------------------

int32_t CDataPTKC::FloatToLong(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

bool CDataPTKC::ParsePTKC(const uint8_t* data, size_t size, char tag[4], int32_t& headerValue, int32_t& count,
                          std::vector<CItemPTKC>& records)
{
    records.clear();
    if (data == nullptr || size < size_t(kHeaderSize) || size > std::numeric_limits<uint32_t>::max())
        return false;
    SerialStream in(reinterpret_cast<const char*>(data), uint32_t(size), SerialStream::kReading);
    in.ReadBlock_old(tag, 4);
    headerValue = in.ReadLong();
    count = in.ReadLong();
    // A count the data cannot hold is damage; the whole records there still read.
    const uint64_t room = (size - kHeaderSize) / kRecordSize;
    const bool countFits = count >= 0 && uint64_t(count) <= room;
    const uint64_t wanted = countFits ? uint64_t(count) : room;
    records.reserve(size_t(wanted));
    for (uint64_t i = 0; i < wanted; ++i) {
        CItemPTKC record;
        // Records after a damaged one are not trusted to belong to the controls in order.
        if (!readRecord(in, record))
            return false;
        record.mHasStored = true;
        static_assert(std::tuple_size_v<decltype(record.mStored)> == kRecordSize);
        std::memcpy(record.mStored.data(), data + kHeaderSize + i * kRecordSize, kRecordSize);
        records.push_back(record);
    }
    return countFits;
}

bool CDataPTKC::BuildPTKC(const char tag[4], int32_t headerValue, const std::vector<const CItemPTKC*>& items,
                          std::vector<uint8_t>& bytes)
{
    for (const CItemPTKC* item : items)
        if (!CItemPTKC::KnownType(item->mType))
            return false;
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    out.WriteBlock_old(tag, 4);
    out.WriteLong(headerValue);
    out.WriteLong(int32_t(items.size()));
    for (const CItemPTKC* item : items)
        writeRecord(out, *item);
    const char* begin = out.Buffer();
    bytes.assign(begin, begin + out.Size());
    return true;
}

bool CDataPTKC::ParseQZMP(const uint8_t* data, size_t size)
{
    return data != nullptr && size == 4 && data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 0;
}

std::vector<uint8_t> ImageBuffer2PicBytes(const ImageBuffer& image)
{
    if (!image.Valid() || image.Depth() != kImageBufferDepth32)
        return {};
    const FWRect& r = image.GetRect();
    const int32_t width = r.Width();
    const int32_t height = r.Height();
    // The row-bytes field holds 4 x width below its flag bit.
    if (width <= 0 || height <= 0 || width > 0x1FFF)
        return {};
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    const auto rect = [&out, &r] {
        out.WriteShort(r.top);
        out.WriteShort(r.left);
        out.WriteShort(r.bottom);
        out.WriteShort(r.right);
    };
    out.WriteShort(0); // picture size: readers take the size from the resource
    rect();
    out.WriteShort(0x0011);
    out.WriteShort(0x02FF);
    out.WriteShort(0x0C00);
    out.WriteLong(-1);
    for (int16_t v : {r.left, r.top, r.right, r.bottom})
        out.WriteLong(int32_t(uint32_t(uint16_t(v)) << 16));
    out.WriteLong(0);
    out.WriteShort(0x0001); // clip region: the frame
    out.WriteShort(10);
    rect();
    out.WriteShort(0x009A); // direct bits, rectangle form
    out.WriteLong(0x000000FF);
    out.WriteShort(int16_t(0x8000 + 4 * width));
    rect();
    out.WriteShort(0);  // pixel map version
    out.WriteShort(1);  // unpacked
    out.WriteLong(0);   // pack size
    out.WriteLong(0x00480000);
    out.WriteLong(0x00480000);
    out.WriteShort(16); // direct pixels
    out.WriteShort(32);
    out.WriteShort(4);
    out.WriteShort(8);
    out.WriteLong(0);
    out.WriteLong(0);
    out.WriteLong(0);
    rect(); // source
    rect(); // destination
    out.WriteShort(64);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = image.BaseAddr() + int64_t(y) * image.RowBytes();
        for (int32_t x = 0; x < width; ++x) {
            uint32_t word;
            std::memcpy(&word, in + 4 * x, 4);
            row[4 * x] = GetAlpha32(word);
            row[4 * x + 1] = GetRed32(word);
            row[4 * x + 2] = GetGreen32(word);
            row[4 * x + 3] = GetBlue32(word);
        }
        out.WriteBlock_old(row.data(), uint32_t(row.size()));
    }
    out.WriteShort(0x00FF);
    const char* begin = out.Buffer();
    return std::vector<uint8_t>(begin, begin + out.Size());
}

Handle ImageBuffer2PicHandle(const ImageBuffer& image)
{
    const std::vector<uint8_t> bytes = ImageBuffer2PicBytes(image);
    if (bytes.empty())
        return nullptr;
    Handle handle = NewHandle(Size(bytes.size()));
    if (handle == nullptr)
        return nullptr;
    std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
}

// ---- Life --------------------------------------------------------------------------------

CDataPTKC::CDataPTKC(EditWindow* window) : mWindow(window)
{
    Init(window);
}

CDataPTKC::~CDataPTKC()
{
    for (auto& entry : mMap)
        delete entry.second;
    delete mImage;
    delete mNewImage;
}

void CDataPTKC::Init(EditWindow* window)
{
    mWindow = window;
    // The user hears of damaged resources once, after all three are read.
    FWStoredDataNotice damaged;
    ReadQZMP(window);
    ReadPICT(window);
    if (window != nullptr)
        linkStoredRecords(*window);
    damaged.Present();
}

void CDataPTKC::linkStoredRecords(EditWindow& window)
{
    PreorderTraversal<FWView> walk(window.ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        AddItem(view);
    std::vector<std::pair<FWView*, CItemPTKC*>> pairs = sortedPairs(false);
    // Read even without a control, so that a save keeps the header and names what it leaves out.
    std::vector<CItemPTKC> records;
    if (!ReadPTKC(&window, records))
        return;
    // The preview group holds no parameter of its own.
    if (!pairs.empty() && pairs.front().second->mViewKind == CItemPTKC::kGroup &&
        pairs.front().first->ID() == kPreviewID)
        pairs.erase(pairs.begin());
    std::vector<const CItemPTKC*> linked;
    linkRecords(pairs, records, linked);
    // A control without a record stays as stored and is named after it, as a new control is.
    for (auto& [view, item] : mMap)
        if (!item->mAutoName)
            item->Default2UI(view);
    // Before anything is saved, the user hears of the records the next save leaves out.
    reportRecordsNotKept(records, linked);
}

void CDataPTKC::linkRecords(std::vector<std::pair<FWView*, CItemPTKC*>>& pairs, const std::vector<CItemPTKC>& records,
                            std::vector<const CItemPTKC*>& linked)
{
    linked.assign(records.size(), nullptr);
    // fits[kind][j]: the first record from j on whose type fits the kind, or the record count;
    // so the linking is linear in the records and the controls.
    constexpr int32_t kKinds = CItemPTKC::kGroup + 1;
    std::vector<size_t> fits[kKinds];
    for (int32_t kind = 0; kind < kKinds; ++kind) {
        fits[kind].assign(records.size() + 1, records.size());
        for (size_t k = records.size(); k-- > 0;)
            fits[kind][k] = CItemPTKC::ValidView2PTKC(kind, records[k].mType) ? k : fits[kind][k + 1];
    }
    size_t i = 0;
    size_t j = 0;
    while (i < pairs.size() && j < records.size()) {
        CItemPTKC& item = *pairs[i].second;
        const size_t k = item.mViewKind >= 0 && item.mViewKind < kKinds ? fits[item.mViewKind][j] : records.size();
        ++i;
        if (k == records.size()) {
            // No record left fits this control: it keeps its defaults.
            mAllParams = false;
            continue;
        }
        // Records between j and k fit nothing here and are dropped.
        if (k > j)
            mAllParams = true;
        LinkView2PTKC(item, records[k]);
        linked[k] = &item;
        j = k + 1;
    }
    // Controls that no record fitted lie among the linked ones: the count written covers every
    // linked record, so that a control with a new record takes no stored record's place.
    const std::unordered_set<const CItemPTKC*> withRecord(linked.begin(), linked.end());
    const std::vector<std::pair<FWView*, CItemPTKC*>> written = sortedPairs(true);
    for (size_t n = written.size(); n > 0; --n) {
        if (withRecord.count(written[n - 1].second) != 0) {
            mParamLimit = std::max(mParamLimit, int32_t(n));
            break;
        }
    }
}

namespace {

// The shortest line namesLine makes: the lead and the count ("5 parameters").
size_t shortestNamesLine(const char* lead, size_t count)
{
    return std::strlen(lead) + std::to_string(count).size() + std::strlen(" parameters");
}

// The line naming records, cut between names so that it holds at most `room` characters with the
// count of those left out ("and 3 more"); room is at least shortestNamesLine.
std::string namesLine(const char* lead, const std::vector<std::string>& names, size_t room)
{
    std::string line = lead;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = (i == 0 ? "\"" : ", \"") + names[i] + "\"";
        const size_t left = names.size() - i - 1;
        const std::string more = left > 0 ? " and " + std::to_string(left) + " more" : "";
        if (line.size() + name.size() + more.size() > room) {
            const std::string count = std::to_string(names.size() - i);
            return line + (i == 0 ? count + " parameters" : " and " + count + " more");
        }
        line += name;
    }
    return line;
}

} // namespace

void CDataPTKC::reportRecordsNotKept(const std::vector<CItemPTKC>& records,
                                     const std::vector<const CItemPTKC*>& linked)
{
    std::unordered_set<const CItemPTKC*> written;
    for (const CItemPTKC* item : itemsToWrite())
        written.insert(item);
    // A record no control took, and one whose group has no custom type, which is no parameter.
    std::vector<std::string> notLinked, customNone;
    for (size_t r = 0; r < records.size(); ++r) {
        if (written.count(linked[r]) != 0)
            continue;
        const bool none = linked[r] != nullptr && linked[r]->IsCustomNone();
        (none ? customNone : notLinked).push_back(records[r].mName.GetCString());
    }
    for (const std::string& line : RecordsNotKeptLines(FWStoredDataNotice::GatheredLength(), notLinked, customNone))
        report(line, __LINE__);
}

std::vector<std::string> CDataPTKC::RecordsNotKeptLines(size_t gathered, const std::vector<std::string>& notLinked,
                                                        const std::vector<std::string>& customNone)
{
    std::vector<std::pair<const char*, const std::vector<std::string>*>> lines;
    for (const auto& line : {std::pair{kRecordsNotKept, &notLinked}, std::pair{kCustomNoneNotKept, &customNone}})
        if (!line.second->empty())
            lines.push_back(line);
    std::vector<std::string> shown;
    if (lines.empty())
        return shown;
    // The room the notice's other lines leave, and what each line takes at the least, with the
    // line break before it.
    size_t room = gathered < kNoticeLength ? kNoticeLength - gathered : 0;
    const size_t breakBefore = gathered > 0 ? 1 : 0;
    std::vector<size_t> least;
    size_t needed = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        least.push_back((i > 0 ? 1 : breakBefore) + shortestNamesLine(lines[i].first, lines[i].second->size()));
        needed += least.back();
    }
    if (needed > room) {
        char text[128];
        std::snprintf(text, sizeof text, kParametersNotKept, notLinked.size() + customNone.size());
        std::string line = text;
        // Cut only where other readers' lines leave less room than this program's own take.
        if (room > breakBefore) {
            line.resize(std::min(line.size(), room - breakBefore));
            shown.push_back(line);
        }
        return shown;
    }
    // Each line takes what the lines after it leave free at their least.
    for (size_t i = 0; i < lines.size(); ++i) {
        needed -= least[i];
        const size_t breaks = i > 0 ? 1 : breakBefore;
        shown.push_back(namesLine(lines[i].first, *lines[i].second, room - needed - breaks));
        room -= breaks + shown.back().size();
    }
    return shown;
}

void CDataPTKC::report(const std::string& line, int sourceLine)
{
    FWStoredDataNotice::Report(line.c_str(), kSourcePath, sourceLine);
}

std::vector<std::pair<FWView*, CItemPTKC*>> CDataPTKC::sortedPairs(bool activeOnly) const
{
    std::vector<std::pair<FWView*, CItemPTKC*>> pairs;
    // Collected in tree order, so that equal ids keep a stable order.
    if (mWindow != nullptr) {
        PreorderTraversal<FWView> walk(mWindow->ViewMngr().GetViewTree(), false);
        for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
            CItemPTKC* item = GetItem(view);
            if (item != nullptr && (!activeOnly || item->IsActive()))
                pairs.emplace_back(view, item);
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first->ID() < b.first->ID(); });
    return pairs;
}

std::vector<const CItemPTKC*> CDataPTKC::itemsToWrite() const
{
    const std::vector<std::pair<FWView*, CItemPTKC*>> pairs = sortedPairs(true);
    int32_t count = int32_t(pairs.size());
    if (!mAllParams)
        count = std::min(count, mParamLimit);
    count = std::max(count, 0);
    std::vector<const CItemPTKC*> items;
    for (int32_t i = 0; i < count; ++i)
        items.push_back(pairs[size_t(i)].second);
    return items;
}

// ---- Resources ---------------------------------------------------------------------------

bool CDataPTKC::WriteAll(EditWindow* window)
{
    UI2Defaults();
    SetAutoNames();
    return WritePTKC(window) && WritePICT(window) && WriteQZMP(window);
}

bool CDataPTKC::ReadPTKC(EditWindow* window, std::vector<CItemPTKC>& records)
{
    records.clear();
    CQF_Document* document = documentOf(window);
    if (document == nullptr)
        return false;
    // The file stays open while its resource is read.
    const Corvel::FS_ResourceFileRA file(document->Path2Locator(), false);
    const Corvel::FS_LockedResource resource(documentResource(file, kPTKC, kPTKCID));
    if (!resource.Exists())
        return false;
    char tag[4];
    std::memcpy(tag, mTag, 4);
    int32_t headerValue = mHeaderValue;
    int32_t count = 0;
    const bool intact = ParsePTKC(resource.Bytes(), resource.Size(), tag, headerValue, count, records);
    if (!intact)
        report(kDamagedInterface, __LINE__);
    // What was read before any damage is kept, so that a save writes it back.
    std::memcpy(mTag, tag, 4);
    mHeaderValue = headerValue;
    mParamLimit = int32_t(records.size());
    return intact || !records.empty();
}

bool CDataPTKC::WritePTKC(EditWindow* window)
{
    CQF_Document* document = documentOf(window);
    if (document == nullptr) {
        CResMap::errCode = 0;
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!BuildPTKC(mTag, mHeaderValue, itemsToWrite(), bytes)) {
        CResMap::errCode = 0;
        return false;
    }
    return document->SaveResource(kPTKC, kPTKCID, kInterfaceName, bytes.data(), uint32_t(bytes.size()));
}

bool CDataPTKC::ReadPICT(EditWindow* window)
{
    CQF_Document* document = documentOf(window);
    if (document == nullptr)
        return false;
    // The file stays open while its resource is read.
    const Corvel::FS_ResourceFileRA file(document->Path2Locator(), false);
    const Corvel::FS_LockedResource resource(documentResource(file, kPICT, kPICTID));
    if (!resource.Exists())
        return false;
    DiskImageDecoder::Pixels pixels;
    try {
        pixels = DiskImageDecoder::Decode(kPICT, resource.Bytes(), resource.Size(), nullptr);
    } catch (...) {
        pixels = {};
    }
    // A preview that cannot be shown stays in the file until a new one is pasted and saved.
    if (!pixels.Valid()) {
        report(kDamagedPreview, __LINE__);
        return false;
    }
    auto* image = new ImageBuffer(&pixels.rect, kImageBufferDepth32);
    if (!image->Valid()) {
        delete image;
        return false;
    }
    for (int32_t y = 0; y < pixels.height; ++y)
        std::memcpy(image->BaseAddr() + int64_t(y) * image->RowBytes(), &pixels.words[size_t(y) * size_t(pixels.width)],
                    size_t(pixels.width) * 4);
    delete mImage;
    mImage = image;
    return true;
}

bool CDataPTKC::WritePICT(EditWindow* window)
{
    if (mNewImage == nullptr)
        return true;
    CQF_Document* document = documentOf(window);
    Handle picture = ImageBuffer2PicHandle(*mNewImage);
    if (document == nullptr || picture == nullptr) {
        if (picture != nullptr)
            DisposeHandle(picture);
        CResMap::errCode = document == nullptr ? 0 : memFullErr;
        return false;
    }
    if (!document->SaveResource(kPICT, kPICTID, kPreviewName, picture))
        return false;
    delete mImage;
    mImage = mNewImage;
    mNewImage = nullptr;
    return true;
}

bool CDataPTKC::ReadQZMP(EditWindow* window)
{
    CQF_Document* document = documentOf(window);
    if (document == nullptr)
        return false;
    // The file stays open while its resource is read.
    const Corvel::FS_ResourceFileRA file(document->Path2Locator(), false);
    const Corvel::FS_LockedResource resource(documentResource(file, kQZMP, kQZMPID));
    if (!resource.Exists())
        return false;
    const uint8_t* b = resource.Bytes();
    // Written as the value 0 (on) or 1 (off), in either byte order. Other content reads as off
    // and stays in the file until the flag is changed.
    if (resource.Size() != 4 || b[1] != 0 || b[2] != 0 || b[0] + b[3] > 1)
        report(kDamagedMultiThread, __LINE__);
    mMultiThread = ParseQZMP(resource.Bytes(), resource.Size());
    mSavedMultiThread = mMultiThread;
    return true;
}

bool CDataPTKC::WriteQZMP(EditWindow* window)
{
    if (mMultiThread == mSavedMultiThread)
        return true;
    CQF_Document* document = documentOf(window);
    if (document == nullptr) {
        CResMap::errCode = 0;
        return false;
    }
    const uint8_t value[4] = {uint8_t(mMultiThread ? 0 : 1), 0, 0, 0};
    if (!document->SaveResource(kQZMP, kQZMPID, kMultiThreadName, value, 4))
        return false;
    mSavedMultiThread = mMultiThread;
    return true;
}

// ---- Items -------------------------------------------------------------------------------

void CDataPTKC::AddItem(FWView* view)
{
    const int32_t kind = CItemPTKC::GetViewType(view);
    if (kind == CItemPTKC::kNone)
        return;
    CItemPTKC*& slot = mMap[view];
    delete slot;
    slot = new CItemPTKC(kind);
}

void CDataPTKC::RemoveItem(FWView* view)
{
    const auto found = mMap.find(view);
    if (found == mMap.end())
        return;
    delete found->second;
    mMap.erase(found);
}

void CDataPTKC::AddItems(FWView* view)
{
    PreorderTraversal<FWView> walk(view, false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next())
        AddItem(v);
}

void CDataPTKC::RemoveItems(FWView* view)
{
    PreorderTraversal<FWView> walk(view, false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next())
        RemoveItem(v);
}

CItemPTKC* CDataPTKC::GetItem(const FWView* view) const
{
    const auto found = mMap.find(const_cast<FWView*>(view));
    return found != mMap.end() ? found->second : nullptr;
}

bool CDataPTKC::IsActiveCustom(const FWView* view) const
{
    const CItemPTKC* item = GetItem(view);
    return item != nullptr && item->IsActiveCustom();
}

int32_t CDataPTKC::NumActivePTKC() const
{
    int32_t count = 0;
    for (const auto& entry : mMap)
        if (entry.second->IsActive())
            ++count;
    return count;
}

void CDataPTKC::UI2Defaults()
{
    for (auto& entry : mMap)
        entry.second->UI2Default(entry.first);
}

void CDataPTKC::Defaults2UI()
{
    for (auto& entry : mMap)
        entry.second->Default2UI(entry.first);
}

int32_t CDataPTKC::SetAutoNames()
{
    int32_t named = 0;
    for (auto& [view, item] : mMap) {
        if (view->ID() == kPreviewID || item->IsCustomNone() || !item->mAutoName)
            continue;
        ++named;
        item->UI2Type(view);
        // A group shows its custom type's name until it is given one.
        if (item->mViewKind == CItemPTKC::kGroup)
            continue;
        FWStr<255> text;
        CItemPTKC::ControlText(view, item->mViewKind, text);
        item->SetAutoName(text, view);
        if (item->mName.GetCurrLength() == 0)
            item->mName = "<unnamed>";
    }
    return named;
}

void CDataPTKC::ClrAutoNames()
{
    for (auto& entry : mMap) {
        entry.second->mAutoName = false;
        entry.second->Type2UI(entry.first);
    }
}

void CDataPTKC::SaveMap(std::vector<CItemPTKC>& saved) const
{
    saved.clear();
    for (const auto& entry : mMap)
        saved.push_back(*entry.second);
}

void CDataPTKC::RestoreMap(const std::vector<CItemPTKC>& saved)
{
    if (saved.size() != mMap.size()) {
        fw_programmer_message("RestoreMap: the saved items do not match the map", kSourcePath, __LINE__);
        return;
    }
    size_t i = 0;
    for (auto& entry : mMap) {
        delete entry.second;
        entry.second = new CItemPTKC(saved[i++]);
    }
}

// ---- Preview -----------------------------------------------------------------------------

void CDataPTKC::SetNewImage(const ImageBuffer* image)
{
    DeleteNewImage();
    if (image == nullptr || !image->Valid())
        return;
    // Stored as a 32-bit picture whatever the source's depth.
    const FWRect bounds(0, 0, kPreviewSide, kPreviewSide);
    auto* preview = new ImageBuffer(&bounds, kImageBufferDepth32);
    if (!preview->Valid()) {
        delete preview;
        return;
    }
    FWDrawContext context(preview);
    context.DrawImage(image, &bounds, false);
    mNewImage = preview;
}

void CDataPTKC::DeleteNewImage()
{
    delete mNewImage;
    mNewImage = nullptr;
}

std::unique_ptr<ImageBuffer> CDataPTKC::CopyNewImage() const
{
    if (mNewImage == nullptr)
        return nullptr;
    auto copy = std::make_unique<ImageBuffer>(&mNewImage->GetRect(), mNewImage->Depth());
    if (!copy->Valid())
        return nullptr;
    CopyImage(*mNewImage, *copy);
    return copy;
}

void CDataPTKC::RestoreNewImage(std::unique_ptr<ImageBuffer> image)
{
    DeleteNewImage();
    mNewImage = image.release();
}
