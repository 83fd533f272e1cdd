#include "TNib.h"

TNib::~TNib()
{
    Release();
}

OSStatus TNib::Create(CFStringRef name)
{
    Release();
    return CreateNibReference(name, &mNib);
}

void TNib::Release()
{
    if (mNib != nullptr)
        DisposeNibReference(mNib);
    mNib = nullptr;
}
