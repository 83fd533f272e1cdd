// Fork access. A file's data fork and its resource fork are one and the same here: the file's
// contents. Forks open for reading; resource files are written through the Resource Manager.
#pragma once

#include "HostFiles.h"

using FSIORefNum = SInt16;

// Where a read starts.
enum : UInt16 {
    fsAtMark = 0,    // at the fork's mark (where the last read ended)
    fsFromStart = 1, // offset from the start
    fsFromLEOF = 2,  // offset from the end
    fsFromMark = 3,  // offset from the mark
};

// The name of the resource fork, for FSOpenFork and FSCreateResourceFork.
OSErr FSGetResourceForkName(HFSUniStr255* forkName);

// Opens a file's fork (the resource fork's name, or the empty name of the data fork) for reading
// (fsRdPerm or fsCurPerm; other permissions answer paramErr). A folder answers notAFileErr, any
// other fork name errFSForkNotFound.
OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, SInt8 permissions,
                 FSIORefNum* forkRefNum);

OSErr FSGetForkSize(FSIORefNum forkRefNum, SInt64* forkSize);

// Reads up to requestCount bytes; fewer because the fork ends answers eofErr with the count read.
// A position before the start answers posErr. actualCount may be null.
OSErr FSReadFork(FSIORefNum forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount);

OSErr FSCloseFork(FSIORefNum forkRefNum);

// Puts an empty resource map into an existing empty file. A file that is not empty answers
// errFSForkExists and is left as it is (its contents would be lost); a file another process
// holds open for writing answers permErr.
OSErr FSCreateResourceFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, UInt32 flags);
