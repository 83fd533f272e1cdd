// The shader interface of layout 21000: the stored bytes of its records, the multi-thread flag and
// the preview picture, the linking of stored records to the controls when the layout opens, and
// what saving and deleting do to it.
#include "EditorFixture.h"

#include "CDataPTKC.h"
#include "CQF_Document.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "DiskImageDecoder.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWView.h"
#include "FWWindow.h"
#include "Group.h"
#include "HexText.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "ImageBuffer.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "ShownMessages.h"
#include "StaticText.h"

#include "../Files/ResourceFileMaker.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <set>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");
constexpr ResType kPTKC = FOUR_CHAR_CODE("PTKC");
constexpr ResType kPICT = FOUR_CHAR_CODE("PICT");
constexpr ResType kQZMP = FOUR_CHAR_CODE("QZMP");

// n zero bytes as hex.
std::string zeros(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += i == 0 ? "00" : " 00";
    return text;
}

std::string bytesOf(const std::vector<uint8_t>& v)
{
    return std::string(v.begin(), v.end());
}

// Big-endian helpers for writing stored records by hand.
std::string be32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string beFloat(float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return be32(bits);
}

std::string record(const std::string& name, uint32_t flags, const char* type, const std::string& value)
{
    std::string block(32, '\0');
    block[0] = char(name.size());
    block.replace(1, name.size(), name);
    return block + be32(flags) + type + value;
}

std::string ptkc(const std::vector<std::string>& records)
{
    std::string bytes = "SHAD" + be32(7) + be32(uint32_t(records.size()));
    for (const std::string& r : records)
        bytes += r;
    return bytes;
}

std::string longs(int32_t a, int32_t b, int32_t c)
{
    return be32(uint32_t(a)) + be32(uint32_t(b)) + be32(uint32_t(c));
}

std::string floats(float a, float b, float c)
{
    return beFloat(a) + beFloat(b) + beFloat(c);
}

// The bytes of a layout whose root the function fills, as the view manager writes them.
std::string layoutBytes(const std::function<void(FWWindow&, FWView&)>& fill)
{
    FWWindow maker;
    maker.SetSize(400, 260);
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, 380, 230));
    fill(maker, *root);
    Handle h = maker.ViewMngr().SerializeViewTree();
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

template <class View>
View* add(FWView& parent, View* view, int32_t id)
{
    view->SetID(id);
    parent.AppendChild(view);
    return view;
}

// The shader layout's fixed views: OK 1, Cancel 2 and the preview group 3.
void fixedViews(FWWindow& w, FWView& root)
{
    auto* ok = new OKButton;
    ok->Init(&w, FWRect(301, 163, 365, 189), nullptr);
    add(root, ok, 1)->MakeDefaultAccept();
    auto* cancel = new CancelButton;
    cancel->Init(&w, FWRect(222, 166, 286, 186), nullptr);
    add(root, cancel, 2)->MakeDefaultCancel();
    auto* preview = new Group;
    preview->Init(&w, FWRect(217, 9, 368, 148), nullptr, Group::kTopLeft, Group::kCustom);
    add(root, preview, 3);
}

EditText* editText(FWWindow& w, FWView& parent, int32_t id, FWString::Type type)
{
    auto* edit = new EditText;
    FWStr<255> title("EditText");
    edit->Init(&w, FWRect(10, 10 + 24 * id, 110, 30 + 24 * id), &title);
    edit->Set(true, type, false);
    return add(parent, edit, id);
}

CheckBox* checkBox(FWWindow& w, FWView& parent, int32_t id, const char* label)
{
    auto* box = new CheckBox;
    FWStr<255> text(label);
    box->Init(&w, FWPoint(10, int16_t(10 + 24 * id)), &text);
    box->SetState(false);
    return add(parent, box, id);
}

Popup* popup(FWWindow& w, FWView& parent, int32_t id)
{
    auto* view = new Popup;
    const FWStr<255> label("Mode:");
    view->Init(&w, FWRect(10, int16_t(10 + 24 * id), 150, int16_t(26 + 24 * id)), &label, 0, true);
    return add(parent, view, id);
}

Group* group(FWWindow& w, FWView& parent, int32_t id)
{
    auto* view = new Group;
    FWStr<255> label("Group");
    view->Init(&w, FWRect(120, 100, 200, 200), &label, Group::kTopLeft, Group::kEngraved);
    return add(parent, view, id);
}

// Edit text 4 (signed integer), check box 5, pop-up 6 and a plain group 7 after the fixed views.
void parameterLayout(FWWindow& w, FWView& root)
{
    fixedViews(w, root);
    editText(w, root, 4, FWString::kSignedInteger);
    checkBox(w, root, 5, "Check");
    popup(w, root, 6);
    group(w, root, 7);
}

} // namespace

// ---- Stored forms ----------------------------------------------------------------------------

TEST(ShaderRecords, WrittenBytesByType)
{
    struct Case {
        const char* what;
        std::function<void(CItemPTKC&)> set;
        std::string bytes; // the 52-byte record, as hex
    };
    const std::string abc31 = "1F 61 62 63 64 65 66 67 68 69 6A 61 62 63 64 65 66 67 68 69 6A 61 62 63 64 65 66 "
                              "67 68 69 6A 61";
    const Case cases[] = {
        {"new edit text",
         [](CItemPTKC& i) {
             i = CItemPTKC(1);
             i.mName = "EditText";
         },
         "08 45 64 69 74 54 65 78 74 " + zeros(23) + " 80 00 00 00 52 45 41 4C 00 00 00 00 00 00 00 00 42 C8 00 00"},
        {"colour",
         [](CItemPTKC& i) {
             i = CItemPTKC(4);
             i.mColor = FWArgb32(128, 1, 2, 3);
             i.mLimited = true;
         },
         zeros(32) + " 00 00 00 00 43 52 47 42 01 00 02 00 03 00 80 00 00 00 00 00"},
        {"40-character name, animated long",
         [](CItemPTKC& i) {
             i = CItemPTKC(1);
             i.mName = "abcdefghijabcdefghijabcdefghijabcdefghij";
             i.mType = CItemPTKC::kSINT;
             i.mAnimated = true;
             i.mLimited = true;
             i.mLong[0] = 2147483647;
             i.mLong[1] = 16777217;
             i.mLong[2] = -1;
         },
         abc31 + " 40 00 00 00 53 49 4E 54 7F FF FF FF 01 00 00 01 FF FF FF FF"},
        {"graph group",
         [](CItemPTKC& i) {
             i = CItemPTKC(5);
             i.SetCustomType(2);
             i.mLimited = true;
         },
         zeros(32) + " 00 00 00 00 43 55 53 54 00 00 00 02 00 00 00 00 00 00 00 00"},
    };
    for (const Case& c : cases) {
        CItemPTKC item;
        c.set(item);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(CDataPTKC::BuildPTKC("SHAD", 0, {&item}, bytes)) << c.what;
        EXPECT_EQ("53 48 41 44 00 00 00 00 00 00 00 01 " + c.bytes, HexOf(bytesOf(bytes))) << c.what;
    }
    CItemPTKC unknown(1);
    unknown.mType = FOUR_CHAR_CODE("XXXX");
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(CDataPTKC::BuildPTKC("SHAD", 0, {&unknown}, bytes));
}

TEST(ShaderRecords, ReadingKeepsLongsExactAndSaturatesFloats)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string bytes = ptkc({
        record("big", 0, "SINT", longs(2147483647, 16777217, -2147483647 - 1)),
        record("far", 0x40000000, "REAL", floats(3e9f, -3e9f, nan)),
        record("cut", 0x80000000, "UREL", floats(2.75f, -2.75f, 100.0f)),
        record("tint", 0x80000000, "ARGB", be32(0x0100'02FF) + be32(0x0300'8000) + be32(0)),
    });
    char tag[4];
    int32_t header = 0;
    int32_t count = 0;
    std::vector<CItemPTKC> records;
    ASSERT_TRUE(CDataPTKC::ParsePTKC(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tag, header, count,
                                     records));
    EXPECT_EQ(7, header);
    EXPECT_EQ(4, count);
    EXPECT_EQ(0, std::memcmp(tag, "SHAD", 4));
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ(2147483647, records[0].mLong[0]);
    EXPECT_EQ(16777217, records[0].mLong[1]);
    EXPECT_EQ(-2147483647 - 1, records[0].mLong[2]);
    EXPECT_TRUE(records[0].mLimited);
    EXPECT_EQ(2147483647, records[1].mLong[0]);
    EXPECT_EQ(-2147483647 - 1, records[1].mLong[1]);
    EXPECT_EQ(0, records[1].mLong[2]);
    EXPECT_TRUE(records[1].mAnimated);
    EXPECT_EQ(2, records[2].mLong[0]);
    EXPECT_EQ(-2, records[2].mLong[1]);
    EXPECT_FALSE(records[2].mLimited);
    EXPECT_EQ("128 1 2 3", std::to_string(records[3].mColor.a) + " " + std::to_string(records[3].mColor.r) + " " +
                                std::to_string(records[3].mColor.g) + " " + std::to_string(records[3].mColor.b));
    EXPECT_EQ(0.0f, records[3].mFloat[0]) << "a colour keeps the default triples";
    EXPECT_EQ("cut", std::string(records[2].mName.GetCString()));
}

TEST(ShaderRecords, DamagedResourcesAreReadUpToTheDamage)
{
    const std::string good = record("a", 0, "BOOL", longs(1, 0, 1));
    const struct {
        const char* what;
        std::string bytes;
        size_t read; // the records before the damage
    } cases[] = {
        {"short header", std::string("SHAD\0\0\0\0\0\0\0", 11), 0},
        {"negative count", "SHAD" + be32(0) + be32(0xFFFFFFFF), 0},
        {"count beyond the data", "SHAD" + be32(0) + be32(2) + good, 1},
        {"huge count", "SHAD" + be32(0) + be32(0x7FFFFFFF) + good + good, 2},
        {"name of 32", ptkc({good, std::string(1, '\x20') + good.substr(1), good}), 1},
        {"unknown type", ptkc({record("a", 0, "XXXX", longs(0, 0, 0))}), 0},
    };
    for (const auto& c : cases) {
        char tag[4];
        int32_t header = 0;
        int32_t count = 0;
        std::vector<CItemPTKC> records;
        EXPECT_FALSE(CDataPTKC::ParsePTKC(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), tag, header,
                                          count, records))
            << c.what;
        EXPECT_EQ(c.read, records.size()) << c.what;
    }
}

TEST(ShaderRecords, MultiThreadIsOnOnlyForFourZeroBytes)
{
    const struct {
        std::string bytes;
        bool on;
    } cases[] = {
        {std::string(4, '\0'), true},
        {std::string("\1\0\0\0", 4), false},
        {std::string("\0\0\0\1", 4), false},
        {std::string(3, '\0'), false},
        {std::string(5, '\0'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.on, CDataPTKC::ParseQZMP(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()))
            << c.bytes.size();
}

TEST(ShaderRecords, PreviewPictureLayoutAndPixels)
{
    const FWRect bounds(0, 0, 127, 127);
    ImageBuffer image(&bounds, kImageBufferDepth32);
    ASSERT_TRUE(image.Valid());
    for (int32_t y = 0; y < 127; ++y)
        for (int32_t x = 0; x < 127; ++x) {
            const uint32_t word = uint32_t(0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t(x ^ y));
            std::memcpy(image.BaseAddr() + y * image.RowBytes() + 4 * x, &word, 4);
        }
    const std::string bytes = bytesOf(ImageBuffer2PicBytes(image));
    ASSERT_EQ(64640u, bytes.size());
    EXPECT_EQ("00 00 00 00 00 00 7F 00 7F", HexOf(bytes.substr(1, 9)));
    EXPECT_EQ("00 11 02 FF 0C 00 FF FF FF FF", HexOf(bytes.substr(10, 10)));
    EXPECT_EQ("00 9A 00 00 00 FF 81 FC", HexOf(bytes.substr(52, 8)));
    EXPECT_EQ("00 40", HexOf(bytes.substr(120, 2)));
    EXPECT_EQ("FF 02 01 03", HexOf(bytes.substr(122 + 4 * (127 * 1 + 2), 4))) << "pixel (2, 1): alpha, red, green, blue";
    EXPECT_EQ("00 FF", HexOf(bytes.substr(64638)));

    const DiskImageDecoder::Pixels decoded = DiskImageDecoder::Decode(
        kPICT, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr);
    ASSERT_EQ(127, decoded.width);
    ASSERT_EQ(127, decoded.height);
    EXPECT_EQ(0xFF050A0Fu, decoded.At(5, 10));
    EXPECT_EQ(0xFF7E7E00u, decoded.At(126, 126));
}

// ---- In the editor -------------------------------------------------------------------------

class ShaderDataTest : public EditorFixture {
protected:
    void SetUp() override { StartApp(); }

    // A file holding layout 21000 and the given extra resources, opened as a document.
    EditWindow* open(const std::function<void(FWWindow&, FWView&)>& fill, std::vector<TestResource> extra = {})
    {
        return open(layoutBytes(fill), std::move(extra));
    }
    EditWindow* open(const std::string& layout, std::vector<TestResource> extra)
    {
        mPath = File("shader.rsrc");
        std::filesystem::remove(mPath);
        extra.insert(extra.begin(), TestResource{kWINT, 21000, "Interface", layout});
        EXPECT_TRUE(MakeResourceFile(mPath, extra));
        mDocument = new CQF_Document;
        mDocument->SetAssociatedFile(FileReference(mPath.c_str()));
        EXPECT_TRUE(mDocument->ReadWINT());
        return reopen();
    }
    EditWindow* reopen()
    {
        auto* window = new EditWindow(mDocument, 21000);
        EditWindow::mCreatedInstance = nullptr;
        return window;
    }
    // The resource of the document's file, or "(none)".
    std::string stored(ResType type, int16_t id)
    {
        Corvel::FS_ResourceFileRA file(LocatorOfPath(mPath), false);
        Handle h = Get1Resource(type, id);
        if (h == nullptr)
            return "(none)";
        return std::string(*h, size_t(GetHandleSize(h)));
    }

    std::string mPath;
    CQF_Document* mDocument = nullptr;
};

TEST_F(ShaderDataTest, StoredRecordsLinkToControlsInIdOrder)
{
    const std::string intRecord = record("Count", 0, "SINT", longs(-12, -50, 50));
    const std::string boolRecord = record("Flag", 0x80000000, "BOOL", longs(1, 0, 100));
    const std::string popuRecord = record("Mode", 0x80000000, "POPU", longs(2, 0, 100));
    const std::string graphRecord = record("Curve", 0x80000000, "CUST", longs(2, 0, 0));
    struct Case {
        const char* what;
        std::vector<std::string> records;
        const char* names; // of the edit text, check box, pop-up, group; "-" for defaults
        bool allParams;
    };
    const Case cases[] = {
        {"one record each", {intRecord, boolRecord, popuRecord}, "Count Flag Mode -", true},
        {"a misfit dropped for a later fit", {boolRecord, intRecord, boolRecord, popuRecord}, "Count Flag Mode -", true},
        {"no fit for the edit text", {boolRecord, popuRecord}, "- Flag Mode -", false},
        {"only the group fits", {graphRecord}, "- - - Curve", false},
    };
    for (const Case& c : cases) {
        EditWindow* window = open(parameterLayout, {{kPTKC, 128, "Interface", ptkc(c.records)}});
        CDataPTKC* data = window->GetShaderData();
        ASSERT_NE(nullptr, data) << c.what;
        std::string names;
        for (int32_t id : {4, 5, 6, 7}) {
            const CItemPTKC* item = data->GetItem(window->ViewMngr().GetView(id));
            ASSERT_NE(nullptr, item) << c.what << " " << id;
            names += std::string(names.empty() ? "" : " ") + (item->mAutoName ? "-" : item->GetName().GetCString());
        }
        EXPECT_EQ(c.names, names) << c.what;
        EXPECT_EQ(c.allParams, data->mAllParams) << c.what;
        EXPECT_LE(int32_t(c.records.size()), data->mParamLimit) << c.what; // and every control among them
        EXPECT_EQ(nullptr, data->GetItem(window->ViewMngr().GetView(1))) << "buttons are no parameters";
        delete window;
        delete mDocument;
    }
}

TEST_F(ShaderDataTest, LinkedDefaultsReachTheControlsAndAMissingInterfaceTouchesNothing)
{
    const std::string records =
        ptkc({record("Count", 0, "SINT", longs(-12, -50, 50)), record("Flag", 0x80000000, "BOOL", longs(1, 0, 100)),
              record("Mode", 0x80000000, "POPU", longs(2, 0, 100))});
    EditWindow* window = open(parameterLayout, {{kPTKC, 128, "Interface", records}});
    auto* edit = static_cast<EditText*>(window->ViewMngr().GetView(4));
    auto* box = static_cast<CheckBox*>(window->ViewMngr().GetView(5));
    EXPECT_EQ(-12, edit->GetLong());
    EXPECT_EQ(FWString::kSignedInteger, edit->FilterType());
    EXPECT_TRUE(box->GetState());
    delete window;
    delete mDocument;

    // Without a stored interface: default items, automatic names, the controls as stored.
    window = open(parameterLayout);
    edit = static_cast<EditText*>(window->ViewMngr().GetView(4));
    box = static_cast<CheckBox*>(window->ViewMngr().GetView(5));
    EXPECT_EQ(FWString::kSignedInteger, edit->FilterType()) << "not made a real field";
    EXPECT_FALSE(box->GetState());
    const CItemPTKC* item = window->GetShaderData()->GetItem(edit);
    EXPECT_TRUE(item->mAutoName);
    EXPECT_EQ(CItemPTKC::kREAL, item->mType);
    EXPECT_EQ(3, window->GetShaderData()->NumActivePTKC()) << "edit text, check box and pop-up; no group";
}

TEST_F(ShaderDataTest, SavingWritesTheInterfaceAndOnlyChangedExtras)
{
    EditWindow* window = open([](FWWindow& w, FWView& root) {
        fixedViews(w, root);
        editText(w, root, 4, FWString::kSignedReal);
    });
    window->SetDirty(true);
    ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*window));
    EXPECT_EQ("53 48 41 44 00 00 00 00 00 00 00 01 08 45 64 69 74 54 65 78 74 00 00 00 00 00 00 00 00 00 00 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 80 00 00 00 52 45 41 4C 00 00 00 00 00 00 00 00 42 C8 00 00",
              HexOf(stored(kPTKC, 128)));
    EXPECT_EQ("(none)", stored(kPICT, 21000));
    EXPECT_EQ("(none)", stored(kQZMP, 128));

    CDataPTKC* data = window->GetShaderData();
    for (const auto& [on, bytes] : {std::pair{true, "00 00 00 00"}, std::pair{false, "01 00 00 00"}}) {
        data->mMultiThread = on;
        window->SetDirty(true);
        ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*window));
        EXPECT_EQ(bytes, HexOf(stored(kQZMP, 128)));
    }

    // A pasted preview is stored once, scaled to 127 x 127, and read back on opening.
    const FWRect big(0, 0, 254, 254);
    ImageBuffer source(&big, kImageBufferDepth32);
    FWDrawContext(&source).PaintRect(&big, FWArgb32(255, 10, 200, 30));
    data->SetNewImage(&source);
    window->SetDirty(true);
    ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*window));
    const std::string picture = stored(kPICT, 21000);
    ASSERT_EQ(64640u, picture.size());
    EXPECT_EQ("FF 0A C8 1E", HexOf(picture.substr(122 + 4 * (127 * 60 + 60), 4)));
    EXPECT_FALSE(data->HasNewImage());
    delete window;
    window = reopen();
    const ImageBuffer* preview = window->GetShaderData()->GetImage();
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ(127, preview->GetRect().Width());
    EXPECT_TRUE(window->GetShaderData()->mMultiThread == false);
}

TEST_F(ShaderDataTest, DamagedResourcesAreReadAsFarAsTheyCanBeNamedOnceAndSavedWithoutLoss)
{
    const std::string countRecord = record("Count", 0, "SINT", longs(-12, -50, 50));
    const std::string flagRecord = record("Flag", 0x80000000, "BOOL", longs(1, 0, 100));
    // The count says 1000 while the two records are whole; the flag and preview are garbage.
    const std::string damaged = "SHAD" + be32(7) + be32(1000) + countRecord + flagRecord;
    const std::string picture(10, '\xFF');
    const std::string flag("\0\2\0\0", 4);
    EditWindow* window = open(
        [](FWWindow& w, FWView& root) {
            fixedViews(w, root);
            editText(w, root, 4, FWString::kSignedInteger);
            checkBox(w, root, 5, "Check");
        },
        {{kPTKC, 128, "Interface", damaged}, {kPICT, 21000, "Image Preview", picture}, {kQZMP, 128, "MultiThread", flag}});
    EXPECT_EQ((std::vector<std::string>{"Damaged 'QZMP' 128 \"MultiThread\": read as off\r"
                                        "Damaged 'PICT' 21000 \"Image Preview\": no preview is shown\r"
                                        "Damaged 'PTKC' 128 \"Interface\": only the parameters before the damage were read"}),
              ShownMessageTexts());
    // The save writes the records read, through their controls, with their true count, and leaves
    // what it could not read alone; the user is not told again.
    window->SetDirty(true);
    ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*window));
    EXPECT_EQ(HexOf("SHAD" + be32(7) + be32(2) + countRecord + flagRecord), HexOf(stored(kPTKC, 128)));
    EXPECT_EQ(HexOf(picture), HexOf(stored(kPICT, 21000)));
    EXPECT_EQ(HexOf(flag), HexOf(stored(kQZMP, 128)));
    EXPECT_EQ(1u, ShownMessageTexts().size());
}

TEST_F(ShaderDataTest, ASaveAfterOkKeepsWhatWasNotEditedAndNamesRecordsThatDoNotLineUp)
{
    const std::string sample = StoredResource(FW_SAMPLE_RSRC, kPTKC, 128);
    ASSERT_EQ(272u, sample.size());
    std::string r[5];
    for (int i = 0; i < 5; ++i)
        r[i] = sample.substr(size_t(12 + 52 * i), 52);
    const auto head = [](uint32_t count) { return "SHAD" + be32(0) + be32(count); };
    // Reals with more digits than the fields show (pi, 1.501953125, 1e9) and the pop-up without
    // items at 2.
    const std::string exact =
        head(5) + record("Scale", 0x40000000, "REAL", be32(0x40490FDB) + be32(0x3FC04000) + be32(0x4E6E6B28)) +
        record("Steps", 0, "REAL", be32(0x3FC04000) + be32(0) + be32(0x40490FDB)) + r[2] +
        record("Mode", 0x80000000, "POPU", longs(2, 0, 100)) + r[4];
    const std::string notKept = "'PTKC' 128 \"Interface\": parameters that do not line up with the layout's controls "
                                "will not be saved: ";
    const struct {
        std::string stored, saved, notice;
    } cases[] = {
        {sample, sample, ""},
        {exact, exact, ""},
        {head(6) + r[0] + r[1] + r[2] + r[3] + r[4] + r[4], sample, notKept + "\"Tint\""},
        {head(6) + r[0] + r[0] + r[1] + r[2] + r[3] + r[4], head(5) + r[0] + r[0] + r[2] + r[3] + r[4], notKept + "\"Steps\""},
        {head(4) + r[0] + r[2] + r[3] + r[4],
         head(5) + r[0] + record("Steps", 0x80000000, "SINT", longs(0, 0, 100)) + r[2] + r[3] + r[4], ""},
    };
    for (const auto& c : cases) {
        HostResetModalLoops();
        EditWindow* window = open(StoredResource(FW_SAMPLE_RSRC, kWINT, 21000), {{kPTKC, 128, "Interface", c.stored}});
        ASSERT_EQ(c.notice.empty() ? 0u : 1u, ShownMessageTexts().size()) << c.notice;
        if (!c.notice.empty()) {
            EXPECT_EQ(c.notice, ShownMessageTexts().back());
        }
        window->MakeToFront();
        QuillformApp::Instance()->InterfaceShader(); // OK
        ASSERT_TRUE(window->IsDirty());
        ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*window));
        EXPECT_EQ(HexOf(c.saved), HexOf(stored(kPTKC, 128))) << c.notice;
        delete window;
        delete mDocument;
    }
    // Within 255 characters with the other line (the edit text takes P0, the group "Plain"): room is
    // kept for the custom parameters of type None, which three names and " and 1 more" fill exactly.
    const std::string a(15, 'a'), b(15, 'b'), c(16, 'c');
    std::vector<std::string> mixed{record("P0", 0, "SINT", longs(0, 0, 1)), record("Plain", 0x80000000, "CUST", longs(0, 0, 0))};
    for (const std::string& name : {a, b, c, std::string(20, 'd')})
        mixed.push_back(record(name, 0, "SINT", longs(0, 0, 1)));
    delete open(parameterLayout, {{kPTKC, 128, "Interface", ptkc(mixed)}});
    delete mDocument;
    EXPECT_EQ(notKept + "\"" + a + "\", \"" + b + "\", \"" + c + "\" and 1 more\r'PTKC' 128 \"Interface\": custom parameters "
                        "of type None will not be saved: \"Plain\"",
              ShownMessageTexts().back());
    // Without any parameter control the header stays and the records are named within 255 characters.
    HostResetModalLoops();
    std::string many = "TAGX" + be32(9) + be32(200), named;
    for (int i = 100; i < 300; ++i) {
        many += record("Param" + std::to_string(i), 0, "SINT", longs(0, 0, 1));
        named += i < 111 ? (i == 100 ? "\"Param" : ", \"Param") + std::to_string(i) + "\"" : "";
    }
    EditWindow* bare = open([](FWWindow&, FWView&) {}, {{kPTKC, 128, "Interface", many}});
    ASSERT_FALSE(ShownMessageTexts().empty());
    EXPECT_EQ(notKept + named + " and 189 more", ShownMessageTexts().back());
    bare->SetDirty(true);
    ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*bare));
    EXPECT_EQ(HexOf("TAGX" + be32(9) + be32(0)), HexOf(stored(kPTKC, 128)));
}

// The lines naming records not kept, after other lines of the notice: each ends within the 255
// characters shown, its line break counted, so that a list one character too long is cut.
TEST(RecordsNotKeptLines, FitTheNoticeWithTheirLineBreaks)
{
    const std::string notKept = "'PTKC' 128 \"Interface\": parameters that do not line up with the layout's controls "
                                "will not be saved: ";
    const std::string none = "'PTKC' 128 \"Interface\": custom parameters of type None will not be saved: ";
    const std::string n24(24, 'a'), n29(29, 'b'), n30(30, 'c'), n31(31, 'd'), n35(35, 'e');
    const std::vector<std::string> three{"A", "B", "C"}, four{"D", "E", "F", "G"};
    const struct {
        size_t gathered;
        std::vector<std::string> notLinked, customNone, lines;
    } cases[] = {
        // 100 + break + 155 would be 256.
        {100, {n24, n24}, {}, {notKept + "\"" + n24 + "\" and 1 more"}},
        // The first list whole (169) would leave the second 85, one less than its shortest form
        // takes with its break.
        {0, {n31, n31}, {n35, n35}, {notKept + "\"" + n31 + "\" and 1 more", none + "2 parameters"}},
        // 105 + break + 150 would be 256, and 10 + break + 105 + break + 139 too.
        {0, {"P0"}, {n35, n35}, {notKept + "\"P0\"", none + "\"" + n35 + "\" and 1 more"}},
        {10, {"P0"}, {n29, n30}, {notKept + "\"P0\"", none + "\"" + n29 + "\" and 1 more"}},
        // No room for either list: one line counts both, cut where the other lines leave less.
        {183, three, four, {"'PTKC' 128 \"Interface\": 7 parameters will not be saved"}},
        {220, three, four, {"'PTKC' 128 \"Interface\": 7 paramete"}},
        {254, three, four, {}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = CDataPTKC::RecordsNotKeptLines(c.gathered, c.notLinked, c.customNone);
        EXPECT_EQ(c.lines, lines) << c.gathered;
        size_t shown = c.gathered;
        for (const std::string& line : lines)
            shown += (shown > 0 ? 1 : 0) + line.size();
        EXPECT_LE(shown, 255u) << c.gathered;
    }
}

TEST_F(ShaderDataTest, AFailedInterfaceWriteFailsTheSave)
{
    EditWindow* window = open([](FWWindow& w, FWView& root) {
        fixedViews(w, root);
        editText(w, root, 4, FWString::kSignedReal);
    });
    CItemPTKC* item = window->GetShaderData()->GetItem(window->ViewMngr().GetView(4));
    item->mType = FOUR_CHAR_CODE("XXXX");
    item->mAutoName = false;
    window->SetDirty(true);
    EXPECT_FALSE(QuillformApp::Instance()->SaveEditWindow(*window));
    EXPECT_TRUE(window->IsDirty());
    EXPECT_EQ("(none)", stored(kPTKC, 128));
    EXPECT_EQ((std::vector<std::string>{"Unknown Resource Error"}), ShownMessageTexts());
}

TEST_F(ShaderDataTest, CopiesAndDeletionsOfContainersCarryTheItemsOfWhatTheyHold)
{
    EditWindow* window = open([](FWWindow& w, FWView& root) {
        fixedViews(w, root);
        Group* box = group(w, root, 4);
        auto* inside = new CheckBox;
        FWStr<255> label("Inside");
        inside->Init(&w, FWPoint(125, 105), &label);
        add(*box, inside, 5);
        checkBox(w, root, 6, "Outside");
    });
    CDataPTKC* data = window->GetShaderData();
    ASSERT_EQ(4u, data->Map().size()) << "preview, group and both check boxes";
    EditWindow::OnEditTool(nullptr);
    FWView* group = window->ViewMngr().GetView(4);
    // A click inside the group selects it and an Option-drag from there copies it; the same for
    // the outside check box. Each copy gets an item.
    const auto drag = [window](FWPoint from, FWPoint to, uint16_t modifiers) {
        const auto global = [window](FWPoint p) {
            window->WindowToGlobal(&p);
            return Point{p.v, p.h};
        };
        HostInjectMouseDown(global(from), modifiers);
        HostInjectMouseMove(global(to));
        HostInjectMouseUp(global(to), modifiers);
        EventRecord record;
        while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
        }
        FWEvent press(kMouseDownEvent, window, modifiers);
        press.mWhere = from;
        window->MouseDownEvent(press);
        HostDiscardInjected();
    };
    drag(FWPoint(150, 180), FWPoint(150, 180), 0);
    ASSERT_EQ(std::vector<FWView*>{group}, window->SelectedViews());
    drag(FWPoint(150, 180), FWPoint(170, 190), kFWOptionKey);
    EXPECT_EQ(5u, data->Map().size());
    drag(FWPoint(20, 160), FWPoint(20, 160), 0);
    drag(FWPoint(20, 160), FWPoint(20, 220), kFWOptionKey);
    EXPECT_EQ(6u, data->Map().size());
    EXPECT_EQ(3, data->NumActivePTKC());

    // Deleting the original group drops the items of everything that went with it: the items
    // left are exactly those of the parameter-kind views left.
    for (FWView* view : window->SelectedViews())
        view->SetSelected(false);
    group->SetSelected(true);
    FWDrawContext context(window);
    window->DeleteSelectionList(context);
    std::set<FWView*> kinds;
    PreorderTraversal<FWView> walk(window->ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        if (CItemPTKC::GetViewType(view) != CItemPTKC::kNone)
            kinds.insert(view);
    std::set<FWView*> items;
    for (const auto& entry : data->Map())
        items.insert(entry.first);
    EXPECT_EQ(kinds, items);
    EXPECT_LT(items.size(), 6u);
}

TEST_F(ShaderDataTest, TestModeEditsOfParametersChangeTheLayout)
{
    EditWindow* window = open([](FWWindow& w, FWView& root) {
        fixedViews(w, root);
        checkBox(w, root, 4, "Check");
        auto* text = new StaticText;
        const FWStr<255> words("Words");
        text->Init(&w, FWRect(10, 150, 100, 170), &words, StaticText::kSingleLine);
        add(root, text, 5);
    });
    window->InterfaceEvent(window->ViewMngr().GetView(5));
    EXPECT_FALSE(window->IsDirty());
    window->InterfaceEvent(window->ViewMngr().GetView(4));
    EXPECT_TRUE(window->IsDirty());
}

TEST_F(ShaderDataTest, TheSampleInterfaceOpensWithEveryParameterLinked)
{
    mPath = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, mPath);
    mDocument = new CQF_Document;
    mDocument->SetAssociatedFile(FileReference(mPath.c_str()));
    ASSERT_TRUE(mDocument->ReadWINT());
    for (int16_t id : {128, 129, 21000}) { // saved with nothing changed, each keeps its bytes
        std::unique_ptr<EditWindow> layout(new EditWindow(mDocument, id));
        EditWindow::mCreatedInstance = nullptr;
        layout->SetDirty(true);
        ASSERT_TRUE(QuillformApp::Instance()->SaveEditWindow(*layout)) << id;
        EXPECT_EQ(HexOf(StoredResource(FW_SAMPLE_RSRC, kWINT, id)), HexOf(stored(kWINT, id))) << id;
    }
    EXPECT_EQ(HexOf(StoredResource(FW_SAMPLE_RSRC, kPTKC, 128)), HexOf(stored(kPTKC, 128)));
    EditWindow* window = reopen();
    CDataPTKC* data = window->GetShaderData();
    std::string names;
    for (int32_t id = 4; id <= 8; ++id)
        names += std::string(data->GetItem(window->ViewMngr().GetView(id))->GetName().GetCString()) + " ";
    EXPECT_EQ("Scale Steps Smooth Mode Tint ", names);
    EXPECT_TRUE(data->mAllParams);
    EXPECT_EQ(8, static_cast<EditText*>(window->ViewMngr().GetView(5))->GetLong());
    auto* tint = static_cast<ColorButton*>(window->ViewMngr().GetView(8));
    EXPECT_TRUE(tint->GetEditAlpha());
    const FWArgb32 color = tint->GetColor();
    EXPECT_EQ((std::vector<int>{0xC0, 0xFF, 0x80, 0x20}), (std::vector<int>{color.a, color.r, color.g, color.b}));
    // A colour button that does not edit alpha is stored as 'CRGB'.
    tint->SetEditAlpha(false);
    CItemPTKC* item = data->GetItem(tint);
    item->mAutoName = true;
    data->SetAutoNames();
    EXPECT_EQ(CItemPTKC::kCRGB, item->mType);
}

TEST_F(ShaderDataTest, TheProgramsOwnResourcesHoldNoInterface)
{
    // The reads look only in the document's file; the program's file must not hold these either.
    Corvel::FS_ResourceFileRA file(LocatorOfPath(File("quillform.rsrc")), false);
    ASSERT_NE(0, file.OpenedResourceFile());
    EXPECT_EQ(nullptr, Get1Resource(kPTKC, 128));
    EXPECT_EQ(nullptr, Get1Resource(kQZMP, 128));
    EXPECT_EQ(nullptr, Get1Resource(kPICT, 21000));
}
