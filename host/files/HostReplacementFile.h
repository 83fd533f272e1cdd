// The new contents of a file, written beside it and put in its place at once, so that a failed
// or killed write leaves the old file whole. A failed write leaves nothing beside it, nor does an
// end by SIGTERM, SIGINT or SIGHUP (HostRemoveUnfinishedSaves); a killed one can leave a hidden partial
// file (see Open), which stays until the next save of the same file removes it.
#pragma once

#include "HostTypes.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

class HostReplacementFile {
public:
    explicit HostReplacementFile(std::string target);
    ~HostReplacementFile(); // removes a new file that was not put in place
    HostReplacementFile(const HostReplacementFile&) = delete;
    HostReplacementFile& operator=(const HostReplacementFile&) = delete;

    // Makes the new file in the target's folder, open for reading and writing. Where the file
    // system allows, it has no name until just before Commit renames it, so a process killed
    // while it is written leaves nothing; elsewhere it is a hidden ".NAME.fwsave-xxxxxx" beside the target
    // (a long NAME cut and followed by a hash of the whole), which a process killed before the
    // rename leaves behind. The new file holds the write lock (HostLockForWriting) while it is
    // written, so that no other save takes it for a leftover. First removes what killed saves of
    // the target left: files of those hidden names that are plain files of this user with one
    // name, and that no process holds locked. Leftovers are removed only here: one stays until the
    // target's next save, in this run or a later one.
    OSErr Open(mode_t mode);
    int Descriptor() const { return mFd; }
    bool Unnamed() const { return mUnnamed; }
    // Writes all the bytes at the new file's position, or answers why not.
    OSErr Write(const void* bytes, size_t size);

    // Flushes the new file to disk and renames it over the target (the folder is flushed too).
    // An unnamed file that cannot be given a name is copied into a named one first. On failure
    // the target is untouched and the new file is gone.
    OSErr Commit();

    // After Commit: the descriptor, which the caller now closes; it still holds the write lock.
    int Release();

private:
    OSErr openUnnamed(const std::string& folder, mode_t mode, bool& unsupported);
    OSErr openNamed(const std::string& folder, mode_t mode);
    OSErr linkUnder(std::string& name);
    OSErr copyToNamed();
    void discard();

    // Notes the hidden name before the file is made under it, and forgets it once it is gone.
    void noteHidden(const std::string& path);
    void forgetHidden();

    std::string mTarget;
    std::string mTempPath; // the new file's name while it has one
    int mFd = -1;
    bool mUnnamed = false;
    bool mCommitted = false;
    int mNoted = -1; // the slot holding mTempPath for HostRemoveUnfinishedSaves
};

// Removes the files of the saves now being written, for a program about to end in the middle of
// them. Async-signal-safe: the end signals' handler calls it; other threads may call it too.
void HostRemoveUnfinishedSaves();
// Notes a file a save is writing (a replacement file's, or another writer's temporary one) for
// HostRemoveUnfinishedSaves: the slot that names it, or -1 when none is free or the path too
// long (the file then stays at an end signal, as at a kill). Forgetting -1 does nothing.
int HostNoteUnfinishedSave(const char* path);
void HostForgetUnfinishedSave(int slot);
