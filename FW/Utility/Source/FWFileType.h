// One file-type filter of the file dialogs: a four-character type and its description.
#pragma once

#include "FWStr.h"

#include <cstdint>

class FileReference;

class FWFileType {
public:
    FWFileType(uint32_t type, const FWString& description) : mType(type), mDescription(description) {}

    uint32_t FileType() const { return mType; }
    const FWStr<255>& Description() const { return mDescription; }

    // Sets the type and creator of an existing file; nothing happens when the file cannot be
    // named or its information cannot be read.
    static void SetFileType(const FileReference& file, unsigned long type, unsigned long creator);

private:
    uint32_t mType;
    FWStr<255> mDescription;
};
