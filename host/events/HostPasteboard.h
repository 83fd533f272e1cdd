// The system clipboard as a pasteboard of items, each holding data under typed flavours named by
// uniform type identifiers. The program only reads it. The headless back end keeps a clipboard
// that tests set; a display back end supplies the display's clipboard through a source.
#pragma once

#include "HostTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct HostPasteboard;
using PasteboardRef = HostPasteboard*;
using PasteboardItemID = uintptr_t;
using PasteboardSyncFlags = uint32_t;

// The name of the system clipboard, for PasteboardCreate.
extern const char* const kPasteboardClipboard;

enum : PasteboardSyncFlags {
    kPasteboardModified = 1u << 0,        // the clipboard changed since the reference last looked
    kPasteboardClientIsOwner = 1u << 1,   // this program put the contents there
};

enum : OSStatus {
    badPasteboardSyncErr = -25130,
    badPasteboardIndexErr = -25131,
    badPasteboardItemErr = -25132,
    badPasteboardFlavorErr = -25133,
};

// Type identifiers of the flavours the program reads.
extern const char* const kUTTypeUTF8PlainText;
extern const char* const kUTTypeTIFF;
extern const char* const kUTTypePNG;

// A flavour's bytes, shared rather than copied: an image's may be tens of megabytes, and the
// clipboard keeps them while readers decode them.
using CFDataRef = std::shared_ptr<const std::vector<uint8_t>>;

using PasteboardFlavorFlags = uint32_t;
enum : PasteboardFlavorFlags {
    // The flavour is on its way from the program that copied it: its bytes cannot be read yet.
    kPasteboardFlavorPromised = 1u << 9,
    // The flavour's bytes were lent to a reader and went: reading them fails until
    // PasteboardAskAgain has them brought again.
    kPasteboardFlavorTaken = 1u << 10,
};

// Opens a reference to the named pasteboard (only the clipboard exists; paramErr for any other
// name). A new reference has looked at the current contents: its first synchronisation does not
// look again.
OSStatus PasteboardCreate(const char* name, PasteboardRef* outRef);
void PasteboardRelease(PasteboardRef ref);
// Brings the reference up to date; the flags tell whether the contents changed since it last
// looked.
PasteboardSyncFlags PasteboardSynchronize(PasteboardRef ref);
OSStatus PasteboardGetItemCount(PasteboardRef ref, uint32_t* count);
// index runs from 1 to the item count. An item keeps its identifier while the copy it belongs to
// stays on the clipboard, flavours arriving or promises broken meanwhile; a new copy's items have
// new identifiers.
OSStatus PasteboardGetItemIdentifier(PasteboardRef ref, uint32_t index, PasteboardItemID* item);
// An item offering a PNG but no TIFF also lists the TIFF flavour, whose bytes are the PNG's: the one
// image flavour readers ask for, and image sources tell the two apart by their bytes.
OSStatus PasteboardCopyItemFlavors(PasteboardRef ref, PasteboardItemID item, std::vector<std::string>* flavors);
OSStatus PasteboardGetItemFlavorFlags(PasteboardRef ref, PasteboardItemID item, const std::string& flavor,
                                      PasteboardFlavorFlags* flags);
// The flavour's bytes as the clipboard holds them (no copy is made). badPasteboardFlavorErr for a
// promised flavour, and for one of a display's copy whose bytes went: the clipboard lends those to
// their first reader, keeping them only while a reader holds them, so that an image decoded is not
// kept beside its pixels.
OSStatus PasteboardCopyItemFlavorData(PasteboardRef ref, PasteboardItemID item, const std::string& flavor,
                                      CFDataRef* data);
// For a taken flavour of a display's copy whose source can read again: the flavour shows as
// promised and the copy's owner is asked for it again in the background, the copy staying the
// same. badPasteboardFlavorErr when the flavour is not taken or nobody can be asked.
OSStatus PasteboardAskAgain(PasteboardRef ref, PasteboardItemID item, const std::string& flavor);
// Whether a type identifier is the given one or one of its kinds.
bool UTTypeConformsTo(const std::string& type, const char* conformsTo);

// The clipboard's contents, as a back end or a test sets them. Flavours are compared by their
// type, size and digest, so that a copy is told from another when the bytes have gone.
struct HostClipboardFlavor {
    HostClipboardFlavor(std::string flavorType, std::vector<uint8_t> bytes);
    // A flavour sharing the bytes (never null).
    static HostClipboardFlavor Sharing(std::string flavorType, CFDataRef bytes);
    // A flavour still on its way.
    static HostClipboardFlavor Promised(std::string flavorType);

    bool Same(const HostClipboardFlavor& other) const;

    std::string type;
    CFDataRef data;              // null while promised or once lent
    std::weak_ptr<const std::vector<uint8_t>> lent; // the bytes while their reader holds them
    bool promised = false;
    size_t size = 0;
    uint64_t digest = 0;
};
using HostClipboardItem = std::vector<HostClipboardFlavor>;

void HostClipboardClear();
void HostClipboardAddItem(const HostClipboardItem& item);
// One item of UTF-8 text.
void HostClipboardAddText(const std::string& utf8);
// Makes the next PasteboardCopyItemFlavorData (on any flavour) fail with the code; 0 clears it.
void HostClipboardFailNextRead(OSStatus error);

// A display back end that owns a real clipboard installs a source: while one is installed, the
// clipboard holds the items it answers, asked for at every synchronisation. kNone: nobody offers
// anything (no items); kRead: the items as read now (an item without flavours when another
// program offers only kinds the program does not read); kUnchanged: the display's clipboard did
// not change since the last answer, and the items are kept. Null removes the source. A change of
// source empties the clipboard. A source's bytes are lent (PasteboardCopyItemFlavorData).
enum class HostClipboardAnswer { kNone, kRead, kUnchanged };
using HostClipboardSource = HostClipboardAnswer (*)(std::vector<HostClipboardItem>& items);
// again, when given, asks the display's clipboard for the current copy once more, to be answered
// later as the same copy (PasteboardAskAgain).
using HostClipboardReadAgain = void (*)();
void HostSetClipboardSource(HostClipboardSource source, HostClipboardReadAgain again = nullptr);
// Items a source reads that equal those held are taken as the same copy, and so are items that
// only bring what the held ones promised (or drop a promise); unless the display told the source,
// during that answer, that another program copied anew: then the source calls this, and what it
// reads takes the place of what is held as a new copy, equal or not.
void HostClipboardNoteNewCopy();
