// The converter's open dialog: application-modal, one file at a time, only folders and ".rsc"
// files shown, starting in a given folder. The files chosen go to the open callback.
#pragma once

#include "HostNavDialogs.h"

class CNavOpenDialog {
public:
    // Receives the reply of an open; the result is not used.
    using OpenCallback = int32_t (*)(NavReplyRecord& reply, void* context);

    CNavOpenDialog();
    ~CNavOpenDialog();
    CNavOpenDialog(const CNavOpenDialog&) = delete;
    CNavOpenDialog& operator=(const CNavOpenDialog&) = delete;

    // Makes the dialog with the message (ASCII) and the starting folder, a length-prefixed,
    // zero-terminated path that must outlive the dialog (empty: the default location).
    OSStatus Init(const char* message, const unsigned char* startFolder);
    void SetOpenCallback(OpenCallback callback, void* context);
    // Runs the dialog modally; paramErr when it was not made.
    OSStatus Run();

private:
    static void EventProc(NavEventCallbackMessage message, NavCBRecPtr params, void* callBackUD);
    static Boolean FilterProc(AEDesc* theItem, void* info, void* callBackUD, NavFilterModes filterMode);
    void SetStartLocation(NavDialogRef context);
    void UserAction(NavDialogRef context);

    NavDialogRef mDialog = nullptr;
    NavDialogCreationOptions mOptions{};
    NavEventUPP mEventProc = nullptr;
    NavPreviewUPP mPreviewProc = nullptr;
    NavObjectFilterUPP mFilterProc = nullptr;
    OSType mLastPopupSelection = 0;
    CFStringRef mMessage = nullptr;
    void* mOpenContext = nullptr;
    OpenCallback mOpenCallback = nullptr;
    const unsigned char* mStartFolder = nullptr;
};
