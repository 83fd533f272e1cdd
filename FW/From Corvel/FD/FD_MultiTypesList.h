// Named lists of file types for the type pop-up of the pick-file dialog: each list has the name
// the pop-up shows and the four-character types it admits ('****' admits every type).
#pragma once

#include "FWDynamicString.h"

#include <cstdint>
#include <vector>

namespace Corvel {

class FD_MultiTypesList {
public:
    struct Types {
        FWDynamicString mName;
        std::vector<uint32_t> mTypes;

        bool Holds(uint32_t type) const;
    };

    // Appends a list named name holding the first count codes of types, in order.
    void AppendTypes(const char* name, const unsigned long* types, int count);
    void AppendTypes(const char* name, const uint32_t* types, int count);

    int Size() const { return int(mLists.size()); }
    const Types& operator[](int index) const { return mLists[size_t(index)]; }
    std::vector<Types>::const_iterator Begin() const { return mLists.begin(); }
    std::vector<Types>::const_iterator End() const { return mLists.end(); }

private:
    std::vector<Types> mLists;
};

// The code that admits every type.
constexpr uint32_t kFD_AnyType = 0x2A2A2A2A; // '****'

} // namespace Corvel
