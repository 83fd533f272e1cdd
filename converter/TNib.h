// An interface description opened by name, released when the object goes.
#pragma once

#include "HostNibs.h"

class TNib {
public:
    TNib() = default;
    ~TNib();
    TNib(const TNib&) = delete;
    TNib& operator=(const TNib&) = delete;

    // Opens the nib of that name in place of any open one.
    OSStatus Create(CFStringRef name);
    void Release();
    IBNibRef Get() const { return mNib; }

private:
    IBNibRef mNib = nullptr;
};
