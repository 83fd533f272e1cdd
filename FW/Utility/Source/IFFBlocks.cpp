#include "IFFBlocks.h"

#include "FWStream.h"
#include "FWString.h"
#include "IFFDispatcher.h"
#include "IFFException.h"

#include <vector>

namespace {

constexpr uint8_t kStringVersion = 1;

void writeULongBlock(FWStream& stream, IFFDispatcher& dispatcher, uint32_t id, uint32_t value)
{
    dispatcher.BeginIFFBlockWrite(stream, id);
    stream.WriteULong(value);
    dispatcher.EndIFFBlockWrite(stream, id);
}

void readULongBlock(FWStream& stream, IFFDispatcher& dispatcher, uint32_t wantedId, uint32_t& value)
{
    // A block of another kind or size is closed again, so the dispatcher stays usable.
    IFFDispatcher::IFFSentry sentry(stream, dispatcher);
    sentry.CanRestorePosition();
    uint32_t id;
    uint32_t size;
    dispatcher.BeginIFFBlockRead(stream, id, size);
    if (id != wantedId)
        throw IFFUnexpectedIFF();
    if (size != 4)
        throw IFFUnexpectedSize();
    value = stream.ReadULong();
    dispatcher.EndIFFBlockRead(stream, id, size);
    sentry.Succeeded();
}

} // namespace

void WriteSignature(FWStream& stream, IFFDispatcher& dispatcher, uint32_t value)
{
    writeULongBlock(stream, dispatcher, kIFFSignatureBlock, value);
}

void ReadSignature(FWStream& stream, IFFDispatcher& dispatcher, uint32_t& value)
{
    readULongBlock(stream, dispatcher, kIFFSignatureBlock, value);
}

void WriteVersion(FWStream& stream, IFFDispatcher& dispatcher, uint32_t value)
{
    writeULongBlock(stream, dispatcher, kIFFVersionBlock, value);
}

void ReadVersion(FWStream& stream, IFFDispatcher& dispatcher, uint32_t& value)
{
    readULongBlock(stream, dispatcher, kIFFVersionBlock, value);
}

void WriteString(FWStream& stream, IFFDispatcher& dispatcher, const FWString& text)
{
    dispatcher.BeginIFFBlockWrite(stream, kIFFStringBlock);
    stream.WriteUChar(kStringVersion);
    stream.WriteData(text.GetCString(), text.GetCurrLength());
    dispatcher.EndIFFBlockWrite(stream, kIFFStringBlock);
}

void ReadString(FWStream& stream, IFFDispatcher& dispatcher, FWString& text)
{
    IFFDispatcher::IFFSentry sentry(stream, dispatcher);
    sentry.CanRestorePosition();
    uint32_t id;
    uint32_t size;
    dispatcher.BeginIFFBlockRead(stream, id, size);
    if (id != kIFFStringBlock)
        throw IFFUnexpectedIFF();
    // Even an empty string has its version byte.
    if (size == 0)
        throw IFFUnexpectedSize();
    if (stream.ReadUChar() != kStringVersion)
        throw IFFUnknownVersion();
    // The dispatcher has checked that the body lies within the stream.
    std::vector<char> characters(size - 1);
    if (!characters.empty())
        stream.ReadData(characters.data(), uint32_t(characters.size()));
    text.Set(uint32_t(characters.size()), characters.data());
    dispatcher.EndIFFBlockRead(stream, id, size);
    sentry.Succeeded();
}
