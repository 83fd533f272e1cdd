// The file back end of FWStream over standard I/O.
#include "FWFileStream.h"

#include "FWStreamException.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace {

bool diskIsFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

[[noreturn]] void throwWriteFailure(int error)
{
    if (diskIsFull(error))
        throw FWDiskFullException();
    throw FWWriteFailedException();
}

} // namespace

FWFileStream::FWFileStream(tIOMode mode, FWPlatform::tByteOrder order, const FileReference& file)
    : FWStream(mode, order), mFileReference(file), mBuffer(new char[kBufferSize])
{
    errno = 0;
    const char* how = mode == kWriteOnly ? "wb" : mode == kReadWrite ? "wb+" : "rb";
    open(how);
    if (mFile == nullptr) {
        if (diskIsFull(errno))
            throw FWDiskFullException();
        throw FWOpenFailedException();
    }
}

FWFileStream::~FWFileStream()
{
    closeQuietly();
}

void FWFileStream::open(const char* how)
{
    mDirection = kNone;
    mFile = std::fopen(mFileReference.GetCString(), how);
    if (mFile != nullptr)
        std::setvbuf(mFile, mBuffer.get(), _IOFBF, kBufferSize);
}

void FWFileStream::ensureOpen()
{
    if (mFile != nullptr)
        return;
    open(GetMode() == kReadOnly ? "rb" : "rb+");
    if (mFile == nullptr)
        throw FWOpenFailedException();
}

void FWFileStream::closeQuietly()
{
    if (mFile == nullptr)
        return;
    std::fclose(mFile);
    mFile = nullptr;
}

void FWFileStream::switchDirection(Direction next)
{
    // Standard I/O needs a seek between a read and a write on the same stream.
    if (mDirection != kNone && mDirection != next)
        std::fseek(mFile, 0, SEEK_CUR);
    mDirection = next;
}

void FWFileStream::CloseFile()
{
    if (mFile == nullptr)
        return;
    FILE* file = mFile;
    mFile = nullptr;
    errno = 0;
    bool written = true;
    int error = 0;
    if (GetMode() != kReadOnly) {
        // A full disk often shows only when the buffer is flushed or the data synced.
        written = std::fflush(file) == 0;
        if (written && fsync(fileno(file)) != 0 && errno != EINVAL && errno != ENOTSUP)
            written = false; // a device that cannot be synced is not a failure
        if (!written)
            error = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        throwWriteFailure(error);
}

void FWFileStream::ReadData(void* p, uint32_t n)
{
    VerifyReadAccess();
    ensureOpen();
    if (n == 0)
        return;
    switchDirection(kReading);
    size_t got = std::fread(p, 1, n, mFile);
    if (got == n)
        return;
    // A short read is a failure, as on a memory stream: go back to where the read began.
    std::clearerr(mFile);
    std::fseek(mFile, -long(got), SEEK_CUR);
    throw FWReadFailedException();
}

void FWFileStream::WriteData(const void* p, uint32_t n)
{
    errno = 0;
    VerifyWriteAccess();
    ensureOpen();
    if (n == 0)
        return;
    switchDirection(kWriting);
    std::fwrite(p, 1, n, mFile);
    if (std::ferror(mFile)) {
        int error = errno;
        std::clearerr(mFile);
        throwWriteFailure(error);
    }
}

void FWFileStream::SetStreamPosition(uint32_t position)
{
    ensureOpen();
    errno = 0;
    mDirection = kNone;
    if (std::fseek(mFile, long(position), SEEK_SET) != 0) {
        if (diskIsFull(errno))
            throw FWDiskFullException();
        throw FWSetPositionFailedException();
    }
}

uint32_t FWFileStream::GetStreamPosition()
{
    ensureOpen();
    long position = std::ftell(mFile);
    if (position < 0 || position > long(UINT32_MAX))
        throw FWGetPositionFailedException();
    return uint32_t(position);
}

uint32_t FWFileStream::GetStreamSize()
{
    ensureOpen();
    long position = std::ftell(mFile);
    if (position < 0)
        throw FWGetSizeFailedException();
    bool ok = std::fseek(mFile, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(mFile) : -1;
    bool restored = std::fseek(mFile, position, SEEK_SET) == 0;
    mDirection = kNone;
    if (size < 0 || size > long(UINT32_MAX) || !restored)
        throw FWGetSizeFailedException();
    return uint32_t(size);
}
