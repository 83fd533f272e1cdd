// The swatch picker in a window: its grid of colours, the pop-up commands and their refusals,
// and writing the collection when the picker goes.
#include "ControlTestWindow.h"
#include "FWEvent.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostResources.h"
#include "Popup.h"
#include "Scroller.h"
#include "ShownMessages.h"
#include "SwatchFolderScope.h"
#include "SwatchPicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

CColorSwatch* swatchOf(const char* name, int colors)
{
    const FWStr<31ul> swatchName(name);
    auto* swatch = new CColorSwatch(short(colors), &swatchName);
    for (short i = 0; i < colors; ++i)
        (*swatch)[i] = FWRgb32(i, 0, 0);
    return swatch;
}

std::vector<int> rgb(const FWRgb32& c)
{
    return {c.r, c.g, c.b};
}

class SwatchPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool opened = false;
        if (!opened) {
            SInt16 ref = 0;
            opened = HostOpenApplicationResourceFile(FW_APP_RSRC, &ref) == noErr;
        }
        ASSERT_TRUE(opened);
        HostResetModalLoops();
    }
    void TearDown() override
    {
        hide();
        HostResetModalLoops();
    }

    // A picker whose frame starts at (10, 40): its grid is (11, 41) - (152, 122).
    SwatchPicker& show()
    {
        mPicker = std::make_unique<SwatchPicker>(&mManager);
        mPicker->AddToWindow(&w.Window(), 10, 40);
        return *mPicker;
    }
    // Takes the views out of the window, as the dialog does, then deletes the picker.
    void hide()
    {
        if (mPicker != nullptr)
            mPicker->RemoveFromWindow(&w.Window());
        mPicker.reset();
    }
    bool click(FWPoint at, bool control = false, bool contextual = false)
    {
        FWEvent event(kMouseDownEvent, &w.Window(), control ? kFWControlKey : 0);
        event.mWhere = at;
        CSwatchDisplay* display = mPicker->GetSwatchDisplay();
        return contextual ? display->ContextualMouseDownEvent(event) : display->MouseDownEvent(event);
    }
    bool deleteEnabled() const
    {
        FWUserOp* item = mPicker->GetSwatchPopup()->GetPopupMenu()->Root()->MenuItem(4);
        return (item->Flags() & kUserOpDisabled) == 0;
    }
    static void typeLine(const char* text)
    {
        for (; *text != 0; ++text)
            HostInjectKey(0, uint8_t(*text));
        HostInjectKey(36, 13);
    }

    SwatchFolderScope swatches;
    FWColorPickerManager mManager;
    ControlTestWindow w;
    std::unique_ptr<SwatchPicker> mPicker;
};

TEST_F(SwatchPickerTest, GridRowsScrollingAndHitTesting)
{
    struct Case {
        int colors;
        long rows, shown, scrollMax;
    };
    for (const Case& c : {Case{1, 1, 1, 0}, Case{14, 2, 2, 0}, Case{111, 8, 8, 0}, Case{113, 9, 8, 1}}) {
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        SwatchPicker::gColorSwatches.AddSwatch(swatchOf("s", c.colors));
        show();
        CSwatchDisplay& display = *mPicker->GetSwatchDisplay();
        EXPECT_EQ(c.shown, display.VisibleRows()) << c.colors;
        EXPECT_EQ(c.scrollMax, display.GetScroller()->ScrollMax()) << c.colors;
        EXPECT_EQ(FWRect(11, 41, 152, 122), display.GetRect());
        EXPECT_EQ(FWRect(151, 41, 158, 122), display.GetScroller()->GetRect());
        hide();
    }

    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("t", 14));
    show();
    const CSwatchDisplay& display = *mPicker->GetSwatchDisplay();
    struct Hit {
        FWPoint at;
        long index;
    };
    for (const Hit& h : {Hit{{12, 42}, -1}, Hit{{13, 43}, 0}, Hit{{21, 43}, 0}, Hit{{22, 43}, 1}, Hit{{150, 50}, 13},
                         Hit{{13, 53}, -2}, Hit{{151, 50}, -1}, Hit{{13, 120}, -2}, Hit{{13, 121}, -1}})
        EXPECT_EQ(h.index, display.PointToIndex(h.at)) << h.at.h << "," << h.at.v;
}

TEST_F(SwatchPickerTest, ClicksPickAddAndRemoveColoursButNeverTheLast)
{
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("s", 14));
    SwatchPicker& picker = show();
    CColorSwatch& swatch = *picker.GetCurrentSwatch();
    FWArgbColor color;
    color.a = 0.5f, color.r = 1.0f, color.g = 0.5f, color.b = 0.2f;
    picker.ReceiveNewColorToEdit(color);

    // The empty second row: the picker's colour is appended (x 255, truncated).
    EXPECT_TRUE(click({13, 53}));
    ASSERT_EQ(15, swatch.GetNumColors());
    EXPECT_EQ((std::vector<int>{255, 127, 51}), rgb(swatch[14]));

    // Control-click removes and closes the gap; a plain click picks the colour.
    EXPECT_TRUE(click({22, 43}, true));
    ASSERT_EQ(14, swatch.GetNumColors());
    EXPECT_EQ((std::vector<int>{2, 0, 0}), rgb(swatch[1]));
    EXPECT_TRUE(click({32, 43}));
    FWRgb32 picked;
    picker.GetCurrentColor(picked);
    EXPECT_EQ((std::vector<int>{3, 0, 0}), rgb(picked));

    // Down to one colour: Control picks it, a contextual click neither adds nor removes.
    swatch.SetNumColors(1);
    picker.GetSwatchDisplay()->SetTheSwatch(&swatch);
    EXPECT_TRUE(click({13, 43}, true));
    EXPECT_TRUE(click({13, 43}, false, true));
    EXPECT_TRUE(click({40, 43}, false, true));
    EXPECT_EQ(1, swatch.GetNumColors());
    picker.GetCurrentColor(picked);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), rgb(picked));
}

TEST_F(SwatchPickerTest, TheCurrentColourIsClampedAsTheColourButtonShowsIt)
{
    SwatchPicker& picker = show();
    // Channels typed as 300, -20 and 127.5, then not a number.
    FWArgbColor color;
    color.a = 1.0f, color.r = 300 / 255.0f, color.g = -20 / 255.0f, color.b = 127.5f / 255.0f;
    picker.ReceiveNewColorToEdit(color);
    FWRgb32 current;
    picker.GetCurrentColor(current);
    EXPECT_EQ((std::vector<int>{255, 0, 127}), rgb(current));
    color.r = std::numeric_limits<float>::quiet_NaN();
    picker.ReceiveNewColorToEdit(color);
    picker.GetCurrentColor(current);
    EXPECT_EQ(0, current.r);
}

TEST_F(SwatchPickerTest, NewAndDeleteKeepThePopUpAndItsDeleteItemInStep)
{
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("first", 3));
    SwatchPicker& picker = show();
    Popup& popup = *picker.GetSwatchPopup();
    EXPECT_EQ(8, popup.CountItems());
    EXPECT_EQ(7, popup.ItemSelected());
    EXPECT_FALSE(deleteEnabled());

    typeLine("50%s");
    picker.NewSwatch();
    ASSERT_EQ(2, SwatchPicker::gColorSwatches.CountSwatches());
    CColorSwatch& made = *picker.GetCurrentSwatch();
    EXPECT_EQ(FWStr<31ul>("50%s"), made.GetSwatchName());
    ASSERT_EQ(2, made.GetNumColors());
    EXPECT_EQ((std::vector<int>{255, 255, 255}), rgb(made[0]));
    EXPECT_EQ((std::vector<int>{0, 0, 0}), rgb(made[1]));
    EXPECT_EQ(8, popup.ItemSelected());
    EXPECT_EQ(FWStr<31ul>("50%s"), SwatchPicker::gCurrentSwatchName);
    EXPECT_TRUE(deleteEnabled());

    // Deleting the last swatch shows the one now last; the name is shown as it is.
    HostModalPresetAnswer(HostModalAnswer::kDefault);
    picker.DeleteSwatch();
    ASSERT_FALSE(ShownMessageTexts().empty());
    EXPECT_EQ("Are you sure you want to delete swatch \"50%s\"?", ShownMessageTexts().back());
    ASSERT_EQ(1, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(SwatchPicker::gColorSwatches.FindSwatchByIndex(0), picker.GetCurrentSwatch());
    EXPECT_EQ(8, popup.CountItems());
    EXPECT_EQ(7, popup.ItemSelected());
    EXPECT_FALSE(deleteEnabled());
}

TEST_F(SwatchPickerTest, SaveLoadImportAndRenameThroughTheirDialogs)
{
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("ab", 2));
    SwatchPicker& picker = show();
    Popup& popup = *picker.GetSwatchPopup();
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {swatches.mFolder.File("mine.swch")};
    HostNavPresetAnswer(answer);
    picker.SaveSwatch();
    EXPECT_EQ("ab.swch", HostNavLastShown().saveFileName);
    EXPECT_EQ(54u, TempFolder::ReadFile(answer.paths[0]).size());

    HostNavPresetAnswer(answer);
    picker.LoadSwatch();
    ASSERT_EQ(2, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(SwatchPicker::gColorSwatches.FindSwatchByIndex(1), picker.GetCurrentSwatch());
    EXPECT_EQ(FWStr<31ul>("ab"), picker.GetCurrentSwatch()->GetSwatchName());
    EXPECT_EQ((std::vector<int>{1, 0, 0}), rgb((*picker.GetCurrentSwatch())[1]));
    EXPECT_EQ(8, popup.ItemSelected());

    std::string table(772, '\0');
    table[0] = 9, table[1] = 8, table[2] = 7, table[767] = 6;
    answer.paths = {swatches.mFolder.Create("pal.act", table)};
    HostNavPresetAnswer(answer);
    picker.ImportColorTable();
    ASSERT_EQ(3, SwatchPicker::gColorSwatches.CountSwatches());
    const CColorSwatch& imported = *picker.GetCurrentSwatch();
    EXPECT_EQ(FWStr<31ul>("pal.act"), imported.GetSwatchName());
    ASSERT_EQ(256, imported.GetNumColors());
    EXPECT_EQ((std::vector<int>{9, 8, 7}), rgb(imported[0]));
    EXPECT_EQ((std::vector<int>{0, 0, 6}), rgb(imported[255]));
    EXPECT_EQ(10, popup.CountItems());

    // A cancelled command from the pop-up adds nothing and leaves the shown swatch selected.
    HostNavPresetAnswer(HostNavAnswer{});
    popup.SetItemSelected(SwatchPicker::kImportColorTableItem);
    EXPECT_TRUE(picker.InterfaceEvent(&popup));
    EXPECT_EQ(3, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(9, popup.ItemSelected());

    typeLine("renamed");
    picker.RenameSwatch();
    EXPECT_EQ(FWStr<31ul>("renamed"), imported.GetSwatchName());
    EXPECT_EQ(FWStr<31ul>("renamed"), FWStr<31ul>(popup.GetPopupMenu()->Root()->MenuItem(9)->Name()));
    EXPECT_EQ(FWStr<31ul>("pal.act"), SwatchPicker::gCurrentSwatchName);
}

TEST_F(SwatchPickerTest, TheFiltersListSwatchFilesAndColourTablesWhenTheCollectionWasNotRead)
{
    // A collection in memory: this picker reads no file, yet registers the file types.
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("s", 1));
    for (const char* name : {"a.swch", "b.act", "c.txt"})
        swatches.mFolder.Create(name);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(swatches.mFolder.Path()); // where the dialogs start
    SwatchPicker& picker = show();
    auto files = [] {
        std::vector<std::string> shown;
        for (const std::string& entry : HostNavLastShown().entries)
            if (entry.back() != '/')
                shown.push_back(entry);
        return shown;
    };
    picker.LoadSwatch();
    EXPECT_EQ(std::vector<std::string>{"a.swch"}, files());
    picker.ImportColorTable();
    EXPECT_EQ(std::vector<std::string>{"b.act"}, files());
    std::filesystem::current_path(before);
}

TEST_F(SwatchPickerTest, ThePopUpSelectsTheShownSwatchAmongRepeatedNames)
{
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("dup", 1));
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("dup", 2));
    SwatchPicker::gCurrentSwatchName = FWStr<31ul>("dup");
    SwatchPicker& picker = show();
    EXPECT_EQ(SwatchPicker::gColorSwatches.FindSwatchByIndex(0), picker.GetCurrentSwatch());
    EXPECT_EQ(7, picker.GetSwatchPopup()->ItemSelected());
}

TEST_F(SwatchPickerTest, RefusedNamesAreToldAndKeepTheDialog)
{
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("Taken", 1));
    const std::string tooLong(32, 'x');
    struct Case {
        std::string name;
        bool accepted;
        std::string message;
    };
    const Case cases[] = {
        {"", false, "You must enter a valid name or cancel."},
        {tooLong, false, "The name \"" + tooLong + "\" is too long.\r\rPlease enter a shorter swatch name."},
        {"Taken", false, "The name \"Taken\" is already in use.\r\rPlease enter a unique swatch name."},
        {std::string(31, 'y'), true, ""},
    };
    SwatchNameValidator validator;
    for (const Case& c : cases) {
        HostResetModalLoops();
        HostModalPresetAnswer(HostModalAnswer::kDefault);
        FWStr<255> text(c.name.c_str());
        EXPECT_EQ(c.accepted, validator.ValidateText(text)) << c.name;
        EXPECT_EQ(c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message},
                  ShownMessageTexts());
    }
}

TEST_F(SwatchPickerTest, TheCollectionIsWrittenWhenThePickerGoesAndAFailureIsOnlyReported)
{
    show();
    ASSERT_EQ(5, SwatchPicker::gColorSwatches.CountSwatches());
    SwatchPicker::gColorSwatches.AddSwatch(swatchOf("kept", 1));
    hide();
    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    SwatchPicker::LoadDefaultSwatches();
    EXPECT_EQ(6, SwatchPicker::gColorSwatches.CountSwatches());

    // The collection's folder replaced by a file: nothing can be written there.
    std::filesystem::remove_all(swatches.mFolder.File("Preferences"));
    swatches.mFolder.Create("Preferences", "not a folder");
    mPicker = std::make_unique<SwatchPicker>(&mManager);
    EXPECT_NO_THROW(hide());
    EXPECT_EQ(1u, ShownMessageTexts().size());
}

} // namespace
