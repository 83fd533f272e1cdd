// One file-type filter of the file dialogs: a four-character type and its description.
#pragma once

#include "FWStr.h"

#include <cstdint>

class FWFileType {
public:
    FWFileType(uint32_t type, const FWString& description) : mType(type), mDescription(description) {}

    uint32_t FileType() const { return mType; }
    const FWStr<255>& Description() const { return mDescription; }

private:
    uint32_t mType;
    FWStr<255> mDescription;
};
