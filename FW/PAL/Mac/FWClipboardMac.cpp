// Import of the system clipboard: the first UTF-8 text (cut to kMaxImportedText bytes) and the
// first TIFF image (or PNG, which the pasteboard offers as one), each added as an item that
// replaces a held item of its class. A part of a copy still on its way from another program is
// taken when it arrives; a paste or what needs the image waits for it, showing that it waits.
#include "FWClipboard.h"
#include "FWClipboardPAC.h"

#include "FWDialog.h"
#include "FWDynamicString.h"
#include "FWIdleTimer.h"
#include "FWIdleTimerManager.h"
#include "FWEventManager.h"
#include "FWStr.h"
#include "FWEventDispatcher.h"
#include "FWPlatformUtils.h"
#include "HostClock.h"
#include "HostImageIO.h"
#include "HostMacRoman.h"
#include "HostModalLoop.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "PushButton.h"
#include "StaticText.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace {

struct PasteboardCloser {
    void operator()(HostPasteboard* ref) const { PasteboardRelease(ref); }
};

// The image source over the bytes and its first image, when they are an image that fits a
// rectangle's 16-bit coordinates; only their headers are read.
struct SourceImage {
    std::unique_ptr<HostImageSource, void (*)(CGImageSourceRef)> source{nullptr, CGImageSourceRelease};
    std::unique_ptr<HostImage, void (*)(CGImageRef)> image{nullptr, CGImageRelease};
    size_t width = 0;
    size_t height = 0;
};

bool openImage(const CFDataRef& bytes, SourceImage& opened)
{
    opened.source.reset(CGImageSourceCreateWithData(bytes));
    if (opened.source)
        opened.image.reset(CGImageSourceCreateImageAtIndex(opened.source.get(), 0));
    opened.width = CGImageGetWidth(opened.image.get());
    opened.height = CGImageGetHeight(opened.image.get());
    return opened.image && opened.width > 0 && opened.height > 0 && opened.width <= 0x7FFF && opened.height <= 0x7FFF;
}

// Whether the bytes are an image refused only for its size.
bool tooLarge(const SourceImage& opened)
{
    return opened.image && opened.width > 0 && opened.height > 0 && (opened.width > 0x7FFF || opened.height > 0x7FFF);
}

// The length of the UTF-8 sequence a lead byte starts (1 for a byte that starts none).
size_t sequenceLength(uint8_t lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// UTF-8 text in the system encoding, at most limit bytes: each character becomes its Mac Roman
// byte, or the stand-in when Mac Roman lacks it or its bytes are no character. The cut falls
// between characters, since each gives one byte.
std::string macRomanOf(const std::vector<uint8_t>& utf8, size_t limit)
{
    std::string text;
    text.reserve(std::min(utf8.size(), limit));
    const std::string_view all(reinterpret_cast<const char*>(utf8.data()), utf8.size());
    std::u32string character;
    for (size_t at = 0; at < all.size() && text.size() < limit;) {
        const size_t length = std::min(sequenceLength(uint8_t(all[at])), all.size() - at);
        character.clear();
        uint8_t byte = 0;
        if (HostDecodeUtf8(all.substr(at, length), character) && character.size() == 1) {
            text += HostUnicodeToMacRoman(character[0], &byte) ? char(byte) : kHostMacRomanStandIn;
            at += length;
        } else {
            text += kHostMacRomanStandIn;
            ++at;
        }
    }
    return text;
}

// The decoded image as a 32-bit buffer of (0, 0, width, height); null when the bytes do not
// decode. The image is decoded straight into the new buffer's pixels, which the clipboard keeps.
std::unique_ptr<ImageBuffer> decodeImage(const CFDataRef& bytes)
{
    SourceImage opened;
    if (!openImage(bytes, opened))
        return nullptr;
    const size_t width = opened.width;
    const size_t height = opened.height;
    const FWRect rect(0, 0, int16_t(width), int16_t(height));
    auto buffer = std::make_unique<ImageBuffer>(&rect, kImageBufferDepth32);
    if (!buffer->Valid())
        return nullptr;
    std::unique_ptr<HostColorSpace, void (*)(CGColorSpaceRef)> space(CGColorSpaceCreateDeviceRGB(),
                                                                    CGColorSpaceRelease);
    std::unique_ptr<HostBitmapContext, void (*)(CGContextRef)> context(
        CGBitmapContextCreate(buffer->BaseAddr(), width, height, 8, size_t(buffer->RowBytes()), space.get(),
                              kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst),
        CGContextRelease);
    if (!context)
        return nullptr;
    CGContextDrawImage(context.get(), CGRect{0, 0, double(width), double(height)}, opened.image.get());
    if (HostImageDamaged(opened.image.get()))
        return nullptr;
    return buffer;
}

// Whether the last image read was refused for its size.
bool sImageTooLarge = false;

// The first text and the first image of the reference's items, into found; false when a read
// failed, which stops there. An image is not read when the clipboard keeps one that it would not
// replace (keepHeldImage). A flavour imported before (its bytes taken) is passed over: it is in
// the clipboard already, or was dropped there.
bool readItems(PasteboardRef pasteboard, bool keepHeldImage, std::vector<std::unique_ptr<FWClipboardData>>& found)
{
    uint32_t itemCount = 0;
    if (PasteboardGetItemCount(pasteboard, &itemCount) != noErr)
        return false;
    bool textTaken = false;
    bool imageTaken = false;
    for (uint32_t index = 1; index <= itemCount; ++index) {
        PasteboardItemID item = 0;
        if (PasteboardGetItemIdentifier(pasteboard, index, &item) != noErr)
            return false;
        std::vector<std::string> flavors;
        if (PasteboardCopyItemFlavors(pasteboard, item, &flavors) != noErr)
            return false;
        for (const std::string& flavor : flavors) {
            const bool isText = !textTaken && UTTypeConformsTo(flavor, kUTTypeUTF8PlainText);
            const bool isImage = !isText && !imageTaken && UTTypeConformsTo(flavor, kUTTypeTIFF);
            if (!isText && !isImage)
                continue;
            CFDataRef data;
            (isText ? textTaken : imageTaken) = true;
            PasteboardFlavorFlags flags = 0;
            if (PasteboardGetItemFlavorFlags(pasteboard, item, flavor, &flags) != noErr)
                return false;
            // Taken when it arrives: the clipboard then tells of the change.
            if ((flags & (kPasteboardFlavorPromised | kPasteboardFlavorTaken)) != 0 || (isImage && keepHeldImage))
                continue;
            if (PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) != noErr)
                return false;
            if (isText) {
                if (data->empty())
                    continue;
                const std::string text = macRomanOf(*data, FWClipboard::kMaxImportedText);
                found.push_back(std::make_unique<FWClipboardText>(FWDynamicString(text.c_str())));
                continue;
            }
            // Decoded when the image is first asked for, from the bytes the clipboard shares.
            SourceImage opened;
            const bool opens = openImage(data, opened);
            sImageTooLarge = tooLarge(opened);
            if (opens)
                found.push_back(std::make_unique<FWClipboardImage>([data] { return decodeImage(data); }));
        }
    }
    return true;
}

// The first item's identifier at the last import: the same identifier later is the same copy,
// with parts that arrived since.
PasteboardItemID sImportedItem = 0;

PasteboardItemID firstItem(PasteboardRef pasteboard)
{
    PasteboardItemID item = 0;
    return PasteboardGetItemIdentifier(pasteboard, 1, &item) == noErr ? item : 0;
}

// What another program copied since the last import (changed, a new copy) takes the place of
// everything held, whatever its kinds, once it was read whole; an unchanged clipboard, or a copy
// whose parts arrive, only fills in the kinds not held, so what was copied inside the program
// stays until another program copies something.
void importItems(FWClipboard& clipboard, PasteboardRef pasteboard, bool changed)
{
    const PasteboardItemID first = firstItem(pasteboard);
    const bool replace = changed && (first == 0 || first != sImportedItem);
    sImportedItem = first;
    if (replace)
        sImageTooLarge = false;
    std::vector<std::unique_ptr<FWClipboardData>> found;
    const bool whole = readItems(pasteboard, !replace && clipboard.HasClipData(&typeid(FWClipboardImage)), found);
    uint32_t itemCount = 0;
    if (replace && whole && PasteboardGetItemCount(pasteboard, &itemCount) == noErr && itemCount > 0)
        clipboard.ClearClipboard();
    for (std::unique_ptr<FWClipboardData>& data : found) {
        const FWClipboardData& item = *data;
        if (replace || !clipboard.HasClipData(&typeid(item)))
            clipboard.AddClipData(data.release());
    }
}

// The reference of the last import, kept to tell whether the system clipboard changed since.
std::unique_ptr<HostPasteboard, PasteboardCloser>& lastImport()
{
    static std::unique_ptr<HostPasteboard, PasteboardCloser> sLast;
    return sLast;
}

} // namespace

void FWClipboard::ImportPlatformClipboard()
{
    // Once a reference exists, its synchronisation both reads the clipboard and tells whether it
    // changed since the last import.
    std::unique_ptr<HostPasteboard, PasteboardCloser>& last = lastImport();
    if (last) {
        importItems(*this, last.get(), (PasteboardSynchronize(last.get()) & kPasteboardModified) != 0);
        return;
    }
    PasteboardRef rawRef = nullptr;
    if (PasteboardCreate(kPasteboardClipboard, &rawRef) != noErr)
        return;
    std::unique_ptr<HostPasteboard, PasteboardCloser> pasteboard(rawRef);
    const bool modified = (PasteboardSynchronize(pasteboard.get()) & kPasteboardModified) != 0;
    if (!modified)
        importItems(*this, pasteboard.get(), false);
    last = std::move(pasteboard);
}

namespace {

// Whether the clipboard's first flavour of the type (text or image) is still on its way from the
// program that copied it. When askAgain, one whose bytes the program let go is asked for again,
// and so is on its way.
bool partComing(const char* type, bool askAgain = false)
{
    const std::unique_ptr<HostPasteboard, PasteboardCloser>& last = lastImport();
    uint32_t itemCount = 0;
    if (!last || PasteboardGetItemCount(last.get(), &itemCount) != noErr)
        return false;
    for (uint32_t index = 1; index <= itemCount; ++index) {
        PasteboardItemID item = 0;
        std::vector<std::string> flavors;
        if (PasteboardGetItemIdentifier(last.get(), index, &item) != noErr ||
            PasteboardCopyItemFlavors(last.get(), item, &flavors) != noErr)
            return false;
        for (const std::string& flavor : flavors) {
            PasteboardFlavorFlags flags = 0;
            if (!UTTypeConformsTo(flavor, type))
                continue;
            if (PasteboardGetItemFlavorFlags(last.get(), item, flavor, &flags) != noErr)
                return false;
            if (askAgain && (flags & kPasteboardFlavorTaken) != 0)
                return PasteboardAskAgain(last.get(), item, flavor) == noErr;
            return (flags & kPasteboardFlavorPromised) != 0;
        }
    }
    return false;
}

// The wait shown once a part has taken a second: a line and Cancel (Escape, Command-period).
// It ends by itself when the part arrived or failed.
class PartWait : public FWModalDialog, public FWIdleTimer {
public:
    PartWait(const char* type, const char* line) : mType(type), mLine(line)
    {
        SetDebugName("ClipboardWait");
        // Nobody there to wait: the image is not waited for.
        SetUnattendedAnswer(Unattended::kCancel);
    }
    void AutoInit() override
    {
        if (GetPDW() != nullptr)
            return;
        FWRect window;
        calc_dlog_rect_on_screen(window, 300 + 2 * FrameWidth(), 80 + 2 * FrameWidth() + TitleWidth());
        Initialize(nullptr, window);
        const FWStr<31> name("Clipboard");
        SetName(&name, true);
        FWView* root = ViewMngr().GetViewTree();
        if (root == nullptr)
            return;
        auto* text = new StaticText;
        const FWStr<255> line(mLine);
        text->Init(this, FWRect(20, 15, 280, 35), &line, StaticText::kPlainWrapped);
        root->AppendChild(text);
        auto* cancel = new CancelButton;
        const FWStr<31> title("Cancel");
        cancel->Init(this, FWRect(205, 47, 280, 67), &title);
        root->AppendChild(cancel);
        cancel->MakeDefaultCancel();
    }
    void TimerAction() override
    {
        // The clipboard is brought up to date here: news of it may come with no event at all for
        // the dialog, and the wait for events is let go once the part is in.
        FWClipboardPAC::ImportIfChanged();
        if (!partComing(mType)) {
            mDone = mAccepted = true;
            FWEventDispatcher::Unblock();
        } else {
            FWSetCursor(kWatchCursor);
        }
    }

private:
    const char* mType;
    const char* mLine;
};

// Waits for the part of the type while it is on its way, with the watch and, past a second, the
// wait with the line; false when cancelled.
bool waitForPart(const char* type, const char* line)
{
    FWSetCursor(kWatchCursor);
    // A second with the watch: windows keep drawing and the clipboard's news is taken in; input
    // waits in the queue. Headless, nobody watches: the wait shows at once for its answer.
    const uint32_t shown = TickCount() + 60;
    while (!HostIsHeadless() && partComing(type) && TickCount() < shown) {
        EventRecord record;
        if (!WaitNextEvent(updateMask | osMask, &record, 6, nullptr))
            continue;
        FWEvent event;
        if (FWEventManager::Instance()->FilterEvent(record, false, event))
            FWEventDispatcher::Instance()->Dispatch(event);
        FWSetCursor(kWatchCursor); // what was dispatched may have set its own
    }
    bool arrived = !partComing(type);
    if (!arrived) {
        PartWait wait(type, line);
        FWIdleTimerManager::Start(&wait, 50);
        arrived = wait.Execute();
        FWIdleTimerManager::Stop(&wait);
        wait.SendMessage(Dependable::IsBeingDeleted);
    }
    FWSetCursor(kArrowCursor);
    return arrived;
}

} // namespace

bool FWClipboard::WaitForPlatformImage()
{
    // With no image held, the display's clipboard is where an image another program copied
    // stays: one whose bytes were let go is asked for again.
    return !partComing(kUTTypeTIFF, !HasClipData(&typeid(FWClipboardImage))) ||
           waitForPart(kUTTypeTIFF, "Waiting for the image from the clipboard...");
}

bool FWClipboard::WaitForPlatformText()
{
    return !partComing(kUTTypeUTF8PlainText) ||
           waitForPart(kUTTypeUTF8PlainText, "Waiting for the text from the clipboard...");
}

bool FWClipboard::ImageTooLarge() const
{
    return sImageTooLarge && !HasClipData(&typeid(FWClipboardImage));
}

void FWClipboardPAC::ImportIfChanged()
{
    // A clipboard made here imports as it is made; then its reference has just looked.
    FWClipboard* clipboard = FWClipboard::Instance();
    const std::unique_ptr<HostPasteboard, PasteboardCloser>& last = lastImport();
    if (last && (PasteboardSynchronize(last.get()) & kPasteboardModified) != 0)
        importItems(*clipboard, last.get(), true);
}
