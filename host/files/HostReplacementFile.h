// The new contents of a file, written beside it and put in its place at once, so that a failed
// or killed write leaves the old file whole and no partial file behind.
#pragma once

#include "HostTypes.h"

#include <string>
#include <sys/types.h>

class HostReplacementFile {
public:
    explicit HostReplacementFile(std::string target);
    ~HostReplacementFile(); // discards a file that was not put in place
    HostReplacementFile(const HostReplacementFile&) = delete;
    HostReplacementFile& operator=(const HostReplacementFile&) = delete;

    // Makes the new file in the target's folder, open for reading and writing. Where the file
    // system allows, it has no name until Commit, so a process killed meanwhile leaves nothing;
    // elsewhere it is a hidden ".NAME.XXXXXX" beside the target.
    OSErr Open(mode_t mode);
    int Descriptor() const { return mFd; }
    bool Unnamed() const { return mUnnamed; }

    // Flushes the new file to disk and renames it over the target (the folder is flushed too).
    // On failure the target is untouched and the new file is gone.
    OSErr Commit();

    // After Commit: the descriptor, which the caller now closes.
    int Release();

private:
    OSErr openUnnamed(const std::string& folder, mode_t mode, bool& unsupported);
    OSErr openNamed(const std::string& folder, mode_t mode);
    OSErr linkUnder(std::string& name);
    void discard();

    std::string mTarget;
    std::string mTempPath; // the new file's name while it has one
    int mFd = -1;
    bool mUnnamed = false;
    bool mCommitted = false;
};
