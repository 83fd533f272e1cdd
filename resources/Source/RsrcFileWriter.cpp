// An empty file gets an empty resource map, is opened for writing, receives each resource as a
// handle and is written once at the end.
#include "RsrcFileWriter.h"

#include "HostForks.h"
#include "HostMemory.h"
#include "HostResources.h"
#include "RsrcError.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

[[noreturn]] void fail(const std::string& step, OSErr err)
{
    throw RsrcError(step + " failed (error " + std::to_string(err) + ")");
}

FSSpec specOf(const std::filesystem::path& path)
{
    FSSpec spec{};
    std::string folder = path.parent_path().string();
    std::string name = path.filename().string();
    if (folder.size() >= sizeof spec.parentPath || name.size() > 255)
        throw RsrcError("the path " + path.string() + " is too long");
    spec.vRefNum = kHostVolumeRefNum;
    std::memcpy(spec.parentPath, folder.c_str(), folder.size() + 1);
    spec.name[0] = uint8_t(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    return spec;
}

void createEmptyResourceFile(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    {
        std::ofstream create(path, std::ios::binary);
        if (!create)
            throw RsrcError("cannot create " + path.string());
    }
    FSRef ref;
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr);
    if (err != noErr)
        fail("finding " + path.string(), err);
    HFSUniStr255 forkName;
    FSGetResourceForkName(&forkName);
    err = FSCreateResourceFork(&ref, forkName.length, forkName.unicode, 0);
    if (err != noErr)
        fail("making a resource map in " + path.string(), err);
}

// Writes every resource into the open file and the file to disk.
void fill(SInt16 file, const std::vector<RsrcCompiler::Resource>& resources)
{
    for (const RsrcCompiler::Resource& resource : resources) {
        Handle h = NewHandle(Size(resource.data.size()));
        if (h == nullptr)
            fail("allocating " + RsrcManifest::Describe(resource.type, resource.id), MemError());
        if (!resource.data.empty())
            std::memcpy(*h, resource.data.data(), resource.data.size());
        Str255 name;
        name[0] = uint8_t(resource.name.size());
        std::memcpy(name + 1, resource.name.data(), resource.name.size());
        AddResource(h, resource.type, resource.id, name);
        if (OSErr err = ResError(); err != noErr) {
            DisposeHandle(h);
            fail("adding " + RsrcManifest::Describe(resource.type, resource.id), err);
        }
    }
    UpdateResFile(file);
    if (OSErr err = ResError(); err != noErr)
        fail("writing the resource file", err);
}

} // namespace

void RsrcFileWriter::Write(const std::string& path, const std::vector<RsrcCompiler::Resource>& resources)
{
    const std::filesystem::path target = std::filesystem::absolute(std::filesystem::path(path));
    std::filesystem::path temporary = target;
    temporary += ".new";

    std::error_code ignored;

    createEmptyResourceFile(temporary);
    const FSSpec spec = specOf(temporary);
    SInt16 file = FSpOpenResFile(&spec, fsRdWrPerm);
    if (file == -1) {
        OSErr err = ResError();
        std::filesystem::remove(temporary, ignored);
        fail("opening " + temporary.string(), err);
    }
    try {
        fill(file, resources);
    } catch (...) {
        CloseResFile(file);
        std::filesystem::remove(temporary, ignored);
        throw;
    }
    CloseResFile(file);

    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        throw RsrcError("cannot move the new file to " + target.string() + ": " + renameError.message());
    }
}
