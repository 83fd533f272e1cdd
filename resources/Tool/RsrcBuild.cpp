// rsrcbuild MANIFEST OUTPUT: builds the resource file OUTPUT from the sources MANIFEST lists.
// Any missing or unusable source fails the build with a message naming it.
#include "RsrcCompiler.h"
#include "RsrcError.h"
#include "RsrcFileWriter.h"
#include "RsrcManifest.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rsrcbuild MANIFEST OUTPUT\n");
        return 2;
    }
    try {
        RsrcManifest manifest = RsrcManifest::Load(argv[1]);
        RsrcFileWriter::Write(argv[2], RsrcCompiler::CompileAll(manifest));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rsrcbuild: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
