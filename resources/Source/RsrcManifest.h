// The list of the resources a file is built from, one a line:
//
//   'type' id source [hot=h,v] purpose...
//
// The type is four characters between single quotes (so 'STR ' keeps its space), the id a
// signed 16-bit number, the source a path relative to the manifest's folder, hot= the hot spot
// of a cursor ('crsr' only, and required there), and the rest of the line says what the
// resource is for; it becomes the resource's name. Empty lines and lines starting with '#' are
// comments.
#pragma once

#include "HostTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class RsrcManifest {
public:
    struct Entry {
        ResType type = 0;
        ResID id = 0;
        std::string source;  // as written, relative to the manifest's folder
        bool hasHotSpot = false;
        Point hotSpot = {0, 0};
        std::string purpose; // UTF-8
        int line = 0;        // where the entry stands, for messages
    };

    // Reads the text of a manifest. RsrcError naming the line for a malformed line, a type or
    // id listed twice, a hot spot on anything but a cursor or a cursor without one.
    static RsrcManifest Parse(const std::string& text);
    // Reads a manifest file; its folder becomes the folder of the sources.
    static RsrcManifest Load(const std::string& path);

    const std::vector<Entry>& Entries() const { return mEntries; }
    const std::string& Folder() const { return mFolder; }
    // The path of an entry's source.
    std::string SourcePath(const Entry& entry) const;

    // "'argb' 60" for messages.
    static std::string Describe(ResType type, ResID id);

private:
    std::vector<Entry> mEntries;
    std::string mFolder;
};
