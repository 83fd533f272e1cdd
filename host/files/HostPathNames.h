// Path and name helpers shared by the host's file calls: absolute paths, the one volume's
// locator form, splitting, and file names to and from UTF-16.
#pragma once

#include "HostFiles.h"

#include <string>
#include <string_view>

// The path made absolute against the current folder, with the locator form "/Volumes/Root..."
// turned into the POSIX path. Not resolved: "." and ".." and links stay.
std::string HostAbsolutePath(std::string_view path);

// The canonical path of an existing item (links, "." and ".." resolved), or an error code.
OSErr HostCanonicalPath(std::string_view path, std::string& out);

// The folder part and the last name of an absolute path ("/" has folder "/" and no name).
std::string HostFolderOfPath(const std::string& path);
std::string HostNameOfPath(const std::string& path);
std::string HostJoinPath(const std::string& folder, const std::string& name);

// A UTF-16 file name as UTF-8; false when the units are not valid UTF-16 or the name cannot be a
// POSIX name (empty, ".", "..", '/' or NUL in it, longer than 255 bytes).
bool HostFileNameFromUtf16(const UniChar* name, size_t length, std::string& out);

// A file name's bytes as UTF-16, cut to 255 units: UTF-8 characters as they are, and each byte
// that is no part of a valid UTF-8 character (a name from a system before UTF-8) as the Latin-1
// character of that value, as HostFileNameCharacters reads them.
void HostFileNameToUtf16(std::string_view text, HFSUniStr255& out);

// Copies a C string into a fixed path buffer; false when it does not fit.
bool HostStorePath(const std::string& path, char (&buffer)[kHostPathCapacity]);
