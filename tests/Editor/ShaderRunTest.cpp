// A user's session with a shader interface, through the editor's own commands, dialogs and the
// mouse and keys: a new file, its new layout 21000, an edit text drawn with its tool and saved;
// then the Shader dialog taking the clipboard's image; the file checked byte for byte after each
// save.
#include "EditorFixture.h"

#include "AddControls.h"
#include "CDataPTKC.h"
#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "DiskImageDecoder.h"
#include "EditWindow.h"
#include "FWClipboard.h"
#include "FWEvent.h"
#include "HexText.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostNavDialogs.h"
#include "HostPasteboard.h"
#include "QuillformApp.h"
#include "RecomputeIDs.h"
#include "ShaderDialog.h"
#include "ShownMessages.h"
#include "TIFFMaker.h"

#include "../Files/ResourceFileMaker.h"

namespace {

constexpr uint8_t kKeyReturn = 36, kKeyEscape = 53;

// The resource of the file, or "(none)".
std::string stored(const std::string& path, const char* type, int16_t id)
{
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    const ResType code = ResType(uint8_t(type[0])) << 24 | ResType(uint8_t(type[1])) << 16 |
                         ResType(uint8_t(type[2])) << 8 | ResType(uint8_t(type[3]));
    Handle h = Get1Resource(code, id);
    return h == nullptr ? "(none)" : std::string(*h, size_t(GetHandleSize(h)));
}

Point global(FWWindow& window, FWPoint p)
{
    window.WindowToGlobal(&p);
    return Point{p.v, p.h};
}

} // namespace

class ShaderRunTest : public EditorFixture {
protected:
    void SetUp() override
    {
        mApp = StartApp();
        mPlaces = LocateLayoutList();
        ShaderDialog::notifyItalic = true;
        FWClipboard::Instance()->ClearClipboard();
        HostClipboardClear();
    }
    // The clipboard outlives the test: what the test put there goes with it.
    void TearDown() override
    {
        FWClipboard::Instance()->ClearClipboard();
        HostClipboardClear();
    }

    QuillformApp* mApp = nullptr;
    LayoutListPlaces mPlaces;
};

TEST_F(ShaderRunTest, ANewInterfaceItsParameterAndItsPreviewReachTheFile)
{
    // File > New names a new file; in its list of layouts New proposes 21000 and opens it.
    const std::string path = File("shader.rsrc");
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {path};
    HostNavPresetAnswer(answer);
    HostInjectClick(mPlaces.buttons.at(CDialogWINT::kNew));
    HostInjectKey(kKeyReturn, 13);
    mApp->DoFileNew();
    EditWindow* window = mApp->GetFrontEditWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(21000, window->ViewMngr().GetResID());
    ASSERT_NE(nullptr, window->GetShaderData());

    // The "Edit Text" tool and a 100 x 20 drag, then Save.
    AddControls::OnEditTextTool(nullptr);
    HostInjectMouseDown(global(*window, FWPoint(20, 20)));
    HostInjectMouseMove(global(*window, FWPoint(120, 40)));
    HostInjectMouseUp(global(*window, FWPoint(120, 40)));
    EventRecord record;
    while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
    }
    FWEvent press(kMouseDownEvent, window, 0);
    press.mWhere = FWPoint(20, 20);
    window->MouseDownEvent(press);
    HostDiscardInjected();
    EXPECT_TRUE(window->IsDirty());
    mApp->DoFileSave();
    EXPECT_FALSE(window->IsDirty());
    const std::string interface =
        "53 48 41 44 00 00 00 00 00 00 00 01 08 45 64 69 74 54 65 78 74 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 80 00 00 00 52 45 41 4C 00 00 00 00 00 00 00 00 42 C8 00 00";
    EXPECT_EQ(interface, HexOf(stored(path, "PTKC", 128)));
    EXPECT_NE("(none)", stored(path, "WINT", 21000));
    EXPECT_EQ("(none)", stored(path, "PICT", 21000));
    EXPECT_EQ("(none)", stored(path, "QZMP", 128));

    // "Shader.. " with an empty clipboard: the notice of the new control, the image button's
    // warning, then Cancel.
    EditWindow::OnEditTool(nullptr);
    const Point button = ShaderNewImageButton(window);
    HostInjectKey(kKeyReturn, 13);
    HostInjectClick(button);
    HostInjectKey(kKeyReturn, 13);
    HostInjectKey(kKeyEscape, 27);
    mApp->InterfaceShader();
    EXPECT_EQ((std::vector<std::string>{"You've 1 newly added controls that will be drawn with italic font",
                                        "Please place image to clipboard.\rThe recommended size is 127 x 127"}),
              ShownMessageTexts());
    EXPECT_FALSE(window->IsDirty()) << "Cancel changes nothing";

    // With an image on the clipboard: New Image, OK, Save.
    HostClipboardAddItem({{kUTTypeTIFF, MakeTIFF(254, 254, std::vector<uint32_t>(254 * 254, 0xFF2050A0), false)}});
    HostInjectClick(button);
    HostInjectKey(kKeyReturn, 13);
    mApp->InterfaceShader();
    EXPECT_EQ(2u, ShownMessageTexts().size()) << "the notice comes once per run";
    EXPECT_TRUE(window->IsDirty());
    mApp->DoFileSave();
    EXPECT_EQ(interface, HexOf(stored(path, "PTKC", 128)));
    const std::string picture = stored(path, "PICT", 21000);
    ASSERT_EQ(64640u, picture.size());
    EXPECT_EQ("00 11 02 FF", HexOf(picture.substr(10, 4)));
    EXPECT_EQ("00 9A", HexOf(picture.substr(52, 2)));
    EXPECT_EQ("81 FC", HexOf(picture.substr(58, 2)));
    EXPECT_EQ("00 FF", HexOf(picture.substr(64638, 2)));
    const DiskImageDecoder::Pixels pixels = DiskImageDecoder::Decode(
        FOUR_CHAR_CODE("PICT"), reinterpret_cast<const uint8_t*>(picture.data()), picture.size(), nullptr);
    ASSERT_EQ(127, pixels.width);
    EXPECT_EQ(0xFF2050A0u, pixels.At(0, 0));
    EXPECT_EQ(0xFF2050A0u, pixels.At(126, 126));
    EXPECT_EQ("(none)", stored(path, "QZMP", 128));
}
