// Platform half of the file services: locators to and from the platform's file references and
// POSIX paths, existence tests, creation, file types, the mapping of platform results to FS
// codes, and the start-up of the well-known folders. FS codes: FS_ErrorCodeUtil.h.
#pragma once

#include "FS_Locator.h"
#include "HostTypes.h"

#include <cstdint>

struct FSRef;
struct FSSpec;

namespace Corvel {

class FS_UtilPAC {
public:
    // Platform references. A locator made from a reference begins with "Volumes" and the
    // volume's name.
    static int FSRefToLocator(const FSRef& ref, FS_Locator& out);
    // A specification of a file that does not exist yet names the file in its folder.
    static int FSSpecToLocator(const FSSpec& spec, FS_Locator& out);
    // The platform result (not an FS code): -50 for a locator without names.
    static OSErr LocatorToFSRef(const FS_Locator& locator, FSRef& ref);
    static int LocatorToFSSpec(const FS_Locator& locator, FSSpec& spec);

    // POSIX paths. Names are POSIX names and are written as they stand; an empty name is "..".
    // The host's locator form of its one volume ("/Volumes/Root/...") is written as the plain
    // POSIX path it stands for.
    static void LocatorToPathName(const FS_Locator& locator, FWString& out, bool trailingSlash);
    // A relative path is taken from the current folder, and the host's locator form is read as
    // the POSIX path it stands for. Empty pieces and "." are skipped, ".." becomes an empty name.
    // The type stays 0.
    static void DotPathNameToLocator(const FWString& path, FS_Locator& out);

    // File types
    // The characters after the last '.' of the last name; empty if there is none.
    static void GetFileNameExtension(const FS_Locator& locator, FWString& out);
    // The registered type of an existing file (Finder type, else by extension); 0 if unknown.
    // extensionType, when given, receives the extension's registered type (or 0).
    static uint32_t DeduceFileType(const FS_Locator& locator, uint32_t* extensionType);

    // Existence and creation. An application (a program file) counts as a file, not a folder.
    static bool FileExists(const FS_Locator& locator);
    static bool DirectoryExists(const FS_Locator& locator);
    static int MakeFile(const FS_Locator& locator);        // type and creator from the registry
    static int CreateDirectory(const FS_Locator& locator);

    static int OSErrToFSErr(OSErr result);

    // Registers the well-known folders with FS_LocatorRegistry; stops at the first failure
    // and returns its FS code. CleanUp has nothing to do.
    static int Init();
    static void CleanUp() {}
};

} // namespace Corvel
