#include "CNavOpenDialog.h"

#include <cstring>

namespace {

const char kSuffix[] = ".rsc";

} // namespace

CNavOpenDialog::CNavOpenDialog()
{
    mEventProc = NewNavEventUPP(EventProc);
    mFilterProc = NewNavObjectFilterUPP(FilterProc);
}

CNavOpenDialog::~CNavOpenDialog()
{
    if (mDialog != nullptr)
        NavDialogDispose(mDialog);
    if (mMessage != nullptr)
        CFRelease(mMessage);
    DisposeNavEventUPP(mEventProc);
    DisposeNavObjectFilterUPP(mFilterProc);
}

OSStatus CNavOpenDialog::Init(const char* message, const unsigned char* startFolder)
{
    mStartFolder = startFolder;
    OSStatus err = NavGetDefaultDialogCreationOptions(&mOptions);
    if (err != noErr)
        return err;
    // No type pop-up, packages shown as files, one file at a time.
    mOptions.optionFlags = kNavNoTypePopup | kNavSupportPackages;
    if (mMessage != nullptr)
        CFRelease(mMessage);
    mMessage = CFStringCreateWithCString(kCFAllocatorDefault, message, kCFStringEncodingASCII);
    mOptions.message = mMessage;
    mOptions.modality = kWindowModalityAppModal;
    return NavCreateGetFileDialog(&mOptions, nullptr, mEventProc, mPreviewProc, mFilterProc, this, &mDialog);
}

void CNavOpenDialog::SetOpenCallback(OpenCallback callback, void* context)
{
    mOpenCallback = callback;
    mOpenContext = context;
}

OSStatus CNavOpenDialog::Run()
{
    if (mDialog == nullptr)
        return paramErr;
    return NavDialogRun(mDialog);
}

void CNavOpenDialog::EventProc(NavEventCallbackMessage message, NavCBRecPtr params, void* callBackUD)
{
    auto* self = static_cast<CNavOpenDialog*>(callBackUD);
    if (self == nullptr || params == nullptr)
        return;
    switch (message) {
    case kNavCBStart:
        self->SetStartLocation(params->context);
        break;
    case kNavCBTerminate:
        NavDialogDispose(params->context);
        if (self->mDialog == params->context)
            self->mDialog = nullptr;
        break;
    case kNavCBPopupMenuSelect:
        if (params->eventData != nullptr)
            self->mLastPopupSelection = static_cast<const NavMenuItemSpec*>(params->eventData)->menuType;
        break;
    case kNavCBUserAction:
        self->UserAction(params->context);
        break;
    default:
        break;
    }
}

void CNavOpenDialog::SetStartLocation(NavDialogRef context)
{
    if (mStartFolder == nullptr || mStartFolder[0] == 0)
        return;
    FSRef folder;
    if (FSPathMakeRef(mStartFolder + 1, &folder, nullptr) != noErr)
        return;
    AEDesc location;
    if (AECreateDesc(typeFSRef, &folder, Size(sizeof folder), &location) != noErr)
        return;
    NavCustomControl(context, kNavCtlSetLocation, &location);
    AEDisposeDesc(&location);
}

void CNavOpenDialog::UserAction(NavDialogRef context)
{
    if (mOpenCallback == nullptr || NavDialogGetUserAction(context) != kNavUserActionOpen)
        return;
    NavReplyRecord reply;
    if (NavDialogGetReply(context, &reply) != noErr)
        return;
    mOpenCallback(reply, mOpenContext);
    NavDisposeReply(&reply);
}

Boolean CNavOpenDialog::FilterProc(AEDesc* theItem, void* info, void*, NavFilterModes)
{
    const auto* item = static_cast<const NavFileOrFolderInfo*>(info);
    if (item != nullptr && item->isFolder)
        return true;
    if (theItem == nullptr || theItem->descriptorType != typeFSRef || AEGetDescDataSize(theItem) != Size(sizeof(FSRef)))
        return false;
    FSRef ref;
    if (AEGetDescData(theItem, &ref, Size(sizeof ref)) != noErr)
        return false;
    ref.path[sizeof ref.path - 1] = 0;
    UInt8 path[256];
    if (FSRefMakePath(&ref, path, sizeof path) != noErr)
        return false;
    size_t length = std::strlen(reinterpret_cast<char*>(path));
    size_t suffix = sizeof kSuffix - 1;
    return length > suffix && std::memcmp(path + length - suffix, kSuffix, suffix) == 0;
}
