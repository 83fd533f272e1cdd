// The converter proper: reads each listed file's resource fork whole, writes the flat file beside
// it through a new file and a rename, and reports every failure with the file's name.
#include "ForkScan.h"

#include "CarbonAlerts.h"
#include "HostCoreFoundation.h"
#include "HostForks.h"
#include "HostPathNames.h"
#include "HostReplacementFile.h"
#include "TVector.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Results of converting one file.
constexpr int kFileWritten = 0;
constexpr int kStop = -1;
constexpr int kGoOn = -2;

constexpr uint32_t kFlatHeaderStamp = 0x70C69CB6;
constexpr uint16_t kFlatHeaderMark = 0x1234;
constexpr size_t kFlatTrailerSize = 6;
const char* const kFlatSuffix = "(PC)";

unsigned char theHeader[kFlatHeaderSize];

void storeBigEndian(size_t offset, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        theHeader[offset + size_t(i)] = static_cast<unsigned char>(value & 0xFF);
}

void FillHeader(const PascalString& name, uint32_t forkLength)
{
    std::memset(theHeader, 0, sizeof theHeader);
    int length = name.Length() < kFlatHeaderNameMax ? name.Length() : kFlatHeaderNameMax;
    theHeader[1] = static_cast<unsigned char>(length);
    std::memcpy(theHeader + 2, name.CStr(), size_t(length));
    storeBigEndian(87, forkLength, 4);
    storeBigEndian(91, kFlatHeaderStamp, 4);
    storeBigEndian(95, kFlatHeaderStamp, 4);
    storeBigEndian(124, kFlatHeaderMark, 2);
}

// An open fork, closed when the reader is done with it.
class ForkReader {
public:
    ~ForkReader() { Close(); }
    OSErr Open(const FSRef& ref)
    {
        HFSUniStr255 forkName;
        FSGetResourceForkName(&forkName);
        OSErr err = FSOpenFork(&ref, forkName.length, forkName.unicode, fsRdPerm, &mRefNum);
        if (err == noErr && mRefNum == 0)
            err = rfNumErr;
        return err;
    }
    FSIORefNum RefNum() const { return mRefNum; }
    void Close()
    {
        if (mRefNum != 0)
            FSCloseFork(mRefNum);
        mRefNum = 0;
    }

private:
    FSIORefNum mRefNum = 0;
};

struct HookFree {
    void operator()(void* block) const { MFree(block); }
};
using HookBlock = std::unique_ptr<unsigned char, HookFree>;

bool writeAll(int fd, const void* bytes, size_t size)
{
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t n = write(fd, next, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        next += n;
        size -= size_t(n);
    }
    return true;
}

enum class WriteResult { kWritten, kCannotCreate, kCannotWrite };

// Writes header, fork and trailer to a new file beside outPath and puts it in outPath's place,
// so a failed or killed write leaves no partial flat file and an earlier one stays whole. An
// existing outPath that is not a writable plain file cannot be replaced; one that is keeps its
// permission bits, as emptying and rewriting it in place would.
WriteResult writeFlatFile(const std::string& outPath, const unsigned char* fork, size_t forkSize)
{
    struct stat info;
    const bool replacesFile = lstat(outPath.c_str(), &info) == 0 && !S_ISLNK(info.st_mode);
    if (replacesFile && (!S_ISREG(info.st_mode) || access(outPath.c_str(), W_OK) != 0))
        return WriteResult::kCannotCreate;
    HostReplacementFile replacement(outPath);
    if (replacement.Open(0666) != noErr)
        return WriteResult::kCannotCreate;
    if (replacesFile && fchmod(replacement.Descriptor(), info.st_mode & 07777) != 0)
        return WriteResult::kCannotCreate;
    static const unsigned char trailer[kFlatTrailerSize] = {};
    const int fd = replacement.Descriptor();
    if (writeAll(fd, theHeader, sizeof theHeader) && writeAll(fd, fork, forkSize) &&
        writeAll(fd, trailer, sizeof trailer) && replacement.Commit() == noErr)
        return WriteResult::kWritten;
    return WriteResult::kCannotWrite;
}

class CAuthorizer : public TVector<FSRef> {
public:
    bool ExecScan(const PascalString& unused);

private:
    int ProcessFile(const FSRef& ref);
    int Error(const PascalString& message);
    int ErrorFile(const char* prefix);

    PascalString mCurrentName;
    bool mLastFile = false;
};

CAuthorizer theAuthor;

bool CAuthorizer::ExecScan(const PascalString&)
{
    if (count == 0)
        return true;
    int32_t written = 0;
    for (int32_t i = 0; i < count; ++i) {
        mLastFile = i == count - 1;
        int result = ProcessFile(items[i]);
        if (result == kStop)
            break;
        if (result == kFileWritten)
            ++written;
    }
    PascalString note;
    if (written == 0)
        note = "No files created";
    else if (written == 1)
        note = PascalString("1 file (PC)") + PascalString(" was created Ok");
    else
        note = PascalString("%d files (PC) were created Ok", int(written));
    ShowNote(note, "Note");
    return true;
}

int CAuthorizer::ProcessFile(const FSRef& ref)
{
    // The output path is the input path and "(PC)" in a string of 254 characters: a path that
    // leaves no room for the suffix is refused, as a cut path would name another file (perhaps
    // the input itself).
    UInt8 pathBytes[256];
    PascalString path;
    if (FSRefMakePath(&ref, pathBytes, sizeof pathBytes) == noErr &&
        std::strlen(reinterpret_cast<char*>(pathBytes)) <= size_t(PascalString::kCapacity))
        path = reinterpret_cast<char*>(pathBytes);
    if (path.IsEmpty() || path.Length() + int(std::strlen(kFlatSuffix)) > PascalString::kCapacity) {
        mCurrentName = HostNameOfPath(ref.path).c_str();
        mCurrentName += kFlatSuffix;
        return ErrorFile("Error creating ");
    }
    mCurrentName = GetFileName(path);

    ForkReader reader;
    SInt64 forkSize = 0;
    if (reader.Open(ref) != noErr || FSGetForkSize(reader.RefNum(), &forkSize) != noErr || forkSize <= 0)
        return ErrorFile("Error opening ");
    // The fork is loaded whole and its length stored in 32 bits.
    if (uint64_t(forkSize) > UINT32_MAX)
        return ErrorFile("Not enough memory to load ");
    HookBlock fork(static_cast<unsigned char*>(MAlloc(size_t(forkSize))));
    if (fork == nullptr)
        return ErrorFile("Not enough memory to load ");
    ByteCount read = 0;
    if (FSReadFork(reader.RefNum(), fsFromStart, 0, ByteCount(forkSize), fork.get(), &read) != noErr ||
        read != ByteCount(forkSize))
        return ErrorFile("Error reading ");
    reader.Close();

    FillHeader(mCurrentName, uint32_t(forkSize));
    mCurrentName += kFlatSuffix;
    PascalString outPath = path;
    outPath += kFlatSuffix;
    switch (writeFlatFile(outPath.CStr(), fork.get(), size_t(forkSize))) {
    case WriteResult::kWritten:
        return kFileWritten;
    case WriteResult::kCannotCreate:
        return ErrorFile("Error creating ");
    case WriteResult::kCannotWrite:
        break;
    }
    return ErrorFile("Error writing ");
}

// Reports prefix followed by the current name.
int CAuthorizer::ErrorFile(const char* prefix)
{
    PascalString message;
    message = prefix;
    message += HostFileNameToMacRoman(mCurrentName.CStr()).c_str(); // shown as file names are
    return Error(message);
}

int CAuthorizer::Error(const PascalString& message)
{
    if (mLastFile) {
        ShowErr(message, "Error");
        return kStop;
    }
    return ShowQuestion(message, "Question") ? kGoOn : kStop;
}

} // namespace

bool InitScan()
{
    MAlloc = MAllocProc;
    MFree = MFreeProc;
    theAuthor.count = 0;
    return true;
}

void AddFile(const FSRef& ref)
{
    FSRef* slot = theAuthor.ElemNew();
    if (slot != nullptr)
        *slot = ref;
}

bool ExecScan(const PascalString& unused)
{
    return theAuthor.ExecScan(unused);
}

PascalString GetFileName(const PascalString& path)
{
    for (char separator : {'/', ':', '\\'}) {
        int last = path.CharLast(separator);
        if (last != 0)
            return path.SubStr(short(last + 1), -1);
    }
    return path;
}
