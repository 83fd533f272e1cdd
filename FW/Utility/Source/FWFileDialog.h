// The framework's one-call file chooser: a title, a proposed name and type filters in, the chosen
// file out as a FileReference. A front over the file services' pick-file and name-file dialogs.
#pragma once

#include "FWFileType.h"
#include "FWStr.h"
#include "FileReference.h"

#include <cstdint>
#include <vector>

class FWFileDialog {
public:
    // title may be null (no title).
    explicit FWFileDialog(const FWStr<31>* title = nullptr);
    ~FWFileDialog() = default;

    void SetDialogName(const FWString& title) { mTitle = title; }
    void SetDefaultFileName(const FWString& name) { mDefaultFileName = name; }
    void AddFilter(const FWFileType& filter) { mFilters.push_back(filter); }
    void GetChosenFile(FileReference& out) const { out = mChosenFile; }

    // Open: one type list per filter, in order, then "All Files"; the run starts on the list
    // last chosen in any open dialog. Save: the proposed name; the filters play no part. Both
    // answer whether a file was chosen; the chosen file is left as it was otherwise.
    bool SelectFileForOpen();
    bool SelectFileForSave();

    // The type list chosen at the last successful open, shared by all dialogs; -1 before any.
    static int LastChosenFilter() { return sLastChosenFilter; }
    static void SetLastChosenFilter(int index) { sLastChosenFilter = index; }

private:
    FWStr<255> mTitle;
    FWStr<255> mDefaultFileName;
    std::vector<FWFileType> mFilters;
    FileReference mChosenFile;

    static int sLastChosenFilter;
};
