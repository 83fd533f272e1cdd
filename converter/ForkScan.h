// Conversion of resource files into flat "(PC)" files. One run collects the chosen files
// (InitScan, AddFile) and then converts them one after another (ExecScan). The flat file beside
// each input is, with every number big-endian:
//
//   offset  size  content
//     0       1   0
//     1       1   n: length of the input's name (at most 81: the name is cut to fit)
//     2       n   the name's characters, then zeros up to offset 83
//    83       4   0 (no data fork)
//    87       4   L: length of the resource fork
//    91       4   0x70C69CB6
//    95       4   0x70C69CB6
//    99      25   0
//   124       2   0x1234
//   126       2   0
//   128       L   the resource fork, byte for byte
//   128+L     6   0
//
// A failure is reported with its message and the file's name; while files remain the user is
// asked whether to go on. One note at the end counts the files written whole.
#pragma once

#include "HostFiles.h"
#include "PascalString.h"

#include <cstdint>

constexpr size_t kFlatHeaderSize = 128;
// The longest name the header holds: the name field ends where the data-fork length begins.
constexpr int kFlatHeaderNameMax = 81;

// Empties the list of files to convert (keeping its block) and resets the allocation hooks.
bool InitScan();
// Appends a file to the list; when no room can be had the file is left out.
void AddFile(const FSRef& ref);
// Converts every listed file and shows the summary note; nothing (no note) for an empty list.
bool ExecScan(const PascalString& unused);

// The part of a path after its last '/', else after its last ':', else after its last '\\'.
PascalString GetFileName(const PascalString& path);
