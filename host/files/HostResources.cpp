// The Resource Manager over whole-file images: a file is read and checked once when it opens,
// resources are copied out of the image into handles on demand, and an update lays the whole file
// out anew and replaces it through a new file and a rename.
#include "HostResources.h"

#include "HostFileLocks.h"
#include "HostMemory.h"
#include "HostPathNames.h"
#include "HostReplacementFile.h"
#include "HostResourceFile.h"
#include "HostResourcesMap.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct ResourceFile;

struct ResourceEntry {
    ResType type = 0;
    ResID id = 0;
    uint8_t attributes = 0;
    bool stored : 1 = false;  // the data are in the image
    bool changed : 1 = false; // the handle holds data not written yet
    bool named : 1 = false;   // a name is stored, an empty one included
    int64_t nameOffset = -1; // in the file's image; -1: no name; not used when ownName is set
    uint32_t dataOffset = 0;
    uint32_t dataLength = 0;
    Handle handle = nullptr; // loaded or added data, owned by the file while attached; its owner is this entry
    ResourceFile* file = nullptr;
    std::unique_ptr<uint8_t[]> ownName; // length-prefixed, when the name was set in memory
};
static_assert(sizeof(ResourceEntry) <= 48, "an entry per resource: keep it small");

struct TypeGroup {
    ResType type;
    std::vector<ResourceEntry*> entries;             // in the file's order
    // The first entry of each id, made when an id is first looked for (reading by index needs
    // none) and kept up to date from then on.
    HostResourcesMap<ResID, ResourceEntry*> firstById;
    bool indexed = false;
};

// The bytes of a file, read into memory that is not cleared first, or laid out by the writer.
class FileImage {
public:
    FileImage() = default;
    explicit FileImage(std::vector<uint8_t>&& bytes)
        : mLaidOut(std::move(bytes)), mData(mLaidOut.data()), mSize(mLaidOut.size())
    {
    }
    FileImage(std::unique_ptr<uint8_t[]> bytes, size_t size) : mRead(std::move(bytes)), mData(mRead.get()), mSize(size) {}

    const uint8_t* data() const { return mData; }
    size_t size() const { return mSize; }
    uint8_t operator[](size_t i) const { return mData[i]; }

private:
    std::vector<uint8_t> mLaidOut;
    std::unique_ptr<uint8_t[]> mRead;
    const uint8_t* mData = nullptr;
    size_t mSize = 0;
};

// The entries of one file, made in blocks (one block for all the entries of the file as read)
// and reused after removal, so that their addresses stay fixed while the file is open.
class EntryStore {
public:
    void Reserve(size_t n)
    {
        if (mBlocks.empty() || mBlocks.back().Room() < n)
            mBlocks.emplace_back(n);
    }
    ResourceEntry* New()
    {
        if (!mFree.empty()) {
            ResourceEntry* entry = mFree.back();
            mFree.pop_back();
            return entry;
        }
        if (mBlocks.empty() || mBlocks.back().Room() == 0)
            mBlocks.emplace_back(std::max<size_t>(64, mBlocks.empty() ? 0 : mBlocks.back().Size()));
        return mBlocks.back().Next();
    }
    void Delete(ResourceEntry* entry)
    {
        *entry = ResourceEntry();
        mFree.push_back(entry);
    }

private:
    // Room for entries, each made only when it is handed out.
    class Block {
    public:
        explicit Block(size_t size)
            : mEntries(static_cast<ResourceEntry*>(::operator new(size * sizeof(ResourceEntry)))), mSize(size)
        {
        }
        Block(Block&& other) noexcept
            : mEntries(std::exchange(other.mEntries, nullptr)), mSize(std::exchange(other.mSize, 0)),
              mUsed(std::exchange(other.mUsed, 0))
        {
        }
        Block& operator=(Block&&) = delete;
        ~Block()
        {
            std::destroy_n(mEntries, mUsed);
            ::operator delete(mEntries);
        }
        size_t Size() const { return mSize; }
        size_t Room() const { return mSize - mUsed; }
        ResourceEntry* Next() { return new (mEntries + mUsed++) ResourceEntry(); }

    private:
        ResourceEntry* mEntries;
        size_t mSize;
        size_t mUsed = 0;
    };

    std::vector<Block> mBlocks;
    std::vector<ResourceEntry*> mFree;
};

struct ResourceFile {
    SInt16 refNum = 0;
    int openCount = 1;
    bool inMemory = false;
    std::string path; // canonical
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};
    int fd = -1;      // held, with the write lock, while the file is writable
    bool writable = false;
    FileImage image;
    uint16_t mapAttributes = 0;
    bool hasHeaderReserve = false;
    std::array<uint8_t, 240> headerReserve{};
    std::vector<std::unique_ptr<TypeGroup>> types;
    EntryStore entries;
    // Where its resources' handles are made: one block for the data of all resources stored in
    // the image, made when the first is read.
    HostHandleBlock* handleBlock = nullptr;
    size_t handleBlockBytes = 0; // still to be made while nonzero
    size_t nameListLength = 0;
    bool changed = false;

    ~ResourceFile()
    {
        if (fd >= 0)
            close(fd);
        HostReleaseHandleBlock(handleBlock);
    }
};

struct ManagerState {
    std::map<SInt16, std::unique_ptr<ResourceFile>> files;
    std::vector<ResourceFile*> chain; // the top first; the application's file last
    ResourceFile* current = nullptr;
    ResourceFile* application = nullptr;
    SInt16 lastRefNum = 0;
    OSErr error = noErr;
};

// Never destroyed: handles may still be given back by static destructors at exit.
ManagerState& state()
{
    static auto* s = new ManagerState;
    return *s;
}

void setError(OSErr err)
{
    state().error = err;
}

// ---- Entries ----------------------------------------------------------------------------------

size_t nameLength(const ResourceEntry& e)
{
    if (e.ownName)
        return e.ownName[0];
    return e.nameOffset >= 0 ? e.file->image[size_t(e.nameOffset)] : 0;
}

// A name set in memory, length-prefixed.
std::unique_ptr<uint8_t[]> ownNameOf(const uint8_t* name, size_t length)
{
    auto own = std::make_unique<uint8_t[]>(1 + length);
    own[0] = uint8_t(length);
    if (length > 0)
        std::memcpy(own.get() + 1, name + 1, length);
    return own;
}

size_t nameListBytes(size_t length)
{
    return length > 0 ? 1 + length : 0;
}

// The name-list bytes the entry's name takes: an empty name stored takes its length byte.
size_t storedNameBytes(const ResourceEntry& e)
{
    return e.named ? 1 + nameLength(e) : 0;
}

TypeGroup* groupOf(ResourceFile& file, ResType type)
{
    for (auto& group : file.types)
        if (group->type == type)
            return group.get();
    return nullptr;
}

ResourceEntry* findIn(ResourceFile& file, ResType type, ResID id)
{
    TypeGroup* group = groupOf(file, type);
    if (group == nullptr)
        return nullptr;
    if (!group->indexed) {
        group->firstById.Reserve(group->entries.size());
        for (ResourceEntry* entry : group->entries)
            group->firstById.Insert(entry->id, entry); // keeps the first of each id
        group->indexed = true;
    }
    return group->firstById.Find(id);
}

void indexEntry(TypeGroup& group, ResourceEntry* entry)
{
    if (group.indexed)
        group.firstById.Insert(entry->id, entry);
}

// After an entry left an id, another entry of that id (a file may hold duplicates) takes its place.
void unindexEntry(TypeGroup& group, ResourceEntry* entry)
{
    if (!group.indexed || group.firstById.Find(entry->id) != entry)
        return;
    group.firstById.Erase(entry->id);
    for (ResourceEntry* other : group.entries)
        if (other != entry && other->id == entry->id) {
            group.firstById.Insert(entry->id, other);
            return;
        }
}

ResourceEntry* entryOf(Handle h)
{
    return h != nullptr ? static_cast<ResourceEntry*>(HostHandleOwner(h)) : nullptr;
}

Handle load(ResourceEntry& entry)
{
    if (entry.handle != nullptr)
        return entry.handle;
    ResourceFile& file = *entry.file;
    if (file.handleBlockBytes > 0) {
        // When the block cannot be had, each handle gets its own memory.
        file.handleBlock = HostNewHandleBlock(file.handleBlockBytes);
        file.handleBlockBytes = 0;
    }
    Handle h = HostNewHandleInBlock(file.handleBlock, Size(entry.dataLength), &entry);
    if (h == nullptr) {
        setError(memFullErr);
        return nullptr;
    }
    if (entry.dataLength > 0)
        std::memcpy(*h, file.image.data() + entry.dataOffset, entry.dataLength);
    entry.handle = h;
    return h;
}

// The file lets go of a handle without freeing it. When the handle stays with a holder, it
// leaves the file's block, which then does not outlive the file for it.
void detachHandle(ResourceEntry& entry, bool keptByHolder)
{
    if (entry.handle == nullptr)
        return;
    HostSetHandleOwner(entry.handle, nullptr);
    if (keptByHolder)
        HostGiveHandleItsOwnBytes(entry.handle);
    entry.handle = nullptr;
}

void freeHandle(ResourceEntry& entry)
{
    Handle h = entry.handle;
    detachHandle(entry, false);
    if (h != nullptr)
        DisposeHandle(h);
}

bool canChange(const ResourceFile& file)
{
    return file.writable && (file.mapAttributes & mapReadOnly) == 0;
}

// Whether the map still fits its layout with one more resource of addedType (when given) and a
// name list of this length.
bool mapFits(const ResourceFile& file, const ResType* addedType, size_t nameListLength)
{
    std::vector<uint32_t> counts;
    bool placed = addedType == nullptr;
    for (const auto& group : file.types) {
        uint32_t count = uint32_t(group->entries.size());
        if (!placed && group->type == *addedType) {
            ++count;
            placed = true;
        }
        counts.push_back(count);
    }
    if (!placed)
        counts.push_back(1);
    return HostResourceFile::MapFits(counts, nameListLength);
}

// ---- Files ------------------------------------------------------------------------------------

ResourceFile* fileOf(SInt16 refNum)
{
    auto& files = state().files;
    auto it = files.find(refNum);
    return it != files.end() ? it->second.get() : nullptr;
}

SInt16 newRefNum()
{
    ManagerState& s = state();
    for (int tries = 0; tries < 0x7FFF; ++tries) {
        s.lastRefNum = SInt16(s.lastRefNum >= 0x7FFF ? 1 : s.lastRefNum + 1);
        if (s.files.count(s.lastRefNum) == 0)
            return s.lastRefNum;
    }
    return -1;
}

// Makes a file's groups and entries from the records of its image as they are read.
class EntryMaker final : public HostResourceRecordSink {
public:
    EntryMaker(ResourceFile& file, const FileImage& image) : mFile(file), mImage(image) {}

    void Reserve(size_t count) override { entries.Reserve(count); }

    void BeginType(ResType type, size_t count) override
    {
        types.push_back(std::make_unique<TypeGroup>());
        mGroup = types.back().get();
        mGroup->type = type;
        mGroup->entries.reserve(count);
    }

    void Add(const HostResourceRecord& record) override
    {
        ResourceEntry* entry = entries.New();
        entry->type = record.type;
        entry->id = record.id;
        entry->attributes = record.attributes;
        entry->nameOffset = record.nameOffset;
        entry->named = record.nameOffset >= 0;
        entry->stored = true;
        entry->dataOffset = record.dataOffset;
        entry->dataLength = record.dataLength;
        entry->file = &mFile;
        nameListLength += record.nameOffset >= 0 ? 1 + mImage[size_t(record.nameOffset)] : 0;
        handleBlockBytes += HostHandleBlockBytes(Size(record.dataLength));
        mGroup->entries.push_back(entry);
    }

    std::vector<std::unique_ptr<TypeGroup>> types;
    EntryStore entries;
    size_t nameListLength = 0;
    size_t handleBlockBytes = 0;

private:
    ResourceFile& mFile;
    const FileImage& mImage;
    TypeGroup* mGroup = nullptr;
};

// Builds the file's groups from its image; on failure the file is left as it was.
OSErr loadImage(ResourceFile& file, FileImage&& image)
{
    HostResourceFileMap map;
    EntryMaker made(file, image);
    OSErr err = HostResourceFile::Parse(image.data(), image.size(), map, made);
    if (err != noErr)
        return err;
    file.image = std::move(image);
    file.mapAttributes = map.attributes;
    file.hasHeaderReserve = map.hasHeaderReserve;
    file.headerReserve = map.headerReserve;
    file.types = std::move(made.types);
    file.entries = std::move(made.entries);
    HostReleaseHandleBlock(std::exchange(file.handleBlock, nullptr));
    file.handleBlockBytes = made.handleBlockBytes;
    file.nameListLength = made.nameListLength;
    file.changed = false;
    return noErr;
}

OSErr readWhole(int fd, FileImage& out, struct stat& info)
{
    if (fstat(fd, &info) != 0)
        return HostOSErrFromErrno(errno);
    if (S_ISDIR(info.st_mode))
        return notAFileErr;
    if (info.st_size > INT32_MAX)
        return memFullErr;
    const size_t size = size_t(info.st_size);
    // Every byte is read before it is used, so the memory is not cleared first.
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size > 0 ? size : 1]);
    if (!bytes)
        return memFullErr;
    size_t done = 0;
    while (done < size) {
        ssize_t n = pread(fd, bytes.get() + done, size - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return HostOSErrFromErrno(errno);
        if (n == 0)
            break; // the file shrank while it was read: take what it holds
        done += size_t(n);
    }
    out = FileImage(std::move(bytes), done);
    return noErr;
}

void noteIdentity(ResourceFile& file, const struct stat& info)
{
    file.device = info.st_dev;
    file.inode = info.st_ino;
    file.size = info.st_size;
    file.modified = info.st_mtim;
}

bool sameContents(const ResourceFile& file, const struct stat& info)
{
    return file.device == info.st_dev && file.inode == info.st_ino && file.size == info.st_size &&
           file.modified.tv_sec == info.st_mtim.tv_sec && file.modified.tv_nsec == info.st_mtim.tv_nsec;
}

ResourceFile* findOpen(const std::string& path, const struct stat& info)
{
    for (auto& [refNum, file] : state().files)
        if (!file->inMemory && file->device == info.st_dev && file->inode == info.st_ino)
            return file.get();
    for (auto& [refNum, file] : state().files)
        if (!file->inMemory && file->path == path)
            return file.get();
    return nullptr;
}

// The file lets go of all its handles, freeing them or leaving them to their holders as ordinary
// handles.
void forgetAllHandles(ResourceFile& file, bool free)
{
    for (auto& group : file.types)
        for (ResourceEntry* entry : group->entries) {
            if (entry->handle == nullptr)
                continue;
            if (free) // the entry lets go first, so that DisposeHandle frees the handle whatever its state
                DisposeHandle(std::exchange(entry->handle, nullptr));
            else
                detachHandle(*entry, true);
        }
}

// How often an open for writing starts again when another writer keeps replacing the file
// between the open and the lock.
constexpr int kLockAttempts = 3;

// Gains write access for a file open read-only. When another process replaced or changed the
// file since it was read, the file is read again; its resources' handles become the callers'.
OSErr upgradeToWrite(ResourceFile& file)
{
    int fd = -1;
    OSErr err = noErr;
    bool replaced = true;
    for (int attempt = 0; replaced && attempt < kLockAttempts; ++attempt) {
        if (fd >= 0)
            close(fd);
        err = HostOpenRegularFile(file.path.c_str(), O_RDWR, fd);
        if (err != noErr)
            return err;
        err = HostLockPathForWriting(fd, file.path.c_str(), replaced);
    }
    struct stat info;
    if (err == noErr && fstat(fd, &info) != 0)
        err = HostOSErrFromErrno(errno);
    if (err == noErr && !sameContents(file, info)) {
        FileImage image;
        err = readWhole(fd, image, info);
        HostResourceFileMap check;
        if (err == noErr)
            err = HostResourceFile::Parse(image.data(), image.size(), check);
        if (err == noErr) {
            forgetAllHandles(file, false);
            err = loadImage(file, std::move(image));
            noteIdentity(file, info);
        }
    }
    if (err != noErr) {
        close(fd);
        return err;
    }
    file.fd = fd;
    file.writable = true;
    return noErr;
}

ResourceFile* addFile(std::unique_ptr<ResourceFile> file)
{
    ManagerState& s = state();
    file->refNum = newRefNum();
    if (file->refNum < 0)
        return nullptr;
    ResourceFile* added = file.get();
    s.files[added->refNum] = std::move(file);
    s.chain.insert(s.chain.begin(), added);
    s.current = added;
    return added;
}

bool wantsWrite(SInt8 permission)
{
    return permission == fsWrPerm || permission == fsRdWrPerm || permission == fsRdWrShPerm;
}

ResourceFile* openPath(const std::string& rawPath, SInt8 permission, OSErr& err, int attempts = kLockAttempts)
{
    if (permission < fsCurPerm || permission > fsRdWrShPerm) {
        err = paramErr;
        return nullptr;
    }
    std::string path;
    if ((err = HostCanonicalPath(rawPath, path)) != noErr)
        return nullptr;
    bool write = wantsWrite(permission) || permission == fsCurPerm;
    int fd = -1;
    err = HostOpenRegularFile(path.c_str(), write ? O_RDWR : O_RDONLY, fd);
    if (err != noErr && permission == fsCurPerm && (err == permErr || err == wrPermErr)) {
        write = false;
        err = HostOpenRegularFile(path.c_str(), O_RDONLY, fd);
    }
    if (err != noErr)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0) {
        err = HostOSErrFromErrno(errno);
        close(fd);
        return nullptr;
    }

    if (ResourceFile* open = findOpen(path, info)) {
        close(fd);
        if (write && !open->writable) {
            err = upgradeToWrite(*open);
            if (err != noErr && permission != fsCurPerm)
                return nullptr;
        }
        err = noErr;
        ++open->openCount;
        state().current = open;
        return open;
    }

    bool replaced = false;
    err = write ? HostLockPathForWriting(fd, path.c_str(), replaced) : HostCheckNoWriter(fd);
    if (replaced && attempts > 1) { // another writer's save: start again from the file it wrote
        close(fd);
        return openPath(rawPath, permission, err, attempts - 1);
    }
    auto file = std::make_unique<ResourceFile>();
    FileImage image;
    if (err == noErr)
        err = readWhole(fd, image, info);
    if (err == noErr)
        err = loadImage(*file, std::move(image));
    if (err != noErr) {
        close(fd);
        return nullptr;
    }
    file->path = path;
    noteIdentity(*file, info);
    if (write) {
        file->fd = fd;
        file->writable = true;
    } else {
        close(fd);
    }
    ResourceFile* added = addFile(std::move(file));
    if (added == nullptr)
        err = tmfoErr;
    return added;
}

void closeFile(ResourceFile* file)
{
    ManagerState& s = state();
    forgetAllHandles(*file, true);
    auto at = std::find(s.chain.begin(), s.chain.end(), file);
    size_t index = size_t(at - s.chain.begin());
    if (at != s.chain.end())
        s.chain.erase(at);
    if (s.current == file)
        s.current = index < s.chain.size() ? s.chain[index] : (s.chain.empty() ? nullptr : s.chain.front());
    if (s.application == file)
        s.application = nullptr;
    s.files.erase(file->refNum);
}

// Files searched, in order, without a copy of the chain.
struct FileRange {
    ResourceFile* const* first;
    ResourceFile* const* last;
    ResourceFile* const* begin() const { return first; }
    ResourceFile* const* end() const { return last; }
};

// The files searched for the current file: it and those below it.
FileRange searchChain()
{
    ManagerState& s = state();
    auto at = std::find(s.chain.begin(), s.chain.end(), s.current);
    return FileRange{s.chain.data() + (at - s.chain.begin()), s.chain.data() + s.chain.size()};
}

// ---- Writing ----------------------------------------------------------------------------------

// Writes the bytes to a new file beside the file's own and renames it over; until the rename the
// old file is untouched, and a write cut short leaves no new file. On success the new file's
// descriptor holds the write lock.
OSErr replaceFile(ResourceFile& file, const std::vector<uint8_t>& bytes)
{
    HostReplacementFile replacement(file.path);
    OSErr err = replacement.Open(0600);
    if (err == noErr)
        err = HostLockForWriting(replacement.Descriptor());
    if (err == noErr)
        err = replacement.Write(bytes.data(), bytes.size());
    struct stat old;
    if (err == noErr && fstat(file.fd, &old) == 0) {
        if (fchmod(replacement.Descriptor(), old.st_mode & 07777) != 0)
            err = HostOSErrFromErrno(errno);
        else if (fchown(replacement.Descriptor(), old.st_uid, old.st_gid) != 0)
            (void)0; // keeping the group is a courtesy; only the owner may give it
    }
    if (err == noErr)
        err = replacement.Commit();
    if (err != noErr)
        return err;
    close(file.fd);
    file.fd = replacement.Release();
    struct stat info;
    if (fstat(file.fd, &info) == 0)
        noteIdentity(file, info);
    return noErr;
}

OSErr updateFile(ResourceFile& file)
{
    if (!file.changed)
        return noErr;
    if (!canChange(file))
        return wrPermErr;
    std::vector<ResourceEntry*> entries;
    for (auto& group : file.types)
        entries.insert(entries.end(), group->entries.begin(), group->entries.end());
    std::vector<HostResourceToWrite> resources;
    resources.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        ResourceEntry& e = *entries[i];
        HostResourceToWrite r{e.type, e.id, e.attributes, nullptr, nullptr, 0};
        if (!e.named) {
        } else if (e.ownName) {
            r.name = e.ownName.get();
        } else if (e.nameOffset >= 0) {
            r.name = file.image.data() + e.nameOffset;
        }
        if (e.changed) {
            r.data = reinterpret_cast<const uint8_t*>(*e.handle);
            r.dataLength = uint32_t(GetHandleSize(e.handle));
        } else if (e.stored) {
            r.data = file.image.data() + e.dataOffset;
            r.dataLength = e.dataLength;
        }
        resources.push_back(r);
    }
    std::vector<uint8_t> bytes;
    std::vector<HostResourceRecord> written;
    OSErr err = HostResourceFile::Build(resources, file.mapAttributes,
                                        file.hasHeaderReserve ? &file.headerReserve : nullptr, bytes, written);
    if (err == noErr)
        err = replaceFile(file, bytes);
    if (err != noErr)
        return err;
    file.image = FileImage(std::move(bytes));
    for (size_t i = 0; i < entries.size(); ++i) {
        ResourceEntry& e = *entries[i];
        e.attributes = written[i].attributes;
        e.nameOffset = written[i].nameOffset;
        e.ownName.reset();
        e.stored = true;
        e.dataOffset = written[i].dataOffset;
        e.dataLength = written[i].dataLength;
        e.changed = false;
    }
    file.hasHeaderReserve = true;
    file.changed = false;
    return noErr;
}

// ---- Shared steps of the calls ----------------------------------------------------------------

ResourceEntry* changeableEntry(Handle h, OSErr missing)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(missing);
        return nullptr;
    }
    if (!canChange(*entry->file)) {
        setError(wrPermErr);
        return nullptr;
    }
    return entry;
}

Handle getFrom(FileRange files, ResType type, ResID id)
{
    for (ResourceFile* file : files)
        if (ResourceEntry* entry = findIn(*file, type, id)) {
            setError(noErr);
            return load(*entry);
        }
    setError(resNotFound);
    return nullptr;
}

Handle getIndexed(FileRange files, ResType type, SInt16 index)
{
    int remaining = index;
    if (remaining >= 1) {
        for (ResourceFile* file : files) {
            TypeGroup* group = groupOf(*file, type);
            if (group == nullptr)
                continue;
            if (size_t(remaining) <= group->entries.size()) {
                setError(noErr);
                return load(*group->entries[size_t(remaining) - 1]);
            }
            remaining -= int(group->entries.size());
        }
    }
    setError(resNotFound);
    return nullptr;
}

SInt16 countIn(FileRange files, ResType type)
{
    size_t count = 0;
    for (ResourceFile* file : files)
        if (TypeGroup* group = groupOf(*file, type))
            count += group->entries.size();
    setError(noErr);
    return SInt16(std::min<size_t>(count, 0x7FFF));
}

FileRange currentOnly()
{
    ResourceFile* const* current = &state().current;
    return FileRange{current, *current != nullptr ? current + 1 : current};
}

} // namespace

// ---- Files ------------------------------------------------------------------------------------

SInt16 FSpOpenResFile(const FSSpec* spec, SInt8 permission)
{
    std::string path;
    OSErr err = HostPathOfFSSpec(spec, path);
    ResourceFile* file = err == noErr ? openPath(path, permission, err) : nullptr;
    setError(err);
    return file != nullptr ? file->refNum : SInt16(-1);
}

void CloseResFile(SInt16 refNum)
{
    ResourceFile* file = fileOf(refNum);
    if (file == nullptr) {
        setError(resFNotFound);
        return;
    }
    setError(noErr);
    if (--file->openCount > 0)
        return;
    closeFile(file);
}

SInt16 CurResFile()
{
    setError(noErr);
    ResourceFile* current = state().current;
    return current != nullptr ? current->refNum : 0;
}

void UseResFile(SInt16 refNum)
{
    ManagerState& s = state();
    if (refNum == 0) {
        s.current = s.application;
        setError(noErr);
        return;
    }
    ResourceFile* file = fileOf(refNum);
    if (file == nullptr) {
        setError(resFNotFound);
        return;
    }
    s.current = file;
    setError(noErr);
}

void UpdateResFile(SInt16 refNum)
{
    ResourceFile* file = fileOf(refNum);
    setError(file != nullptr ? updateFile(*file) : OSErr(resFNotFound));
}

OSErr HostOpenApplicationResourceFile(const char* path, SInt16* refNum)
{
    OSErr err = path != nullptr ? noErr : paramErr;
    ResourceFile* file = err == noErr ? openPath(path, fsRdPerm, err) : nullptr;
    setError(err);
    if (file == nullptr)
        return err;
    ManagerState& s = state();
    s.chain.erase(std::find(s.chain.begin(), s.chain.end(), file));
    s.chain.push_back(file);
    s.application = file;
    if (refNum != nullptr)
        *refNum = file->refNum;
    return noErr;
}

SInt16 HostOpenMemoryResFile(const void* bytes, size_t size)
{
    auto file = std::make_unique<ResourceFile>();
    file->inMemory = true;
    const auto* begin = static_cast<const uint8_t*>(bytes);
    OSErr err = loadImage(*file, FileImage(std::vector<uint8_t>(begin, begin + (begin != nullptr ? size : 0))));
    ResourceFile* added = err == noErr ? addFile(std::move(file)) : nullptr;
    if (err == noErr && added == nullptr)
        err = tmfoErr;
    setError(err);
    return added != nullptr ? added->refNum : SInt16(-1);
}

void HostCloseAllResourceFiles()
{
    while (!state().files.empty())
        closeFile(state().files.begin()->second.get());
    setError(noErr);
}

// ---- Reading ----------------------------------------------------------------------------------

Handle GetResource(ResType type, ResID id)
{
    return getFrom(searchChain(), type, id);
}

Handle Get1Resource(ResType type, ResID id)
{
    if (state().current == nullptr) {
        setError(resFNotFound);
        return nullptr;
    }
    return getFrom(currentOnly(), type, id);
}

Handle GetIndResource(ResType type, SInt16 index)
{
    return getIndexed(searchChain(), type, index);
}

Handle Get1IndResource(ResType type, SInt16 index)
{
    if (state().current == nullptr) {
        setError(resFNotFound);
        return nullptr;
    }
    return getIndexed(currentOnly(), type, index);
}

SInt16 CountResources(ResType type)
{
    return countIn(searchChain(), type);
}

SInt16 Count1Resources(ResType type)
{
    SInt16 count = countIn(currentOnly(), type);
    if (state().current == nullptr)
        setError(resFNotFound);
    return count;
}

void GetResInfo(Handle h, SInt16* id, ResType* type, StringPtr name)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(resNotFound);
        return;
    }
    if (id != nullptr)
        *id = entry->id;
    if (type != nullptr)
        *type = entry->type;
    if (name != nullptr) {
        size_t length = nameLength(*entry);
        name[0] = uint8_t(length);
        if (length > 0)
            std::memcpy(name + 1,
                        entry->ownName ? entry->ownName.get() + 1 : entry->file->image.data() + entry->nameOffset + 1,
                        length);
    }
    setError(noErr);
}

void ReleaseResource(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(resNotFound);
        return;
    }
    if (!entry->changed)
        freeHandle(*entry);
    setError(noErr);
}

// ---- Changes ----------------------------------------------------------------------------------

void SetResInfo(Handle h, SInt16 id, ConstStr255Param name)
{
    ResourceEntry* entry = changeableEntry(h, resNotFound);
    if (entry == nullptr)
        return;
    ResourceFile& file = *entry->file;
    if (entry->attributes & resProtected) {
        setError(resAttrErr);
        return;
    }
    ResourceEntry* holder = findIn(file, entry->type, id);
    if (holder != nullptr && holder != entry) {
        setError(addResFailed);
        return;
    }
    size_t names = file.nameListLength;
    if (name != nullptr) {
        names = names - storedNameBytes(*entry) + nameListBytes(name[0]);
        if (!mapFits(file, nullptr, names)) {
            setError(addResFailed);
            return;
        }
        entry->ownName = ownNameOf(name, name[0]);
        entry->named = name[0] > 0;
        file.nameListLength = names;
    }
    if (id != entry->id) {
        TypeGroup& group = *groupOf(file, entry->type);
        unindexEntry(group, entry);
        entry->id = id;
        indexEntry(group, entry);
    }
    file.changed = true;
    setError(noErr);
}

void AddResource(Handle h, ResType type, SInt16 id, ConstStr255Param name)
{
    ManagerState& s = state();
    ResourceFile* file = s.current;
    if (file == nullptr) {
        setError(resFNotFound);
        return;
    }
    if (!HostIsHandle(h) || entryOf(h) != nullptr || findIn(*file, type, id) != nullptr) {
        setError(addResFailed);
        return;
    }
    if (!canChange(*file)) {
        setError(wrPermErr);
        return;
    }
    size_t length = name != nullptr ? name[0] : 0;
    size_t names = file->nameListLength + nameListBytes(length);
    if (!mapFits(*file, &type, names)) {
        setError(addResFailed);
        return;
    }
    ResourceEntry* entry = file->entries.New();
    entry->type = type;
    entry->id = id;
    entry->attributes = 0;
    entry->ownName = ownNameOf(name, length);
    entry->named = length > 0;
    entry->handle = h;
    entry->changed = true;
    entry->file = file;
    TypeGroup* group = groupOf(*file, type);
    if (group == nullptr) {
        file->types.push_back(std::make_unique<TypeGroup>());
        group = file->types.back().get();
        group->type = type;
    }
    indexEntry(*group, entry);
    HostSetHandleOwner(h, entry);
    group->entries.push_back(entry);
    file->nameListLength = names;
    file->changed = true;
    setError(noErr);
}

void RemoveResource(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr || entry->file != state().current || (entry->attributes & resProtected)) {
        setError(rmvResFailed);
        return;
    }
    ResourceFile& file = *entry->file;
    if (!canChange(file)) {
        setError(wrPermErr);
        return;
    }
    detachHandle(*entry, true);
    file.nameListLength -= storedNameBytes(*entry);
    TypeGroup& group = *groupOf(file, entry->type);
    unindexEntry(group, entry);
    group.entries.erase(std::find(group.entries.begin(), group.entries.end(), entry));
    file.entries.Delete(entry);
    if (group.entries.empty())
        file.types.erase(std::find_if(file.types.begin(), file.types.end(),
                                      [&group](const std::unique_ptr<TypeGroup>& g) { return g.get() == &group; }));
    file.changed = true;
    setError(noErr);
}

void DetachResource(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(resNotFound);
        return;
    }
    if (entry->changed) {
        setError(resAttrErr);
        return;
    }
    detachHandle(*entry, true);
    setError(noErr);
}

SInt16 GetResAttrs(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(resNotFound);
        return 0;
    }
    setError(noErr);
    return SInt16(entry->attributes | (entry->changed ? resChanged : 0));
}

void SetResAttrs(Handle h, SInt16 attributes)
{
    ResourceEntry* entry = changeableEntry(h, resNotFound);
    if (entry == nullptr)
        return;
    entry->attributes = uint8_t(attributes & ~resChanged);
    entry->file->changed = true;
    setError(noErr);
}

bool HostResourceHasName(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    setError(entry != nullptr ? noErr : resNotFound);
    return entry != nullptr && entry->named;
}

void HostSetResName(Handle h, ConstStr255Param name)
{
    ResourceEntry* entry = changeableEntry(h, resNotFound);
    if (entry == nullptr)
        return;
    ResourceFile& file = *entry->file;
    const size_t names = file.nameListLength - storedNameBytes(*entry) + (name != nullptr ? 1 + name[0] : 0);
    if (!mapFits(file, nullptr, names)) {
        setError(addResFailed);
        return;
    }
    entry->ownName = ownNameOf(name, name != nullptr ? name[0] : 0);
    entry->named = name != nullptr;
    file.nameListLength = names;
    file.changed = true;
    setError(noErr);
}

void ChangedResource(Handle h)
{
    ResourceEntry* entry = changeableEntry(h, resNotFound);
    if (entry == nullptr)
        return;
    entry->changed = true;
    entry->file->changed = true;
    setError(noErr);
}

void WriteResource(Handle h)
{
    ResourceEntry* entry = entryOf(h);
    if (entry == nullptr) {
        setError(resNotFound);
        return;
    }
    setError(entry->changed ? updateFile(*entry->file) : OSErr(noErr));
}

OSErr ResError()
{
    return state().error;
}

bool HostResourceHandleDisposing(Handle h, void* owner)
{
    auto* entry = static_cast<ResourceEntry*>(owner);
    if (entry->handle != h)
        return false; // the file is letting go of all its handles
    if (entry->changed)
        return true;
    detachHandle(*entry, false);
    return false;
}
