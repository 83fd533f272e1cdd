// Turns the entries of a manifest into resource bytes, by type:
//
//   'argb', 'PICT'  a PNG image
//   'crsr'          a 16 x 16 PNG image of opaque and transparent pixels, with its hot spot
//   'MBAR'          a text listing menu ids
//   'MENU'          a text: the title, then one item a line ("-" a separator)
//   'STR '          a text, stored as one length-prefixed string (an alert's message: the
//                   host's alerts look up the 'STR ' of the alert's id)
//
// Texts are UTF-8 and stored in Mac Roman, one final line break dropped. Any other type is an
// error: the view-tree layouts ('WINT') are written by the framework's own view classes and
// writer, which this compiler does not link yet.
#pragma once

#include "RsrcManifest.h"

#include <cstdint>
#include <string>
#include <vector>

class RsrcCompiler {
public:
    struct Resource {
        ResType type = 0;
        ResID id = 0;
        std::string name; // Mac Roman, at most 255 bytes
        std::vector<uint8_t> data;
    };

    // Every entry in manifest order. RsrcError naming the resource and its source when a source
    // is missing or unusable.
    static std::vector<Resource> CompileAll(const RsrcManifest& manifest);
    static Resource Compile(const RsrcManifest& manifest, const RsrcManifest::Entry& entry);

    // Whether the compiler knows how to make the type.
    static bool Makes(ResType type);
};
