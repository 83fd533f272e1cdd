// Resource images: the shared cache, and loading through the file services' resource access
// and the decoders.
#include "DiskImage.h"

#include "CMacIBStuff.h"
#include "DiskImageDecoder.h"
#include "FS_ResourceUtil.h"
#include "FWProgrammerMessage.h"

#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace {

const char* const kSourcePath = "FW/Utility/Source/DiskImage";
constexpr uint32_t kPreviewType = FOUR_CHAR_CODE("QZPV");

// The cache: records ordered by resource id, then type.
struct ImageRecord {
    DiskImage* image = nullptr;
    int32_t count = 0;
};
using ImageStore = std::map<std::pair<int32_t, uint32_t>, ImageRecord>;

ImageStore* sImages = nullptr;

// At exit, every image still held is deleted, then the store.
struct ImageStoreDeleter {
    ~ImageStoreDeleter()
    {
        if (sImages == nullptr)
            return;
        for (auto& entry : *sImages)
            delete entry.second.image;
        delete sImages;
        sImages = nullptr;
    }
};

ImageStore& images()
{
    if (sImages == nullptr) {
        CMacIBStuff::PrepareForStaticOwners();
        static ImageStoreDeleter sImageStoreDeleter;
        sImages = new ImageStore;
    }
    return *sImages;
}

Handle getResource(uint32_t type, int32_t id)
{
    // Resource ids are 16-bit: any other id names no resource.
    if (id < -32768 || id > 32767)
        return nullptr;
    return Corvel::FS_ResourceUtil::GetResource(type, id);
}

} // namespace

DiskImage* DiskImage::Acquire(int32_t id, uint32_t type)
{
    if (id == 0 && type != kPreviewType)
        return nullptr;
    ImageStore& store = images();
    const auto found = store.find({id, type});
    if (found != store.end()) {
        ++found->second.count;
        return found->second.image;
    }
    DiskImage* image = nullptr;
    try {
        image = new DiskImage(id, type);
    } catch (...) {
        return nullptr;
    }
    store[{id, type}] = ImageRecord{image, 1};
    return image;
}

void DiskImage::Release(const DiskImage* image)
{
    if (image == nullptr)
        return;
    ImageStore& store = images();
    const auto found = store.find({image->RsrcID(), image->RsrcType()});
    if (found == store.end() || found->second.image != image) {
        fw_programmer_message("", kSourcePath, 191);
        return;
    }
    if (--found->second.count > 0)
        return;
    delete found->second.image;
    store.erase(found);
}

DiskImage::DiskImage(int32_t id, uint32_t type) : mID(id), mType(type)
{
    load();
}

DiskImage::~DiskImage() = default;

void DiskImage::load()
{
    Handle handle = getResource(mType, mID);
    if (handle == nullptr && mType == kPreviewType)
        handle = Corvel::FS_ResourceUtil::GetIndResource(kPreviewType, 1);
    const Corvel::FS_LockedResource resource(handle);
    if (!resource.Exists())
        throw DiskImageAllocateFailureX("resource not found");

    // A colour icon takes its mask from the 1-bit icon of the same id, when there is one.
    std::vector<uint8_t> iconMask;
    bool hasIconMask = false;
    if (const uint32_t maskType = DiskImageDecoder::IconMaskType(mType)) {
        const Corvel::FS_LockedResource mask(getResource(maskType, mID));
        if (mask.Exists()) {
            iconMask.assign(mask.Bytes(), mask.Bytes() + mask.Size());
            hasIconMask = true;
        }
    }

    const DiskImageDecoder::Pixels pixels =
        DiskImageDecoder::Decode(mType, resource.Bytes(), resource.Size(), hasIconMask ? &iconMask : nullptr);
    if (!pixels.Valid())
        return;
    SetRect(pixels.rect);
    if (!Valid())
        return;
    for (int32_t y = 0; y < pixels.height; ++y)
        std::memcpy(Row(y), &pixels.words[size_t(y) * size_t(pixels.width)], size_t(pixels.width) * 4);
    CreateMaskBuffer();
}
