// A stream over a file through standard I/O, with one 512 KB buffer per stream. The file is
// opened at construction; after CloseFile the next operation reopens it without truncating.
#pragma once

#include "FWStream.h"
#include "FileReference.h"

#include <cstdio>
#include <memory>

class FWFileStream : public FWStream {
public:
    // Opens the file: read-only "rb", write-only "wb", read-write "wb+" (the last two create or
    // truncate it). Throws FWDiskFullException on a full disk, else FWOpenFailedException.
    FWFileStream(tIOMode mode, FWPlatform::tByteOrder order, const FileReference& file);
    // Closes without reporting; call CloseFile first to learn whether buffered data reached
    // the disk.
    ~FWFileStream() override;

    // Throws FWReadFailedException, position unchanged, when fewer than n bytes remain.
    void ReadData(void* p, uint32_t n) override;
    // FWDiskFullException when the disk is full, else FWWriteFailedException.
    void WriteData(const void* p, uint32_t n) override;
    uint32_t GetStreamPosition() override;
    void SetStreamPosition(uint32_t position) override;
    uint32_t GetStreamSize() override;

    // Closes the file. For a writable stream the buffered data is written and synced first,
    // and a failure throws (FWDiskFullException or FWWriteFailedException); the file is
    // closed either way.
    void CloseFile();
    bool IsOpen() const { return mFile != nullptr; }
    const FileReference& GetFileReference() const { return mFileReference; }

    static constexpr size_t kBufferSize = 0x80000;

private:
    enum Direction { kNone, kReading, kWriting };

    void open(const char* how);
    // Reopens a file closed by CloseFile, keeping its contents.
    void ensureOpen();
    void closeQuietly();
    void switchDirection(Direction next);

    FILE* mFile = nullptr;
    FileReference mFileReference;
    std::unique_ptr<char[]> mBuffer;
    Direction mDirection = kNone; // the last transfer since the last seek
};
