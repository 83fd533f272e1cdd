// The clipboard behind the pasteboard calls: one list of items with a change count. References
// remember the change count they last saw, so synchronising tells whether it moved.
#include "HostPasteboard.h"

#include "HostBackend.h"

#include <cstring>
#include <functional>
#include <string_view>

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
    uint64_t copySerial = 1; // part of the items' identifiers: moves with every new copy
    bool lends = false;      // the items are a source's, whose bytes are lent
    OSStatus failNextRead = 0;
    HostClipboardSource source = nullptr;
    HostClipboardReadAgain again = nullptr;
    bool newCopy = false; // the source's current answer follows a new copy
};

ClipboardState& state()
{
    static ClipboardState theState;
    return theState;
}

void setItems(std::vector<HostClipboardItem> items, bool sameCopy = false)
{
    state().items = std::move(items);
    ++state().changeCount;
    if (!sameCopy)
        ++state().copySerial;
}

bool sameItems(const std::vector<HostClipboardItem>& a, const std::vector<HostClipboardItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size())
            return false;
        for (size_t f = 0; f < a[i].size(); ++f)
            if (!a[i][f].Same(b[i][f]))
                return false;
    }
    return true;
}

HostClipboardFlavor* flavorOf(HostClipboardItem& item, const std::string& type)
{
    for (HostClipboardFlavor& f : item)
        if (f.type == type)
            return &f;
    return nullptr;
}

// Whether read continues the copy held: the same items, each flavour as held, bringing what the
// held one promised, or on its way again (the owner asked anew), and nothing held missing but
// promises. Then read keeps the held flavours that did not change or are on their way again, with
// what they lent, so that a part imported is not taken again as new.
bool continueCopy(std::vector<HostClipboardItem>& held, std::vector<HostClipboardItem>& read)
{
    if (held.empty() || held.size() != read.size())
        return false;
    for (size_t i = 0; i < held.size(); ++i) {
        for (HostClipboardFlavor& f : read[i]) {
            const HostClipboardFlavor* was = flavorOf(held[i], f.type);
            if (was == nullptr || !(was->promised || f.promised || was->Same(f)))
                return false;
        }
        for (HostClipboardFlavor& was : held[i])
            if (!was.promised && flavorOf(read[i], was.type) == nullptr)
                return false;
    }
    for (size_t i = 0; i < held.size(); ++i)
        for (HostClipboardFlavor& f : read[i])
            if (HostClipboardFlavor* was = flavorOf(held[i], f.type);
                was != nullptr && (was->Same(f) || (f.promised && !was->promised)))
                f = *was;
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
    const bool fresh = answer == HostClipboardAnswer::kRead && s.newCopy;
    if (!fresh && sameItems(items, s.items))
        return;
    const bool sameCopy = !fresh && continueCopy(s.items, items);
    setItems(std::move(items), sameCopy);
    s.lends = true;
}

// Items are named by their copy and their position.
PasteboardItemID identifierOf(uint32_t index)
{
    return PasteboardItemID(state().copySerial << 16) | index;
}

HostClipboardItem* itemOf(PasteboardItemID item)
{
    std::vector<HostClipboardItem>& items = state().items;
    const size_t index = item & 0xFFFF;
    if (item != identifierOf(uint32_t(index)) || index == 0 || index > items.size())
        return nullptr;
    return &items[index - 1];
}

// An item offering a PNG but no TIFF offers its PNG under the TIFF flavour too, as the one image
// flavour readers ask for: image sources tell the two apart by their bytes.
HostClipboardFlavor* translatedTIFF(HostClipboardItem& item)
{
    return flavorOf(item, kUTTypeTIFF) == nullptr ? flavorOf(item, kUTTypePNG) : nullptr;
}

HostClipboardFlavor* flavorOfItem(PasteboardItemID item, const std::string& type)
{
    HostClipboardItem* found = itemOf(item);
    if (found == nullptr)
        return nullptr;
    HostClipboardFlavor* f = flavorOf(*found, type);
    return f == nullptr && type == kUTTypeTIFF ? translatedTIFF(*found) : f;
}

uint64_t digestOf(const std::vector<uint8_t>& bytes)
{
    return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

HostClipboardFlavor::HostClipboardFlavor(std::string flavorType, std::vector<uint8_t> bytes)
    : type(std::move(flavorType)), data(std::make_shared<const std::vector<uint8_t>>(std::move(bytes))),
      size(data->size()), digest(digestOf(*data))
{
}

HostClipboardFlavor HostClipboardFlavor::Sharing(std::string flavorType, CFDataRef bytes)
{
    HostClipboardFlavor flavor(std::move(flavorType), std::vector<uint8_t>());
    flavor.data = std::move(bytes);
    flavor.size = flavor.data->size();
    flavor.digest = digestOf(*flavor.data);
    return flavor;
}

HostClipboardFlavor HostClipboardFlavor::Promised(std::string flavorType)
{
    HostClipboardFlavor flavor(std::move(flavorType), std::vector<uint8_t>());
    flavor.data.reset();
    flavor.promised = true;
    return flavor;
}

bool HostClipboardFlavor::Same(const HostClipboardFlavor& other) const
{
    return type == other.type && promised == other.promised && size == other.size && digest == other.digest;
}

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
    *item = identifierOf(index);
    return noErr;
}

OSStatus PasteboardCopyItemFlavors(PasteboardRef ref, PasteboardItemID item, std::vector<std::string>* flavors)
{
    if (ref == nullptr || flavors == nullptr)
        return paramErr;
    HostClipboardItem* found = itemOf(item);
    if (found == nullptr)
        return badPasteboardItemErr;
    flavors->clear();
    for (const HostClipboardFlavor& flavor : *found)
        flavors->push_back(flavor.type);
    if (translatedTIFF(*found) != nullptr)
        flavors->push_back(kUTTypeTIFF);
    return noErr;
}

OSStatus PasteboardGetItemFlavorFlags(PasteboardRef ref, PasteboardItemID item, const std::string& flavor,
                                      PasteboardFlavorFlags* flags)
{
    if (ref == nullptr || flags == nullptr)
        return paramErr;
    if (itemOf(item) == nullptr)
        return badPasteboardItemErr;
    const HostClipboardFlavor* f = flavorOfItem(item, flavor);
    if (f == nullptr)
        return badPasteboardFlavorErr;
    *flags = f->promised ? kPasteboardFlavorPromised : 0;
    if (!f->promised && f->data == nullptr && f->lent.expired())
        *flags |= kPasteboardFlavorTaken;
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
    if (itemOf(item) == nullptr)
        return badPasteboardItemErr;
    HostClipboardFlavor* f = flavorOfItem(item, flavor);
    if (f == nullptr || f->promised)
        return badPasteboardFlavorErr;
    if (f->data == nullptr) {
        *data = f->lent.lock();
        return *data != nullptr ? noErr : badPasteboardFlavorErr;
    }
    *data = f->data;
    if (state().lends) {
        f->lent = f->data;
        f->data.reset();
    }
    return noErr;
}

OSStatus PasteboardAskAgain(PasteboardRef ref, PasteboardItemID item, const std::string& flavor)
{
    if (ref == nullptr)
        return paramErr;
    HostClipboardFlavor* f = flavorOfItem(item, flavor);
    if (f == nullptr || state().again == nullptr || f->promised || f->data != nullptr || !f->lent.expired())
        return badPasteboardFlavorErr;
    f->promised = true;
    state().again();
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
    state().lends = false;
}

void HostClipboardAddItem(const HostClipboardItem& item)
{
    state().items.push_back(item);
    ++state().changeCount;
    ++state().copySerial;
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

void HostSetClipboardSource(HostClipboardSource source, HostClipboardReadAgain again)
{
    state().again = source != nullptr ? again : nullptr;
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
