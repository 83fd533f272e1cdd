// The "Shader.. " command and the Shader dialog: the checks before it opens, the list and the
// parameter fields, and what OK and Cancel leave behind.
#include "EditorFixture.h"

#include "BranchItem.h"
#include "CDataPTKC.h"
#include "CQF_Document.h"
#include "CheckBox.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWOutlineView.h"
#include "FWView.h"
#include "FWWindow.h"
#include "Group.h"
#include "HostModalLoop.h"
#include "ImageBuffer.h"
#include "ListBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"
#include "RecomputeIDs.h"
#include "ShaderDialog.h"
#include "ShownMessages.h"

#include "../Files/ResourceFileMaker.h"

#include <functional>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");

template <class View>
View* add(FWView& parent, View* view, int32_t id)
{
    view->SetID(id);
    parent.AppendChild(view);
    return view;
}

// A layout 21000 of the views the codes name, in order: 'O' OK, 'C' Cancel, 'P' the preview group,
// 'E' an edit text, 'X' a check box, 'G' a plain group with two pages; ids as given.
std::string layoutOf(const std::string& codes, const std::vector<int32_t>& ids)
{
    FWWindow maker;
    maker.SetSize(400, 260);
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, 380, 230));
    root->SetID(1000);
    for (size_t i = 0; i < codes.size(); ++i) {
        const int16_t top = int16_t(10 + 22 * i);
        switch (codes[i]) {
        case 'O': {
            auto* ok = new OKButton;
            ok->Init(&maker, FWRect(300, top, 360, int16_t(top + 20)), nullptr);
            add(*root, ok, ids[i])->MakeDefaultAccept();
            break;
        }
        case 'C': {
            auto* cancel = new CancelButton;
            cancel->Init(&maker, FWRect(230, top, 290, int16_t(top + 20)), nullptr);
            add(*root, cancel, ids[i])->MakeDefaultCancel();
            break;
        }
        case 'P':
        case 'G': {
            auto* group = new Group;
            group->Init(&maker, FWRect(200, top, 280, int16_t(top + 20)), nullptr, Group::kTopLeft,
                        codes[i] == 'P' ? Group::kCustom : Group::kEngraved);
            add(*root, group, ids[i]);
            if (codes[i] == 'G') {
                group->SetBranchTotal(2);
                group->FindBranch(0)->SetID(ids[i] + 1);
                group->FindBranch(1)->SetID(ids[i] + 2);
            }
            break;
        }
        case 'E': {
            auto* edit = new EditText;
            FWStr<255> title("Field:");
            edit->Init(&maker, FWRect(10, top, 150, int16_t(top + 20)), &title);
            edit->Set(true, FWString::kSignedReal, false);
            add(*root, edit, ids[i]);
            break;
        }
        case 'X': {
            auto* box = new CheckBox;
            FWStr<255> label("Box");
            box->Init(&maker, FWPoint(10, top), &label);
            add(*root, box, ids[i]);
            break;
        }
        }
    }
    Handle h = maker.ViewMngr().SerializeViewTree();
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

std::vector<std::string> rowNames(ListBox& list)
{
    std::vector<std::string> names;
    for (ListBoxItem* row = list.First(); row != nullptr; row = list.Next())
        names.emplace_back(row->Viewable_Name().GetCString());
    return names;
}

} // namespace

class ShaderDialogTest : public EditorFixture {
protected:
    void SetUp() override
    {
        StartApp();
        ShaderDialog::mShowAllControls = false;
        ShaderDialog::notifyItalic = true;
    }
    EditWindow* open(int16_t id, const std::string& codes, const std::vector<int32_t>& ids)
    {
        const std::string path = File("shader" + std::to_string(mFiles++) + ".rsrc");
        EXPECT_TRUE(MakeResourceFile(path, {{kWINT, id, "Interface", layoutOf(codes, ids)}}));
        auto* document = new CQF_Document;
        document->SetAssociatedFile(FileReference(path.c_str()));
        EXPECT_TRUE(document->ReadWINT());
        auto* window = new EditWindow(document, id);
        EditWindow::mCreatedInstance = nullptr;
        window->MakeToFront();
        return window;
    }
    struct Closer {
        void operator()(ShaderDialog* d) const
        {
            d->SendMessage(Dependable::IsBeingDeleted);
            delete d;
        }
    };
    // The dialog on the window, as the command builds it.
    std::unique_ptr<ShaderDialog, Closer> dialog(EditWindow* window)
    {
        const FWView* special[3] = {};
        EXPECT_FALSE(RECOMPUTE_IDS::NeedRecomputeIDs(window, mRecords, special));
        return std::unique_ptr<ShaderDialog, Closer>(new ShaderDialog(window, mRecords));
    }
    void select(ShaderDialog& d, long row)
    {
        ListBox& list = *d.GetListBox();
        for (ListBoxItem* r = list.First(); r != nullptr; r = list.Next())
            r->Viewable_SetNodeSelected(false);
        list.Item(row)->Viewable_SetNodeSelected(true);
        d.InterfaceParameter();
    }

    int mFiles = 0;
    std::vector<RECOMPUTE_IDS::CItemInfo> mRecords;
};

TEST_F(ShaderDialogTest, TheCommandNamesTheFirstMissingPiece)
{
    const struct {
        int16_t id;
        const char* codes;
        std::vector<int32_t> ids;
        const char* message;
    } cases[] = {
        {128, "OCP", {1, 2, 3}, "Shader options can be edited only for WINT 21000"},
        {21000, "EX", {4, 5}, "Shader interface requires Ok button. Please create it"},
        {21000, "OEX", {1, 4, 5}, "Shader interface requires Cancel button. Please create it"},
        {21000, "OCGX", {1, 2, 3, 4}, "Shader interface requires Preview control that should be invisible group. Please create it"},
        {21000, "OCPXE", {1, 2, 3, 9, 4}, "Items are not ordered. Use 'Recompute IDs' first"},
    };
    for (const auto& c : cases) {
        EditWindow* window = open(c.id, c.codes, c.ids);
        QuillformApp::Instance()->InterfaceShader();
        ASSERT_FALSE(ShownMessageTexts().empty()) << c.codes;
        EXPECT_EQ(c.message, ShownMessageTexts().back()) << c.codes;
        EXPECT_FALSE(window->IsDirty()) << c.codes;
    }
}

TEST_F(ShaderDialogTest, OkNumbersParametersFirstAndNoticesNewControlsOnce)
{
    EditWindow* window = open(21000, "OCPEX", {1, 2, 3, 4, 5});
    QuillformApp::Instance()->InterfaceShader();
    // A control added since is named too, but the notice is not shown again.
    window->GetShaderData()->AddItem(window->ViewMngr().GetView(5));
    QuillformApp::Instance()->InterfaceShader();
    EXPECT_EQ((std::vector<std::string>{"You've 2 newly added controls that will be drawn with italic font"}),
              ShownMessageTexts());
    EXPECT_TRUE(window->IsDirty());
    const CItemPTKC* item = window->GetShaderData()->GetItem(window->ViewMngr().GetView(4));
    EXPECT_FALSE(item->mAutoName) << "OK confirms the names";
    EXPECT_STREQ("Field", item->mName.GetCString());

    // Cancel leaves a preview pasted earlier and the items as they were.
    const FWRect bounds(0, 0, 10, 10);
    ImageBuffer image(&bounds, kImageBufferDepth32);
    window->GetShaderData()->SetNewImage(&image);
    HostModalPresetAnswer(HostModalAnswer::kCancel);
    QuillformApp::Instance()->InterfaceShader();
    EXPECT_TRUE(window->GetShaderData()->HasNewImage());
}

TEST_F(ShaderDialogTest, ListShowsParametersAndEditsTheSelectedOne)
{
    EditWindow* window = open(21000, "OCPEXG", {1, 2, 3, 4, 5, 9});
    window->GetShaderData()->SetAutoNames();
    auto d = dialog(window);
    ListBox& list = *d->GetListBox();
    EXPECT_EQ((std::vector<std::string>{"Field", "Box"}), rowNames(list));
    EXPECT_EQ(0, RadioButtonSet::GGetButton(d.get(), ShaderDialog::kCountMode));
    EXPECT_EQ(2, EditText::GGetLong(d.get(), ShaderDialog::kCount));

    // The edit text: "Signed Integer" is row 2 of its types; limits show its minimum and maximum.
    select(*d, 0);
    CItemPTKC* field = window->GetShaderData()->GetItem(window->ViewMngr().GetView(4));
    EXPECT_FALSE(d->ViewMngr().GetView(ShaderDialog::kType)->IsGhosted());
    Popup::GSetItemSelected(d.get(), ShaderDialog::kType, 2, nullptr);
    d->InterfaceEvent(d->ViewMngr().GetView(ShaderDialog::kType));
    EXPECT_EQ(CItemPTKC::kSINT, field->mType);
    CheckBox::GSetState(d.get(), ShaderDialog::kLimits, true, nullptr);
    d->InterfaceEvent(d->ViewMngr().GetView(ShaderDialog::kLimits));
    EXPECT_TRUE(field->mLimited);
    EXPECT_FALSE(d->ViewMngr().GetView(ShaderDialog::kMaximum)->IsGhosted());
    const FWStr<31> maximum("-7");
    EditText::GSetString(d.get(), ShaderDialog::kMaximum, &maximum, nullptr);
    d->InterfaceTextEvent(static_cast<EditText*>(d->ViewMngr().GetView(ShaderDialog::kMaximum)));
    EXPECT_EQ(-7, field->mLong[2]);

    // The tag keeps four characters.
    const FWStr<31> tag("ABCDEF");
    EditText::GSetString(d.get(), ShaderDialog::kTag, &tag, nullptr);
    d->InterfaceTextEvent(static_cast<EditText*>(d->ViewMngr().GetView(ShaderDialog::kTag)));
    FWStr<255> kept;
    EditText::GGetString(d.get(), ShaderDialog::kTag, &kept);
    EXPECT_STREQ("ABCD", kept.GetCString());

    // All controls: the group becomes a graph, and the count follows.
    Popup::GSetItemSelected(d.get(), ShaderDialog::kListMode, 1, nullptr);
    d->InterfaceEvent(d->ViewMngr().GetView(ShaderDialog::kListMode));
    EXPECT_EQ(6, list.ListSize());
    select(*d, 5);
    Popup::GSetItemSelected(d.get(), ShaderDialog::kType, 2, nullptr);
    d->InterfaceEvent(d->ViewMngr().GetView(ShaderDialog::kType));
    EXPECT_TRUE(window->GetShaderData()->IsActiveCustom(window->ViewMngr().GetView(9)));
    EXPECT_STREQ("Graph", list.Item(5)->Viewable_Name().GetCString());
    EXPECT_EQ(3, EditText::GGetLong(d.get(), ShaderDialog::kCount));

    // A dragged OK row goes back to the top with Cancel and the preview.
    list.RemoveItem(0);
    list.InsertItem(4, 0, FWStr<31>("OK"), nullptr);
    d->InterfaceReorder();
    std::vector<long> ids;
    for (ListBoxItem* row = list.First(); row != nullptr; row = list.Next())
        ids.push_back(row->ID());
    EXPECT_EQ((std::vector<long>{0, 1, 2, 3, 4, 5}), ids);
}

TEST_F(ShaderDialogTest, AcceptedOrderNumbersTheListAndMovesCollidingPages)
{
    // The plain group (9, pages 10 and 11) is listed after the two parameters, which the list
    // shows in reverse.
    EditWindow* window = open(21000, "OCPEXG", {1, 2, 3, 4, 5, 9});
    FWView* edit = window->ViewMngr().GetView(4);
    FWView* box = window->ViewMngr().GetView(5);
    auto* group = static_cast<Group*>(window->ViewMngr().GetView(9));
    group->FindBranch(0)->SetID(6);
    auto d = dialog(window);
    ListBox& list = *d->GetListBox();
    list.RemoveItem(1);
    list.InsertItem(0, 4, FWStr<31>("Box"), nullptr);
    ASSERT_TRUE(d->DialogAccepted(nullptr));
    ShaderDialog::ApplyOrder(*window, mRecords);
    EXPECT_EQ(4, box->ID());
    EXPECT_EQ(5, edit->ID());
    EXPECT_EQ(6, group->ID());
    EXPECT_EQ(7, group->FindBranch(0)->ID()) << "page 6 collided with the group and moves above the last";
    EXPECT_EQ(11, group->FindBranch(1)->ID());
    EXPECT_EQ(11, window->ViewMngr().GetCurrID());
}

TEST_F(ShaderDialogTest, OkRefusesANumberAFieldCannotTakeAndKeepsWhatWasTyped)
{
    EditWindow* window = open(21000, "OCPEE", {1, 2, 3, 4, 5});
    window->GetShaderData()->SetAutoNames();
    CItemPTKC* field = window->GetShaderData()->GetItem(window->ViewMngr().GetView(4));
    field->mLimited = true;
    field->mFloat[1] = 3;     // stored above the value, 0
    field->mFloat[2] = 1e9f; // stored beyond what the field takes
    auto d = dialog(window);
    select(*d, 0);
    const auto type = [&](int32_t id, const char* text) {
        const FWStr<255> typed(text);
        EditText::GSetString(d.get(), id, &typed, nullptr);
        d->InterfaceTextEvent(static_cast<EditText*>(d->ViewMngr().GetView(id)));
    };
    // Left as shown, or typed over and shown again, the stored limits are taken as they are.
    EXPECT_TRUE(d->DialogAccepted(nullptr));
    type(ShaderDialog::kMaximum, "5");
    type(ShaderDialog::kMaximum, "1000000000.0");
    EXPECT_TRUE(d->DialogAccepted(nullptr));
    EXPECT_EQ(1e9f, field->mFloat[2]);
    for (const auto& [id, text, message] :
         {std::tuple{ShaderDialog::kMinimum, "1.5.", "The minimum must lie between -16777216 and 16777216."},
          std::tuple{ShaderDialog::kMaximum, "16777217", "The maximum must lie between -16777216 and 16777216."},
          std::tuple{ShaderDialog::kMinimum, "8", "The minimum of Field (8.0) must not exceed its maximum (7.0)."},
          std::tuple{ShaderDialog::kMaximum, "-1",
                     "The value of Field (0.0) must lie between its minimum (-2.5) and maximum (-1.0)."},
          std::tuple{ShaderDialog::kHeader, "", "The header value must lie between -2147483648 and 2147483647."}}) {
        type(ShaderDialog::kMinimum, "-2,5");
        type(ShaderDialog::kMaximum, "7");
        type(ShaderDialog::kHeader, "-3");
        type(id, text);
        HostResetModalLoops();
        EXPECT_FALSE(d->DialogAccepted(nullptr)) << text;
        EXPECT_EQ(std::vector<std::string>{message}, ShownMessageTexts());
        FWStr<255> kept;
        EditText::GGetString(d.get(), id, &kept);
        EXPECT_STREQ(text, kept.GetCString());
    }
    EXPECT_EQ((std::vector<float>{-2.5f, 7}), (std::vector<float>{field->mFloat[1], field->mFloat[2]}));
    // Of two at fault, the message is of the first the list shows, whichever was made first.
    window->GetShaderData()->GetItem(window->ViewMngr().GetView(5))->mLimited = true;
    for (const auto& [swapped, first, second, most] : {std::tuple{false, "2", "3", "7"}, {true, "4", "5", "100"}}) {
        mRecords.clear();
        d = dialog(window);
        if (swapped)
            std::swap(mRecords[3], mRecords[4]);
        select(*d, 0);
        type(ShaderDialog::kMinimum, first);
        select(*d, 1);
        type(ShaderDialog::kMinimum, second);
        EXPECT_FALSE(d->DialogAccepted(nullptr));
        EXPECT_EQ("The value of Field (0.0) must lie between its minimum (" + std::string(first) + ".0) and maximum (" +
                      most + ".0).", ShownMessageTexts().back());
    }
}
