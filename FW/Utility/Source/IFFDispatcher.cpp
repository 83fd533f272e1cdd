// Block bookkeeping of IFF files.
#include "IFFDispatcher.h"

#include "FWStream.h"
#include "FWStreamHelpers.h"
#include "IFFException.h"

IFFDispatcher::IFFSentry::IFFSentry(FWStream& stream, IFFDispatcher& dispatcher)
    : mStream(stream), mDispatcher(dispatcher), mPosition(stream.GetStreamPosition()),
      mStackDepth(dispatcher.mStack.size())
{
}

IFFDispatcher::IFFSentry::~IFFSentry()
{
    if (mSucceeded)
        return;
    while (mDispatcher.mStack.size() > mStackDepth)
        mDispatcher.pop();
    if (!mRestorePosition)
        return;
    // A failure is in flight: a position that cannot be restored is left as it is.
    try {
        mStream.SetStreamPosition(mPosition);
    } catch (...) {
    }
}

void IFFDispatcher::push(const tIFFStackEntry& entry, tMode mode)
{
    mStack.push_back(entry);
    mMode = mode;
}

void IFFDispatcher::pop()
{
    mMode = mStack.back().previousMode;
    mStack.pop_back();
}

void IFFDispatcher::BeginIFFBlockWrite(FWStream& stream, uint32_t id)
{
    IFFSentry sentry(stream, *this);
    if (mMode == kReading)
        throw IFFUnexpectedMode();
    sentry.CanRestorePosition();
    stream.WriteULong(id);
    uint32_t sizeField = LeaveSpaceForLongOffset(stream);
    push({mMode, id, sizeField, 0}, kWriting);
    sentry.Succeeded();
}

void IFFDispatcher::EndIFFBlockWrite(FWStream& stream, uint32_t id)
{
    IFFSentry sentry(stream, *this);
    if (mStack.empty())
        throw IFFBlockNotOpen();
    if (mMode == kReading)
        throw IFFUnexpectedMode();
    if (top().id != id)
        throw IFFUnexpectedIFF();
    sentry.CanRestorePosition();
    uint32_t end = stream.GetStreamPosition();
    uint32_t sizeField = top().position;
    if (end < uint64_t(sizeField) + 4)
        throw IFFUnexpectedSize(); // the writer moved back into the block's header
    PatchLongOffset(stream, sizeField, int32_t(end - sizeField - 4));
    pop();
    sentry.Succeeded();
}

void IFFDispatcher::BeginIFFBlockRead(FWStream& stream, uint32_t& id, uint32_t& size)
{
    IFFSentry sentry(stream, *this);
    if (mMode == kWriting)
        throw IFFUnexpectedMode();
    sentry.CanRestorePosition();
    uint32_t readId = stream.ReadULong();
    uint32_t sizeField = stream.GetStreamPosition();
    uint32_t readSize = stream.ReadULong();

    // A body must fit in what the stream holds and inside the enclosing block, so no reader
    // of the body is ever asked for more bytes than exist.
    uint64_t bodyEnd = uint64_t(sizeField) + 4 + readSize;
    if (bodyEnd > stream.GetStreamSize())
        throw IFFUnexpectedSize();
    if (!mStack.empty() && bodyEnd > uint64_t(top().position) + 4 + top().size)
        throw IFFUnexpectedSize();

    push({mMode, readId, sizeField, readSize}, kReading);
    id = readId;
    size = readSize;
    sentry.Succeeded();
}

void IFFDispatcher::EndIFFBlockRead(FWStream& stream, uint32_t id, uint32_t size)
{
    IFFSentry sentry(stream, *this);
    if (mStack.empty())
        throw IFFBlockNotOpen();
    if (mMode != kReading)
        throw IFFUnexpectedMode();
    if (top().id != id)
        throw IFFUnexpectedIFF();
    int64_t consumed = int64_t(stream.GetStreamPosition()) - top().position - 4;
    if (size != top().size || consumed != int64_t(top().size))
        throw IFFUnexpectedSize();
    pop();
    sentry.Succeeded();
}
