// Aliases: a stored full path that resolves to a specification, also of a file still to be made.
#pragma once

#include "HostFiles.h"

using AliasHandle = Handle; // the absolute path's bytes; freed with DisposeHandle

// Records the path (made absolute; the item need not exist). An empty path answers paramErr, one
// too long bdNamErr.
OSErr NewAliasMinimalFromFullPath(SInt16 fullPathLength, const void* fullPath, ConstStr255Param zoneName,
                                  ConstStr255Param serverName, AliasHandle* alias);

// The file specification (FSSpec) of the recorded path. When the folder exists but the item does not, target is
// still filled and the answer is fnfErr; a missing folder answers dirNFErr. wasChanged may be null.
OSErr ResolveAlias(const FSSpec* fromFile, AliasHandle alias, FSSpec* target, Boolean* wasChanged);
