// A file named by its full POSIX path, with the separator between its names. The path is the
// string itself; the separator is '/' for a reference built from a path.
#pragma once

#include "FWDynamicString.h"

class FileReference : public FWDynamicString {
public:
    // A null path gives an empty reference.
    FileReference(const char* path = nullptr);
    FileReference(const FileReference& other);
    FileReference& operator=(const FileReference& other);

    const FWString& PathName() const { return *this; }
    char DirectorySeperator() const { return mSeparator; }

    // Replaces the path; null leaves it unchanged.
    void SetPath(const char* path);
    // Appends part with exactly one separator between the two. On an empty path the part
    // becomes the path.
    void AppendPath(const char* part);
    // Erases the last separator and everything after it; a path without one becomes empty.
    void RemoveLastName();
    // The text after the last separator; empty when there is none.
    void GetFileName(FWString& out) const;
    // Replaces the last name by name (the whole path when there is no separator).
    void SetFileName(const FWString& name);

    // The path is not empty and names something that exists.
    bool Exists() const;

    bool operator==(const FileReference& other) const { return FWString::operator==(other); }
    bool operator!=(const FileReference& other) const { return !(*this == other); }

private:
    // Index of the last separator, or -1.
    int64_t lastSeparator() const;

    char mSeparator = '/';
};
