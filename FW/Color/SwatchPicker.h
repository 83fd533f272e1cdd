// The swatch picker of the colour-picker dialog, with its program-wide state: the one collection
// of swatches of the run, the name of the swatch shown last, and the "Color Swatches" file that
// keeps the collection between runs.
#pragma once

#include "ColorSwatch.h"
#include "FWColorPicker.h"
#include "FWStr.h"

class FileReference;

class SwatchPicker : public FWColorPicker {
public:
    explicit SwatchPicker(const FWColorPickerManager* manager);

    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("Swatch"); }

    static CSwatchList gColorSwatches;
    static FWStr<31ul> gCurrentSwatchName;
    // The creator of every swatch file written.
    static unsigned long sSwatchCreator;

    // Reads "Color Swatches" into the collection when the file exists; when that leaves the
    // collection empty, builds the defaults and writes them. A file that cannot be read whole
    // is reported, kept as "Color Swatches.bad", and the defaults are used; nothing of it is
    // taken. Writing the defaults may throw.
    static void LoadDefaultSwatches();
    // Writes the whole collection to "Color Swatches" with its type and creator.
    static void SaveColorSwatches();
    // "Color Swatches" in the application's preferences folder; when the application names no
    // folder, in the "Preferences" folder beside the program, made when missing.
    static void GetColorSwatchesFile(FileReference& file);
    // Registers the swatch file ('SWCH', "swch") and colour table ('8BCT', "act") types, so
    // the file dialogs' filters list such files. Once is enough; again does no harm.
    static void RegisterSwatchFileTypes();
};
