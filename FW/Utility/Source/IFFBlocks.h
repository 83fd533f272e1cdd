// The small blocks every IFF file is made of: a file signature, a format version and a
// string. Each is one whole block; a reader checks the block's id, size and version.
#pragma once

#include <cstdint>

class FWStream;
class FWString;
class IFFDispatcher;

constexpr uint32_t kIFFSignatureBlock = 0x73677472; // 'sgtr'
constexpr uint32_t kIFFVersionBlock = 0x76657273;   // 'vers'
constexpr uint32_t kIFFStringBlock = 0x73747267;    // 'strg'

// 'sgtr' holding one ULong.
void WriteSignature(FWStream& stream, IFFDispatcher& dispatcher, uint32_t value);
void ReadSignature(FWStream& stream, IFFDispatcher& dispatcher, uint32_t& value);

// 'vers' holding one ULong.
void WriteVersion(FWStream& stream, IFFDispatcher& dispatcher, uint32_t value);
void ReadVersion(FWStream& stream, IFFDispatcher& dispatcher, uint32_t& value);

// 'strg' holding a version byte 1, then the characters without a terminator. A string of
// fixed capacity keeps what fits; the block is read whole either way.
void WriteString(FWStream& stream, IFFDispatcher& dispatcher, const FWString& text);
void ReadString(FWStream& stream, IFFDispatcher& dispatcher, FWString& text);
