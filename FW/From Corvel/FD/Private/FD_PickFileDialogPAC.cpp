#include "FD_PickFileDialogPAC.h"

#include "FS_UtilPAC.h"
#include "HostFiles.h"
#include "HostNavDialogs.h"

#include <algorithm>
#include <cstring>

namespace Corvel {

bool FD_PickFileDialogPAC::AskUserForFile(const FWString& prompt, FS_Locator& out)
{
    std::vector<FS_Locator> chosen;
    if (!DoAskForFiles(prompt, false, chosen) || chosen.empty())
        return false;
    out = chosen.front();
    return true;
}

bool FD_PickFileDialogPAC::ShowsFile(const FS_Locator& file) const
{
    if (mTypes.Size() == 0)
        return true;
    try {
        if (FS_UtilPAC::DirectoryExists(file))
            return true;
        const int index = mCurrentTypeList >= 0 && mCurrentTypeList < mTypes.Size() ? mCurrentTypeList : 0;
        const FD_MultiTypesList::Types& list = mTypes[index];
        uint32_t extensionType = 0;
        const uint32_t type = FS_UtilPAC::DeduceFileType(file, &extensionType);
        return list.Holds(type) || list.Holds(kFD_AnyType) || (extensionType != 0 && list.Holds(extensionType));
    } catch (...) {
        // A filter that fails shows the item rather than hiding it.
        return true;
    }
}

namespace {

// Releases a core-foundation object when the run ends.
struct CFReleaser {
    void operator()(const void* object) const { CFRelease(object); }
};
using CFHolder = std::unique_ptr<const void, CFReleaser>;

// Prompts, button titles and type names are system text, though a prompt may carry a UTF-8
// file name.
CFStringRef systemText(const FWString& text)
{
    return HostCFStringCreateWithText(text.GetCString());
}

bool fsRefOf(const AEDesc& desc, FSRef& ref)
{
    AEDesc coerced;
    if (AECoerceDesc(&desc, typeFSRef, &coerced) != noErr)
        return false;
    const bool ok = AEGetDescData(&coerced, &ref, Size(sizeof ref)) == noErr;
    AEDisposeDesc(&coerced);
    ref.path[sizeof ref.path - 1] = 0;
    return ok;
}

} // namespace

void FD_PickFileDialogPAC::eventCallback(NavEventCallbackMessage message, NavCBRecPtr params, void* userData)
{
    auto* self = static_cast<FD_PickFileDialogPAC*>(userData);
    switch (message) {
    case kNavCBStart: {
        FSRef folder;
        if (self->mInitialDirectory.NumNames() > 0 && FS_UtilPAC::LocatorToFSRef(self->mInitialDirectory, folder) == noErr) {
            AEDesc location;
            if (AECreateDesc(typeFSRef, &folder, Size(sizeof folder), &location) == noErr) {
                NavCustomControl(params->context, kNavCtlSetLocation, &location);
                AEDisposeDesc(&location);
            }
        }
        if (self->mTypes.Size() > 0) {
            NavMenuItemSpec item{};
            item.version = 0;
            item.menuCreator = kNavMenuItemSpecCreatorExtension;
            item.menuType = 0;
            const FWDynamicString& name = self->mTypes[self->mCurrentTypeList].mName;
            const uint32_t length = std::min<uint32_t>(name.GetCurrLength(), 255);
            item.menuItemName[0] = uint8_t(length);
            std::memcpy(item.menuItemName + 1, name.GetCString(), length);
            NavCustomControl(params->context, kNavCtlSelectCustomType, &item);
        }
        return;
    }
    case kNavCBPopupMenuSelect: {
        const auto* item = static_cast<const NavMenuItemSpec*>(params->eventData);
        if (item != nullptr && item->version == 0 && item->menuCreator == kNavMenuItemSpecCreatorExtension)
            self->mCurrentTypeList = int(item->menuType);
        return;
    }
    default:
        return;
    }
}

Boolean FD_PickFileDialogPAC::objectFilter(AEDesc* item, void* info, void* userData, NavFilterModes)
{
    const auto* self = static_cast<const FD_PickFileDialogPAC*>(userData);
    if (item == nullptr || item->descriptorType != typeFSRef || self->mTypes.Size() == 0)
        return true;
    const auto* itemInfo = static_cast<const NavFileOrFolderInfo*>(info);
    if (itemInfo != nullptr && itemInfo->isFolder)
        return true;
    FSRef ref;
    if (!fsRefOf(*item, ref))
        return false;
    FS_Locator file;
    if (FS_UtilPAC::FSRefToLocator(ref, file) != 0)
        return true;
    return self->ShowsFile(file);
}

bool FD_PickFileDialogPAC::DoAskForFiles(const FWString& prompt, bool allowMultiple, std::vector<FS_Locator>& out)
{
    NavDialogCreationOptions options;
    if (NavGetDefaultDialogCreationOptions(&options) != noErr)
        return false;
    options.optionFlags |= kNavSupportPackages;
    if (allowMultiple)
        options.optionFlags |= kNavAllowMultipleFiles;
    else
        options.optionFlags &= ~NavDialogOptionFlags(kNavAllowMultipleFiles);
    if (mTypes.Size() == 0)
        options.optionFlags |= kNavNoTypePopup;
    else
        options.optionFlags &= ~NavDialogOptionFlags(kNavNoTypePopup);

    CFHolder message(systemText(prompt));
    CFHolder okTitle(mOKTitle.GetCurrLength() > 0 ? systemText(mOKTitle) : nullptr);
    CFHolder cancelTitle(mCancelTitle.GetCurrLength() > 0 ? systemText(mCancelTitle) : nullptr);
    options.message = static_cast<CFStringRef>(message.get());
    options.actionButtonLabel = static_cast<CFStringRef>(okTitle.get());
    options.cancelButtonLabel = static_cast<CFStringRef>(cancelTitle.get());

    std::vector<CFHolder> names;
    std::vector<const void*> values;
    for (auto it = mTypes.Begin(); it != mTypes.End(); ++it) {
        names.emplace_back(systemText(it->mName));
        values.push_back(names.back().get());
    }
    CFHolder popup(values.empty() ? nullptr
                                  : CFArrayCreate(kCFAllocatorDefault, values.data(), CFIndex(values.size()),
                                                  &kCFTypeArrayCallBacks));
    options.popupExtension = static_cast<CFArrayRef>(popup.get());
    if (mCurrentTypeList < 0 || mCurrentTypeList >= mTypes.Size())
        mCurrentTypeList = 0;

    NavEventUPP eventUPP = NewNavEventUPP(eventCallback);
    NavObjectFilterUPP filterUPP = NewNavObjectFilterUPP(objectFilter);
    if (eventUPP == nullptr || filterUPP == nullptr) {
        DisposeNavEventUPP(eventUPP);
        DisposeNavObjectFilterUPP(filterUPP);
        return false;
    }
    NavDialogRef dialog = nullptr;
    bool answer = false;
    if (NavCreateGetFileDialog(&options, nullptr, eventUPP, nullptr, filterUPP, this, &dialog) == noErr &&
        NavDialogRun(dialog) == noErr) {
        const NavUserAction action = NavDialogGetUserAction(dialog);
        NavReplyRecord reply;
        if (action != kNavUserActionCancel && action != kNavUserActionNone &&
            NavDialogGetReply(dialog, &reply) == noErr) {
            if (reply.validRecord)
                answer = selectionToLocators(reply.selection, out) == 0;
            NavDisposeReply(&reply);
        }
    }
    NavDialogDispose(dialog);
    DisposeNavEventUPP(eventUPP);
    DisposeNavObjectFilterUPP(filterUPP);
    return answer;
}

int FD_PickFileDialogPAC::selectionToLocators(const AEDescList& selection, std::vector<FS_Locator>& out)
{
    try {
        int32_t count = 0;
        OSErr err = AECountItems(&selection, &count);
        if (err != noErr)
            return err;
        for (int32_t index = 1; index <= count; ++index) {
            FSRef ref;
            AEKeyword keyword = 0;
            DescType type = 0;
            Size size = 0;
            err = AEGetNthPtr(&selection, index, typeFSRef, &keyword, &type, &ref, Size(sizeof ref), &size);
            if (err != noErr)
                return err;
            ref.path[sizeof ref.path - 1] = 0;
            FS_Locator locator;
            const int code = FS_UtilPAC::FSRefToLocator(ref, locator);
            if (code != 0)
                return code;
            locator.SetFileType(FS_UtilPAC::DeduceFileType(locator, nullptr));
            if (!FS_UtilPAC::DirectoryExists(locator))
                out.push_back(locator);
        }
        return 0;
    } catch (...) {
        return memFullErr;
    }
}

} // namespace Corvel
