// Well-known folders: the user's configuration folder ('pref': $XDG_CONFIG_HOME, else
// ~/.config), the temporary folder ('temp': $TMPDIR, else /tmp) and the desktop ('desk':
// ~/Desktop).
#pragma once

#include "HostFiles.h"

constexpr OSType kPreferencesFolderType = FOUR_CHAR_CODE("pref");
constexpr OSType kTemporaryFolderType = FOUR_CHAR_CODE("temp");
constexpr OSType kDesktopFolderType = FOUR_CHAR_CODE("desk");
constexpr Boolean kCreateFolder = true;
constexpr Boolean kDontCreateFolder = false;

// The folder of the type on the volume (kOnSystemDisk or the one volume; others answer nsvErr).
// A missing folder is created when createFolder is true, else answers fnfErr; an unknown type
// answers fnfErr.
OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder, FSRef* foundRef);
