// Advisory write locks between processes: a file open for writing holds an exclusive flock on
// its descriptor, so another process that asks to read or write it is told it is busy.
#pragma once

#include "HostTypes.h"

// Takes the write lock on an open descriptor: noErr, or permErr when another holder has it.
OSErr HostLockForWriting(int fd);

// Takes the write lock on a descriptor opened from the path, then checks that the path still
// names the locked file (device and inode): a writer may have renamed a new file over the path
// between the open and the lock, and its save must not be overwritten from the old one. When the
// path names another file, the lock is let go, replaced is set and permErr answered; when it names
// nothing any more, the error of looking it up (fnfErr).
OSErr HostLockPathForWriting(int fd, const char* path, bool& replaced);

// noErr when no other holder has the write lock on the descriptor's file, else permErr.
OSErr HostCheckNoWriter(int fd);
