// Basic value types and result codes of the host layer: the vocabulary that the framework's
// platform calls speak (16-bit rectangles and points, result codes, handles, four-char codes).
#pragma once

#include <cstdint>

using OSErr = int16_t;       // classic 16-bit result code
using OSStatus = int32_t;    // 32-bit result code of the newer calls
using OSType = uint32_t;     // four-character code
using ResType = uint32_t;
using FourCharCode = uint32_t;
using ResID = int16_t;
using Boolean = unsigned char;
using Ptr = char*;
using Handle = char**;       // relocatable block: a pointer to the block's pointer
using UniChar = uint16_t;
using SInt8 = int8_t;
using UInt8 = uint8_t;
using SInt16 = int16_t;
using UInt16 = uint16_t;
using SInt32 = int32_t;
using UInt32 = uint32_t;
using SInt64 = int64_t;
using UInt64 = uint64_t;
using Size = int32_t;

// Pascal strings: a length byte followed by up to 255 bytes.
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str31 = unsigned char[32];
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;
using ConstStr255Param = const unsigned char*;

struct Point {
    int16_t v;
    int16_t h;
};

struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct RGBColor {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

// The four-character code of a literal such as "WINT".
constexpr uint32_t FOUR_CHAR_CODE(const char (&s)[5])
{
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

// Result codes, with the classic values that callers and messages rely on.
enum : OSErr {
    noErr = 0,
    readErr = -19,          // read error
    writErr = -20,          // write error
    dskFulErr = -34,        // disk full
    nsvErr = -35,           // no such volume
    ioErr = -36,            // input/output error
    bdNamErr = -37,         // bad name
    fnOpnErr = -38,         // file not open
    eofErr = -39,           // end of file
    posErr = -40,           // position before the start of the file
    tmfoErr = -42,          // too many files open
    fnfErr = -43,           // file not found
    wPrErr = -44,           // volume locked
    fLckdErr = -45,         // file locked
    vLckdErr = -46,         // volume locked by software
    fBsyErr = -47,          // file busy
    dupFNErr = -48,         // duplicate name: the item exists
    opWrErr = -49,          // already open for writing
    paramErr = -50,         // bad parameter
    rfNumErr = -51,         // bad reference number
    permErr = -54,          // permission denied
    wrPermErr = -61,        // write permission denied
    memFullErr = -108,      // out of memory
    nilHandleErr = -109,    // null handle
    memWZErr = -111,        // block is free
    dirNFErr = -120,        // folder not found
    userCanceledErr = -128, // the user cancelled
    errAEEventNotHandled = -1708,
    resourceInMemory = -188,
    writingPastEnd = -189,
    inputOutOfBounds = -190,
    resNotFound = -192,     // resource not found
    resFNotFound = -193,    // resource file not found
    addResFailed = -194,    // add failed
    addRefFailed = -195,
    rmvResFailed = -196,    // remove failed
    resAttrErr = -198,      // attribute forbids the operation
    mapReadErr = -199,      // map damaged
    procNotFound = -600,    // no such process
    notAFileErr = -1302,    // the item is a folder, not a file
    errFSForkNotFound = -1409, // no fork of that name
    errFSForkExists = -1421,   // the fork already exists (it is not empty)
    handlerNotFoundErr = -1856, // nothing is installed for the request
    gestaltUndefSelectorErr = -5551, // no answer for the selector
};

// Names a process (the calling one is {0, kCurrentProcess}); Apple events carry it too.
struct ProcessSerialNumber {
    uint32_t highLongOfPSN;
    uint32_t lowLongOfPSN;
};
