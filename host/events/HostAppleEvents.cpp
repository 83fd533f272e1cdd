// Descriptors as owned trees of host records, and the application's handler table.
#include "HostAppleEvents.h"

#include "HostFiles.h"
#include "HostPathNames.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

struct HostAEParam {
    AEKeyword keyword;
    AEDesc desc;
    bool read;
};

struct HostAEData {
    std::vector<uint8_t> bytes;        // a plain value
    std::vector<AEDesc> items;         // a list
    std::vector<HostAEParam> params;   // an event, in the order the parameters were put
    AEEventClass eventClass = 0;
    AEEventID eventID = 0;
};

namespace {

struct Installed {
    AEEventHandlerUPP handler;
    SRefCon refCon;
};

std::map<std::pair<AEEventClass, AEEventID>, Installed>& handlers()
{
    static std::map<std::pair<AEEventClass, AEEventID>, Installed> sTable;
    return sTable;
}

std::map<AEEventID, OSErr>& plannedFailures()
{
    static std::map<AEEventID, OSErr> sTable;
    return sTable;
}

bool isPlain(const AEDesc& desc)
{
    return desc.descriptorType != typeAEList && desc.descriptorType != typeAppleEvent;
}

bool typeMatches(DescType stored, DescType desired)
{
    return desired == typeWildCard || desired == stored;
}

AEDesc copyOf(const AEDesc& desc)
{
    AEDesc copy;
    copy.descriptorType = desc.descriptorType;
    if (desc.dataHandle == nullptr)
        return copy;
    copy.dataHandle = new HostAEData;
    copy.dataHandle->bytes = desc.dataHandle->bytes;
    copy.dataHandle->eventClass = desc.dataHandle->eventClass;
    copy.dataHandle->eventID = desc.dataHandle->eventID;
    for (const AEDesc& item : desc.dataHandle->items)
        copy.dataHandle->items.push_back(copyOf(item));
    for (const HostAEParam& param : desc.dataHandle->params)
        copy.dataHandle->params.push_back({param.keyword, copyOf(param.desc), param.read});
    return copy;
}

// Copies the value's bytes out: at most maximumSize, and tells the full size.
OSErr copyBytesOut(DescType type, const std::vector<uint8_t>& bytes, DescType* typeCode,
                   void* dataPtr, Size maximumSize, Size* actualSize)
{
    if (maximumSize < 0)
        return paramErr;
    size_t n = std::min(bytes.size(), size_t(maximumSize));
    if (n > 0 && dataPtr == nullptr)
        return paramErr;
    if (n > 0)
        std::memcpy(dataPtr, bytes.data(), n);
    if (typeCode != nullptr)
        *typeCode = type;
    if (actualSize != nullptr)
        *actualSize = Size(bytes.size());
    return noErr;
}

HostAEParam* findParam(const AppleEvent* event, AEKeyword keyword)
{
    if (event == nullptr || event->descriptorType != typeAppleEvent || event->dataHandle == nullptr)
        return nullptr;
    for (HostAEParam& param : event->dataHandle->params)
        if (param.keyword == keyword)
            return &param;
    return nullptr;
}

OSErr putParam(AppleEvent* event, AEKeyword keyword, AEDesc desc)
{
    if (event == nullptr || event->descriptorType != typeAppleEvent || event->dataHandle == nullptr) {
        AEDisposeDesc(&desc);
        return errAENotAEDesc;
    }
    for (HostAEParam& param : event->dataHandle->params) {
        if (param.keyword == keyword) {
            AEDisposeDesc(&param.desc);
            param.desc = desc;
            param.read = false;
            return noErr;
        }
    }
    event->dataHandle->params.push_back({keyword, desc, false});
    return noErr;
}

} // namespace

OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result)
{
    if (result == nullptr || size < 0 || (size > 0 && data == nullptr))
        return paramErr;
    if (type == typeAEList || type == typeAppleEvent)
        return errAEWrongDataType;
    result->descriptorType = type;
    result->dataHandle = new HostAEData;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    result->dataHandle->bytes.assign(bytes, bytes + size);
    return noErr;
}

OSErr AECreateList(const void*, Size, Boolean isRecord, AEDescList* result)
{
    if (result == nullptr || isRecord)
        return paramErr;
    result->descriptorType = typeAEList;
    result->dataHandle = new HostAEData;
    return noErr;
}

OSErr AEPutPtr(AEDescList* list, int32_t index, DescType type, const void* data, Size size)
{
    if (list == nullptr || list->descriptorType != typeAEList || list->dataHandle == nullptr)
        return errAENotAEDesc;
    std::vector<AEDesc>& items = list->dataHandle->items;
    if (index < 0 || size_t(index) > items.size())
        return errAEBadListItem;
    AEDesc item;
    OSErr err = AECreateDesc(type, data, size, &item);
    if (err != noErr)
        return err;
    if (index == 0) {
        items.push_back(item);
    } else {
        AEDisposeDesc(&items[size_t(index) - 1]);
        items[size_t(index) - 1] = item;
    }
    return noErr;
}

OSErr AECountItems(const AEDescList* list, int32_t* count)
{
    if (list == nullptr || list->descriptorType != typeAEList || list->dataHandle == nullptr)
        return errAENotAEDesc;
    if (count == nullptr)
        return paramErr;
    *count = int32_t(list->dataHandle->items.size());
    return noErr;
}

OSErr AEGetNthPtr(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize)
{
    if (list == nullptr || list->descriptorType != typeAEList || list->dataHandle == nullptr)
        return errAENotAEDesc;
    const std::vector<AEDesc>& items = list->dataHandle->items;
    if (index < 1 || size_t(index) > items.size())
        return errAEBadListItem;
    const AEDesc& item = items[size_t(index) - 1];
    if (!isPlain(item) || !typeMatches(item.descriptorType, desiredType))
        return errAECoercionFail;
    if (keyword != nullptr)
        *keyword = typeWildCard;
    return copyBytesOut(item.descriptorType, item.dataHandle->bytes, typeCode, dataPtr, maximumSize,
                        actualSize);
}

OSErr AEDisposeDesc(AEDesc* desc)
{
    if (desc == nullptr)
        return noErr;
    if (desc->dataHandle != nullptr) {
        for (AEDesc& item : desc->dataHandle->items)
            AEDisposeDesc(&item);
        for (HostAEParam& param : desc->dataHandle->params)
            AEDisposeDesc(&param.desc);
        delete desc->dataHandle;
    }
    desc->descriptorType = typeNull;
    desc->dataHandle = nullptr;
    return noErr;
}

Size AEGetDescDataSize(const AEDesc* desc)
{
    if (desc == nullptr || desc->dataHandle == nullptr || !isPlain(*desc))
        return 0;
    return Size(desc->dataHandle->bytes.size());
}

OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize)
{
    if (desc == nullptr || desc->dataHandle == nullptr || !isPlain(*desc))
        return errAENotAEDesc;
    return copyBytesOut(desc->descriptorType, desc->dataHandle->bytes, nullptr, dataPtr, maximumSize, nullptr);
}

OSErr AECoerceDesc(const AEDesc* desc, DescType toType, AEDesc* result)
{
    if (desc == nullptr || result == nullptr)
        return paramErr;
    *result = AEDesc();
    if (toType == typeWildCard || toType == desc->descriptorType) {
        *result = copyOf(*desc);
        return noErr;
    }
    const std::vector<uint8_t>* bytes = desc->dataHandle != nullptr && isPlain(*desc) ? &desc->dataHandle->bytes : nullptr;
    if (desc->descriptorType == typeFSS && toType == typeFSRef && bytes != nullptr && bytes->size() == sizeof(FSSpec)) {
        FSSpec spec;
        std::memcpy(&spec, bytes->data(), sizeof spec);
        spec.parentPath[sizeof spec.parentPath - 1] = 0;
        FSRef ref;
        OSErr err = FSpMakeFSRef(&spec, &ref);
        return err != noErr ? err : AECreateDesc(typeFSRef, &ref, Size(sizeof ref), result);
    }
    if (desc->descriptorType == typeFSRef && toType == typeFSS && bytes != nullptr && bytes->size() == sizeof(FSRef)) {
        FSRef ref;
        std::memcpy(&ref, bytes->data(), sizeof ref);
        ref.path[sizeof ref.path - 1] = 0;
        FSSpec spec;
        OSErr err = FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr);
        return err != noErr ? err : AECreateDesc(typeFSS, &spec, Size(sizeof spec), result);
    }
    return errAECoercionFail;
}

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, AppleEvent* result)
{
    if (result == nullptr)
        return paramErr;
    result->descriptorType = typeAppleEvent;
    result->dataHandle = new HostAEData;
    result->dataHandle->eventClass = eventClass;
    result->dataHandle->eventID = eventID;
    return noErr;
}

OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size)
{
    AEDesc desc;
    OSErr err = AECreateDesc(type, data, size, &desc);
    if (err != noErr)
        return err;
    return putParam(event, keyword, desc);
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc)
{
    if (desc == nullptr)
        return paramErr;
    return putParam(event, keyword, copyOf(*desc));
}

OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result)
{
    if (result == nullptr)
        return paramErr;
    HostAEParam* param = findParam(event, keyword);
    if (param == nullptr)
        return event != nullptr && event->descriptorType == typeAppleEvent ? errAEDescNotFound
                                                                            : errAENotAEDesc;
    if (!typeMatches(param->desc.descriptorType, desiredType))
        return errAECoercionFail;
    param->read = true;
    *result = copyOf(param->desc);
    return noErr;
}

OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType,
                    DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize)
{
    HostAEParam* param = findParam(event, keyword);
    if (param == nullptr)
        return event != nullptr && event->descriptorType == typeAppleEvent ? errAEDescNotFound
                                                                            : errAENotAEDesc;
    if (!isPlain(param->desc) || !typeMatches(param->desc.descriptorType, desiredType))
        return errAECoercionFail;
    OSErr err = copyBytesOut(param->desc.descriptorType, param->desc.dataHandle->bytes, typeCode,
                             dataPtr, maximumSize, actualSize);
    if (err == noErr)
        param->read = true;
    return err;
}

OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType,
                        DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize)
{
    if (event == nullptr || event->descriptorType != typeAppleEvent || event->dataHandle == nullptr)
        return errAENotAEDesc;
    uint32_t value = 0;
    DescType type = typeType;
    if (keyword == keyMissedKeywordAttr) {
        auto& params = event->dataHandle->params;
        auto missed = std::find_if(params.begin(), params.end(),
                                   [](const HostAEParam& p) { return !p.read; });
        if (missed == params.end())
            return errAEDescNotFound;
        value = missed->keyword;
        type = typeKeyword;
    } else if (keyword == keyEventClassAttr) {
        value = event->dataHandle->eventClass;
    } else if (keyword == keyEventIDAttr) {
        value = event->dataHandle->eventID;
    } else {
        return errAEDescNotFound;
    }
    if (!typeMatches(type, desiredType))
        return errAECoercionFail;
    std::vector<uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return copyBytesOut(type, bytes, typeCode, dataPtr, maximumSize, actualSize);
}

OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                            SRefCon refCon, Boolean isSysHandler)
{
    if (handler == nullptr || isSysHandler)
        return paramErr;
    auto failure = plannedFailures().find(eventID);
    if (failure != plannedFailures().end())
        return failure->second;
    handlers()[{eventClass, eventID}] = {handler, refCon};
    return noErr;
}

OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                           Boolean isSysHandler)
{
    if (isSysHandler)
        return paramErr;
    auto found = handlers().find({eventClass, eventID});
    if (found == handlers().end() || (handler != nullptr && found->second.handler != handler))
        return errAEHandlerNotFound;
    handlers().erase(found);
    return noErr;
}

OSErr HostDeliverAppleEvent(const AppleEvent& event)
{
    if (event.descriptorType != typeAppleEvent || event.dataHandle == nullptr)
        return errAENotAEDesc;
    auto found = handlers().find({event.dataHandle->eventClass, event.dataHandle->eventID});
    if (found == handlers().end())
        return errAEEventNotHandled;
    AppleEvent reply;
    OSErr err = found->second.handler(&event, &reply, found->second.refCon);
    AEDisposeDesc(&reply);
    return err;
}

namespace {

OSErr deliverPlain(AEEventID eventID)
{
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, eventID, &event);
    OSErr err = HostDeliverAppleEvent(event);
    AEDisposeDesc(&event);
    return err;
}

} // namespace

OSErr HostDeliverOpenApplication()
{
    return deliverPlain(kAEOpenApplication);
}

OSErr HostDeliverQuitApplication()
{
    return deliverPlain(kAEQuitApplication);
}

namespace {

// The FSSpec of a file named to be opened. One that cannot be found is named all the same,
// by its folder and name, so that the program says why it cannot open it.
OSErr specOfNamedFile(const std::string& path, FSSpec& spec)
{
    FSRef ref;
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) == noErr &&
        FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) == noErr)
        return noErr;
    std::memset(&spec, 0, sizeof spec);
    spec.vRefNum = kHostVolumeRefNum;
    const std::string name = HostNameOfPath(path);
    if (name.empty() || name.size() > 255 || !HostStorePath(HostFolderOfPath(path), spec.parentPath))
        return bdNamErr;
    spec.name[0] = uint8_t(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    return noErr;
}

} // namespace

OSErr HostDeliverOpenDocuments(const std::vector<std::string>& paths)
{
    AEDescList files;
    AECreateList(nullptr, 0, false, &files);
    for (const std::string& path : paths) {
        FSSpec spec;
        OSErr err = specOfNamedFile(path, spec);
        if (err == noErr)
            err = AEPutPtr(&files, 0, typeFSS, &spec, Size(sizeof spec));
        if (err != noErr) {
            AEDisposeDesc(&files);
            return err;
        }
    }
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &event);
    AEPutParamDesc(&event, keyDirectObject, &files);
    AEDisposeDesc(&files);
    OSErr err = HostDeliverAppleEvent(event);
    AEDisposeDesc(&event);
    return err;
}

void HostFailHandlerInstall(AEEventID eventID, OSErr err)
{
    if (err == noErr)
        plannedFailures().erase(eventID);
    else
        plannedFailures()[eventID] = err;
}

void HostResetAppleEvents()
{
    handlers().clear();
    plannedFailures().clear();
}
