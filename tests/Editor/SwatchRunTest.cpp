// The swatch picker in the running editor, with an empty preferences folder: the colour button of
// the sample shader interface opens the colour picker in Test mode, which writes the default
// collection; then a user makes a swatch, clicks colours into it, Control-clicks one out, saves it
// and loads it again through the file dialogs, and closes the picker. A second run reads the
// collection that the first one left.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "ColorButton.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWApplicationRegion.h"
#include "FWColorPickerDialog.h"
#include "FWFont.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "MixerPicker.h"
#include "PushButton.h"
#include "Popup.h"
#include "QuillformApp.h"
#include "RunScript.h"
#include "SwatchPicker.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int32_t kInterfaceLayout = 21000, kTintButton = 8;
// The items of the swatch pop-up: six commands, a separator, then the swatches.
constexpr int kNewItem = 0, kLoadItem = 1, kSaveItem = 2, kSeparatorItem = 6, kFirstSwatchItem = 7;

EditWindow* editWindow()
{
    return FWApp::Exists() ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
}

ColorButton* tintButton()
{
    EditWindow* window = editWindow();
    return window != nullptr ? dynamic_cast<ColorButton*>(window->ViewMngr().GetView(kTintButton)) : nullptr;
}

Point global(FWWindow& window, FWPoint p)
{
    window.WindowToGlobal(&p);
    return Point{p.v, p.h};
}

Point centre(FWWindow& window, const FWRect& r)
{
    return global(window, FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2)));
}

int pickerOpenings()
{
    int count = 0;
    for (const HostModalShown& shown : HostModalShownLog())
        count += shown.title == "Color Picker";
    return count;
}

bool idle()
{
    return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == 0;
}

void click(Point where, EventModifiers modifiers = 0)
{
    HostInjectMouseDown(where, modifiers);
    HostInjectMouseUp(where, modifiers);
}

// Where the picker opened from the tint button shows its parts: learnt from the same dialog made
// and shown, not run (the first opening has placed it for the rest of the run).
struct PickerPlaces {
    Point popup;       // on the swatch pop-up's box
    Point menuOrigin;  // where the pop-up's menu puts the top-left of its selected item
    Point gridOrigin;  // the grid's top-left corner
    Point mixer;       // inside the mixer
    Point ok;
    int16_t rowHeight = 0;

    // A click on the pop-up, then one on an item of its menu, opened with `selected` at the origin.
    void choose(int selected, int item) const
    {
        int16_t v = menuOrigin.v;
        for (int i = item; i < selected; ++i)
            v = int16_t(v - (i == kSeparatorItem ? 6 : rowHeight));
        for (int i = selected; i < item; ++i)
            v = int16_t(v + (i == kSeparatorItem ? 6 : rowHeight));
        const Point at{int16_t(v + rowHeight / 2), int16_t(menuOrigin.h + 20)};
        click(popup); // released at once: the menu stays open
        click(at);
    }
    // The middle of a cell of the grid's first row (cells of 10 pixels inside a 2-pixel edge).
    Point cell(int index) const { return Point{int16_t(gridOrigin.v + 6), int16_t(gridOrigin.h + 6 + 10 * index)}; }
};

PickerPlaces locatePicker(ColorButton& button)
{
    PickerPlaces places;
    FWColorPickerDialog dialog;
    dialog.GetManager().SetEditAlpha(button.GetEditAlpha());
    dialog.Initialize(&button.GetPromptString());
    dialog.GetManager().SetColorTarget(&button);
    dialog.Show();
    for (FWColorPicker* picker : dialog.GetPickerList()) {
        if (auto* swatch = dynamic_cast<SwatchPicker*>(picker)) {
            const Popup& popup = *swatch->GetSwatchPopup();
            places.popup = centre(dialog, popup.GetRect());
            places.menuOrigin = global(dialog, FWPoint(int16_t(popup.GetRect().left + popup.GetLabelWidth() + 1),
                                                       int16_t(popup.GetRect().top + 1)));
            const FWRect grid = swatch->GetSwatchDisplay()->GetRect();
            places.gridOrigin = global(dialog, FWPoint(grid.left, grid.top));
        }
        if (dynamic_cast<MixerPicker*>(picker) != nullptr)
            for (FWView* view : picker->GetPickerViews())
                if (auto* mixer = dynamic_cast<ColorMixer*>(view))
                    places.mixer = global(dialog, FWPoint(int16_t(mixer->GetRect().left + 60),
                                                          int16_t(mixer->GetRect().top + 40)));
    }
    places.ok = centre(dialog, dialog.GetOKButton()->GetRect());
    dialog.SendMessage(Dependable::IsBeingDeleted);
    // The menu's rows: the height of its font's lines and 2.
    FWFont font;
    if (FWGetApplicationRegion() != 0)
        font = FWFont(-1, 12);
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    places.rowHeight = int16_t(metrics.ascent + metrics.descent + metrics.leading + 2);
    return places;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += char(v);
    return out;
}

template <class Color>
std::string rgb(const Color& c)
{
    return bytes({c.r, c.g, c.b});
}

} // namespace

class SwatchRunTest : public EditorFixture {
protected:
    SwatchRunTest()
    {
        // As at the start of a process: no collection in memory.
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        SwatchPicker::gCurrentSwatchName = FWStr<31ul>("");
    }
    ~SwatchRunTest() override
    {
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        SwatchPicker::gCurrentSwatchName = FWStr<31ul>("");
    }

    // Opens the sample's shader interface from its file's list and takes the Test tool.
    void openInterface(RunScript& script)
    {
        script
            .Then("the list of layouts", [] { return FWApp::Exists() && FWWindow::ModalCount() > 0; },
                  [] {
                      const LayoutListPlaces list = LocateLayoutList();
                      HostInjectClick(list.Row(2)); // 128, 129, then 21000
                      HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
                  })
            .Then("the interface",
                  [] { return idle() && editWindow() != nullptr && editWindow()->ViewMngr().GetResID() == kInterfaceLayout; },
                  [] { HostInjectClick(ToolWidgetCentre("Test")); })
            .Then("the Test tool", [] { return idle() && EditWindow::mToolType == 0; },
                  // Nobody answers this opening: it is accepted as it is.
                  [] { click(centre(*editWindow(), tintButton()->GetRect())); });
    }

    void run(RunScript& script)
    {
        script.Start();
        const char* argv[] = {"quillform", mSample.c_str()};
        QZMain(2, argv);
        script.StopIdling();
        EXPECT_EQ("", script.TimedOut());
        EXPECT_TRUE(script.Finished());
    }

    static void quit()
    {
        editWindow()->SetDirty(false);
        HostInjectQuit();
    }

    std::string mSample = File("sample.rsrc");
};

TEST_F(SwatchRunTest, ASwatchMadeInThePickerIsSavedLoadedAndKeptInTheCollectionForTheNextRun)
{
    HostUseSystemClock();
    std::filesystem::copy_file(FW_SAMPLE_RSRC, mSample);
    const std::string collection = File("Preferences/Color Swatches");
    const std::string saved = File("Mine.swch");
    size_t firstSize = 0;
    FWArgb32 opening, mixed;

    RunScript first(std::chrono::seconds(90));
    openInterface(first);
    first
        .Then("the first opening", [] { return idle() && pickerOpenings() == 1; },
              [&] {
                  firstSize = std::filesystem::exists(collection) ? std::filesystem::file_size(collection) : 0;
                  opening = tintButton()->GetColor(); // the shader data's tint
                  const PickerPlaces at = locatePicker(*tintButton());
                  HostNavAnswer answer;
                  answer.cancel = false;
                  answer.paths = {saved};
                  HostNavPresetAnswer(answer); // Save Swatch...
                  HostNavPresetAnswer(answer); // Load Swatch...
                  click(centre(*editWindow(), tintButton()->GetRect()));
                  // "System" is shown; the new swatch is the sixth.
                  at.choose(kFirstSwatchItem, kNewItem);
                  for (char c : std::string("Mine"))
                      HostInjectKey(0, uint8_t(c));
                  HostInjectKey(36, 13);
                  click(at.cell(2));               // white, black, and the opening colour added
                  click(at.mixer);                 // another colour picked
                  click(at.cell(3));               // and added
                  click(at.cell(0), controlKey);   // white taken out
                  at.choose(kFirstSwatchItem + 5, kSaveItem);
                  at.choose(kFirstSwatchItem + 5, kLoadItem);
                  click(at.ok);
              })
        .Then("the picker closed", [] { return idle() && pickerOpenings() == 2; },
              [&] {
                  mixed = tintButton()->GetColor();
                  quit();
              });
    run(first);

    EXPECT_EQ(4027u, firstSize);
    // Named "Mine", holding black, the opening colour and the mixed one.
    const std::string mine = bytes({0x73, 0x77, 0x63, 0x68, 0, 0, 0, 0x1B, 1, 0x73, 0x74, 0x72, 0x67, 0, 0, 0, 5, 1,
                                    'M', 'i', 'n', 'e', 0, 0, 0, 3, 0, 0, 0}) +
                             rgb(opening) + rgb(mixed);
    const std::string header = bytes({0x73, 0x67, 0x74, 0x72, 0, 0, 0, 4, 0x53, 0x57, 0x43, 0x48, 0x76, 0x65, 0x72,
                                      0x73, 0, 0, 0, 4, 1, 0, 0, 0xC1});
    EXPECT_EQ(header + mine, TempFolder::ReadFile(saved));
    // The five defaults, the new swatch and the one loaded: a count of 7 and a block 70 longer.
    const std::string written = TempFolder::ReadFile(collection);
    ASSERT_EQ(4027u + 70u, written.size());
    EXPECT_EQ(bytes({0, 0, 0x0F, 0xE1, 1, 0, 0, 0, 7}), written.substr(28, 9));
    EXPECT_EQ(mine + mine, written.substr(written.size() - 70));

    // A new run starts with no collection in memory and reads the file.
    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    SwatchPicker::gCurrentSwatchName = FWStr<31ul>("");
    HostResetModalLoops();
    RunScript second(std::chrono::seconds(60));
    openInterface(second);
    second.Then("the opening", [] { return idle() && pickerOpenings() == 1; }, [] { quit(); });
    run(second);

    ASSERT_EQ(7, SwatchPicker::gColorSwatches.CountSwatches());
    const CColorSwatch& read = *SwatchPicker::gColorSwatches.FindSwatchByIndex(5);
    EXPECT_EQ(FWStr<31ul>("Mine"), read.GetSwatchName());
    ASSERT_EQ(3, read.GetNumColors());
    EXPECT_EQ(bytes({0, 0, 0}) + rgb(opening) + rgb(mixed), rgb(read[0]) + rgb(read[1]) + rgb(read[2]));
    EXPECT_EQ(written, TempFolder::ReadFile(collection));
}
