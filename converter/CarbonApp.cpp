#include "CarbonApp.h"

#include "AppPreferences.h"
#include "CNavOpenDialog.h"
#include "ForkScan.h"

#include <cstring>

namespace {

const char* const kFolderKey = "PATH";

} // namespace

CarbonApp::CarbonApp() : TApplication(CFSTR("MenuBar"), CFSTR("main"))
{
}

bool CarbonApp::HandleCommand(const HICommandExtended& command)
{
    switch (command.commandID) {
    case kHICommandOpen:
        OpenFile();
        return true;
    case kHICommandNew:
        return true;
    default:
        return false;
    }
}

void CarbonApp::OpenFile()
{
    Str255 folder;
    LoadPref(folder, kFolderKey);
    InitScan();
    {
        CNavOpenDialog dialog;
        dialog.Init("Select rsc file(s)", folder);
        dialog.SetOpenCallback(AcceptReply, this);
        dialog.Run();
    }
    ExecScan(PascalString());
}

int32_t CarbonApp::AcceptReply(NavReplyRecord& reply, void*)
{
    int32_t count = 0;
    if (AECountItems(&reply.selection, &count) != noErr)
        return 0;
    for (int32_t i = 1; i <= count; ++i) {
        FSRef ref;
        if (AEGetNthPtr(&reply.selection, i, typeFSRef, nullptr, nullptr, &ref, Size(sizeof ref), nullptr) != noErr)
            break;
        ref.path[sizeof ref.path - 1] = 0;
        UInt8 path[256];
        if (FSRefMakePath(&ref, path, sizeof path) != noErr)
            path[0] = 0;
        AddFile(ref);
        if (i != 1)
            continue;
        // The folder of the first file is where the next run starts.
        char* slash = std::strrchr(reinterpret_cast<char*>(path), '/');
        if (slash != nullptr)
            *slash = 0;
        SavePref(reinterpret_cast<char*>(path), kFolderKey);
    }
    return 0;
}
