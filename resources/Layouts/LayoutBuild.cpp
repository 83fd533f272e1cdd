// Adds the 'WINT' layouts to a resource file that rsrcbuild made: built from the framework's own
// view classes and stored as the program itself saves them once loaded.
//   layoutbuild app FILE      the editor's dialogs: 23 (grid size), 50 (layout size), 123 (the
//                             list of a file's layouts), 124 (a layout's id and name), 21000
//                             (the Shader dialog) and the controls' property dialogs
//                             (PropertyLayouts.cpp)
//   layoutbuild sample FILE   the sample file's layouts: 128 "Main", 129 and the shader interface
//                             21000 "Interface" with its parameter records ('PTKC' 128)
#include "CheckBox.h"
#include "ColorButton.h"
#include "EditText.h"
#include "FS_ResourceFileRA.h"
#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostBackend.h"
#include "HostMemory.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "HostResources.h"
#include "Group.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "PropertyLayouts.h"
#include "Popup.h"
#include "PushButton.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "StaticText.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");

// One layout: its id, name, content size and the code that fills its root.
struct Layout {
    int16_t id;
    const char* name;
    int16_t width;
    int16_t height;
    std::function<void(FWWindow&, FWView&)> fill;
};

template <class View>
View* add(FWView& root, View* view, int32_t id)
{
    view->SetID(id);
    view->SetVisibility(true);
    root.AppendChild(view);
    return view;
}

void label(FWWindow& window, FWView& root, int32_t id, const FWRect& rect, const char* text)
{
    auto* view = new StaticText;
    const FWStr<255> title(text);
    view->Init(&window, rect, &title, StaticText::kSingleLine);
    add(root, view, id);
}

// An edit field for an unsigned integer.
void number(FWWindow& window, FWView& root, int32_t id, const FWRect& rect)
{
    auto* view = new EditText;
    view->Init(&window, rect, nullptr);
    view->Set(true, FWString::Type(0), false);
    add(root, view, id);
}

template <class Button>
Button* button(FWWindow& window, FWView& root, int32_t id, const FWRect& rect, const char* text)
{
    auto* view = new Button;
    const FWStr<255> title(text);
    view->Init(&window, rect, &title);
    return add(root, view, id);
}

// Cancel and OK at the bottom right, the default cancel and accept views (Escape and Return).
void okAndCancel(FWWindow& window, FWView& root, int16_t width, int16_t top)
{
    button<CancelButton>(window, root, 2, FWRect(int16_t(width - 180), top, int16_t(width - 100), int16_t(top + 22)),
                         "Cancel")
        ->MakeDefaultCancel();
    button<OKButton>(window, root, 1, FWRect(int16_t(width - 90), top, int16_t(width - 10), int16_t(top + 22)), "OK")
        ->MakeDefaultAccept();
}

// The Shader dialog: the parameter list 20 and its mode 11 on the left; the selected parameter's
// name 4, type 5 (its menu is made in code), limits 6, 8, 9 and animation 7; the interface's tag
// 10, header value 13, count mode 21 and count 12; the preview 3 (drawn by the dialog), its
// buttons 22 and 25 and the multi-thread flag 14 on the right.
void shaderDialog(FWWindow& w, FWView& root)
{
    auto field = [&](int32_t id, int16_t left, int16_t top, const char* title) {
        auto* edit = new EditText;
        FWStr<255> text(title);
        edit->Init(&w, FWRect(left, top, int16_t(left + 144), int16_t(top + 20)), &text);
        return add(root, edit, id);
    };
    auto check = [&](int32_t id, int16_t left, int16_t top, const char* title) {
        auto* box = new CheckBox;
        FWStr<255> text(title);
        box->Init(&w, FWPoint(left, top), &text);
        box->SetState(false);
        add(root, box, id);
    };
    auto* list = new ListBox;
    list->Init(&w, FWRect(12, 12, 212, 268));
    add(root, list, 20);
    auto* modes = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const char* name : {"Parameters", "All Controls"})
        modes->AppendChild(new FWOpItem(name, 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    auto* mode = new Popup;
    mode->Init(&w, modes, true);
    const FWStr<255> modeLabel("Show:");
    mode->Init(&w, FWRect(12, 278, 212, 294), &modeLabel, 0, true);
    add(root, mode, 11);

    field(4, 224, 12, "Name:");
    auto* type = new Popup;
    const FWStr<255> typeLabel("Type:");
    type->Init(&w, FWRect(224, 40, 368, 56), &typeLabel, 0, true);
    add(root, type, 5);
    check(6, 224, 66, "Limits");
    field(8, 224, 88, "Min:");
    field(9, 224, 114, "Max:");
    check(7, 224, 144, "Animated");
    field(10, 224, 172, "Tag:");
    field(13, 224, 198, "Header:")->Set(true, FWString::kSignedInteger, false);
    auto* counts = new RadioButtonSet;
    FWStr<31> countLabels[2] = {FWStr<31>("All parameters"), FWStr<31>("Count:")};
    counts->Init(&w, FWPoint(224, 228), 2, countLabels);
    add(root, counts, 21);
    field(12, 224, 272, "Number:")->Set(true, FWString::kSignedInteger, false);

    auto* preview = new Group;
    preview->Init(&w, FWRect(380, 12, 513, 145), nullptr, Group::kTopLeft, Group::kCustom);
    add(root, preview, 3);
    for (const auto& [id, top, text] : {std::tuple{22, int16_t(152), "New Image"}, std::tuple{25, int16_t(180), "Remove Image"}}) {
        auto* push = new PushButton;
        const FWStr<255> title(text);
        push->Init(&w, FWRect(380, top, 513, int16_t(top + 22)), &title, 0);
        add(root, push, id);
    }
    check(14, 380, 212, "Multi-thread");
    okAndCancel(w, root, 525, 306);
}

// Labels and the sample's views take ids below 1000, where the view manager's own ids begin.
const std::vector<Layout>& appLayouts()
{
    static const std::vector<Layout> layouts = {
        {23, "Set Grid", 220, 90,
         [](FWWindow& w, FWView& root) {
             label(w, root, 901, FWRect(16, 20, 96, 33), "Grid size:");
             number(w, root, 1002, FWRect(100, 16, 200, 36));
             okAndCancel(w, root, 220, 56);
         }},
        {50, "Set Dialog size", 240, 110,
         [](FWWindow& w, FWView& root) {
             label(w, root, 901, FWRect(16, 20, 96, 33), "Width:");
             number(w, root, 3, FWRect(100, 16, 220, 36));
             label(w, root, 902, FWRect(16, 48, 96, 61), "Height:");
             number(w, root, 6, FWRect(100, 44, 220, 64));
             okAndCancel(w, root, 240, 78);
         }},
        // The list of layouts (1) and its commands: open 2, rename 3, duplicate 4, delete 5,
        // close 6, new 7. No OK or Cancel.
        {123, "WINT List", 380, 262,
         [](FWWindow& w, FWView& root) {
             auto* list = new ListBox;
             list->Init(&w, FWRect(12, 12, 262, 250));
             add(root, list, 1);
             const struct {
                 int32_t id;
                 int16_t top;
                 const char* text;
             } commands[] = {{2, 12, "Open"},   {7, 44, "New..."},  {4, 76, "Duplicate..."},
                             {3, 108, "Rename..."}, {5, 140, "Delete"}, {6, 228, "Close"}};
             for (const auto& command : commands) {
                 auto* push = new PushButton;
                 const FWStr<255> text(command.text);
                 push->Init(&w, FWRect(276, command.top, 368, int16_t(command.top + 22)), &text, 0);
                 add(root, push, command.id);
             }
         }},
        {124, "WINT Attributes", 300, 118,
         [](FWWindow& w, FWView& root) {
             label(w, root, 901, FWRect(16, 20, 96, 33), "ID:");
             number(w, root, 6, FWRect(100, 16, 200, 36));
             label(w, root, 902, FWRect(16, 48, 96, 61), "Name:");
             auto* name = new EditText;
             name->Init(&w, FWRect(100, 44, 288, 64), nullptr);
             add(root, name, 7);
             okAndCancel(w, root, 300, 84);
         }},
        {21000, "Shader", 525, 340, shaderDialog},
    };
    return layouts;
}

// A shader's parameter interface: OK 1, Cancel 2, the preview group 3 (drawn by the editor) and
// the parameters from 4 on, in the order of their records in shaderRecords. The check box and the
// colour button store their records' defaults, as the editor shows them; the pop-up has no items
// (they are made where the interface is used).
void shaderInterface(FWWindow& w, FWView& root)
{
    root.SetID(1000);
    auto* ok = new OKButton;
    ok->Init(&w, FWRect(301, 163, 365, 189), nullptr);
    add(root, ok, 1)->MakeDefaultAccept();
    auto* cancel = new CancelButton;
    cancel->Init(&w, FWRect(222, 166, 286, 186), nullptr);
    add(root, cancel, 2)->MakeDefaultCancel();
    auto* preview = new Group;
    preview->Init(&w, FWRect(217, 9, 368, 148), nullptr, Group::kTopLeft, Group::kCustom);
    add(root, preview, 3);
    auto field = [&](int32_t id, int16_t top, const char* title, FWString::Type type) {
        auto* edit = new EditText;
        FWStr<255> text(title);
        edit->Init(&w, FWRect(12, top, 200, int16_t(top + 20)), &text);
        edit->Set(true, type, false);
        add(root, edit, id);
    };
    field(4, 12, "Scale:", FWString::kSignedReal);
    field(5, 40, "Steps:", FWString::kSignedInteger);
    auto* check = new CheckBox;
    FWStr<255> checkLabel("Smooth");
    check->Init(&w, FWPoint(12, 72), &checkLabel);
    check->SetState(true);
    add(root, check, 6);
    auto* popup = new Popup;
    const FWStr<255> popupLabel("Mode:");
    popup->Init(&w, FWRect(12, 100, 200, 116), &popupLabel, 0, true);
    add(root, popup, 7);
    auto* tint = new ColorButton;
    tint->Init(&w, FWRect(12, 128, 60, 148), FWArgb32(0xC0, 0xFF, 0x80, 0x20));
    add(root, tint, 8);
}

// 'PTKC' 128 of the shader interface: the header ("SHAD", 0, the count) and one 52-byte record
// per parameter (name block, flags, type, three values), big-endian.
std::string shaderRecords()
{
    std::string bytes;
    auto put = [&bytes](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += char(v >> shift);
    };
    auto putFloat = [&put](float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        put(bits);
    };
    auto name = [&bytes](const char* text) {
        std::string block(32, '\0');
        block[0] = char(std::strlen(text));
        block.replace(1, std::strlen(text), text);
        bytes += block;
    };
    constexpr uint32_t kNoLimits = 0x80000000u, kAnimated = 0x40000000u;
    bytes = "SHAD";
    put(0);
    put(5);
    name("Scale");
    put(kAnimated);
    put(FOUR_CHAR_CODE("REAL"));
    for (float f : {1.5f, 0.0f, 10.0f})
        putFloat(f);
    name("Steps");
    put(0);
    put(FOUR_CHAR_CODE("SINT"));
    for (uint32_t v : {8u, 1u, 64u})
        put(v);
    name("Smooth");
    put(kNoLimits);
    put(FOUR_CHAR_CODE("BOOL"));
    for (uint32_t v : {1u, 0u, 100u})
        put(v);
    name("Mode");
    put(kNoLimits);
    put(FOUR_CHAR_CODE("POPU"));
    for (uint32_t v : {0u, 0u, 100u})
        put(v);
    // Colours as shorts: red, green, blue and alpha, each times 256, then two zeros.
    name("Tint");
    put(kNoLimits | kAnimated);
    put(FOUR_CHAR_CODE("ARGB"));
    for (uint32_t v : {0xFF00'8000u, 0x2000'C000u, 0u})
        put(v);
    return bytes;
}

const std::vector<Layout>& sampleLayouts()
{
    static const std::vector<Layout> layouts = {
        {128, "Main", 400, 260,
         [](FWWindow& w, FWView& root) {
             label(w, root, 11, FWRect(16, 16, 200, 29), "A layout with each kind of control");
             label(w, root, 12, FWRect(16, 40, 96, 53), "Name:");
             number(w, root, 13, FWRect(100, 36, 240, 56));
             auto* push = new PushButton;
             const FWStr<255> text("Push");
             push->Init(&w, FWRect(16, 72, 116, 94), &text, 0);
             add(root, push, 14);
             auto* picture = new PictureBox;
             picture->Init(&w, FWRect(260, 16, 380, 136), 17, FOUR_CHAR_CODE("argb"));
             add(root, picture, 15);
             auto* scroller = new Scroller;
             const FWRect bar(16, 110, 240, 126);
             scroller->Init(&w, &bar);
             add(root, scroller, 16);
             auto* group = new Group;
             FWStr<255> groupLabel("Group");
             group->Init(&w, FWRect(16, 140, 240, 204), &groupLabel, Group::kTopLeft, Group::kSunken);
             add(root, group, 17);
             auto* popup = new Popup;
             const FWStr<255> popupLabel("Kind:");
             popup->Init(&w, FWRect(260, 150, 380, 170), &popupLabel, -1, true);
             add(root, popup, 18);
             // Inside the group they lie in, where a click in Test mode reaches them and the
             // editor's re-homing leaves them; the check box starts clear.
             auto* check = new CheckBox;
             FWStr<255> checkLabel("Check");
             check->Init(&w, FWPoint(24, 160), &checkLabel);
             check->SetState(false);
             add(*group, check, 19);
             auto* radios = new RadioButtonSet;
             FWStr<31> radioLabels[2] = {FWStr<31>("One"), FWStr<31>("Two")};
             radios->Init(&w, FWPoint(120, 160), 2, radioLabels);
             add(*group, radios, 20);
             okAndCancel(w, root, 400, 224);
         }},
        {129, "Second", 300, 120,
         [](FWWindow& w, FWView& root) {
             label(w, root, 11, FWRect(16, 16, 280, 29), "A second layout");
             okAndCancel(w, root, 300, 84);
         }},
        {21000, "Interface", 387, 224, shaderInterface},
    };
    return layouts;
}

std::string savedBytes(FWViewMngr& manager)
{
    Handle h = manager.SerializeViewTree();
    if (h == nullptr)
        return {};
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

// The layout's bytes as the program itself saves them once it has loaded the layout; empty on
// failure. The views made here are written, read into a window and written again, since some
// read back otherwise than they were made (a list box takes the flags of every loaded one).
std::string serialized(const Layout& layout)
{
    std::string built;
    {
        FWWindow maker;
        maker.SetSize(layout.width + 2 * maker.FrameWidth(), layout.height + maker.TitleWidth() + maker.FrameWidth());
        maker.ViewMngr().Initialize(FWRect());
        FWView* root = maker.ViewMngr().GetViewTree();
        if (root == nullptr)
            return {};
        root->SetRect(FWRect(0, 0, layout.width, layout.height));
        layout.fill(maker, *root);
        built = savedBytes(maker.ViewMngr());
    }
    FWWindow reader;
    if (built.empty() || !reader.ViewMngr().InitializeFromData(built.data(), uint32_t(built.size())))
        return {};
    return savedBytes(reader.ViewMngr());
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "layoutbuild: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool sample = argc == 4 && std::strcmp(argv[1], "sample") == 0;
    if (!sample && (argc != 3 || std::strcmp(argv[1], "app") != 0))
        return fail("usage: layoutbuild app FILE | layoutbuild sample FILE PROGRAM-RESOURCES");
    HostSelectBackend("headless");
    // The sample's pictures are sized from the program's images, as the program shows them.
    std::unique_ptr<Corvel::FS_ResourceFileRA> images;
    if (sample) {
        Corvel::FS_Locator imagesLocator;
        Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(argv[3]), imagesLocator);
        images = std::make_unique<Corvel::FS_ResourceFileRA>(imagesLocator, false);
        if (images->OpenedResourceFile() == 0 || !FWViewMngr::InitInterfaceIcons())
            return fail(std::string("cannot read the images of ") + argv[3]);
    }
    struct IconsReleaser {
        ~IconsReleaser() { FWViewMngr::DisposeInterfaceIcons(); }
    } iconsReleaser;
    std::vector<Layout> layouts = std::strcmp(argv[1], "app") == 0 ? appLayouts() : sampleLayouts();
    if (std::strcmp(argv[1], "app") == 0)
        for (const PropertyLayout& p : PropertyLayouts())
            layouts.push_back({p.id, p.name, p.width, p.height, p.fill});

    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(argv[2]), locator);
    Corvel::FS_ResourceFileRA file(locator, true);
    if (file.OpenedResourceFile() == 0)
        return fail(std::string("cannot open ") + argv[2]);
    for (const Layout& layout : layouts) {
        const std::string bytes = serialized(layout);
        if (bytes.empty())
            return fail(std::string("layout ") + std::to_string(layout.id) + " could not be written");
        Handle h = NewHandle(Size(bytes.size()));
        std::memcpy(*h, bytes.data(), bytes.size());
        unsigned char name[256] = {};
        name[0] = uint8_t(std::strlen(layout.name));
        std::memcpy(name + 1, layout.name, name[0]);
        AddResource(h, kWINT, layout.id, name);
        if (ResError() != noErr)
            return fail(std::string("layout ") + std::to_string(layout.id) + " could not be added");
    }
    if (sample) {
        const std::string records = shaderRecords();
        Handle h = NewHandle(Size(records.size()));
        std::memcpy(*h, records.data(), records.size());
        AddResource(h, FOUR_CHAR_CODE("PTKC"), 128, reinterpret_cast<const unsigned char*>("\x09Interface"));
        if (ResError() != noErr)
            return fail("the shader interface could not be added");
    }
    UpdateResFile(CurResFile());
    if (ResError() != noErr)
        return fail(std::string("cannot write ") + argv[2]);
    return 0;
}
