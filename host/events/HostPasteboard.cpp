// The clipboard behind the pasteboard calls: one list of items with a change count. References
// remember the change count they last saw, so synchronising tells whether it moved.
#include "HostPasteboard.h"

#include "HostBackend.h"

#include <cstring>

const char* const kPasteboardClipboard = "host.clipboard";
const char* const kUTTypeUTF8PlainText = "public.utf8-plain-text";
const char* const kUTTypeTIFF = "public.tiff";
const char* const kUTTypePNG = "public.png";

struct HostPasteboard {
    uint64_t seenChange = 0;
    bool synchronised = false; // at least once: its creation read the clipboard already
};

namespace {

struct ClipboardState {
    std::vector<HostClipboardItem> items;
    uint64_t changeCount = 0;
    OSStatus failNextRead = 0;
    HostClipboardSource source = nullptr;
    bool newCopy = false; // the source's current answer follows a new copy
};

ClipboardState& state()
{
    static ClipboardState theState;
    return theState;
}

void setItems(std::vector<HostClipboardItem> items)
{
    state().items = std::move(items);
    ++state().changeCount;
}

bool sameItems(const std::vector<HostClipboardItem>& a, const std::vector<HostClipboardItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size())
            return false;
        for (size_t f = 0; f < a[i].size(); ++f)
            if (a[i][f].type != b[i][f].type || *a[i][f].data != *b[i][f].data)
                return false;
    }
    return true;
}

// Reads the source into the items when one is installed; the change count moves when the contents
// did, or when the display told of a new copy. The display's back end installs its source when it
// opens, so it is opened first, whenever the program's first look at the clipboard comes.
void readSource()
{
    HostCurrentBackend();
    ClipboardState& s = state();
    if (s.source == nullptr)
        return;
    std::vector<HostClipboardItem> items;
    s.newCopy = false;
    const HostClipboardAnswer answer = s.source(items);
    if (answer == HostClipboardAnswer::kUnchanged)
        return;
    if (answer == HostClipboardAnswer::kNone)
        items.clear();
    if ((answer == HostClipboardAnswer::kRead && s.newCopy) || !sameItems(items, s.items))
        setItems(std::move(items));
}

const HostClipboardItem* itemOf(PasteboardItemID item)
{
    const std::vector<HostClipboardItem>& items = state().items;
    if (item == 0 || item > items.size())
        return nullptr;
    return &items[item - 1];
}

const HostClipboardFlavor* flavorOf(const HostClipboardItem& item, const std::string& type)
{
    for (const HostClipboardFlavor& f : item)
        if (f.type == type)
            return &f;
    return nullptr;
}

// An item offering a PNG but no TIFF offers its PNG under the TIFF flavour too, as the one image
// flavour readers ask for: image sources tell the two apart by their bytes.
const HostClipboardFlavor* translatedTIFF(const HostClipboardItem& item)
{
    return flavorOf(item, kUTTypeTIFF) == nullptr ? flavorOf(item, kUTTypePNG) : nullptr;
}

} // namespace

OSStatus PasteboardCreate(const char* name, PasteboardRef* outRef)
{
    if (name == nullptr || outRef == nullptr || std::strcmp(name, kPasteboardClipboard) != 0)
        return paramErr;
    readSource();
    *outRef = new HostPasteboard{state().changeCount};
    return noErr;
}

void PasteboardRelease(PasteboardRef ref)
{
    delete ref;
}

PasteboardSyncFlags PasteboardSynchronize(PasteboardRef ref)
{
    if (ref == nullptr)
        return 0;
    // A reference has just read the clipboard when it was made: one look per import is enough,
    // since a display's clipboard may take a while to answer.
    if (ref->synchronised)
        readSource();
    ref->synchronised = true;
    const bool modified = ref->seenChange != state().changeCount;
    ref->seenChange = state().changeCount;
    return modified ? PasteboardSyncFlags(kPasteboardModified) : PasteboardSyncFlags(0);
}

OSStatus PasteboardGetItemCount(PasteboardRef ref, uint32_t* count)
{
    if (ref == nullptr || count == nullptr)
        return paramErr;
    *count = uint32_t(state().items.size());
    return noErr;
}

OSStatus PasteboardGetItemIdentifier(PasteboardRef ref, uint32_t index, PasteboardItemID* item)
{
    if (ref == nullptr || item == nullptr)
        return paramErr;
    if (index == 0 || index > state().items.size())
        return badPasteboardIndexErr;
    // Items are named by their position; a reference that has synchronised sees a stable list.
    *item = index;
    return noErr;
}

OSStatus PasteboardCopyItemFlavors(PasteboardRef ref, PasteboardItemID item, std::vector<std::string>* flavors)
{
    if (ref == nullptr || flavors == nullptr)
        return paramErr;
    const HostClipboardItem* found = itemOf(item);
    if (found == nullptr)
        return badPasteboardItemErr;
    flavors->clear();
    for (const HostClipboardFlavor& flavor : *found)
        flavors->push_back(flavor.type);
    if (translatedTIFF(*found) != nullptr)
        flavors->push_back(kUTTypeTIFF);
    return noErr;
}

OSStatus PasteboardCopyItemFlavorData(PasteboardRef ref, PasteboardItemID item, const std::string& flavor,
                                      CFDataRef* data)
{
    if (ref == nullptr || data == nullptr)
        return paramErr;
    if (state().failNextRead != 0) {
        const OSStatus error = state().failNextRead;
        state().failNextRead = 0;
        return error;
    }
    const HostClipboardItem* found = itemOf(item);
    if (found == nullptr)
        return badPasteboardItemErr;
    const HostClipboardFlavor* f = flavorOf(*found, flavor);
    if (f == nullptr && flavor == kUTTypeTIFF)
        f = translatedTIFF(*found);
    if (f == nullptr)
        return badPasteboardFlavorErr;
    *data = f->data;
    return noErr;
}

bool UTTypeConformsTo(const std::string& type, const char* conformsTo)
{
    // The clipboard's flavours are named by the identifiers themselves, so a kind is only itself.
    return conformsTo != nullptr && type == conformsTo;
}

void HostClipboardClear()
{
    setItems({});
}

void HostClipboardAddItem(const HostClipboardItem& item)
{
    state().items.push_back(item);
    ++state().changeCount;
}

void HostClipboardAddText(const std::string& utf8)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    HostClipboardAddItem({{kUTTypeUTF8PlainText, std::vector<uint8_t>(bytes, bytes + utf8.size())}});
}

void HostClipboardFailNextRead(OSStatus error)
{
    state().failNextRead = error;
}

void HostSetClipboardSource(HostClipboardSource source)
{
    if (source == state().source)
        return;
    // What one source supplied is not the clipboard of the next.
    state().source = source;
    setItems({});
}

void HostClipboardNoteNewCopy()
{
    state().newCopy = true;
}
