#include "AEUtils.h"

#include <cstring>

namespace {

AEOpenAppProc sOpenApp = nullptr;
AEOpenDocsProc sOpenDocs = nullptr;
AEPrintDocsProc sPrintDocs = nullptr;
AEQuitProc sQuit = nullptr;
AEAppDiedProc sAppDied = nullptr;

OSErr handleWithoutParameters(const AppleEvent* event, AEOpenAppProc callback)
{
    OSErr err = AE_CheckForRequiredParams(event);
    if (err != noErr)
        return err;
    return callback != nullptr ? callback() : OSErr(noErr);
}

// Walks the files of the direct parameter, calling back for each until the first error.
OSErr handleDocuments(const AppleEvent* event, AEOpenDocsProc callback)
{
    AEDescList files;
    OSErr err = AEGetParamDesc(event, keyDirectObject, typeAEList, &files);
    if (err != noErr)
        return err;
    err = AE_CheckForRequiredParams(event);
    int32_t count = 0;
    if (err == noErr)
        err = AECountItems(&files, &count);
    for (int32_t i = 1; i <= count && err == noErr; ++i) {
        FSSpec file;
        std::memset(&file, 0, sizeof file);
        AEKeyword keyword;
        DescType type;
        Size actual;
        err = AEGetNthPtr(&files, i, typeFSS, &keyword, &type, &file, Size(sizeof file), &actual);
        if (err == noErr && callback != nullptr)
            err = callback(file, i - 1, count);
    }
    AEDisposeDesc(&files);
    return err;
}

} // namespace

OSErr AE_InitAEUtils(AEOpenAppProc openApp, AEOpenDocsProc openDocs, AEPrintDocsProc printDocs,
                     AEQuitProc quit, AEAppDiedProc appDied)
{
    OSErr err = AE_InstallHandler(kCoreEventClass, kAEOpenApplication, AE_HandleOpenApplication, nullptr);
    if (err != noErr)
        return err;
    sOpenApp = openApp;
    err = AE_InstallHandler(kCoreEventClass, kAEOpenDocuments, AE_HandleOpenDocuments, nullptr);
    if (err != noErr)
        return err;
    sOpenDocs = openDocs;
    err = AE_InstallHandler(kCoreEventClass, kAEPrintDocuments, AE_HandlePrintDocuments, nullptr);
    if (err != noErr)
        return err;
    sPrintDocs = printDocs;
    err = AE_InstallHandler(kCoreEventClass, kAEQuitApplication, AE_HandleQuitApplication, nullptr);
    if (err != noErr)
        return err;
    sQuit = quit;
    err = AE_InstallHandler(kCoreEventClass, kAEApplicationDied, AE_HandleApplicationDied, nullptr);
    if (err != noErr)
        return err;
    sAppDied = appDied;
    return noErr;
}

OSErr AE_InstallHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                        SRefCon refCon)
{
    return AEInstallEventHandler(eventClass, eventID, handler, refCon, false);
}

OSErr AE_CheckForRequiredParams(const AppleEvent* event)
{
    AEKeyword missed;
    DescType type;
    Size actual;
    OSErr err = AEGetAttributePtr(event, keyMissedKeywordAttr, typeWildCard, &type, &missed,
                                  Size(sizeof missed), &actual);
    if (err == errAEDescNotFound)
        return noErr;
    if (err == noErr)
        return errAEParamMissed;
    return err;
}

OSErr AE_HandleOpenApplication(const AppleEvent* event, AppleEvent*, SRefCon)
{
    return handleWithoutParameters(event, sOpenApp);
}

OSErr AE_HandleOpenDocuments(const AppleEvent* event, AppleEvent*, SRefCon)
{
    return handleDocuments(event, sOpenDocs);
}

OSErr AE_HandlePrintDocuments(const AppleEvent* event, AppleEvent*, SRefCon)
{
    return handleDocuments(event, sPrintDocs);
}

OSErr AE_HandleQuitApplication(const AppleEvent* event, AppleEvent*, SRefCon)
{
    return handleWithoutParameters(event, sQuit);
}

OSErr AE_HandleApplicationDied(const AppleEvent* event, AppleEvent*, SRefCon)
{
    int32_t errorNumber = 0;
    ProcessSerialNumber process = {0, 0};
    DescType type;
    Size actual;
    OSErr err = AEGetParamPtr(event, keyErrorNumber, typeSInt32, &type, &errorNumber,
                              Size(sizeof errorNumber), &actual);
    if (err != noErr)
        return err;
    err = AEGetParamPtr(event, keyProcessSerialNumber, typeProcessSerialNumber, &type, &process,
                        Size(sizeof process), &actual);
    if (err != noErr)
        return err;
    err = AE_CheckForRequiredParams(event);
    if (err != noErr)
        return err;
    return sAppDied != nullptr ? sAppDied(errorNumber, process) : OSErr(noErr);
}
