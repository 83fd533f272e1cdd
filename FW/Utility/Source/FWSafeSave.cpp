// Safe replacement of a file through a temporary file and renames.
#include "FWSafeSave.h"

#include "FWStreamException.h"
#include "FWTickCount.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kMaxFileName = 31;

bool renameFile(const FileReference& from, const FileReference& to)
{
    return std::rename(from.GetCString(), to.GetCString()) == 0;
}

} // namespace

FWSafeSave::FWSafeSave(FWPlatform::tByteOrder order, const FileReference& target, int32_t backups)
    : mTarget(target), mBackups(backups < 0 ? 0 : backups)
{
    MakeSafeFile(mTarget, mWritten);
    mWritingTemporary = std::strcmp(mWritten.GetCString(), mTarget.GetCString()) != 0;
    mStream = std::make_unique<FWFileStream>(FWStream::kWriteOnly, order, mWritten);
}

FWSafeSave::~FWSafeSave()
{
    if (mSucceeded)
        return;
    mStream.reset();
    if (mRemoveOnAbandon)
        std::remove(mWritten.GetCString());
}

void FWSafeSave::GetIthFileName(FileReference& out, int32_t i) const
{
    out = mTarget;
    if (i <= 0)
        return;
    char suffix[24];
    if (i == 1)
        std::snprintf(suffix, sizeof suffix, ".bak");
    else
        std::snprintf(suffix, sizeof suffix, ".bak %" PRId32, i);

    FWDynamicString name;
    mTarget.GetFileName(name);
    uint32_t suffixLength = uint32_t(std::strlen(suffix));
    uint32_t room = kMaxFileName - suffixLength;
    if (name.GetCurrLength() > room)
        name.SetCurrLength(room);
    name.Append(suffix);
    out.SetFileName(name);
}

void FWSafeSave::MakeSafeFile(const FileReference& target, FileReference& out)
{
    out = target;
    if (!target.Exists())
        return;
    // One counter for the whole process, so two saves never pick the same name.
    static uint32_t sNextName = FWTickCount();
    for (;;) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%" PRIu32, sNextName++);
        out.SetFileName(FWStr<31>(digits));
        if (!out.Exists())
            return;
    }
}

void FWSafeSave::SaveSucceeded()
{
    if (mSucceeded || !mStream)
        return;
    mStream->CloseFile();
    mStream.reset();
    if (mWritingTemporary)
        rotateAndReplace();
    mRemoveOnAbandon = false;
    mSucceeded = true;
}

void FWSafeSave::rotateAndReplace()
{
    FileReference older;
    FileReference newer;

    // Every move is recorded so that a failure can put all files back: the old file stays
    // whole under its name, and its backups under theirs.
    std::vector<std::pair<FileReference, FileReference>> moved;
    auto moveFile = [&moved](const FileReference& from, const FileReference& to) {
        if (!renameFile(from, to)) {
            for (auto it = moved.rbegin(); it != moved.rend(); ++it)
                renameFile(it->second, it->first);
            throw FWWriteFailedException();
        }
        moved.emplace_back(from, to);
    };

    // The oldest kept backup is about to be overwritten: park it until the save is done.
    FileReference parked;
    bool isParked = false;
    if (mBackups > 0) {
        GetIthFileName(older, mBackups);
        if (older.Exists()) {
            MakeSafeFile(mTarget, parked);
            moveFile(older, parked);
            isParked = true;
        }
    }

    // Each file moves up one place, the target becoming backup 1. The target is never
    // removed: the final rename replaces it in one step.
    for (int32_t i = mBackups; i >= 1; --i) {
        GetIthFileName(newer, i - 1);
        if (!newer.Exists())
            continue;
        GetIthFileName(older, i);
        moveFile(newer, older);
    }
    moveFile(mWritten, mTarget);

    // Only now are the dropped backups removed: the parked one, then those beyond the number
    // kept, up to the first gap.
    if (isParked)
        std::remove(parked.GetCString());
    for (int32_t i = mBackups + 1; i < INT32_MAX; ++i) {
        GetIthFileName(older, i);
        if (!older.Exists())
            break;
        std::remove(older.GetCString());
    }
}
