#include "CQF_Document.h"

#include "EditWindow.h"
#include "FS_ResourceFileRA.h"
#include "FS_UtilPAC.h"
#include "FWString.h"
#include "FWWindow.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");

// A length-prefixed copy of a name, cut to 255 bytes.
struct PName {
    explicit PName(const std::string& text)
    {
        const size_t length = std::min<size_t>(text.size(), 255);
        bytes[0] = uint8_t(length);
        std::memcpy(bytes + 1, text.data(), length);
    }
    unsigned char bytes[256] = {};
};

std::string cutName(const FWString& name)
{
    return std::string(name.GetCString(), std::min<size_t>(name.GetCurrLength(), 255));
}

// The file opened for the length of one operation; a failed open leaves its code in errCode.
class OpenedFile {
public:
    OpenedFile(const CQF_Document& document, bool writable) : mGuard(document.Path2Locator(), writable)
    {
        if (mGuard.OpenedResourceFile() == 0)
            CResMap::ChkError();
    }
    bool IsOpen() const { return mGuard.OpenedResourceFile() != 0; }
    // Writes the file; true when that left no error.
    static bool Write()
    {
        UpdateResFile(CurResFile());
        return !CResMap::ChkError();
    }

private:
    Corvel::FS_ResourceFileRA mGuard;
};

// What a resource has stored beside its data: its attributes and whether it has a name (an
// empty one included), which a remove and add would drop.
struct StoredInfo {
    SInt16 attributes = 0;
    bool named = false;
};

// Gives a resource just added the attributes it had, and its name as stored: AddResource stores
// an empty name as none.
void restoreInfo(Handle h, const StoredInfo& info, const unsigned char* name)
{
    if (info.named && name[0] == 0)
        HostSetResName(h, name);
    if (info.attributes != 0)
        SetResAttrs(h, info.attributes);
}

// Puts a resource taken out of the current file back as it was (its handle is ours again).
void putBack(Handle old, ResType type, SInt16 id, const unsigned char* name, const StoredInfo& info)
{
    AddResource(old, type, id, name);
    if (ResError() != noErr)
        DisposeHandle(old);
    else
        restoreInfo(old, info, name);
}

// Replaces the resource of the type and id in the current file by the handle (which the file
// takes in every case). Nothing is lost on failure: the old resource is put back before the
// file is written, so what is stored stays as it was. Without an old resource the handle is
// added only when mustExist is false. With keepInfo the new resource keeps the old one's
// attributes, and its empty name or none when the name given is empty.
bool replaceResource(Handle layout, ResType type, SInt16 id, const unsigned char* name, bool mustExist,
                     bool keepInfo = false)
{
    Handle old = Get1Resource(type, id);
    if (old == nullptr && mustExist) {
        // A missing resource with no error code still fails.
        if (!CResMap::ChkError())
            CResMap::errCode = resNotFound;
        DisposeHandle(layout);
        return false;
    }
    unsigned char oldName[256] = {};
    StoredInfo oldInfo;
    if (old != nullptr) {
        GetResInfo(old, nullptr, nullptr, oldName);
        oldInfo.attributes = SInt16(GetResAttrs(old) & ~resChanged);
        oldInfo.named = HostResourceHasName(old);
        RemoveResource(old);
        if (CResMap::ChkError()) {
            DisposeHandle(layout);
            return false;
        }
    }
    AddResource(layout, type, id, name);
    if (CResMap::ChkError()) {
        DisposeHandle(layout);
        if (old != nullptr)
            putBack(old, type, id, oldName, oldInfo);
        return false;
    }
    if (keepInfo && old != nullptr)
        restoreInfo(layout, oldInfo, name);
    if (OpenedFile::Write()) {
        if (old != nullptr)
            DisposeHandle(old);
        return true;
    }
    // The file on disk is untouched; the open copy goes back to the old resource too.
    const int failure = CResMap::errCode;
    RemoveResource(layout);
    if (ResError() == noErr)
        DisposeHandle(layout);
    if (old != nullptr)
        putBack(old, type, id, oldName, oldInfo);
    CResMap::errCode = failure;
    return false;
}

} // namespace

// ---- CResMap -------------------------------------------------------------------------------

int CResMap::errCode = 0;

std::string CResMap::Name(int id) const
{
    auto found = find(id);
    return found != end() ? found->second : std::string("<Map Error!>");
}

int CResMap::NextID(int start) const
{
    if (empty())
        return start;
    int next = begin()->first;
    for (const auto& entry : *this) {
        if (entry.first != next)
            break;
        ++next;
    }
    return next;
}

bool CResMap::ChkError()
{
    errCode = ResError();
    return errCode != 0;
}

// ---- CQF_Document --------------------------------------------------------------------------

CQF_Document::CQF_Document() = default;

CQF_Document::~CQF_Document() = default;

Corvel::FS_Locator CQF_Document::Path2Locator() const
{
    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(AssociatedFile().PathName(), locator);
    return locator;
}

EditWindow* CQF_Document::FindWindow(int32_t id)
{
    // Dialogs made with the document (the grid dialog's layout has id 23) are not edit windows.
    ListTraversal<FWWindow> walk(&GetWindowList());
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next()) {
        auto* edit = dynamic_cast<EditWindow*>(window);
        if (edit != nullptr && edit->ViewMngr().GetResID() == id)
            return edit;
    }
    return nullptr;
}

bool CQF_Document::ReadWINT()
{
    OpenedFile file(*this, false);
    if (!file.IsOpen())
        return false;
    const SInt16 count = Count1Resources(kWINT);
    for (SInt16 index = 1; index <= count; ++index) {
        Handle layout = Get1IndResource(kWINT, index);
        if (CResMap::ChkError() || layout == nullptr)
            return false;
        SInt16 id = 0;
        unsigned char name[256] = {};
        GetResInfo(layout, &id, nullptr, name);
        mResMap.emplace(int(id), std::string(reinterpret_cast<const char*>(name + 1), name[0]));
        // Only the names are wanted: the data need not stay in memory.
        ReleaseResource(layout);
    }
    return true;
}

bool CQF_Document::SaveWINT(Handle layout, int id)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen()) {
        DisposeHandle(layout);
        return false;
    }
    const PName name(mResMap.Name(id));
    return replaceResource(layout, kWINT, SInt16(id), name.bytes, true, true);
}

bool CQF_Document::AddWINT(Handle layout, int id, const FWString& name)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen()) {
        DisposeHandle(layout);
        return false;
    }
    const std::string text = cutName(name);
    const PName pname(text);
    AddResource(layout, kWINT, SInt16(id), pname.bytes);
    if (CResMap::ChkError()) {
        DisposeHandle(layout);
        return false;
    }
    // The map changes only with the file: a refused write leaves both as they were.
    if (!OpenedFile::Write())
        return false;
    mResMap[id] = text;
    return true;
}

bool CQF_Document::RenameWINT(int oldID, int newID, const FWString& name)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen())
        return false;
    Handle layout = Get1Resource(kWINT, SInt16(oldID));
    if (CResMap::ChkError() || layout == nullptr)
        return false;
    const std::string text = cutName(name);
    const PName pname(text);
    SetResInfo(layout, SInt16(newID), pname.bytes);
    if (CResMap::ChkError())
        return false;
    if (!OpenedFile::Write())
        return false;
    mResMap.erase(oldID);
    mResMap[newID] = text;
    return true;
}

bool CQF_Document::CopyWINT(int sourceID, int newID, const FWString& name)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen())
        return false;
    Handle source = Get1Resource(kWINT, SInt16(sourceID));
    if (CResMap::ChkError() || source == nullptr)
        return false;
    // The detached handle is a free copy; the source stays in the file as stored.
    DetachResource(source);
    if (CResMap::ChkError())
        return false;
    const std::string text = cutName(name);
    const PName pname(text);
    AddResource(source, kWINT, SInt16(newID), pname.bytes);
    if (CResMap::ChkError()) {
        DisposeHandle(source);
        return false;
    }
    if (!OpenedFile::Write())
        return false;
    mResMap[newID] = text;
    return true;
}

bool CQF_Document::RemoveWINT(const std::vector<int32_t>& ids)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen())
        return false;
    std::vector<int32_t> removed;
    for (int32_t id : ids) {
        if (!mResMap.Exists(id))
            continue;
        Handle layout = Get1Resource(kWINT, SInt16(id));
        if (layout == nullptr)
            continue;
        RemoveResource(layout);
        if (CResMap::ChkError())
            continue;
        DisposeHandle(layout);
        removed.push_back(id);
    }
    if (!OpenedFile::Write())
        return false;
    for (int32_t id : removed)
        mResMap.erase(id);
    return removed.size() == ids.size();
}

bool CQF_Document::SaveResource(uint32_t type, int32_t id, const unsigned char* name, Handle data)
{
    OpenedFile file(*this, true);
    if (!file.IsOpen()) {
        DisposeHandle(data);
        return false;
    }
    // Only this document's file is searched: a resource of the same type and id further down the
    // chain (the application's own) must not be touched.
    return replaceResource(data, ResType(type), SInt16(id), name, false);
}

bool CQF_Document::SaveResource(uint32_t type, int32_t id, const unsigned char* name, const void* data,
                                uint32_t size)
{
    Handle copy = NewHandle(Size(size));
    if (copy == nullptr) {
        CResMap::errCode = memFullErr;
        return false;
    }
    HLock(copy);
    if (size != 0)
        std::memcpy(*copy, data, size);
    HUnlock(copy);
    return SaveResource(type, id, name, copy);
}
