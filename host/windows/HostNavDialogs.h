// The open-file dialog: a modal window the host draws and runs on the virtual screen, for any
// program that asks the user for existing files.
//
// What it shows, top to bottom: the caller's message; on the left the folder list (the current
// folder and every folder above it, to walk up the tree); on the right the item list (the
// current folder's folders and files, sorted by name, names starting with '.' left out, each
// item offered to the caller's filter: folders are entered, files chosen); below, a type pop-up
// when the caller gives type names, and the Cancel and Open buttons. One file is chosen at a
// time unless the caller allows multiple files (shift-click and command-click extend the
// selection then).
//
// The keyboard: up and down arrows move the selection, Page Up and Page Down by a list's height,
// Home and End to the first and last item; typing selects the first item whose name starts with
// the letters typed (in any case) within a second of each other; command-up goes to the folder
// above, Return or Enter opens (enters a folder, chooses files), Escape or command-period cancels.
// The mouse: a click selects, a double click opens, a click in the folder list goes there. The
// wheel (kHostMouseWheelMessage, HostEvents.h) scrolls the item list three rows a notch; on its
// scroll bar the thumb drags and a click on the track moves a page toward the click.
//
// How a caller runs it:
//   1. NavGetDefaultDialogCreationOptions, then set optionFlags (kNavAllowMultipleFiles,
//      kNavNoTypePopup, ...), message, popupExtension (a list of type names) and modality.
//   2. NavCreateGetFileDialog with an event callback, an object filter and a context.
//   3. NavDialogRun runs the dialog's own modal loop. The event callback hears, in order:
//      kNavCBStart (the caller may set the starting folder with NavCustomControl
//      kNavCtlSetLocation and an 'fsrf' descriptor, and select a type with
//      kNavCtlSelectCustomType), kNavCBPopupMenuSelect whenever the user picks a type,
//      kNavCBUserAction when the user opened files or cancelled (NavDialogGetUserAction tells
//      which; NavDialogGetReply gives the chosen files as 'fsrf' descriptors in the reply's
//      selection list), and kNavCBTerminate last.
//   4. NavDialogDispose (also allowed from within kNavCBTerminate).
// The object filter is called with each item of the folder shown, as an 'fsrf' descriptor and a
// NavFileOrFolderInfo telling whether it is a folder; false hides the item.
//
// Headless runs (FW_HOST_BACKEND=headless) answer without a user. Tests preset the answer of
// the next dialogs (HostNavPresetAnswer), or a program's environment presets the answer of
// every dialog it runs: FW_HOST_NAV_ANSWER is "cancel", or one or more absolute paths separated
// by newlines (the chosen files). The dialog is still built and started as for a user, and what
// it showed is recorded (HostNavLastShown, and the host log of HostModalLoop.h). With no answer
// preset and no input injected, a headless dialog is cancelled rather than waiting forever.
#pragma once

#include "HostAppleEvents.h"
#include "HostCoreFoundation.h"
#include "HostCommands.h"

#include <string>
#include <vector>

struct HostNavDialog;
using NavDialogRef = HostNavDialog*;
using NavEventCallbackMessage = int32_t;
using NavUserAction = uint32_t;
using NavDialogOptionFlags = uint32_t;
using NavFilterModes = int16_t;
using NavCustomControlMessage = int32_t;
using WindowModality = uint32_t;


enum : NavDialogOptionFlags {
    kNavDefaultNavDlogOptions = 0x000000E4,
    kNavNoTypePopup = 0x00000001,
    kNavDontAutoTranslate = 0x00000002,
    kNavDontAddTranslateItems = 0x00000004,
    kNavAllowPreviews = 0x00000010,
    kNavAllowMultipleFiles = 0x00000080,
    kNavAllowInvisibleFiles = 0x00000100,
    kNavSupportPackages = 0x00001000,
};

enum : WindowModality {
    kWindowModalityNone = 0,
    kWindowModalitySystemModal = 1,
    kWindowModalityAppModal = 2,
    kWindowModalityWindowModal = 3,
};

// Messages of the event callback.
enum : NavEventCallbackMessage {
    kNavCBEvent = 0,
    kNavCBCustomize = 1,
    kNavCBStart = 2,
    kNavCBTerminate = 3,
    kNavCBAdjustRect = 4,
    kNavCBNewLocation = 5,
    kNavCBShowDesktop = 6,
    kNavCBSelectEntry = 7,
    kNavCBPopupMenuSelect = 8,
    kNavCBAccept = 9,
    kNavCBCancel = 10,
    kNavCBAdjustPreview = 11,
    kNavCBUserAction = 12,
};

enum : NavUserAction {
    kNavUserActionNone = 0,
    kNavUserActionCancel = 1,
    kNavUserActionOpen = 2,
    kNavUserActionSaveAs = 3,
};

// Selectors of NavCustomControl.
enum : NavCustomControlMessage {
    kNavCtlSetLocation = 8,        // parms: an AEDesc* of type 'fsrf' naming a folder
    kNavCtlGetLocation = 9,        // parms: an AEDesc* receiving the current folder as 'fsrf'
    kNavCtlSelectCustomType = 27,  // parms: a NavMenuItemSpec* naming a type of the pop-up: by
                                   // its name when the name is not empty, else by menuType
};

enum : OSStatus {
    kNavInvalidSystemConfigErr = -5696,
    kNavCustomControlMessageFailedErr = -5697,
    kNavInvalidCustomControlMessageErr = -5698,
};

enum : NavFilterModes {
    kNavFilteringBrowserList = 0,
};

struct NavDialogCreationOptions {
    uint16_t version;
    NavDialogOptionFlags optionFlags;
    Point location;             // -1, -1: centred on the screen
    CFStringRef clientName;
    CFStringRef windowTitle;
    CFStringRef actionButtonLabel; // null: "Open"
    CFStringRef cancelButtonLabel; // null: "Cancel"
    CFStringRef saveFileName;
    CFStringRef message;        // shown above the lists; null shows none
    uint32_t preferenceKey;
    CFArrayRef popupExtension;  // names of the types offered in the pop-up; null: none
    WindowModality modality;
    WindowRef parentWindow;
};

// An item of the type pop-up: menuType is the index of the type in popupExtension when
// menuCreator is 'extn'.
struct NavMenuItemSpec {
    uint16_t version;
    OSType menuCreator;
    OSType menuType;
    Str255 menuItemName;
};
constexpr OSType kNavMenuItemSpecCreatorExtension = FOUR_CHAR_CODE("extn");

struct NavReplyRecord {
    uint16_t version;
    Boolean validRecord;
    Boolean replacing;
    Boolean isStationery;
    Boolean translationNeeded;
    AEDescList selection; // the chosen files, each an 'fsrf' descriptor
    int16_t keyScript;
    CFStringRef saveFileName;
};

struct NavCBRec {
    uint16_t version;
    NavDialogRef context;
    WindowRef window;
    Rect customRect;
    Rect previewRect;
    const void* eventData; // kNavCBPopupMenuSelect: the NavMenuItemSpec chosen
    NavUserAction userAction;
};
using NavCBRecPtr = NavCBRec*;

struct NavFileOrFolderInfo {
    uint16_t version;
    Boolean isFolder;
    Boolean visible;
};

using NavEventProcPtr = void (*)(NavEventCallbackMessage message, NavCBRecPtr params, void* callBackUD);
using NavEventUPP = NavEventProcPtr;
using NavPreviewProcPtr = Boolean (*)(NavCBRecPtr params, void* callBackUD);
using NavPreviewUPP = NavPreviewProcPtr;
using NavObjectFilterProcPtr = Boolean (*)(AEDesc* theItem, void* info, void* callBackUD, NavFilterModes filterMode);
using NavObjectFilterUPP = NavObjectFilterProcPtr;
using NavTypeListHandle = Handle;

NavEventUPP NewNavEventUPP(NavEventProcPtr proc);
void DisposeNavEventUPP(NavEventUPP upp);
NavObjectFilterUPP NewNavObjectFilterUPP(NavObjectFilterProcPtr proc);
void DisposeNavObjectFilterUPP(NavObjectFilterUPP upp);

// Version 0, no option flags but kNavDefaultNavDlogOptions, no texts, application-modal.
OSStatus NavGetDefaultDialogCreationOptions(NavDialogCreationOptions* outOptions);
// Makes the dialog (not shown yet). typeList and previewProc are not used by this host (pass
// null); options are copied, the texts retained.
OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions* options, NavTypeListHandle typeList,
                                NavEventUPP eventProc, NavPreviewUPP previewProc, NavObjectFilterUPP filterProc,
                                void* callBackUD, NavDialogRef* outDialog);
// The save dialog: the same lists under a one-line name field ("Save As:") that starts with the
// proposed name (options.saveFileName) all selected. Typed characters (Mac Roman) replace the
// selection, Backspace and Delete erase, left and right arrows, Home and End move the caret
// (shift extends), a click places the caret, and choosing a file in the list puts its name in
// the field (there is no type-ahead: letters go to the field). File names are shown, here and in
// the lists, as HostFileNameToMacRoman shows them.
// Return, Enter or the Save button saves under the field's name in the folder shown: an empty
// name, one with a '/', "." or "..", or the name of a folder is refused with a beep and the
// reason in the message line (the dialog stays open);
// the name of an existing file asks before replacing it (saving again replaces). After
// kNavUserActionSaveAs the reply's selection is the folder ('fsrf'), its saveFileName the name
// (HostCFStringToFileName: the proposed or a listed file's own bytes while the field shows it as
// set, else the typed name in UTF-8) and replacing whether the file exists. fileType and creator are recorded only.
OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions* options, OSType fileType, OSType creator,
                                NavEventUPP eventProc, void* callBackUD, NavDialogRef* outDialog);
// Shows the dialog and runs it until the user opens or cancels; paramErr for no dialog.
OSStatus NavDialogRun(NavDialogRef dialog);
NavUserAction NavDialogGetUserAction(NavDialogRef dialog);
// The chosen files (valid only after an open); the caller disposes of the reply.
OSStatus NavDialogGetReply(NavDialogRef dialog, NavReplyRecord* outReply);
OSStatus NavDisposeReply(NavReplyRecord* reply);
// Disposes of the dialog: at once, or at the end of the run when called from its callback.
void NavDialogDispose(NavDialogRef dialog);
OSStatus NavCustomControl(NavDialogRef dialog, NavCustomControlMessage selector, void* parms);
WindowRef NavDialogGetWindow(NavDialogRef dialog);

// --- Test interface --------------------------------------------------------------------------

// The answer a headless dialog gives: cancel, or open these files.
struct HostNavAnswer {
    bool cancel = true;
    std::vector<std::string> paths;
    // The type the user picks in the pop-up before answering (as if chosen there); -1: none.
    int typeIndex = -1;
    // Save dialogs: paths[0] is the new file's whole path; when it exists, the answer to the
    // question whether to replace it (false cancels the dialog).
    bool replace = true;
};
// Queues the answer of the next dialog run (answers are used in order).
void HostNavPresetAnswer(const HostNavAnswer& answer);
void HostNavClearPresetAnswers();

// What the last dialog run showed: its message, whether it allowed several files, the folder it
// started in (after kNavCBStart), and the items of that folder its filter let through as shown
// (UTF-8), folders with a '/' after the name.
struct HostNavShown {
    std::string message;
    bool allowsMultipleFiles = false;
    std::string startFolder;
    std::vector<std::string> entries;
    std::vector<std::string> typeNames;
    // The type selected in the pop-up when the dialog started (after kNavCBStart).
    int startTypeIndex = 0;
    // Save dialogs: the proposed name, the type and creator given, and the name of the file the
    // user was asked about replacing as shown (empty when not asked).
    bool save = false;
    std::string saveFileName;
    OSType fileType = 0;
    OSType creator = 0;
    std::string replaceAsked;
    // Save dialogs: the reason shown for the last name refused (empty when none was).
    std::string refusal;
};
const HostNavShown& HostNavLastShown();
