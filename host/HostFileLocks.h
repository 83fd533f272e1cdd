// Advisory write locks between processes: a file open for writing holds an exclusive flock on
// its descriptor, so another process that asks to read or write it is told it is busy.
#pragma once

#include "HostTypes.h"

// Takes the write lock on an open descriptor: noErr, or permErr when another holder has it.
OSErr HostLockForWriting(int fd);

// noErr when no other holder has the write lock on the descriptor's file, else permErr.
OSErr HostCheckNoWriter(int fd);
