#include "CEditTextRec.h"
#include "ControlTestWindow.h"
#include "EditText.h"
#include "FWClipboard.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWFont.h"
#include "FWIdleProcess.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostCursors.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : char { kHome = 1, kEnd = 4, kPageUp = 11, kPageDown = 12, kLeft = 28, kRight = 29, kUp = 30, kDown = 31 };

// A window that records what reaches it from its fields.
class RecordingWindow : public FWWindow {
public:
    bool KeyDownEvent(FWEvent& event) override
    {
        keys.push_back(event.EventCharacter());
        return false;
    }
    bool InterfaceEvent(FWView*) override
    {
        ++interfaceEvents;
        return true;
    }
    std::vector<char> keys;
    int interfaceEvents = 0;
};

FWFontMetrics defaultMetrics()
{
    FWFontMetrics m;
    FWFont().GetFontMetrics(m);
    return m;
}

class EditTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.Initialize(nullptr, FWRect(40, 60, 360, 180));
        window.Show();
        field = add(FWRect(10, 10, 210, 30));
    }

    EditText* add(FWRect rect, const char* title = nullptr)
    {
        auto* f = new EditText;
        FWStr<63> t(title != nullptr ? title : "");
        f->Init(&window, rect, title != nullptr ? &t : nullptr);
        window.ViewMngr().GetViewTree()->AppendChild(f);
        return f;
    }
    void focus(EditText* f) { window.ViewMngr().SetKeyFocus(f); }
    bool key(char c, uint16_t modifiers = 0, EditText* f = nullptr)
    {
        FWEvent e(kKeyDownEvent, &window, modifiers);
        e.mMessage = uint8_t(c);
        return (f != nullptr ? f : field)->KeyDownEvent(e);
    }
    void type(const char* s)
    {
        for (; *s != 0; ++s)
            key(*s);
    }
    std::string text(EditText* f = nullptr) const
    {
        FWDynamicString s;
        (f != nullptr ? f : field)->GetText(&s);
        return s.GetCString();
    }
    std::pair<int32_t, int32_t> sel() const
    {
        int32_t a = 0;
        int32_t b = 0;
        field->GetSelectionRange(a, b);
        return {a, b};
    }
    // The global point over byte offset k of the field's text.
    FWPoint pointAt(int32_t k) const
    {
        const FWRect r = field->GetTextRect();
        FWPoint p(int16_t(r.left + FWFont().GetStringWidth(text().c_str(), k)), int16_t(r.top + 3));
        return p;
    }
    void click(int32_t offset, uint16_t modifiers = 0)
    {
        FWEvent e(kMouseDownEvent, &window, modifiers);
        e.mWhere = pointAt(offset);
        field->MouseDownEvent(e);
    }

    HostDesktopScope desk{1000};
    RecordingWindow window;
    EditText* field = nullptr;
};

TEST_F(EditTextTest, TypingIsCheckedAndCommandZSwapsTheUndoText)
{
    field->Set(true, FWString::kUnsignedInteger, false);
    field->EnableTextUndo();
    focus(field);
    type("12");
    EXPECT_TRUE(key('-'));
    EXPECT_EQ("12", text());
    key('z', kFWCommandKey);
    EXPECT_EQ("", text());
    key('z', kFWCommandKey);
    EXPECT_EQ("12", text());
    // Without undo the command key is not the field's.
    EditText* plain = add(FWRect(10, 40, 210, 60));
    focus(plain);
    FWEvent commandZ(kKeyDownEvent, &window, kFWCommandKey);
    commandZ.mMessage = 'z';
    EXPECT_FALSE(plain->KeyEvent(commandZ));

    focus(field);
    field->Set(true, FWString::kSignedReal, false);
    field->SetText("");
    for (char c : std::string("-1,5e3"))
        EXPECT_TRUE(key(c));
    EXPECT_EQ("-1,5e3", text());
    EXPECT_FLOAT_EQ(-1500.0f, field->GetFloat());
}

TEST_F(EditTextTest, RefusedLetterIsConsumedAfterTheUndoTextWasTaken)
{
    field->Set(true, FWString::kUnsignedInteger, false);
    field->SetText("7");
    focus(field);
    field->SelectRange(1, 1);
    EXPECT_TRUE(key('a'));
    EXPECT_EQ("7", text());
    EXPECT_EQ(std::string("7"), field->PET()->UndoText().GetCString());
    // The setters never check.
    field->SetText("abc");
    EXPECT_EQ("abc", text());
    field->SetLong(-5);
    EXPECT_EQ("-5", text());
}

TEST_F(EditTextTest, NavigationAndDeletionKeys)
{
    struct Case {
        int32_t start, end;
        char key;
        uint16_t mods;
        int32_t wantStart, wantEnd;
        const char* wantText;
    };
    const Case cases[] = {
        {3, 3, kHome, 0, 0, 0, "abcdef"},       {3, 3, kPageUp, 0, 0, 0, "abcdef"},
        {3, 3, kUp, 0, 0, 0, "abcdef"},         {3, 3, kEnd, 0, 6, 6, "abcdef"},
        {3, 3, kPageDown, 0, 6, 6, "abcdef"},   {3, 3, kDown, 0, 6, 6, "abcdef"},
        {3, 3, kLeft, 0, 2, 2, "abcdef"},       {3, 3, kLeft, kFWShiftKey, 2, 3, "abcdef"},
        {3, 3, kRight, kFWShiftKey, 3, 4, "abcdef"}, {2, 4, kLeft, 0, 2, 2, "abcdef"},
        {2, 4, kRight, 0, 4, 4, "abcdef"},      {0, 0, 8, 0, 0, 0, "abcdef"},
        {6, 6, 127, 0, 6, 6, "abcdef"},         {3, 3, 8, 0, 2, 2, "abdef"},
        {3, 3, 127, 0, 3, 3, "abcef"},          {1, 4, 8, 0, 1, 1, "aef"},
        {1, 4, 'x', 0, 2, 2, "axef"},           {3, 3, 9, 0, 3, 3, "abcdef"},
        {3, 3, 13, 0, 3, 3, "abcdef"},          {3, 3, char(0xC0), 0, 3, 3, "abcdef"},
    };
    focus(field);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << int(uint8_t(c.key)) << " at " << c.start << ".." << c.end);
        field->SetText("abcdef");
        field->SelectRange(c.start, c.end);
        EXPECT_TRUE(key(c.key, c.mods));
        EXPECT_EQ(c.wantText, text());
        EXPECT_EQ(std::make_pair(c.wantStart, c.wantEnd), sel());
    }
    // Shift-arrows grow from the anchor and shrink back towards it.
    field->SetText("abcdef");
    field->SelectRange(3, 3);
    key(kLeft, kFWShiftKey);
    key(kLeft, kFWShiftKey);
    EXPECT_EQ(std::make_pair(1, 3), sel());
    key(kRight, kFWShiftKey);
    EXPECT_EQ(std::make_pair(2, 3), sel());
}

TEST_F(EditTextTest, KeysReachTheWindowAndReturnOnlyLimitsInterfaceEvents)
{
    focus(field);
    key(9);
    key(13);
    EXPECT_EQ((std::vector<char>{9, 13}), window.keys);
    EXPECT_EQ("", text());
    window.interfaceEvents = 0;
    field->EventOnReturnOnly();
    type("42");
    EXPECT_EQ(0, window.interfaceEvents);
    key(13);
    EXPECT_EQ(1, window.interfaceEvents);
    FWEvent repeat(kAutoKeyEvent, &window, 0);
    repeat.mMessage = '5';
    field->AutoKeyEvent(repeat);
    EXPECT_EQ(1, window.interfaceEvents);
    EXPECT_EQ("425", text());
}

TEST_F(EditTextTest, DoubleClickSelectsWordsByTheTables)
{
    struct Case {
        const char* text;
        int32_t offset, start, end;
    };
    const Case cases[] = {
        {"say don't stop", 6, 4, 9}, {"x 3.5 y", 3, 2, 5},   {"abc-def ghi", 5, 0, 7},
        {"hello world", 8, 6, 11},   {"a$12.50 b", 4, 1, 7}, {"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        field->SetText(c.text);
        int32_t s = -1;
        int32_t e = -1;
        field->PET()->InsertionToWord(c.offset, s, e);
        EXPECT_EQ(c.start, s);
        EXPECT_EQ(c.end, e);
    }
    // Through the mouse: two clicks within the double-click time on one word select it.
    focus(field);
    field->SetText("hello world");
    click(8);
    EXPECT_EQ(std::make_pair(8, 8), sel());
    click(8);
    EXPECT_EQ(std::make_pair(6, 11), sel());
    // Shift-click moves the nearer end.
    HostAdvanceTicks(FWDoubleTime() + 1);
    click(2);
    HostAdvanceTicks(FWDoubleTime() + 1);
    click(4, kFWShiftKey);
    EXPECT_EQ(std::make_pair(2, 4), sel());
    HostAdvanceTicks(FWDoubleTime() + 1);
    click(1, kFWShiftKey);
    EXPECT_EQ(std::make_pair(1, 4), sel());
    field->SelectRange(7, 99);
    EXPECT_EQ(std::make_pair(7, 11), sel());
}

TEST_F(EditTextTest, DraggingExtendsTheSelection)
{
    field->SetText("hello world");
    focus(field);
    auto global = [this](int32_t k) {
        FWPoint p = pointAt(k);
        window.WindowToGlobal(&p);
        return Point{p.v, p.h};
    };
    HostInjectMouseDown(global(1));
    HostInjectMouseMove(global(4));
    HostInjectMouseUp(global(4));
    EventRecord record;
    while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
    }
    click(1);
    EXPECT_EQ(std::make_pair(1, 4), sel());
}

TEST_F(EditTextTest, EditCommandsGoThroughTheClipboard)
{
    FWClipboard* clipboard = FWClipboard::Instance();
    FWEvent e(kCopyEvent, &window, 0);
    field->Set(true, FWString::kUnsignedInteger, false);
    field->SetText("12");
    focus(field);
    field->CopyEvent(e);
    auto* clip = static_cast<FWClipboardText*>(clipboard->GetClipData(&typeid(FWClipboardText)));
    ASSERT_NE(nullptr, clip);
    EXPECT_EQ(std::string("12"), clip->Text().GetCString());
    field->CutEvent(e);
    EXPECT_EQ("", text());
    clipboard->AddClipData(new FWClipboardText(FWStr<7>("x")));
    EXPECT_FALSE(field->CanPaste());
    field->PasteEvent(e);
    EXPECT_EQ("", text());
    clipboard->AddClipData(new FWClipboardText(FWStr<7>("34")));
    EXPECT_TRUE(field->CanPaste());
    field->PasteEvent(e);
    EXPECT_EQ("34", text());
    EXPECT_EQ(std::make_pair(2, 2), sel());
    field->SelectRange(0, 1);
    field->SelectNoneEvent(e);
    EXPECT_EQ(std::make_pair(2, 2), sel());
    clipboard->ClearClipboard();
}

TEST_F(EditTextTest, ActivationSelectsAllAndHidingOrGhostingGivesUpTheFocus)
{
    field->SetText("abc");
    focus(field);
    EXPECT_EQ(std::make_pair(0, 3), sel());
    EXPECT_TRUE(field->PET()->IsActive());
    field->SetVisibility(false);
    EXPECT_EQ(nullptr, window.ViewMngr().GetKeyFocus());
    EXPECT_FALSE(field->PET()->IsActive());
    field->SetVisibility(true);
    focus(field);
    field->SetGhosted(true);
    EXPECT_EQ(nullptr, window.ViewMngr().GetKeyFocus());
}

TEST_F(EditTextTest, LayoutFollowsTheFont)
{
    const FWFontMetrics m = defaultMetrics();
    const int16_t h = int16_t(m.ascent + m.descent + 6);
    EXPECT_EQ(FWRect(10, 10, 210, int16_t(10 + h)), field->GetRect());
    EXPECT_EQ(FWRect(13, 13, 207, int16_t(10 + h - 3)), field->GetTextRect());
    EditText* narrow = add(FWRect(10, 40, 12, 200));
    EXPECT_EQ(FWRect(10, 40, 23, int16_t(40 + h)), narrow->GetRect());
    EditText* titled = add(FWRect(10, 70, 210, 80), "Name:");
    const int16_t w = int16_t(FWFont().GetStringWidth("Name:", 5) + 2);
    EXPECT_EQ(FWRect(int16_t(10 + w), 70, 210, int16_t(70 + h)), titled->GetEditRect());
    EXPECT_EQ(FWPoint(10, int16_t(70 + m.ascent + 3)), titled->GetTitlePoint());

    using E = FWView::EditType;
    const std::pair<E, E> handles[] = {
        {FWView::kEditTopLeft, FWView::kEditLeft},     {FWView::kEditBottomLeft, FWView::kEditLeft},
        {FWView::kEditTopRight, FWView::kEditRight},   {FWView::kEditBottomRight, FWView::kEditRight},
        {FWView::kEditTop, FWView::kEditMove},         {FWView::kEditBottom, FWView::kEditMove},
        {FWView::kEditNone, FWView::kEditNone},
    };
    for (auto [in, out] : handles)
        EXPECT_EQ(out, field->FilterEditType(in));
}

TEST_F(EditTextTest, AccessorsByIdRefuseOtherViews)
{
    ProgrammerMessageRecorder messages;
    auto* other = new FWView;
    other->Init(&window);
    window.ViewMngr().GetViewTree()->AppendChild(other);
    field->SetText("41");
    EXPECT_EQ(41, EditText::GGetLong(&window, field->ID()));
    EXPECT_EQ(0, EditText::GGetLong(&window, other->ID()));
    EXPECT_EQ(0, EditText::GGetLong(&window, 99999));
    FWStr<15> value("9");
    EditText::GSetString(&window, field->ID(), &value, nullptr);
    EXPECT_EQ("9", text());
    ASSERT_EQ(2u, messages.Messages().size());
    EXPECT_EQ("Called 'GGetLong' on a non-EditText object.", messages.Messages()[0].message);
    EXPECT_EQ("FW/App/Source/EditText", messages.Messages()[0].sourcePath);
}

// The bytes of one view stored alone, with the base stream (references store nothing).
std::vector<uint8_t> storedBytes(FWView& view)
{
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    view.OldWrite(out);
    const auto* p = reinterpret_cast<const uint8_t*>(out.Buffer());
    return std::vector<uint8_t>(p, p + out.Size());
}

TEST_F(EditTextTest, RecordVersionTwoIsWrittenAndVersionOneRead)
{
    EditText* titled = add(FWRect(0, 0, 150, 20), "Name:");
    titled->Set(true, FWString::kSignedInteger, false);
    titled->SetEditBounds(FWRect(50, 10, 150, 20));
    const FWFontMetrics m = defaultMetrics();
    const uint8_t bottom = uint8_t(10 + m.ascent + m.descent + 6);
    const std::vector<uint8_t> tail = {0x00, 0x0A, 0x00, 0x32, 0x00, bottom, 0x00, 0x96, 0x4E, 0x61, 0x6D,
                                       0x65, 0x3A, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04};
    const std::vector<uint8_t> bytes = storedBytes(*titled);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(2, bytes[0]);
    EXPECT_EQ(tail, std::vector<uint8_t>(bytes.end() - long(tail.size()), bytes.end()));

    // Version 1: the view record, then bounds, text rect, label, four flags, a byte, two
    // rects, a double and the long.
    FWView plain;
    std::vector<uint8_t> v1 = storedBytes(plain);
    v1.insert(v1.begin(), 1);
    const std::vector<uint8_t> fields = {
        0, 10, 0, 50, 0, 30, 0, 150,                    // edit bounds
        1, 2, 3, 4, 5, 6, 7, 8,                         // text rect
        0, 9, 0, 40, 'N', 0,                            // label
        0, 1, 0, 9,                                     // multi-token, validate, expressions, type
        7, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0,
        0x12, 0x34, 0x56, 0x78};
    v1.insert(v1.end(), fields.begin(), fields.end());
    SerialStream in(reinterpret_cast<const char*>(v1.data()), uint32_t(v1.size()), SerialStream::kReading);
    EditText read;
    read.OldRead(in);
    EXPECT_EQ(std::string("N"), read.GetTitle().GetCString());
    EXPECT_EQ(FWString::Type(9), read.FilterType());
    EXPECT_TRUE(read.Validates());
    EXPECT_EQ(nullptr, read.Lexer());
    EXPECT_EQ(0x12345678, read.StoredLong());
    const std::vector<uint8_t> back = storedBytes(read);
    EXPECT_EQ(2, back[0]);
    EXPECT_EQ((std::vector<uint8_t>{'N', 0, 0, 1, 0, 9, 0x12, 0x34, 0x56, 0x78}),
              std::vector<uint8_t>(back.end() - 10, back.end()));

    ProgrammerMessageRecorder messages;
    v1[0] = 3;
    SerialStream unknown(reinterpret_cast<const char*>(v1.data()), uint32_t(v1.size()), SerialStream::kReading);
    EditText other;
    other.OldRead(unknown);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'EditText' version"}, messages.Texts());
    EXPECT_EQ(4, other.StoredLong());
}

TEST_F(EditTextTest, CaretBlinksByExclusiveOrAndTheSelectionIsHighlighted)
{
    field->SetText("abc");
    focus(field);
    UpdateWindowAsDispatcher(window);
    const FWRect r = field->GetTextRect();
    auto screen = [this](int h, int v) {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        HostComposeScreen();
        return HostDesktopScope::Rgb(HostScreenPixel(Point{p.v, p.h}));
    };
    const FWArgb32 hilite = FWTextHiliteColor();
    const uint32_t hiliteRgb = uint32_t(hilite.r) << 16 | uint32_t(hilite.g) << 8 | hilite.b;
    // The whole text is selected: its line is highlighted out to the box's right edge.
    EXPECT_EQ(hiliteRgb, screen(r.right - 2, r.top + 1));
    EXPECT_EQ(FWIdleProcess::kNoIdleWork, field->TicksToIdleWork()) << "no caret to blink";

    field->SelectRange(1, 1);
    const int caretH = r.left + FWFont().GetStringWidth("a", 1);
    const uint32_t before = screen(caretH, r.top + 1);
    EXPECT_EQ(0xFFFFFFu, screen(r.right - 2, r.top + 1));
    HostAdvanceTicks(FWTextBlinkTime() + 1);
    EXPECT_EQ(0u, field->TicksToIdleWork());
    field->UseIdleTime();
    EXPECT_NE(before, screen(caretH, r.top + 1));
    EXPECT_EQ(FWTextBlinkTime() + 1, field->TicksToIdleWork()) << "the next blink";
    HostAdvanceTicks(FWTextBlinkTime() + 1);
    field->UseIdleTime();
    EXPECT_EQ(before, screen(caretH, r.top + 1));

    // The I-beam shows over the text of a highlighted window only.
    FWPoint inside(int16_t(r.left + 4), int16_t(r.top + 2));
    window.WindowToGlobal(&inside);
    HostInjectMouseMove(Point{inside.v, inside.h});
    HostTakeInjectedInput();
    window.Hilite(true);
    field->SetCursor();
    EXPECT_EQ(iBeamCursor, HostCurrentCursor().id);
    window.Hilite(false);
    field->SetCursor();
    EXPECT_EQ(HostCursorKind::Arrow, HostCurrentCursor().kind);
}

TEST_F(EditTextTest, LayoutSavesBackByteForByte)
{
    add(FWRect(10, 40, 150, 50), "Size:")->Set(true, FWString::kSignedReal, false);
    add(FWRect(10, 70, 90, 50))->Set(true, FWString::Type(3), true);
    Handle first = window.ViewMngr().SerializeViewTree();
    ASSERT_NE(nullptr, first);
    const std::string bytes(*first, size_t(GetHandleSize(first)));
    DisposeHandle(first);

    FWWindow loaded;
    loaded.Initialize(nullptr, FWRect(40, 200, 360, 320));
    ASSERT_TRUE(loaded.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())));
    Handle second = loaded.ViewMngr().SerializeViewTree();
    ASSERT_NE(nullptr, second);
    // The fields' entries come back byte for byte (the root's own record is not theirs).
    const std::string again(*second, size_t(GetHandleSize(second)));
    EXPECT_EQ(bytes.substr(bytes.find("EditText")), again.substr(again.find("EditText")));
    DisposeHandle(second);
}

} // namespace
