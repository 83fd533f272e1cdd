// The colour-picker dialog and its pickers, driven headless: the first layout, the channel
// pickers' numbers and ramps, the mixer, the before/after squares, rearranging by dragging
// icons, and a whole session through the event loop from colour buttons in a window.
#include "ARGBPicker.h"
#include "BeforeAfterPicker.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "ControlTestWindow.h"
#include "EditText.h"
#include "FWAppColor.h"
#include "FWColorPickerDialog.h"
#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "Group.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostResources.h"
#include "MixerPicker.h"
#include "ModelPickers.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "StaticText.h"
#include "SwatchFolderScope.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace {

template <class P>
P* picker(FWColorPickerDialog& dialog)
{
    for (FWColorPicker* p : dialog.GetPickerList())
        if (auto* found = dynamic_cast<P*>(p))
            return found;
    return nullptr;
}

template <class V>
std::vector<V*> viewsOf(FWColorPicker* p)
{
    std::vector<V*> found;
    for (FWView* view : p->GetPickerViews())
        if (auto* v = dynamic_cast<V*>(view))
            found.push_back(v);
    return found;
}

std::string text(const EditText* field)
{
    FWStr<255> s;
    field->GetText(&s);
    return std::string(s.GetCString(), s.GetCurrLength());
}

void type(EditText* field, const char* value)
{
    field->SetText(value);
}

struct Dialog {
    explicit Dialog(ColorButton* button)
    {
        dialog->GetManager().SetEditAlpha(button->GetEditAlpha());
        dialog->Initialize(&button->GetPromptString());
        dialog->GetManager().SetColorTarget(button);
        dialog->Show();
    }
    ~Dialog() { dialog->SendMessage(Dependable::IsBeingDeleted); }
    FWColorPickerDialog* operator->() { return dialog.get(); }
    FWColorPickerDialog& operator*() { return *dialog; }
    std::unique_ptr<FWColorPickerDialog> dialog = std::make_unique<FWColorPickerDialog>();
};

class ColorPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool opened = false;
        if (!opened) {
            SInt16 ref = 0;
            opened = HostOpenApplicationResourceFile(FW_APP_RSRC, &ref) == noErr;
        }
        ASSERT_TRUE(opened);
        FWColorPickerDialog::sColorPickerLeft = FWColorPickerDialog::sColorPickerTop = -100000;
        FWColorPickerDialog::gPickerHorizontal = false;
        FWColorPickerDialog::gARGBPercent = false;
        FWColorPickerDialog::gPickerDialogState.clear();
        button = new ColorButton;
        button->Init(&w.Window(), FWRect(20, 20, 60, 50), FWArgb32(255, 10, 20, 30));
        button->SetInterfaceTarget(&log);
        w.Add(button);
        second = new ColorButton;
        second->Init(&w.Window(), FWRect(100, 20, 140, 50), FWArgb32(255, 200, 100, 50));
        second->SetInterfaceTarget(&log);
        w.Add(second);
    }

    // A press at a point of the window, moved through the others and released at the last,
    // handed to the view as the event loop would.
    static bool press(FWView* view, FWPoint at, std::initializer_list<FWPoint> moves = {})
    {
        FWWindow& window = *view->GetWindow();
        auto global = [&](FWPoint local) {
            const FWPoint g = ControlTestWindow::ToGlobal(window, local);
            return Point{g.v, g.h};
        };
        HostInjectMouseDown(global(at));
        FWPoint last = at;
        for (FWPoint move : moves)
            HostInjectMouseMove(global(last = move));
        HostInjectMouseUp(global(last));
        EventRecord record;
        for (int i = 0; i < 16; ++i)
            if (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what == mouseDown)
                break;
        FWEvent event(kMouseDownEvent, &window, 0);
        event.mWhere = at;
        event.mGlobalWhere = ControlTestWindow::ToGlobal(window, at);
        return view->MouseDownEvent(event);
    }

    std::vector<int> shownIDs(FWColorPickerDialog& dialog)
    {
        std::vector<int> ids;
        for (ColorPickerHandle* handle : dialog.GetHandles())
            ids.push_back(handle->GetThePicker()->GetPickerID());
        return ids;
    }

    SwatchFolderScope swatches; // the swatch picker keeps its collection there
    ControlTestWindow w;
    InterfaceLog log;
    ColorButton* button = nullptr;
    ColorButton* second = nullptr;
};

TEST_F(ColorPickerTest, FirstOpeningStacksTheDefaultFourCentredInsideTheScreen)
{
    Dialog d(button);
    EXPECT_EQ(std::string("Color Picker"), std::string(d->Name().GetCString(), d->Name().GetCurrLength()));
    auto* squares = picker<BeforeAfterPicker>(*d);
    EXPECT_EQ(FWRect(0, 4, 24, 28), squares->GetCurrentSquare()->GetRect());
    EXPECT_EQ(FWRect(24, 4, 48, 28), squares->GetOpeningSquare()->GetRect());
    EXPECT_EQ(FWRect(60, 4, 180, 28), d->GetBin()->GetRect());
    EXPECT_EQ((std::vector<int>{10, 40, 50, 70}), shownIDs(*d));
    const FWRect frames[] = {{7, 32, 177, 148}, {7, 150, 177, 246}, {7, 248, 177, 376}, {7, 378, 177, 499}};
    ASSERT_EQ(4u, d->GetFrames().size());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(frames[i], d->GetFrames()[i]->GetRect()) << i;
    EXPECT_EQ(FWRect(13, 507, 83, 527), d->GetCancelButton()->GetRect());
    EXPECT_EQ(FWRect(89, 503, 167, 531), d->GetOKButton()->GetRect());

    // Centred in the application's rectangle, then held 5 inside the usable bounds and 45
    // below their top.
    const FWRect frame = d->GlobalFrame();
    FWRect app;
    FWGetAppRect(&app);
    int32_t left = app.left + (app.Width() - frame.Width()) / 2;
    int32_t top = app.top + (app.Height() - frame.Height()) / 2;
    const FWRect usable = FWMonitor::FindMonitorByArea(frame)->UsableBounds();
    left = std::max<int32_t>(std::min<int32_t>(left, usable.right - frame.Width() - 5), usable.left + 5);
    top = std::max<int32_t>(std::min<int32_t>(top, usable.bottom - frame.Height() - 5), usable.top + 45);
    EXPECT_EQ(left, FWColorPickerDialog::sColorPickerLeft);
    EXPECT_EQ(top, FWColorPickerDialog::sColorPickerTop);
}

TEST_F(ColorPickerTest, ChannelFieldsShowTheUnitAndTheSwitchRewritesThemOnce)
{
    Dialog d(button);
    auto* argb = picker<ARGBPicker>(*d);
    const std::vector<EditText*> fields = viewsOf<EditText>(argb); // A, R, G, B
    ASSERT_EQ(4u, fields.size());
    d->GetManager().SetCurrentColor(FWArgbColor(1.0f, 0.5f, 0.392f, 0.0f));
    EXPECT_EQ("255", text(fields[0]));
    EXPECT_EQ("127", text(fields[1]));
    EXPECT_EQ("99", text(fields[2]));
    EXPECT_EQ("0", text(fields[3]));

    auto* unit = viewsOf<RadioButtonSet>(argb).at(0);
    unit->SetActiveButton(0);
    log.mEntries.clear();
    argb->InterfaceEvent(unit);
    EXPECT_EQ("100.0", text(fields[0]));
    EXPECT_EQ("50.0", text(fields[1]));
    EXPECT_EQ("39.2", text(fields[2]));
    EXPECT_EQ("0.0", text(fields[3]));
    EXPECT_EQ((std::vector<std::string>{"action 0"}), log.mEntries);
    EXPECT_EQ(FWArgb32(255, 127, 99, 0), button->GetColor());
}

TEST_F(ColorPickerTest, TypingMovesTheSliderAndRepaintsEveryRampMovingRepaintsTheOthers)
{
    Dialog d(button);
    auto* argb = picker<ARGBPicker>(*d);
    const std::vector<EditText*> fields = viewsOf<EditText>(argb);
    const std::vector<ColorSlider*> sliders = viewsOf<ColorSlider>(argb); // A, R, G, B
    d->GetManager().SetCurrentColor(FWArgbColor(1.0f, 0.0f, 0.0f, 0.0f));

    type(fields[1], "51");
    argb->InterfaceEvent(fields[1]);
    EXPECT_FLOAT_EQ(0.2f, sliders[1]->GetValue());
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(FWArgb32(255, 51, 0, 0), sliders[size_t(i)]->GetRefColor()) << i;

    sliders[1]->SetValue(0.4f);
    argb->InterfaceAction(sliders[1], ActionType(1));
    EXPECT_EQ(FWArgb32(255, 51, 0, 0), sliders[1]->GetRefColor());
    EXPECT_EQ(FWArgb32(255, 102, 0, 0), sliders[2]->GetRefColor());
    EXPECT_EQ(FWArgb32(255, 102, 0, 0), sliders[3]->GetRefColor());
    EXPECT_EQ("102", text(fields[1]));
    EXPECT_EQ(FWArgb32(255, 102, 0, 0), button->GetColor());
}

TEST_F(ColorPickerTest, WithoutEditAlphaTheChannelPickerHasNoAlphaRow)
{
    button->SetEditAlpha(false);
    Dialog d(button);
    auto* argb = picker<ARGBPicker>(*d);
    int16_t width = 0, height = 0;
    argb->GetColorPickerSize(width, height);
    EXPECT_EQ(58, height);
    EXPECT_EQ(3u, viewsOf<EditText>(argb).size());
    for (StaticText* label : viewsOf<StaticText>(argb))
        EXPECT_NE(std::string("A"), std::string(label->GetText().GetCString(), label->GetText().GetCurrLength()));
    EXPECT_EQ(FWRect(7, 32, 177, 128), d->GetFrames()[0]->GetRect());
}

TEST_F(ColorPickerTest, ModelPickersReadEveryFieldAndKeepTheirOwnChannels)
{
    Dialog d(button);
    auto* hsv = picker<HSVPicker>(*d);
    const std::vector<EditText*> hsvFields = viewsOf<EditText>(hsv);
    d->GetManager().SetCurrentColor(FWArgbColor(1.0f, 1.0f, 0.0f, 0.0f));
    EXPECT_EQ("0.0", text(hsvFields[0]));
    EXPECT_EQ("100.0", text(hsvFields[1]));
    // Hue typed, value half typed in another field: both count.
    type(hsvFields[0], "120");
    type(hsvFields[2], "50");
    hsv->InterfaceEvent(hsvFields[0]);
    EXPECT_EQ(FWArgb32(255, 0, 127, 0), button->GetColor());

    // The CMYK picker is shown from the bin; the black slider keeps cyan, magenta and yellow.
    auto* cmyk = picker<CMYKPicker>(*d);
    cmyk->AddToWindow(&*d, 0, 600);
    d->GetManager().SetCurrentColor(FWArgbColor(1.0f, 0.0f, 1.0f, 1.0f)); // c 1, m 0, y 0, k 0
    const std::vector<ColorSlider*> cmykSliders = viewsOf<ColorSlider>(cmyk);
    const std::vector<EditText*> cmykFields = viewsOf<EditText>(cmyk);
    cmykSliders[3]->SetValue(0.5f);
    cmyk->InterfaceAction(cmykSliders[3], ActionType(1));
    EXPECT_EQ("100.0", text(cmykFields[0]));
    EXPECT_EQ("0.0", text(cmykFields[1]));
    EXPECT_EQ("50.0", text(cmykFields[3]));
    EXPECT_EQ(FWArgb32(255, 0, 127, 127), button->GetColor());
    cmyk->RemoveFromWindow(&*d);
}

TEST(FWColorByteTest, ComponentsBecomeTruncatedBytesHeldToTheRange)
{
    const struct {
        float component;
        uint8_t byte;
    } cases[] = {{1.0f, 255}, {0.999f, 254}, {0.5f, 127}, {0.0f, 0}, {300.0f / 255.0f, 255}, {1.5f, 255}, {-0.2f, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.byte, FWColorByte(c.component)) << c.component;
}

TEST_F(ColorPickerTest, TheMixerSendsThePlaneColourWithThePhasesAndKeepsAlpha)
{
    button->SetColor(FWArgb32(77, 10, 20, 30));
    Dialog d(button);
    auto* mixer = viewsOf<ColorMixer>(picker<MixerPicker>(*d)).at(0);
    const FWRect r = mixer->GetRect();
    log.mEntries.clear();
    // The frame and the outermost ring of the image do nothing.
    press(mixer, FWPoint(r.left, int16_t(r.top + 10)));
    press(mixer, FWPoint(int16_t(r.left + 2), int16_t(r.top + 10)));
    EXPECT_TRUE(log.mEntries.empty());

    // The first pixel inside is the image's (1, 1); the plane is 128 x 88.
    CHueLightnessGrayPainter painter;
    uint32_t pixel = 0;
    painter.ComputeColor(1, 1, 127, 87, pixel);
    press(mixer, FWPoint(int16_t(r.left + 3), int16_t(r.top + 3)));
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 2"}), log.mEntries);
    EXPECT_EQ(FWArgb32(77, GetRed32(pixel), GetGreen32(pixel), GetBlue32(pixel)), button->GetColor());
    // Dragged away, the nearest edge pixel: the grey ramp's black end.
    log.mEntries.clear();
    press(mixer, FWPoint(int16_t(r.left + 3), int16_t(r.top + 3)),
          {FWPoint(int16_t(r.left + 3), int16_t(r.bottom - 3)), FWPoint(-50, int16_t(r.bottom + 40))});
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 1", "action 1", "action 2"}), log.mEntries);
    EXPECT_EQ(FWArgb32(77, 0, 0, 0), button->GetColor());
}

TEST_F(ColorPickerTest, TheOpeningSquareRestoresTheOpeningColourEverywhere)
{
    Dialog d(button);
    auto* squares = picker<BeforeAfterPicker>(*d);
    auto* argb = picker<ARGBPicker>(*d);
    const std::vector<EditText*> fields = viewsOf<EditText>(argb);
    type(fields[1], "200");
    argb->InterfaceEvent(fields[1]);
    EXPECT_EQ(FWArgb32(255, 200, 20, 30), squares->GetCurrentSquare()->GetSquareColor());
    log.mEntries.clear();
    press(squares->GetCurrentSquare(), FWPoint(10, 10));
    EXPECT_TRUE(log.mEntries.empty());
    press(squares->GetOpeningSquare(), FWPoint(30, 10));
    EXPECT_EQ((std::vector<std::string>{"action 2"}), log.mEntries);
    EXPECT_EQ(FWArgb32(255, 10, 20, 30), button->GetColor());
    EXPECT_EQ("10", text(fields[1]));
    EXPECT_EQ(FWArgb32(255, 10, 20, 30), squares->GetCurrentSquare()->GetSquareColor());
}

TEST_F(ColorPickerTest, InsertionFollowsTheFramesEighthsAndHalves)
{
    Dialog d(button);
    // Stacked frames (7, 32, 177, 148) and (7, 150, 177, 246): W 170, H 116; eighth 21.
    const struct {
        FWPoint where;
        int index;
    } cases[] = {
        {{90, 20}, 0xFFFF},           // above the picker area
        {{10, 90}, 0},                 // left eighth: a row, before the first
        {{175, 90}, 1},                // right eighth: a row, after the first
        {{90, 50}, 0 | 0x4000},        // upper half: stacked, before the first
        {{90, 140}, 1 | 0x4000},       // lower half: on to the next frame, its upper half
        {{90, 600}, 4 | 0x4000},       // below every frame: after the last
    };
    for (const auto& c : cases) {
        int16_t index = 0;
        FWPoint topLeft, size;
        d->FindInsertionIndex(c.where, index, topLeft, size);
        EXPECT_EQ(c.index, uint16_t(index)) << c.where.h << "," << c.where.v;
    }
}

TEST_F(ColorPickerTest, DraggingIconsShowsMovesHidesAndSwitchesTheArrangement)
{
    {
        Dialog d(button);
        auto handleIcon = [&](size_t i) {
            const FWRect r = d->GetHandles()[i]->GetRect();
            return FWPoint(int16_t(r.left + 10), int16_t(r.top + 10));
        };
        // Set Percent, then hide the channel picker: the unit is still known at closing.
        auto* argb = picker<ARGBPicker>(*d);
        argb->SetIsPercent(true);
        // A press that moves 3 pixels changes nothing.
        FWPoint at = handleIcon(0);
        press(d->GetHandles()[0], at, {FWPoint(int16_t(at.h + 3), int16_t(at.v + 3))});
        EXPECT_EQ((std::vector<int>{10, 40, 50, 70}), shownIDs(*d));
        // Out of the picker area, above it: hidden.
        press(d->GetHandles()[0], at, {FWPoint(int16_t(at.h + 40), 10), FWPoint(int16_t(at.h + 41), 10)});
        EXPECT_EQ((std::vector<int>{40, 50, 70}), shownIDs(*d));
        EXPECT_FALSE(argb->IsPickerVisible());
        // The CMYK icon (third cell of the bin) dropped on the left eighth of the first frame:
        // shown first, and the pickers go into a row.
        const FWRect bin = d->GetBin()->GetRect();
        const FWRect first = d->GetFrames()[0]->GetRect();
        const FWPoint cell(int16_t(bin.left + 2 * 24 + 10), int16_t(bin.top + 10));
        press(d->GetBin(), cell, {FWPoint(int16_t(first.left + 12), int16_t(first.top + 40)),
                                   FWPoint(int16_t(first.left + 13), int16_t(first.top + 40))});
        EXPECT_EQ((std::vector<int>{30, 40, 50, 70}), shownIDs(*d));
        EXPECT_TRUE(d->IsHorizontal());
        EXPECT_EQ(d->GetFrames()[0]->GetRect().top, d->GetFrames()[1]->GetRect().top);
    }
    EXPECT_TRUE(FWColorPickerDialog::gARGBPercent);
    EXPECT_TRUE(FWColorPickerDialog::gPickerHorizontal);
    EXPECT_EQ((std::vector<int>{30, 40, 50, 70}), FWColorPickerDialog::gPickerDialogState);

    // Every picker hidden: the next opening shows the default four again.
    {
        Dialog d(button);
        while (!d->GetHandles().empty()) {
            const FWRect r = d->GetHandles()[0]->GetRect();
            const FWPoint at(int16_t(r.left + 10), int16_t(r.top + 10));
            press(d->GetHandles()[0], at, {FWPoint(at.h, 5), FWPoint(int16_t(at.h + 1), 5)});
        }
    }
    EXPECT_TRUE(FWColorPickerDialog::gPickerDialogState.empty());
    Dialog again(button);
    EXPECT_EQ((std::vector<int>{10, 40, 50, 70}), shownIDs(*again));
    EXPECT_TRUE(picker<ARGBPicker>(*again)->IsPercent());
}

// A user's session through the event loop: the picker opens from a click on a colour button
// and is worked with the mouse while it runs.
class ColorPickerSessionTest : public ColorPickerTest {
protected:
    void SetUp() override
    {
        ColorPickerTest::SetUp();
        HostResetModalLoops();
        // The first opening, answered by nobody, places the dialog for the rest of the run.
        openWith({});
        // The same dialog again, to learn where its parts are on the screen.
        Dialog d(button);
        auto global = [&](FWPoint local) {
            const FWPoint g = ControlTestWindow::ToGlobal(*d, local);
            return Point{g.v, g.h};
        };
        const FWRect mixer = viewsOf<ColorMixer>(picker<MixerPicker>(*d)).at(0)->GetRect();
        mixerTop = global(FWPoint(int16_t(mixer.left + 10), int16_t(mixer.top + 3)));
        mixerMiddle = global(FWPoint(int16_t(mixer.left + 60), int16_t(mixer.top + 40)));
        mixerBottom = global(FWPoint(int16_t(mixer.left + 3), int16_t(mixer.bottom - 3)));
        auto centre = [&](const FWRect& r) { return global(FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2))); };
        ok = centre(d->GetOKButton()->GetRect());
        cancel = centre(d->GetCancelButton()->GetRect());
        opening = centre(picker<BeforeAfterPicker>(*d)->GetOpeningSquare()->GetRect());
        log.mEntries.clear();
    }

    // Clicks the button with what the user does in the picker queued behind the click.
    void openWith(std::initializer_list<std::initializer_list<Point>> gestures)
    {
        const FWPoint at(40, 35);
        const FWPoint g = ControlTestWindow::ToGlobal(w.Window(), at);
        HostInjectMouseDown(Point{g.v, g.h});
        HostInjectMouseUp(Point{g.v, g.h});
        for (const auto& gesture : gestures) {
            auto p = gesture.begin();
            HostInjectMouseDown(*p);
            Point last = *p;
            for (++p; p != gesture.end(); ++p)
                HostInjectMouseMove(last = *p);
            HostInjectMouseUp(last);
        }
        EventRecord record;
        for (int i = 0; i < 16; ++i)
            if (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what == mouseDown)
                break;
        FWEvent event(kMouseDownEvent, &w.Window(), 0);
        event.mWhere = at;
        event.mGlobalWhere = g;
        button->MouseDownEvent(event);
    }

    Point mixerTop, mixerMiddle, mixerBottom, ok, cancel, opening;
};

TEST_F(ColorPickerSessionTest, EditsReachTheButtonLiveCancelUndoesOKKeeps)
{
    ASSERT_EQ(1u, HostModalShownLog().size());
    EXPECT_EQ("Color Picker", HostModalShownLog()[0].title);
    const FWArgb32 old = button->GetColor();

    openWith({{mixerTop, mixerMiddle, mixerBottom}, {cancel}});
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 1", "action 1", "action 2", "action 2"}), log.mEntries);
    EXPECT_EQ(old, button->GetColor());
    EXPECT_EQ(old.r, w.ScreenRgb(FWPoint(40, 35)) >> 16);

    log.mEntries.clear();
    openWith({{mixerBottom}, {ok}});
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 2", "event"}), log.mEntries);
    // The grey ramp's second column: 1 x 255 / 127.
    EXPECT_EQ(FWArgb32(255, 2, 2, 2), button->GetColor());
    EXPECT_EQ(0x020202u, w.ScreenRgb(FWPoint(40, 35)));

    // The opening square brings back the colour the picker opened with, as a finished edit.
    log.mEntries.clear();
    openWith({{mixerTop}, {opening}, {ok}});
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 2", "action 2", "event"}), log.mEntries);
    EXPECT_EQ(FWArgb32(255, 2, 2, 2), button->GetColor());
    EXPECT_EQ(4u, HostModalShownLog().size());
}

} // namespace
