// Writes a file without ever leaving a half-written one under its name. An existing file is
// replaced through a temporary file in the same folder, which is renamed into place only when
// the caller reports success; the old file then becomes backup 1 (name".bak"), and older
// backups move up ("name.bak 2", "name.bak 3", ...) up to the number kept.
#pragma once

#include "FWFileStream.h"
#include "FileReference.h"

#include <cstdint>
#include <memory>

class FWSafeSave {
public:
    // Opens a write-only stream in the given byte order on the file to write: the target
    // itself when it does not exist yet, else a fresh temporary file beside it.
    FWSafeSave(FWPlatform::tByteOrder order, const FileReference& target, int32_t backups);
    // Without SaveSucceeded, removes what was written; the target and its backups stay as
    // they were.
    ~FWSafeSave();
    FWSafeSave(const FWSafeSave&) = delete;
    FWSafeSave& operator=(const FWSafeSave&) = delete;

    // The stream to write the data to; null once SaveSucceeded ran.
    FWFileStream* GetFileStream() { return mStream.get(); }

    // Closes the stream and puts the written file in place, rotating the backups. Throws
    // FWDiskFullException or FWWriteFailedException when the data did not reach the disk or a
    // file could not be renamed; the old file then stays whole under its name.
    void SaveSucceeded();

    // The target for i <= 0, else its backup i. The name is cut so that the whole file name,
    // suffix included, has at most 31 characters.
    void GetIthFileName(FileReference& out, int32_t i) const;

    // out = target when it does not exist, else an unused numbered name in its folder.
    static void MakeSafeFile(const FileReference& target, FileReference& out);

private:
    void rotateAndReplace();

    FileReference mTarget;
    FileReference mWritten;
    std::unique_ptr<FWFileStream> mStream;
    int32_t mBackups;
    bool mWritingTemporary = false; // else the target is written directly
    bool mRemoveOnAbandon = true;
    bool mSucceeded = false;
};
