#include "FWClipboard.h"

FWClipboard* FWClipboard::mInstance = nullptr;

namespace {
FWClipboardDestructor gClipboardDestructor;
}

FWClipboardDestructor::~FWClipboardDestructor()
{
    FWClipboard::Destroy();
}

void FWClipboard::Destroy()
{
    delete mInstance;
    mInstance = nullptr;
}

FWClipboard* FWClipboard::Instance()
{
    if (mInstance == nullptr) {
        mInstance = new FWClipboard;
        mInstance->InitClipboard();
    }
    return mInstance;
}

FWClipboard::FWClipboard() = default;

FWClipboard::~FWClipboard()
{
    ClearClipboard();
}

void FWClipboard::AddClipData(FWClipboardData* data)
{
    if (data == nullptr)
        return;
    for (FWClipboardData*& item : mItems) {
        if (typeid(*item) == typeid(*data)) {
            delete item;
            item = data;
            return;
        }
    }
    mItems.push_back(data);
}

FWClipboardData* FWClipboard::GetClipData(const std::type_info* type) const
{
    if (type == nullptr)
        return nullptr;
    for (FWClipboardData* item : mItems) {
        if (typeid(*item) == *type)
            return item;
    }
    return nullptr;
}

void FWClipboard::ClearClipboard()
{
    for (FWClipboardData* item : mItems)
        delete item;
    mItems.clear();
}

void FWClipboard::InitClipboard()
{
    mUnused = 0;
    ImportPlatformClipboard();
}
