// The swatch picker of the colour-picker dialog, with its program-wide state: the one collection
// of swatches of the run, the name of the swatch shown last, and the "Color Swatches" file that
// keeps the collection between runs. The picker shows the current swatch's colours in a grid
// (CSwatchDisplay) under a pop-up that switches swatches and runs the swatch commands.
#pragma once

#include "ColorSwatch.h"
#include "FWColorPicker.h"
#include "FWGetTextDlog.h"
#include "FWPlatformUtils.h"
#include "FWRgb32.h"
#include "FWStr.h"
#include "FWView.h"

class CSwatchDisplay;
class FWOpMenu;
class FileReference;
class Popup;
class Scroller;

class SwatchPicker : public FWColorPicker {
public:
    // Loads the collection when it is empty; the current swatch is the one named
    // gCurrentSwatchName, else the first.
    explicit SwatchPicker(const FWColorPickerManager* manager);
    // Writes the collection back to its file; a failure is reported, never thrown.
    ~SwatchPicker() override;

    void ReceiveNewColorToEdit(const FWArgbColor& color) override { mColor = color; }
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("Swatch"); }
    void AddPickerViews(int16_t h, int16_t v) override;
    // The pop-up: a command by its position, or the swatch at position - 7.
    bool InterfaceEvent(FWView* view) override;

    // The colour as bytes, each component x 255 truncated.
    void GetCurrentColor(FWRgb32& color) const;
    // Red, green and blue from the swatch, alpha kept, sent on with the phase of the edit.
    void NewSwatchColor(FWRgb32 color, const ActionType& action);
    // Shows the collection's swatch at that index; nothing when there is none.
    void SelectNewSwatch(int index);

    // The swatch commands of the pop-up.
    void NewSwatch();
    void LoadSwatch();
    void SaveSwatch();
    void RenameSwatch();
    void DeleteSwatch();
    void ImportColorTable();

    CColorSwatch* GetCurrentSwatch() const { return mSwatch; }
    CSwatchDisplay* GetSwatchDisplay() const { return mDisplay; }
    Popup* GetSwatchPopup() const { return mPopup; }

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

    // Positions of the pop-up: the commands, the separator, then one item per swatch.
    enum : int {
        kNewSwatchItem = 0,
        kLoadSwatchItem,
        kSaveSwatchItem,
        kRenameSwatchItem,
        kDeleteSwatchItem,
        kImportColorTableItem,
        kSeparatorItem,
        kFirstSwatchItem,
    };

protected:
    void PickerViewsRemoved() override;

private:
    FWOpMenu* popupMenu() const;
    // A swatch added by New, Load or Import: appended, listed, shown.
    void appendSwatch(CColorSwatch* swatch);
    void enableDelete();
    // Puts the pop-up's selection back on the current swatch.
    void showCurrentPosition();

    FWArgbColor mColor;
    CColorSwatch* mSwatch = nullptr;
    CSwatchDisplay* mDisplay = nullptr;
    Popup* mPopup = nullptr;
};

// A grid of a swatch's colours, 14 a row and at most 8 rows shown, with a scroll bar on its
// right. A click picks a colour (dragging picks the ones passed over), a click past the last
// colour adds the picker's colour, a Control-click removes a colour unless it is the last.
class CSwatchDisplay : public FWView {
public:
    CSwatchDisplay(FWWindow* window, SwatchPicker* owner);
    ~CSwatchDisplay() override;
    CSwatchDisplay(const CSwatchDisplay&) = delete;
    CSwatchDisplay& operator=(const CSwatchDisplay&) = delete;

    // Makes the scroll bar, then takes the swatch and the rectangle.
    void Initialize(const FWRect* rect, CColorSwatch* swatch);
    // Shows the swatch from its first row.
    void SetTheSwatch(CColorSwatch* swatch);
    // The colour index under a point of the window: -1 outside the grid, -2 past the last colour.
    long PointToIndex(FWPoint point) const;

    void AddColorToSwatch();
    void RemoveColorFromSwatch(long index);

    // The view is the grid, 141 x 81 inside the rectangle's frame; the scroll bar overlaps its
    // last column line.
    void SetRect(const FWRect& rect) override;
    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;
    bool SetCursor() override;
    // From the scroll bar: shows the rows from its value.
    bool InterfaceAction(FWView* view, const ActionType& action) override;
    // The scroll bar was deleted with the picker's other views.
    void ForgetScroller() { mScroller = nullptr; }

    CColorSwatch* GetTheSwatch() const { return mSwatch; }
    Scroller* GetScroller() const { return mScroller; }
    long FirstVisibleRow() const { return mFirstRow; }
    long VisibleRows() const { return mVisibleRows; }

    static constexpr int16_t GetSwatchDisplayWidth() { return 149; }
    static constexpr int16_t GetSwatchDisplayHeight() { return 83; }
    static constexpr int kCellSize = 10;
    static constexpr int kColumns = 14;
    static constexpr int kMaxVisibleRows = 8;

private:
    long rowCount() const;
    void ResetScroller();
    void DrawOneRow(FWDrawContext& context, long row) const;

    SwatchPicker* mOwner;
    CColorSwatch* mSwatch = nullptr;
    Scroller* mScroller = nullptr;
    long mFirstRow = 0;
    long mVisibleRows = 0;
    CCrsrHandle mOverColorCursor;
    CCrsrHandle mAddCursor;
    CCrsrHandle mRemoveCursor;
};

// Accepts a swatch name that is not empty, at most 31 characters and not in the collection;
// each refusal is told to the user with a beep.
class SwatchNameValidator : public FWGetTextDlog::Validator {
public:
    bool ValidateText(FWString& text) override;
};
