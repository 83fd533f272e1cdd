#include "DiskImage.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include "ByteBuilder.h"
#include "SampleImages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::pair<std::string, int32_t>> gCalls;

void adjust(FWUserOp* op)
{
    gCalls.emplace_back("adjust", op->Id());
}
void action(FWUserOp* op)
{
    gCalls.emplace_back("action", op->Id());
}
void altAction(FWUserOp* op)
{
    gCalls.emplace_back("alt", op->Id());
}

// A small command table: a File menu with a submenu, a separator and a shortcut with shift and
// option; an Edit menu; a record whose children pointer comes with a count of 0.
const FWOpData kRecent[] = {
    {"First", 21, 0, 0, 0, nullptr, action, nullptr, 0, 0, nullptr, 0},
    {"Second", 22, kUserOpCheckable, 0, 0, nullptr, action, nullptr, 0, 0, nullptr, 0},
};
const FWOpData kFile[] = {
    {"Open", 11, 0, 0, 0, adjust, action, altAction, 'O', 0x100, nullptr, 0},
    {"Recent", 12, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kRecent, 2},
    {"-", 13, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Export", 14, 0, 0, 0, nullptr, action, nullptr, 'E', 0x100 | 0x200 | 0x800, nullptr, 0},
    {"Script", 15, 0, 0, 0, nullptr, action, nullptr, -1, 0, nullptr, 0},
};
const FWOpData kEdit[] = {
    {"Undo", 31, kUserOpDisabled, 0, 0, nullptr, nullptr, nullptr, 'Z', 0x100, nullptr, 0},
    {"Empty", 32, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kRecent, 0},
};
const FWOpData kMenus[] = {
    {"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 5},
    {"Edit", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kEdit, 2},
};
const FWOpData kRoot = {"Root", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 2};

std::vector<int32_t> preorderIds(FWUserOp* root, std::vector<int>* depths = nullptr)
{
    std::vector<int32_t> ids;
    int depth = 0;
    for (FWUserOp* node = root; node != nullptr; node = node->NextNode(root, &depth)) {
        ids.push_back(node->Id());
        if (depths != nullptr)
            depths->push_back(depth);
    }
    return ids;
}

// A node that records the order in which nodes are deleted.
class RecordingOp : public FWOpItem {
public:
    RecordingOp(int32_t id, std::vector<int32_t>* deleted)
        : FWOpItem("rec", id, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0), mDeleted(deleted)
    {
    }
    ~RecordingOp() override { mDeleted->push_back(Id()); }

private:
    std::vector<int32_t>* mDeleted;
};

class FWUserOpTest : public ::testing::Test {
protected:
    void SetUp() override { gCalls.clear(); }
};

TEST_F(FWUserOpTest, RecordsBuildMenusItemsAndTheirFields)
{
    FWOpMenu root(kRoot);
    EXPECT_TRUE(root.TestFlag(kUserOpHasChildren)); // forced on a menu
    ASSERT_EQ(2, root.CountChildren());
    auto* file = dynamic_cast<FWOpMenu*>(root.MenuItem(0));
    ASSERT_NE(nullptr, file);
    EXPECT_EQ("File", std::string(file->Name().GetCString()));
    EXPECT_EQ(5, file->CountChildren());
    EXPECT_NE(nullptr, dynamic_cast<FWOpMenu*>(file->MenuItem(1))); // the submenu
    EXPECT_EQ(2, file->MenuItem(1)->CountChildren());

    FWUserOp* open = file->MenuItem(0);
    EXPECT_NE(nullptr, dynamic_cast<FWOpItem*>(open));
    EXPECT_EQ(11, open->Id());
    EXPECT_EQ('O', open->ShortcutKey());
    EXPECT_EQ(0x100, open->ShortcutMods());
    EXPECT_EQ(adjust, open->Adjust());
    EXPECT_EQ(action, open->Action());
    EXPECT_EQ(altAction, open->AltAction());
    EXPECT_EQ(FWArgb32::Black, open->Color());
    EXPECT_EQ(file, open->Parent());
    EXPECT_EQ(nullptr, open->PrevPeer());
    EXPECT_EQ(file->MenuItem(1), open->NextPeer());

    FWUserOp* separator = file->MenuItem(2);
    EXPECT_TRUE(separator->TestFlag(kUserOpSeparator | kUserOpDisabled)); // disabled from the start
    EXPECT_EQ(0x100 | 0x200 | 0x800, file->MenuItem(3)->ShortcutMods());
    EXPECT_EQ(char(-1), file->MenuItem(4)->ShortcutKey());

    // A children pointer with a count of 0 makes an item.
    FWUserOp* empty = root.MenuItem(1)->NextNode(nullptr, nullptr)->NextPeer();
    EXPECT_EQ(32, empty->Id());
    EXPECT_NE(nullptr, dynamic_cast<FWOpItem*>(empty));
    EXPECT_FALSE(empty->TestFlag(kUserOpHasChildren));
    EXPECT_TRUE(root.MenuItem(1)->NextNode(nullptr, nullptr)->TestFlag(kUserOpDisabled));

    // No child has an icon: the menus say so.
    EXPECT_TRUE(file->TestFlag(kUserOpNoIcons));
    EXPECT_TRUE(root.TestFlag(kUserOpNoIcons));

    // TestFlag asks for every bit given.
    EXPECT_FALSE(separator->TestFlag(kUserOpSeparator | kUserOpChecked));
}

TEST_F(FWUserOpTest, WalksSearchesAndIndexes)
{
    FWOpMenu root(kRoot);
    std::vector<int> depths;
    EXPECT_EQ((std::vector<int32_t>{0, 1, 11, 12, 21, 22, 13, 14, 15, 2, 31, 32}), preorderIds(&root, &depths));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 2, 3, 3, 2, 2, 2, 1, 2, 2}), depths);
    // Within a subtree the walk stops at the subtree's end.
    FWUserOp* recent = root.MenuItem(0)->NextNode(&root, nullptr)->NextPeer();
    EXPECT_EQ((std::vector<int32_t>{12, 21, 22}), preorderIds(recent));
    FWUserOp* leaf = root.MenuItem(1)->NextNode(nullptr, nullptr);
    EXPECT_EQ((std::vector<int32_t>{31}), preorderIds(leaf)); // a leaf's peers lie outside it

    int index = 99;
    FWUserOp* second = root.FindUserOpByID(22, &index);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(22, second->Id());
    EXPECT_EQ(0, index); // the branch of the File menu
    EXPECT_EQ(&root, root.FindUserOpByID(0, &index));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(1, (root.FindUserOpByID(31, &index), index));
    EXPECT_EQ(nullptr, root.FindUserOpByID(77, &index));

    auto* file = static_cast<FWOpMenu*>(root.MenuItem(0));
    EXPECT_EQ(nullptr, file->MenuItem(-1));
    EXPECT_EQ(nullptr, file->MenuItem(5));
    file->RemoveItem(-1);
    file->RemoveItem(5);
    EXPECT_EQ(5, file->CountChildren());
    file->RemoveItem(0); // the first child goes; the next becomes first
    EXPECT_EQ(4, file->CountChildren());
    EXPECT_EQ(12, file->FirstChild()->Id());
    EXPECT_EQ(nullptr, file->FirstChild()->PrevPeer());
}

TEST_F(FWUserOpTest, EnableAndCheckByIdWalkPastTheMenu)
{
    FWOpMenu root(kRoot);
    auto* file = static_cast<FWOpMenu*>(root.MenuItem(0));
    auto* edit = static_cast<FWOpMenu*>(root.MenuItem(1));
    file->EnableItemByID(31, true); // Undo lies in the Edit menu, after File's subtree
    EXPECT_FALSE(edit->FirstChild()->TestFlag(kUserOpDisabled));
    file->EnableItemByID(21, false);
    EXPECT_TRUE(root.FindUserOpByID(21, nullptr)->TestFlag(kUserOpDisabled));
    edit->CheckItemByID(22, true); // before the Edit menu: not reached
    EXPECT_FALSE(root.FindUserOpByID(22, nullptr)->TestFlag(kUserOpChecked));
    file->CheckItemByID(22, true);
    EXPECT_TRUE(root.FindUserOpByID(22, nullptr)->TestFlag(kUserOpChecked));
    file->CheckItemByID(22, false);
    EXPECT_FALSE(root.FindUserOpByID(22, nullptr)->TestFlag(kUserOpChecked));
    file->CheckItemByID(1, true); // the menu itself is not among its followers
    EXPECT_FALSE(file->TestFlag(kUserOpChecked));
    edit->EnableItemByID(999, false); // unknown: nothing
}

TEST_F(FWUserOpTest, LinkingUnlinkingAndDeletionOrder)
{
    std::vector<int32_t> deleted;
    auto menu = std::make_unique<FWOpMenu>("M", 1, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(nullptr, menu->FirstChild());
    EXPECT_FALSE(menu->TestFlag(kUserOpNoIcons)); // no children: no icon check
    auto* a = new RecordingOp(1, &deleted);
    auto* b = new RecordingOp(2, &deleted);
    auto* c = new RecordingOp(3, &deleted);
    menu->AppendChild(a);
    menu->AppendChild(c);
    menu->AppendChild(nullptr);
    b->InsertAfter(a);
    b->InsertAfter(nullptr);
    EXPECT_EQ((std::vector<int32_t>{1, 1, 2, 3}), preorderIds(menu.get()));
    EXPECT_EQ(menu.get(), b->Parent());

    a->Remove(); // the first child leaves: the next becomes first
    EXPECT_EQ(b, menu->FirstChild());
    EXPECT_EQ(nullptr, a->Parent());
    EXPECT_EQ(nullptr, a->NextPeer());
    EXPECT_EQ(nullptr, b->PrevPeer());
    delete a;
    EXPECT_EQ((std::vector<int32_t>{1}), deleted);

    auto* d = new RecordingOp(4, &deleted);
    menu->AppendChild(d);
    delete c; // a child deleted by itself unlinks itself
    EXPECT_EQ(d, b->NextPeer());
    EXPECT_EQ(b, d->PrevPeer());
    deleted.clear();
    menu.reset();
    EXPECT_EQ((std::vector<int32_t>{4, 2}), deleted); // the last first
}

TEST_F(FWUserOpTest, CallbacksNamesAndModifiers)
{
    FWOpMenu root(kRoot);
    FWUserOp* open = root.FindUserOpByID(11, nullptr);
    open->DoAdjust();
    open->DoAction();
    open->DoAltAction();
    FWUserOp* separator = root.FindUserOpByID(13, nullptr);
    separator->DoAdjust(); // null callbacks do nothing
    separator->DoAction();
    separator->DoAltAction();
    EXPECT_EQ((std::vector<std::pair<std::string, int32_t>>{{"adjust", 11}, {"action", 11}, {"alt", 11}}), gCalls);

    open->SetName(FWDynamicString("Open"));
    EXPECT_FALSE(open->TestFlag(kUserOpNameChanged));
    open->SetName(FWDynamicString("open"));
    EXPECT_TRUE(open->TestFlag(kUserOpNameChanged));
    EXPECT_EQ("open", std::string(open->Name().GetCString()));

    // The keys held at a choice never replace the shortcut's own modifiers.
    open->SetModifiers(0x200);
    EXPECT_EQ(0x100, open->ShortcutMods());
}

TEST_F(FWUserOpTest, AssignmentCopiesFieldsAndLeavesTheTree)
{
    FWOpMenu root(kRoot);
    FWUserOp* export_ = root.FindUserOpByID(14, nullptr);
    export_->SetRect(FWRect(1, 2, 3, 4));
    export_->SetRefCon(77);

    FWOpItem copy("x", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0);
    copy = *export_;
    EXPECT_EQ("Export", std::string(copy.Name().GetCString()));
    EXPECT_EQ(export_->Flags() | kUserOpBorrowedIcons, copy.Flags()); // the flags are the original's
    EXPECT_EQ(14, copy.Id());
    EXPECT_EQ('E', copy.ShortcutKey());
    EXPECT_EQ(0x100 | 0x200 | 0x800, copy.ShortcutMods());
    EXPECT_EQ(action, copy.Action());
    EXPECT_EQ(FWRect(1, 2, 3, 4), copy.GetRect());
    EXPECT_EQ(77, copy.RefCon());
    EXPECT_TRUE(copy.TestFlag(kUserOpBorrowedIcons));
    EXPECT_EQ(nullptr, copy.Parent());

    // An item made from a menu is no menu; a menu made from anything keeps no children.
    FWOpItem fromMenu("y", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0);
    fromMenu = *root.MenuItem(0);
    EXPECT_FALSE(fromMenu.TestFlag(kUserOpHasChildren));
    FWOpMenu menuCopy(kRoot);
    menuCopy = *root.MenuItem(1);
    EXPECT_EQ(0, menuCopy.CountChildren());
    EXPECT_EQ(2, menuCopy.Id());
    EXPECT_TRUE(menuCopy.TestFlag(kUserOpHasChildren));

    // A node assigned while in a tree leaves it.
    FWUserOp* first = root.FindUserOpByID(21, nullptr);
    FWUserOp* parent = first->Parent();
    *first = copy;
    EXPECT_EQ(nullptr, first->Parent());
    EXPECT_EQ(22, parent->FirstChild()->Id());
    delete first;
}

TEST_F(FWUserOpTest, IconsLoadAsPicturesOrColourIconsAndAreShared)
{
    ByteBuilder pict = SamplePicture(0xFF0A141E);
    ByteBuilder cicn = SampleColourIcon();
    std::vector<HostResourceToWrite> resources = {
        {FOUR_CHAR_CODE("PICT"), 300, 0, nullptr, pict.Data().data(), uint32_t(pict.Size())},
        {FOUR_CHAR_CODE("cicn"), 301, 0, nullptr, cicn.Data().data(), uint32_t(cicn.Size())},
    };
    std::vector<uint8_t> file;
    std::vector<HostResourceRecord> written;
    ASSERT_EQ(noErr, HostResourceFile::Build(resources, 0, nullptr, file, written));
    SInt16 ref = HostOpenMemoryResFile(file.data(), file.size());
    ASSERT_GT(ref, 0);
    {
        const FWOpData withIcons[] = {
            {"Picture", 1, 0, 300, 301, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
            {"Missing", 2, 0, 302, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        };
        FWOpMenu menu("M", 0, 0, 0, 0, nullptr, nullptr, nullptr, withIcons, 2);
        FWUserOp* item = menu.FirstChild();
        ASSERT_NE(nullptr, item->Icon());
        EXPECT_EQ(FOUR_CHAR_CODE("PICT"), item->Icon()->RsrcType());
        ASSERT_NE(nullptr, item->AltIcon());
        EXPECT_EQ(FOUR_CHAR_CODE("cicn"), item->AltIcon()->RsrcType()); // no 'PICT' 301
        EXPECT_EQ(nullptr, item->NextPeer()->Icon());
        EXPECT_FALSE(menu.TestFlag(kUserOpNoIcons));

        // A copy borrows the images; deleting the copy leaves the original's alone.
        auto copy = std::make_unique<FWOpItem>("c", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0);
        *copy = *item;
        EXPECT_EQ(item->Icon(), copy->Icon());
        copy.reset();
        EXPECT_EQ(FOUR_CHAR_CODE("PICT"), item->Icon()->RsrcType());

        // Assignment releases the images the target owned, never those it borrowed: a borrower
        // assigned again, and an owner assigned from a borrower.
        {
            FWOpItem a("a", 0, 0, 300, 301, nullptr, nullptr, nullptr, 0, 0);
            FWOpItem b("b", 0, 0, 300, 301, nullptr, nullptr, nullptr, 0, 0);
            FWOpItem c("c", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0);
            c = a;
            c = b;
        }
        {
            FWOpItem a("a", 0, 0, 300, 301, nullptr, nullptr, nullptr, 0, 0);
            FWOpItem b("b", 0, 0, 300, 301, nullptr, nullptr, nullptr, 0, 0);
            FWOpItem c("c", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0);
            c = a;
            b = c;
        }

        // A menu that asks for no icon check keeps its flags.
        const FWOpData checked = {"N", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, withIcons + 1, 1};
        FWOpMenu noIcons(checked);
        EXPECT_TRUE(noIcons.TestFlag(kUserOpNoIcons));
    }
    CloseResFile(ref);
    // Every holder is gone: no image is left held.
    EXPECT_EQ(nullptr, DiskImage::Acquire(300, FOUR_CHAR_CODE("PICT")));
    EXPECT_EQ(nullptr, DiskImage::Acquire(301, FOUR_CHAR_CODE("cicn")));
}

} // namespace
