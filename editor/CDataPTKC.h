// The shader interface of one edit window showing layout 21000: one CItemPTKC per parameter
// control, the interface header, the preview image and the multi-thread flag. It reads and writes
// three resources of the layout's own file:
//   'PTKC' 128 "Interface"      header and one 52-byte record per parameter, big-endian
//   'PICT' 21000 "Image Preview" the preview as a version-2 picture of 32-bit pixels
//   'QZMP' 128 "MultiThread"    4 bytes: 0 when multi-threading is on
// Reads look in the document's file only, never further down the resource chain.
#pragma once

#include "CItemPTKC.h"
#include "HostTypes.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class EditWindow;
class FWView;
class ImageBuffer;

// The preview as the bytes of a version-2 picture (124 + 4 x width x height bytes); the image
// must be valid and 32 bits deep, else the result is empty.
std::vector<uint8_t> ImageBuffer2PicBytes(const ImageBuffer& image);
// The same bytes in a new handle; null when the image cannot be written or no memory is left.
Handle ImageBuffer2PicHandle(const ImageBuffer& image);

class CDataPTKC {
public:
    static constexpr uint32_t kPTKC = 0x50544B43; // 'PTKC'
    static constexpr uint32_t kPICT = 0x50494354; // 'PICT'
    static constexpr uint32_t kQZMP = 0x515A4D50; // 'QZMP'
    static constexpr int32_t kPTKCID = 128;
    static constexpr int32_t kPICTID = 21000;
    static constexpr int32_t kQZMPID = 128;
    static constexpr int32_t kRecordSize = 52;
    static constexpr int32_t kHeaderSize = 12;
    // The preview group's view id; it is never a parameter of its own.
    static constexpr int32_t kPreviewID = 3;
    // Side of the preview image.
    static constexpr int16_t kPreviewSide = 127;

    // The interface of the window's layout as stored in its file (Init).
    explicit CDataPTKC(EditWindow* window);
    virtual ~CDataPTKC();
    CDataPTKC(const CDataPTKC&) = delete;
    CDataPTKC& operator=(const CDataPTKC&) = delete;

    // Reads the three resources, gives every parameter control an item and links the stored
    // records to them in view id order; without a readable 'PTKC' the controls are untouched, and
    // so is a control that no record fits. The count written covers every linked record.
    // Damaged resources are read as far as they can be and named in one notice, as are the
    // records that a save leaves out.
    void Init(EditWindow* window);

    // Saving: the controls' values become the defaults, unnamed items take their controls'
    // names, then 'PTKC', 'PICT' and 'QZMP' are written. False at the first write that fails
    // (those written before stay written); the error is in CResMap::errCode.
    bool WriteAll(EditWindow* window);
    bool WritePTKC(EditWindow* window);
    bool WritePICT(EditWindow* window);
    bool WriteQZMP(EditWindow* window);
    // False when the resource is missing, holds no readable record and is damaged, or the file
    // cannot be opened. Damage is reported to the notice of the reading going on (Init's): the
    // records before it are read, and the count becomes theirs.
    bool ReadPTKC(EditWindow* window, std::vector<CItemPTKC>& records);
    bool ReadPICT(EditWindow* window);
    bool ReadQZMP(EditWindow* window);

    // Items of the views.
    void AddItem(FWView* view);
    void RemoveItem(FWView* view);
    // AddItem and RemoveItem for the view and everything it holds.
    void AddItems(FWView* view);
    void RemoveItems(FWView* view);
    CItemPTKC* GetItem(const FWView* view) const;
    bool IsActivePTKC(const FWView* view) const { return GetItem(view) != nullptr; }
    bool IsActiveCustom(const FWView* view) const;
    int32_t NumActivePTKC() const;
    const std::map<FWView*, CItemPTKC*>& Map() const { return mMap; }

    // Between the controls and the items.
    void UI2Defaults();
    void Defaults2UI();
    // Names every unconfirmed active item (the preview group excepted) after its control; the
    // number named.
    int32_t SetAutoNames();
    void ClrAutoNames();

    // A copy of every item, in the map's order, and the items put back from it.
    void SaveMap(std::vector<CItemPTKC>& saved) const;
    void RestoreMap(const std::vector<CItemPTKC>& saved);

    // The preview: a pasted image is scaled to 127 x 127 and kept until the next save.
    void SetNewImage(const ImageBuffer* image);
    void DeleteNewImage();
    // A copy of the pasted image (null without one), and putting such a copy back in its place.
    std::unique_ptr<ImageBuffer> CopyNewImage() const;
    void RestoreNewImage(std::unique_ptr<ImageBuffer> image);
    bool HasNewImage() const { return mNewImage != nullptr; }
    const ImageBuffer* GetImage() const { return mNewImage != nullptr ? mNewImage : mImage; }

    // The stored forms. ParsePTKC reads a resource: false for a damaged one (a short header, a
    // count below 0 or beyond the data, a name longer than 31, an unknown type), whose records
    // before the damage are still read, as are the header's fields when it is whole; count is the
    // stored one; each record keeps its bytes. BuildPTKC writes one (false for an item of an
    // unknown type), a record unchanged since it was read with the bytes read. ParseQZMP: on or off.
    static bool ParsePTKC(const uint8_t* data, size_t size, char tag[4], int32_t& headerValue, int32_t& count,
                          std::vector<CItemPTKC>& records);
    static bool BuildPTKC(const char tag[4], int32_t headerValue, const std::vector<const CItemPTKC*>& items,
                          std::vector<uint8_t>& bytes);
    static bool ParseQZMP(const uint8_t* data, size_t size);
    // The notice's lines naming the records a save would not write, those no control took and
    // the custom ones of type None, after `gathered` characters of other lines: within the 255
    // the notice shows, line breaks included, each list cut between names, or one line counting
    // both where each cannot have its own (cut too where even that has no room).
    static std::vector<std::string> RecordsNotKeptLines(size_t gathered, const std::vector<std::string>& notLinked,
                                                        const std::vector<std::string>& customNone);
    // A float stored in a long slot: truncated toward zero, saturated at the ends, NaN as 0.
    static int32_t FloatToLong(float value);

    char mTag[4] = {'S', 'H', 'A', 'D'};
    int32_t mHeaderValue = 0;
    int32_t mParamLimit = 0;
    bool mAllParams = true;
    bool mSavedMultiThread = false;
    bool mMultiThread = false;

private:
    // The (view, item) pairs of the map, ordered by view id; only the active ones when asked.
    std::vector<std::pair<FWView*, CItemPTKC*>> sortedPairs(bool activeOnly) const;
    void linkStoredRecords(EditWindow& window);
    // Links the records to the pairs' items; linked[r]: the item record r went to, or null.
    void linkRecords(std::vector<std::pair<FWView*, CItemPTKC*>>& pairs, const std::vector<CItemPTKC>& records,
                     std::vector<const CItemPTKC*>& linked);
    // Names in the notice of the reading the records a save would not write, by reason, within
    // the length the notice shows with its other lines.
    void reportRecordsNotKept(const std::vector<CItemPTKC>& records, const std::vector<const CItemPTKC*>& linked);
    // A line for the notice of the reading.
    void report(const std::string& line, int sourceLine);
    // The items WritePTKC writes, in order: the active ones by view id, at most mParamLimit of
    // them unless all are written.
    std::vector<const CItemPTKC*> itemsToWrite() const;

    EditWindow* mWindow;
    ImageBuffer* mImage = nullptr;
    ImageBuffer* mNewImage = nullptr;
    std::map<FWView*, CItemPTKC*> mMap;
};
