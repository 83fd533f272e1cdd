// "Write Control IDs": the fragment written for a layout, and the file it goes to.
#include "EditLayout.h"
#include "EditorFixture.h"

#include "EditText.h"
#include "EditWindow.h"
#include "FWStr.h"
#include "FWView.h"
#include "QuillformApp.h"
#include "ShownMessages.h"
#include "SourceOutput.h"

#include <filesystem>

namespace {

struct Named {
    ViewKind kind;
    const char* member;   // auto-value name, "" for none
    const char* symbol;   // string id, "" for none
    int32_t id;
    FWString::Type type = FWString::kUnsignedInteger; // edit texts only
};

FWView* add(EditWindow& window, const Named& n)
{
    FWView* view = AddView(window, n.kind, n.id);
    view->SetAutoValueString(FWStr<63>(n.member));
    view->SetStringID(FWStr<63>(n.symbol));
    if (auto* edit = dynamic_cast<EditText*>(view))
        edit->Set(true, n.type, false);
    return view;
}

const std::string kHead = "\n/* " + std::string(72, '-') + "\n\tUpdateInterface\n" + std::string(72, '-') +
                          " */\nvoid YourClass::UpdateInterface(FWWindow* window)\n{\n";

} // namespace

class SourceOutputTest : public EditorFixture {
protected:
    void SetUp() override { StartApp(); }
};

TEST_F(SourceOutputTest, DeclarationsEnumAndConnections)
{
    struct Case {
        const char* name;
        std::vector<Named> views;
        std::string expected;
    };
    const Case cases[] = {
        {"check box and real field",
         {{ViewKind::kCheckBox, "mShow", "kShowID", 4}, {ViewKind::kEditText, "mSize", "kSizeID", 5, FWString::kUnsignedReal}},
         "// Member variable declarations\nCheckBox::Bool\t\tmShow;\nEditText::Float\t\tmSize;\n\n"
         "enum {\n\tkShowID = 4,\n\tkSizeID = 5\n};\n" +
             kHead + "\tmShow.Connect(window, kShowID);\n\tmSize.Connect(window, kSizeID);\n}\t// UpdateInterface\n"},
        {"nothing named", {{ViewKind::kCheckBox, "", "", 4}}, "\n"},
        {"string ids only",
         {{ViewKind::kPushButton, "", "kGoID", 7}, {ViewKind::kStaticText, "", "kNameID", -3}},
         "\nenum {\n\tkGoID = 7,\n\tkNameID = -3\n};\n"},
        {"other classes, an on/off field and no string ids",
         {{ViewKind::kEditText, "mOn", "", 3, FWString::Type(4)},
          {ViewKind::kPopup, "mPick", "", 4},
          {ViewKind::kRadioSet, "mWay", "", 5},
          {ViewKind::kEditText, "mCount", "", 6, FWString::kSignedInteger},
          {ViewKind::kPushButton, "mGo", "", 7}},
         "// Member variable declarations\nPopupEnum\t\t\tmPick;\nRadioButtonEnum\t\tmWay;\nEditText::Long\t\tmCount;\n"
         "\tUnknownType::AutoValue\t\tmMemberVariable;\n\n" +
             kHead +
             "\tmOn.Connect(window, );\n\tmPick.Connect(window, );\n\tmWay.Connect(window, );\n"
             "\tmCount.Connect(window, );\n\tmGo.Connect(window, );\n}\t// UpdateInterface\n"},
    };
    for (const Case& c : cases) {
        EditWindow* window = NewEditWindow();
        for (const Named& n : c.views)
            add(*window, n);
        EXPECT_EQ(c.expected, SourceOutput::Text(window->ViewMngr().GetViewTree())) << c.name;
        window->SendMessage(Dependable::IsBeingDeleted);
        delete window;
    }
}

TEST_F(SourceOutputTest, TheCommandWritesBesideTheProgramAndAFailedWriteKeepsTheOldFile)
{
    EditWindow* window = NewEditWindow();
    add(*window, {ViewKind::kCheckBox, "", "kShowID", 4});
    const std::string path = File("Output.c");
    ASSERT_EQ(path, SourceOutput::Path());
    TempFolder::WriteFile(path, "older text");
    QuillformApp::write_source_file(nullptr);
    EXPECT_EQ("\nenum {\n\tkShowID = 4\n};\n", TempFolder::ReadFile(path));

    // The new file cannot be put in place (a folder holds the name): nothing is written, nothing
    // is left beside it, and nothing is said.
    std::filesystem::remove(path);
    std::filesystem::create_directories(path + "/inside");
    QuillformApp::write_source_file(nullptr);
    EXPECT_TRUE(std::filesystem::exists(path + "/inside"));
    for (const auto& entry : std::filesystem::directory_iterator(File("")))
        EXPECT_NE(0u, entry.path().filename().string().rfind(".Output.c", 0)) << entry.path();
    EXPECT_FALSE(SourceOutput::WriteFile(path, "new"));
    EXPECT_FALSE(SourceOutput::WriteFile(File("missing/Output.c"), "new"));
    EXPECT_TRUE(ShownMessageTexts().empty());
}
