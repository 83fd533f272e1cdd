// The editor's document: one resource file and the map of its 'WINT' layouts (id to name). The
// file is never kept open: each operation opens it through a resource-file guard, works through
// the Resource Manager, writes the file back and closes it again. Failures answer false and leave
// the Resource Manager's code in CResMap::errCode for QuillformApp::ShowResError.
#pragma once

#include "FS_Locator.h"
#include "FWDocument.h"
#include "HostTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class EditWindow;
class FWString;

// Layout id to layout name (without the length byte), ascending by id.
class CResMap : public std::map<int, std::string> {
public:
    // The name of the id; "<Map Error!>" when the id is not in the map.
    std::string Name(int id) const;
    bool Exists(int id) const { return count(id) != 0; }
    // An id for a new layout: the start id for an empty map, else the first id missing in the run
    // that begins at the smallest id of the map.
    int NextID(int start) const;

    // Stores the Resource Manager's last result in errCode; true when it is an error.
    static bool ChkError();
    // The last resource error of any document; 0 when none.
    static int errCode;
};

class CQF_Document : public FWDocument {
public:
    CQF_Document();
    ~CQF_Document() override;

    CResMap& ResMap() { return mResMap; }
    const CResMap& ResMap() const { return mResMap; }

    // The locator of the associated file.
    Corvel::FS_Locator Path2Locator() const;
    // The first of the document's windows showing the layout of that id; null when none.
    EditWindow* FindWindow(int32_t id);

    // Fills the map from the file's 'WINT' resources; false on the first failure (what was read
    // stays).
    bool ReadWINT();
    // Replaces the stored layout of the id, which must be in the file, keeping the map's name.
    bool SaveWINT(Handle layout, int id);
    bool AddWINT(Handle layout, int id, const FWString& name);
    bool RenameWINT(int oldID, int newID, const FWString& name);
    bool CopyWINT(int sourceID, int newID, const FWString& name);
    // Removes the layouts of the ids found in both the map and the file; true when every id was
    // removed and the file written.
    bool RemoveWINT(const std::vector<int32_t>& ids);
    // Replaces or adds a resource of this file (name: a length-prefixed string).
    bool SaveResource(uint32_t type, int32_t id, const unsigned char* name, Handle data);
    bool SaveResource(uint32_t type, int32_t id, const unsigned char* name, const void* data, uint32_t size);

private:
    CResMap mResMap;
};
