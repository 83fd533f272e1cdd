#include "FD_NameFileDialogPAC.h"

#include "FS_UtilPAC.h"
#include "HostCoreFoundation.h"
#include "HostFiles.h"
#include "HostNavDialogs.h"

#include <memory>

namespace Corvel {

namespace {

struct CFReleaser {
    void operator()(const void* object) const { CFRelease(object); }
};
using CFHolder = std::unique_ptr<const void, CFReleaser>;

struct StartContext {
    FSRef folder;
};

// Makes the initial folder the dialog's location when it starts.
void startAtFolder(NavEventCallbackMessage message, NavCBRecPtr params, void* userData)
{
    if (message != kNavCBStart)
        return;
    auto* context = static_cast<StartContext*>(userData);
    AEDesc location;
    if (AECreateDesc(typeFSRef, &context->folder, Size(sizeof context->folder), &location) != noErr)
        return;
    NavCustomControl(params->context, kNavCtlSetLocation, &location);
    AEDisposeDesc(&location);
}

} // namespace

bool FD_NameFileDialogPAC::AskUserForNewFile(const FWString& prompt, uint32_t fileType, FS_Locator& out)
{
    NavDialogCreationOptions options;
    if (NavGetDefaultDialogCreationOptions(&options) != noErr)
        return false;
    CFHolder message(HostCFStringCreateWithText(prompt.GetCString()));
    // The proposed name is a file name: shown as file names are, its bytes kept.
    CFHolder name(HostCFStringCreateWithFileName(mInitialName.GetCString()));
    options.message = static_cast<CFStringRef>(message.get());
    options.saveFileName = static_cast<CFStringRef>(name.get());

    StartContext context{};
    NavEventUPP eventUPP = nullptr;
    if (mInitialDirectory.NumNames() > 0 && FS_UtilPAC::LocatorToFSRef(mInitialDirectory, context.folder) == noErr) {
        eventUPP = NewNavEventUPP(startAtFolder);
        if (eventUPP == nullptr)
            return false;
    }
    NavDialogRef dialog = nullptr;
    const bool ran = NavCreatePutFileDialog(&options, fileType, kCreator, eventUPP, &context, &dialog) == noErr &&
                     NavDialogRun(dialog) == noErr;
    DisposeNavEventUPP(eventUPP);
    const NavUserAction action = ran ? NavDialogGetUserAction(dialog) : kNavUserActionNone;
    NavReplyRecord reply{};
    bool answer = false;
    if (action != kNavUserActionCancel && action != kNavUserActionNone && NavDialogGetReply(dialog, &reply) == noErr) {
        FSRef folder;
        AEKeyword keyword = 0;
        DescType type = 0;
        Size size = 0;
        FS_Locator chosen;
        // The reply is read and disposed of at once: the caller makes or replaces the file. Its
        // name is a proposed or listed file's own bytes when kept as shown, else what was typed.
        const std::string fileName = HostCFStringToFileName(reply.saveFileName);
        if (reply.validRecord && !fileName.empty() &&
            AEGetNthPtr(&reply.selection, 1, typeFSRef, &keyword, &type, &folder, Size(sizeof folder), &size) == noErr &&
            (folder.path[sizeof folder.path - 1] = 0, FS_UtilPAC::FSRefToLocator(folder, chosen) == 0)) {
            chosen.AppendName(fileName.c_str());
            chosen.SetFileType(fileType);
            out = chosen;
            answer = true;
        }
        NavDisposeReply(&reply);
    }
    NavDialogDispose(dialog);
    return answer;
}

} // namespace Corvel
