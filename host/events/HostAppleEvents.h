// Apple events: typed descriptors, lists, events with parameters and attributes, and the
// table of installed handlers through which the host delivers the events it generates
// (open application, open documents, quit).
#pragma once

#include "HostTypes.h"

#include <string>
#include <vector>

using AEEventClass = uint32_t;
using AEEventID = uint32_t;
using AEKeyword = uint32_t;
using DescType = uint32_t;
using SRefCon = void*;

// Event classes and ids of the core events.
constexpr AEEventClass kCoreEventClass = FOUR_CHAR_CODE("aevt");
constexpr AEEventID kAEOpenApplication = FOUR_CHAR_CODE("oapp");
constexpr AEEventID kAEOpenDocuments = FOUR_CHAR_CODE("odoc");
constexpr AEEventID kAEPrintDocuments = FOUR_CHAR_CODE("pdoc");
constexpr AEEventID kAEQuitApplication = FOUR_CHAR_CODE("quit");
constexpr AEEventID kAEApplicationDied = FOUR_CHAR_CODE("obit");

// Keywords.
constexpr AEKeyword keyDirectObject = FOUR_CHAR_CODE("----");
constexpr AEKeyword keyErrorNumber = FOUR_CHAR_CODE("errn");
constexpr AEKeyword keyProcessSerialNumber = FOUR_CHAR_CODE("psn ");
// Attributes.
constexpr AEKeyword keyMissedKeywordAttr = FOUR_CHAR_CODE("miss");
constexpr AEKeyword keyEventClassAttr = FOUR_CHAR_CODE("evcl");
constexpr AEKeyword keyEventIDAttr = FOUR_CHAR_CODE("evid");

// Descriptor types.
constexpr DescType typeNull = FOUR_CHAR_CODE("null");
constexpr DescType typeWildCard = FOUR_CHAR_CODE("****");
constexpr DescType typeAEList = FOUR_CHAR_CODE("list");
constexpr DescType typeAppleEvent = FOUR_CHAR_CODE("aevt");
constexpr DescType typeKeyword = FOUR_CHAR_CODE("keyw");
constexpr DescType typeType = FOUR_CHAR_CODE("type");
constexpr DescType typeSInt32 = FOUR_CHAR_CODE("long");
constexpr DescType typeFSS = FOUR_CHAR_CODE("fss ");
constexpr DescType typeFSRef = FOUR_CHAR_CODE("fsrf");
constexpr DescType typeFileURL = FOUR_CHAR_CODE("furl");
constexpr DescType typeProcessSerialNumber = FOUR_CHAR_CODE("psn ");

// Result codes of the Apple-event calls.
enum : OSErr {
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    errAEWrongDataType = -1703,
    errAENotAEDesc = -1704,
    errAEBadListItem = -1705,
    errAEParamMissed = -1715,
    errAEHandlerNotFound = -1717,
};

// A descriptor: a type and the data the host keeps for it (bytes, list items, or an event's
// parameters and attributes). A descriptor owns its data until AEDisposeDesc.
struct HostAEData;
struct AEDesc {
    DescType descriptorType = typeNull;
    HostAEData* dataHandle = nullptr;
};
using AEDescList = AEDesc;
using AppleEvent = AEDesc;

using AEEventHandlerProcPtr = OSErr (*)(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
using AEEventHandlerUPP = AEEventHandlerProcPtr;

// Descriptors and lists.
OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result);
OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord, AEDescList* result);
// index 0 appends; 1..count replaces that item.
OSErr AEPutPtr(AEDescList* list, int32_t index, DescType type, const void* data, Size size);
OSErr AECountItems(const AEDescList* list, int32_t* count);
// Item index (1-based) as desiredType (or its own type for typeWildCard); copies at most
// maximumSize bytes and tells the full size in actualSize.
OSErr AEGetNthPtr(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEDisposeDesc(AEDesc* desc);
// The bytes of a plain descriptor: its size (0 for lists, events and null) and a copy of at most
// maximumSize of them.
Size AEGetDescDataSize(const AEDesc* desc);
OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize);
// A new descriptor of toType holding desc's value: a copy for the same type (or typeWildCard);
// a file specification ('fss ') and a file reference ('fsrf') convert into each other; anything
// else answers errAECoercionFail.
OSErr AECoerceDesc(const AEDesc* desc, DescType toType, AEDesc* result);

// Events. A parameter counts as read once a handler asks for it; the missed-keyword attribute
// names the first parameter not read yet, and is absent (errAEDescNotFound) when all were.
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, AppleEvent* result);
OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size);
// Puts a copy of desc.
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
// A copy of the parameter, which must be of desiredType (or any type for typeWildCard).
OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result);
OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType,
                    DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType,
                        DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);

// Handlers. Only application handlers exist: isSysHandler is refused with paramErr.
OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                            SRefCon refCon, Boolean isSysHandler);
OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                           Boolean isSysHandler);

// Delivery: hands the event to the handler installed for its class and id and answers the
// handler's result, or errAEEventNotHandled when none is installed.
OSErr HostDeliverAppleEvent(const AppleEvent& event);
OSErr HostDeliverOpenApplication();
OSErr HostDeliverQuitApplication();
// An open-documents event whose direct parameter lists the files as specifications ('fss '),
// in order. A path that names no existing item answers its error and nothing is delivered.
OSErr HostDeliverOpenDocuments(const std::vector<std::string>& paths);

// Test interface: make the installation of the handler for eventID fail with err (noErr to
// stop), and forget every installed handler and planned failure.
void HostFailHandlerInstall(AEEventID eventID, OSErr err);
void HostResetAppleEvents();
