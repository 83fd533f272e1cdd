// The file services started with the program's "Preferences" folder in a scratch folder, so
// that swatch pickers read and write their collection there; the collection is emptied before
// and after.
#pragma once

#include "FS_FileTypeRegistry.h"
#include "FS_Locator.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "SwatchPicker.h"
#include "TempFolder.h"

#include <string>

class SwatchFolderScope {
public:
    SwatchFolderScope()
    {
        Corvel::FS_LocatorRegistry::Init();
        Corvel::FS_FileTypeRegistry::Init();
        Corvel::FS_Locator locator;
        Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(mFolder.File("Preferences").c_str()), locator);
        Corvel::FS_LocatorRegistry::RegisterLocator(-5, locator);
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        SwatchPicker::gCurrentSwatchName = FWStr<31ul>("");
    }
    ~SwatchFolderScope()
    {
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        SwatchPicker::gCurrentSwatchName = FWStr<31ul>("");
        Corvel::FS_FileTypeRegistry::CleanUp();
        Corvel::FS_LocatorRegistry::CleanUp();
    }
    SwatchFolderScope(const SwatchFolderScope&) = delete;
    SwatchFolderScope& operator=(const SwatchFolderScope&) = delete;

    std::string CollectionPath() const { return mFolder.File("Preferences/Color Swatches"); }

    TempFolder mFolder;
};
