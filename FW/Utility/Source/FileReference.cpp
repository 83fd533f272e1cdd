// Path arithmetic on a file's full path.
#include "FileReference.h"

#include <sys/stat.h>

FileReference::FileReference(const char* path) : FWDynamicString(path)
{
}

FileReference::FileReference(const FileReference& other) : FWDynamicString(other), mSeparator(other.mSeparator)
{
}

FileReference& FileReference::operator=(const FileReference& other)
{
    if (this != &other) {
        FWDynamicString::operator=(other);
        mSeparator = other.mSeparator;
    }
    return *this;
}

void FileReference::SetPath(const char* path)
{
    Set(path);
}

void FileReference::AppendPath(const char* part)
{
    if (part == nullptr)
        return;
    if (mLength == 0) {
        Set(part);
        return;
    }
    bool pathEnds = mData[mLength - 1] == mSeparator;
    bool partBegins = part[0] == mSeparator;
    if (pathEnds && partBegins)
        ++part;
    else if (!pathEnds && !partBegins)
        *this += mSeparator;
    Append(part);
}

int64_t FileReference::lastSeparator() const
{
    for (int64_t i = int64_t(mLength) - 1; i >= 0; --i)
        if (mData[i] == mSeparator)
            return i;
    return -1;
}

void FileReference::RemoveLastName()
{
    int64_t at = lastSeparator();
    SetCurrLength(at < 0 ? 0 : uint32_t(at));
}

void FileReference::GetFileName(FWString& out) const
{
    int64_t at = lastSeparator();
    if (at < 0) {
        out.Set(uint32_t(0), "");
        return;
    }
    out.Set(uint32_t(mLength - uint32_t(at) - 1), mData + at + 1);
}

void FileReference::SetFileName(const FWString& name)
{
    int64_t at = lastSeparator();
    if (at < 0) {
        FWString::operator=(name);
        return;
    }
    // name may be this reference's own text: take a copy before cutting the path. The
    // separator is kept, so a file in the root folder stays there.
    FWDynamicString copy(name);
    SetCurrLength(uint32_t(at) + 1);
    AppendPath(copy.GetCString());
}

bool FileReference::Exists() const
{
    struct stat info;
    return mLength > 0 && stat(mData, &info) == 0;
}
