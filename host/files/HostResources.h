// The Resource Manager: resource files open in a chain, typed numbered named resources read into
// handles, and changes written back. A file's resources are its whole contents in the layout of
// HostResourceFile; they are handed over exactly as stored. Every call sets the code ResError
// answers: noErr, or resNotFound (-192), resFNotFound (-193), addResFailed (-194),
// rmvResFailed (-196), resAttrErr (-198), mapReadErr (-199), wrPermErr (-61) for a change to a
// file open read-only or a file or folder whose permissions refuse it, permErr (-54) for a file
// another process holds open for writing, or a file error of the open or the write.
//
// The chain: files opened later lie above those opened earlier, the application's own file lies
// at the bottom. Searches start at the current file and go down the chain.
#pragma once

#include "HostFiles.h"

#include <cstddef>

// Files.

// Opens the resource file the file specification (FSSpec) names and makes it the current file; -1 on failure.
// The whole file is read and checked at once: a damaged file answers mapReadErr, an empty one
// eofErr. A file already open keeps its reference and counts one more open; when write access is
// asked of it while it is open read-only, it gains it if the write lock can be had. Write access
// holds the write lock until the last close.
SInt16 FSpOpenResFile(const FSSpec* spec, SInt8 permission);

// Counts one close; the last one closes the file, discarding changes that were not written (it
// never writes) and freeing its resources' handles. When the file was current, the next file
// down the chain becomes current.
void CloseResFile(SInt16 refNum);

// The current file's reference, 0 when no file is open.
SInt16 CurResFile();

// Makes the file current; 0 selects the application's file. An unknown reference answers
// resFNotFound and changes nothing.
void UseResFile(SInt16 refNum);

// Writes the file when anything in it changed: the whole file is laid out anew and written to a
// new file in the same folder, which takes the old file's permission bits and then replaces it,
// so a failure leaves the old file whole. The write lock is held on the new file throughout.
void UpdateResFile(SInt16 refNum);

// The application's own file: opened read-only at start-up and kept at the bottom of the chain.
// refNum may be null.
OSErr HostOpenApplicationResourceFile(const char* path, SInt16* refNum);

// Opens bytes held in memory as a read-only resource file (it has no file to write), checked as
// a file is; -1 on failure.
SInt16 HostOpenMemoryResFile(const void* bytes, size_t size);

// Closes every open file, whatever its count (for the end of a run and for tests).
void HostCloseAllResourceFiles();

// Reading. A resource's handle belongs to its file: asking again gives the same handle until it is
// released, detached or the file closes.

Handle GetResource(ResType type, ResID id);      // down the chain from the current file
Handle Get1Resource(ResType type, ResID id);     // the current file only
Handle GetIndResource(ResType type, SInt16 index);  // 1-based, over the chain
Handle Get1IndResource(ResType type, SInt16 index); // 1-based, in the current file
SInt16 CountResources(ResType type);             // over the chain
SInt16 Count1Resources(ResType type);            // in the current file

// The id, type and length-prefixed name (into a 256-byte buffer) of a resource; each output may
// be null.
void GetResInfo(Handle h, SInt16* id, ResType* type, StringPtr name);

// Frees a resource's handle; the resource is read again when asked for. A changed resource keeps
// its handle until it is written.
void ReleaseResource(Handle h);

// Changes.

// Renumbers and renames a resource (a null name keeps the old one). A protected resource answers
// resAttrErr; an id another resource of the type has in the file answers addResFailed.
void SetResInfo(Handle h, SInt16 id, ConstStr255Param name);

// Makes a handle a resource of the current file; the file then owns it. A handle that already is
// a resource, an id the type already has in the file, or a map grown past what the layout can
// hold answers addResFailed. A null or empty name gives no name.
void AddResource(Handle h, ResType type, SInt16 id, ConstStr255Param name);

// Takes a resource out of the current file; its handle becomes the caller's. A resource of another
// file or a protected one answers rmvResFailed.
void RemoveResource(Handle h);

// The handle becomes the caller's and the resource stays in the file as stored. A changed
// resource, whose data only the handle holds, answers resAttrErr.
void DetachResource(Handle h);

// A resource's attributes (resPurgeable, resPreload, ...), and setting them (resChanged is never
// stored). A resource added by AddResource has none.
SInt16 GetResAttrs(Handle h);
void SetResAttrs(Handle h, SInt16 attributes);

// Whether a name is stored for the resource, an empty one included; and storing exactly the
// name given (null: no name; length 0: an empty name), which AddResource and SetResInfo do not.
bool HostResourceHasName(Handle h);
void HostSetResName(Handle h, ConstStr255Param name);

// Marks a resource's data as changed, to be written by the next update.
void ChangedResource(Handle h);

// Writes a changed resource; as files are written whole, this updates its file.
void WriteResource(Handle h);

OSErr ResError();

// Called by DisposeHandle for a handle with an owner (see HostSetHandleOwner): true when the
// handle stays with its resource file (it is changed and not written yet); otherwise the
// resource lets go of it, as by ReleaseResource, and false.
bool HostResourceHandleDisposing(Handle h, void* owner);
