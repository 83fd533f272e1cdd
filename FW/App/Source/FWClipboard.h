// The application's own clipboard: a singleton holding at most one item of each item class.
// Cut, copy and paste inside the application go through it; the system clipboard's text and
// first image are imported into it, and nothing is ever written back.
#pragma once

#include "FWClipboardData.h"

#include <cstdint>
#include <typeinfo>
#include <vector>

class FWClipboard {
public:
    // The first call creates the clipboard, which imports the system clipboard.
    static FWClipboard* Instance();
    // Deletes the clipboard and its items: the next Instance makes one that imports the system
    // clipboard afresh. The application's end calls it, so that a later start in the same process
    // sees the system clipboard as a new program would.
    static void Destroy();

    // Items. AddClipData takes ownership; an item of exactly the same class is deleted and the
    // new one takes its place, otherwise the new one is appended. GetClipData matches the exact
    // class only (a base class finds nothing).
    void AddClipData(FWClipboardData* data);
    FWClipboardData* GetClipData(const std::type_info* type) const;
    bool HasClipData(const std::type_info* type) const { return GetClipData(type) != nullptr; }
    void ClearClipboard();
    size_t Size() const { return mItems.size(); }
    FWClipboardData* ItemAt(size_t index) const { return index < mItems.size() ? mItems[index] : nullptr; }

    // Import. Imported items replace held items of their class; a failure keeps what was held
    // plus what was imported before it.
    void InitClipboard();
    void ImportPlatformClipboard();
    // While the image another program copied is still on its way, waits for it and imports it,
    // with the watch cursor and, past a second, a wait that Cancel ends; false when cancelled.
    bool WaitForPlatformImage();
    // The same for the text another program copied, before a paste.
    bool WaitForPlatformText();
    // Whether no image is held because the last one another program copied was refused for its
    // size (a side beyond 32767 pixels).
    bool ImageTooLarge() const;

    // The most text bytes taken from the system clipboard.
    static constexpr uint32_t kMaxImportedText = 0x500000;

    virtual ~FWClipboard();
    FWClipboard(const FWClipboard&) = delete;
    FWClipboard& operator=(const FWClipboard&) = delete;

private:
    friend class FWClipboardDestructor;
    FWClipboard();

    std::vector<FWClipboardData*> mItems;
    int32_t mUnused = 0;

    static FWClipboard* mInstance;
};

// Deletes the clipboard at program exit.
class FWClipboardDestructor {
public:
    ~FWClipboardDestructor();
};
