// The collection of swatches kept in the preferences folder.
#include "SwatchPicker.h"

#include "FS_FileTypeRegistry.h"
#include "FS_Locator.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"
#include "FWApp.h"
#include "FWDynamicString.h"
#include "FWException.h"
#include "FWFileType.h"
#include "FileReference.h"

#include <cstdio>
#include <string>

namespace {

const char* const kSwatchesFileName = "Color Swatches";
const char* const kDamagedSuffix = ".bad";
// The "Preferences" folder beside the program.
constexpr int kProgramPreferencesKey = -5;

void programPreferencesFolder(FileReference& folder)
{
    Corvel::FS_Locator locator;
    Corvel::FS_LocatorRegistry::LookUpLocator(kProgramPreferencesKey, locator);
    FWDynamicString path;
    Corvel::FS_UtilPAC::LocatorToPathName(locator, path, false);
    if (path.GetCurrLength() == 0)
        return;
    if (!Corvel::FS_UtilPAC::DirectoryExists(locator))
        Corvel::FS_UtilPAC::CreateDirectory(locator); // a failure shows when the file is written
    folder.SetPath(path.GetCString());
}

} // namespace

CSwatchList SwatchPicker::gColorSwatches;
FWStr<31ul> SwatchPicker::gCurrentSwatchName;
unsigned long SwatchPicker::sSwatchCreator = 0;

void SwatchPicker::GetColorSwatchesFile(FileReference& file)
{
    FileReference folder(nullptr);
    if (FWApp::Exists())
        FWApp::Instance()->GetPreferencesDirectory(folder);
    // Appended to an empty reference the name would be a path relative to whatever folder is
    // current.
    if (folder.GetCurrLength() == 0)
        programPreferencesFolder(folder);
    folder.AppendPath(kSwatchesFileName);
    file = folder;
}

// Every picker registers them, so the open and save filters list the files whether or not this
// run read the collection; each only once, as the registry keeps every registration.
void SwatchPicker::RegisterSwatchFileTypes()
{
    const struct {
        uint32_t type;
        const char* extension;
    } kTypes[] = {{kSwatchFileType, "swch"}, {kColorTableFileType, "act"}};
    for (const auto& t : kTypes)
        if (Corvel::FS_FileTypeRegistry::TypeFromExtension(FWStr<31>(t.extension)) != t.type)
            Corvel::FS_FileTypeRegistry::RegisterFileType(t.type, FWStr<31>(t.extension), 0);
}

void SwatchPicker::LoadDefaultSwatches()
{
    RegisterSwatchFileTypes();
    FileReference file;
    GetColorSwatchesFile(file);
    if (file.Exists()) {
        // Read aside and taken only when whole, so a damaged file never yields half a
        // collection that the next save would write over the rest.
        CSwatchList read;
        try {
            ReadColorSwatches(file, read);
            gColorSwatches.TakeSwatches(read);
        } catch (FWException& e) {
            FWException::ReportException(e, "read the color swatches");
            const std::string path = file.PathName().GetCString();
            std::remove((path + kDamagedSuffix).c_str());
            std::rename(path.c_str(), (path + kDamagedSuffix).c_str());
        }
    }
    if (gColorSwatches.CountSwatches() != 0)
        return;
    MakeDefaultSwatches(gColorSwatches);
    SaveColorSwatches();
}

void SwatchPicker::SaveColorSwatches()
{
    FileReference file;
    GetColorSwatchesFile(file);
    WriteColorSwatches(file, gColorSwatches);
    FWFileType::SetFileType(file, kSwatchesFileType, sSwatchCreator);
}
