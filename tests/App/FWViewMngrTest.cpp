#include "BranchItem.h"
#include "ColorButton.h"
#include "LayoutEntries.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "PushButton.h"
#include "Scroller.h"
#include "FWStreamException.h"
#include "FWPlatformUtils.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostFiles.h"
#include "HostForks.h"
#include "HostMemory.h"
#include "HostResources.h"
#include "ParentWindow.h"
#include "PreorderTraversal.h"
#include "ProgrammerMessageRecorder.h"
#include "TempFolder.h"
#include "ViewTestClasses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Big-endian byte building for expected layouts.
struct Builder {
    Bytes b;
    Builder& u8(int v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    Builder& be16(int v) { return u8(v >> 8).u8(v); }
    Builder& be32(int64_t v) { return u8(int(v >> 24)).u8(int(v >> 16)).u8(int(v >> 8)).u8(int(v)); }
    Builder& str(const char* s)
    {
        for (; *s != 0; ++s)
            u8(*s);
        return u8(0);
    }
    Builder& rect(int top, int left, int bottom, int right) { return be16(top).be16(left).be16(bottom).be16(right); }
};

// A plain view record with no dependants, offset or string id.
void plainRecord(Builder& out, int serial, int parent, int first, int prev, int next, FWRect r, int visible, int id,
                 int tab)
{
    out.u8(1).u8(1).u8(1).be32(serial).be32(0).be32(parent).be32(first).be32(prev).be32(next);
    out.u8(0).be16(0).be16(0).rect(r.top, r.left, r.bottom, r.right).u8(0).u8(0).u8(visible).u8(0);
    out.be32(id).be32(tab).u8(0);
}

Bytes toBytes(Handle h)
{
    if (h == nullptr)
        return {};
    Bytes bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

struct LayoutWindow {
    FWWindow window;
    FWViewMngr& manager() { return window.ViewMngr(); }
    FWView* root() { return manager().GetViewTree(); }
    explicit LayoutWindow(bool initialize = true)
    {
        RegisterTestViewClasses();
        window.SetSize(200, 150);
        if (initialize)
            manager().Initialize(FWRect());
    }
    template <class V = FWView>
    V* add(FWView* parent, FWRect rect)
    {
        auto* view = new V;
        view->Init(&window);
        view->SetRect(rect);
        parent->AppendChild(view);
        return view;
    }
    bool load(const Bytes& bytes) { return manager().InitializeFromData(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size())); }
    Bytes save() { return toBytes(manager().SerializeViewTree()); }
};

// The documented two-view example: a root and one plain view, ID counter 1002.
Bytes twoViewExample()
{
    Builder out;
    out.u8(1).be32(3).be32(2).be32(1002).be32(2);
    out.str("ParentWindow").be32(53);
    plainRecord(out, 1, 0, 2, 0, 0, FWRect(0, 0, 194, 122), 0, 1001, 1000);
    out.str("FWView").be32(53);
    plainRecord(out, 2, 1, 0, 0, 0, FWRect(10, 20, 60, 40), 1, 1002, 1001);
    return out.b;
}

std::vector<std::string> preorderNames(FWView* root)
{
    std::vector<std::string> names;
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next())
        names.emplace_back(v->FactoryGetClassName());
    return names;
}

// A layout kept with the fuzz target's inputs.
Bytes keptLayout(const std::string& name)
{
    const std::string bytes = TempFolder::ReadFile(FW_TEST_DATA "/../fuzz/corpus/WINTLayoutFuzz/" + name);
    return Bytes(bytes.begin(), bytes.end());
}

} // namespace

TEST(FWViewMngrFormat, TwoViewExampleSavesToTheDocumentedBytes)
{
    LayoutWindow w;
    FWView* child = w.add(w.root(), FWRect(10, 20, 60, 40)); // left, top, right, bottom
    ASSERT_EQ(1002, child->ID());
    ASSERT_EQ(1001, child->GetTabPos());
    const Bytes saved = w.save();
    EXPECT_EQ(151u, saved.size());
    EXPECT_EQ(twoViewExample(), saved);
}

TEST(FWViewMngrFormat, LoadingTheExampleAndSavingGivesTheSameBytes)
{
    LayoutWindow w(false);
    ASSERT_TRUE(w.load(twoViewExample()));
    EXPECT_EQ(1002, w.manager().GetCurrID());
    EXPECT_EQ((std::vector<std::string>{"ParentWindow", "FWView"}), preorderNames(w.root()));
    EXPECT_FALSE(w.root()->Visible()); // a loaded tree starts hidden
    EXPECT_EQ(nullptr, FWViewMngr::GetUnserializationWindow());
    EXPECT_EQ(twoViewExample(), w.save());
}

TEST(FWViewMngrFormat, RootAloneStoresOneViewAndATableOfTwo)
{
    LayoutWindow w;
    const Bytes saved = w.save();
    ASSERT_GE(saved.size(), 17u);
    EXPECT_EQ((Bytes{1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 3, 0xE9, 0, 0, 0, 1}), Bytes(saved.begin(), saved.begin() + 17));

    // A stored count of 0 still reads the root.
    Bytes zero = saved;
    zero[16] = 0;
    LayoutWindow other(false);
    ASSERT_TRUE(other.load(zero));
    ASSERT_NE(nullptr, other.root());
    EXPECT_STREQ("ParentWindow", other.root()->FactoryGetClassName());
}

TEST(FWViewMngrFormat, SerialIdsFollowTheOrderOfFirstRegistration)
{
    LayoutWindow w;
    FWView* a = w.add(w.root(), FWRect(0, 0, 100, 100));
    FWView* a1 = w.add(a, FWRect(0, 0, 50, 50));
    FWView* a11 = w.add(a1, FWRect(0, 0, 10, 10));
    FWView* b = w.add(w.root(), FWRect(100, 0, 150, 50));
    ASSERT_FALSE(w.save().empty());
    EXPECT_EQ(1, w.root()->GetSerialID());
    EXPECT_EQ(2, a->GetSerialID());
    EXPECT_EQ(3, a1->GetSerialID());
    EXPECT_EQ(5, a11->GetSerialID());
    EXPECT_EQ(4, b->GetSerialID());
}

TEST(FWViewMngrFormat, NestedLayoutRoundTripsByteForByte)
{
    LayoutWindow w;
    auto* group = w.add<TestGroup>(w.root(), FWRect(5, 5, 180, 110));
    group->SetOffset(FWPoint(5, 5));
    auto* paged = w.add<TestBranching>(group, FWRect(10, 10, 150, 90));
    paged->SetBranchTotal(3);
    paged->SetActiveBranch(2);
    for (int page = 0; page < 3; ++page) {
        FWView* field = w.add(paged->FindBranch(page), FWRect(20, 20 + page * 10, 60, 30 + page * 10));
        field->EnableKeyFocus();
        field->SetTabPos(40 - page);
        field->SetStringID(FWStr<31>(page == 1 ? "middle" : ""));
    }
    FWView* last = w.add(w.root(), FWRect(160, 115, 190, 120));
    last->SetGhosted(true);
    last->MakeDefaultCancel();
    const Bytes first = w.save();
    ASSERT_FALSE(first.empty());

    LayoutWindow copy(false);
    ASSERT_TRUE(copy.load(first));
    EXPECT_EQ(first, copy.save());
    EXPECT_EQ(preorderNames(w.root()), preorderNames(copy.root()));

    // The pages come back as children with the stored page active, and ids and rects as stored.
    auto* loadedPaged = dynamic_cast<TestBranching*>(copy.root()->FirstChild()->FirstChild());
    ASSERT_NE(nullptr, loadedPaged);
    EXPECT_EQ(3, loadedPaged->GetBranchTotal());
    EXPECT_EQ(2, loadedPaged->GetActiveBranchIndex());
    EXPECT_EQ(paged->ID(), loadedPaged->ID());
    EXPECT_EQ(paged->GetRect(), loadedPaged->GetRect());
    EXPECT_EQ(w.manager().GetCurrID(), copy.manager().GetCurrID());
    // The key focus is the lowest tab position among the focusable views.
    ASSERT_NE(nullptr, copy.manager().GetKeyFocus());
    EXPECT_EQ(38, copy.manager().GetKeyFocus()->GetTabPos());
    EXPECT_EQ(3, copy.manager().GetTabList().Size());
}

TEST(FWViewMngrFormat, ManyNestedViewsRoundTrip)
{
    LayoutWindow w;
    FWView* parent = w.root();
    for (int depth = 0; depth < 12; ++depth) {
        auto* group = w.add<TestGroup>(parent, FWRect(0, 0, int16_t(150 - depth), int16_t(100 - depth)));
        for (int i = 0; i < 5; ++i)
            w.add(group, FWRect(int16_t(i * 3), 0, int16_t(i * 3 + 2), 2));
        parent = group;
    }
    const Bytes first = w.save();
    LayoutWindow copy(false);
    ASSERT_TRUE(copy.load(first));
    EXPECT_EQ(1 + 12 * 6, copy.root()->Size());
    EXPECT_EQ(first, copy.save());
}

TEST(FWViewMngrFormat, StreamVersionOneStoresTheActivePageWithoutTheNestedChunk)
{
    LayoutWindow w;
    auto* paged = w.add<TestBranching>(w.root(), FWRect(10, 10, 150, 90));
    paged->SetBranchTotal(2);
    paged->SetActiveBranch(1);
    Bytes v2 = w.save();

    // Rewrite as stream version 1: the control's entry loses the nested chunk's version byte.
    Bytes v1 = v2;
    v1[8] = 1;
    const std::string name = "TestBranching";
    auto at = std::search(v1.begin(), v1.end(), name.begin(), name.end()) - v1.begin();
    const size_t lengthAt = size_t(at) + name.size() + 1;
    const uint32_t length = (v1[lengthAt] << 24) | (v1[lengthAt + 1] << 16) | (v1[lengthAt + 2] << 8) | v1[lengthAt + 3];
    const size_t bodyEnd = lengthAt + 4 + length;
    v1.erase(v1.begin() + long(bodyEnd - 5));
    v1[lengthAt + 3] = uint8_t(length - 1);

    for (const Bytes* layout : {&v1, &v2}) {
        LayoutWindow copy(false);
        ASSERT_TRUE(copy.load(*layout));
        auto* loaded = dynamic_cast<TestBranching*>(copy.root()->FirstChild());
        ASSERT_NE(nullptr, loaded);
        EXPECT_EQ(1, loaded->GetActiveBranchIndex());
        EXPECT_EQ(v2, copy.save()); // the writer always writes the nested chunk
    }
}

TEST(FWViewMngrLoad, PlacesTheWindowOnFirstLoadOnly)
{
    LayoutWindow fresh(false);
    ASSERT_TRUE(fresh.load(twoViewExample()));
    FWRect app;
    FWGetAppRect(&app);
    FWRect centred(0, 0, 194, 122);
    centred.CenterInsideOf(app);
    int32_t h = 0, v = 0;
    fresh.window.GetLocation(&h, &v);
    EXPECT_EQ(centred.left, h);
    EXPECT_EQ(centred.top, v);
    // The user size: the root plus twice the frame across, the title and frame down.
    EXPECT_EQ(194 + 2 * 3, fresh.window.Size().Width());
    EXPECT_EQ(122 + 25 + 3, fresh.window.Size().Height());
    EXPECT_EQ(FWRect(0, 0, 194, 122), fresh.root()->GetRect());

    fresh.window.SetLocation(7, 9);
    ASSERT_TRUE(fresh.load(twoViewExample()));
    fresh.window.GetLocation(&h, &v);
    EXPECT_EQ(7, h);
    EXPECT_EQ(9, v);
}

TEST(FWViewMngrLoad, EntryWithoutAFactoryFailsTheWholeLoad)
{
    for (const char* from : {"FWView", "ParentWindow"}) {
        Bytes bytes = twoViewExample();
        const std::string name = from;
        auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
        at[1] = 'x';
        LayoutWindow w;
        ProgrammerMessageRecorder recorder;
        EXPECT_FALSE(w.load(bytes)) << from;
        EXPECT_TRUE(recorder.Messages().empty()); // the refusal alone, no alert
        EXPECT_EQ(nullptr, w.root());
        EXPECT_EQ(nullptr, w.manager().GetKeyFocus());
        EXPECT_EQ(nullptr, FWViewMngr::GetUnserializationWindow());
    }
}

TEST(FWViewMngrLoad, ReadErrorLeavesNoTreeAndPassesTheException)
{
    const Bytes whole = twoViewExample();
    for (size_t cut : {size_t(0), size_t(3), size_t(17), size_t(40), size_t(100), size_t(150)}) {
        LayoutWindow w;
        const Bytes part(whole.begin(), whole.begin() + long(cut));
        EXPECT_THROW(w.load(part), FWStreamException) << cut;
        EXPECT_EQ(nullptr, w.root());
        EXPECT_EQ(nullptr, FWViewMngr::GetUnserializationWindow());
        EXPECT_EQ(0, w.manager().GetTabList().Size());
    }
}

TEST(FWViewMngrLoad, LinksThatDoNotFormATreeAreRefused)
{
    // Offsets into the example: the root's first-child link ends at 52; the child's body starts
    // at 98, its first-child link ends at 116, its next-peer link at 124, its parent at 112.
    const struct {
        size_t at;
        uint8_t value;
        const char* what;
    } damage[] = {
        {52, 1, "root is its own child"},
        {116, 2, "child is its own child"},
        {124, 2, "child is its own next peer"},
        {112, 2, "child names itself as parent"},
        {52, 7, "link to a view never read"},
        {104, 7, "serial ID outside the table"},
        {44, 1, "root has a parent"},
    };
    for (const auto& d : damage) {
        Bytes bytes = twoViewExample();
        bytes[d.at] = d.value;
        LayoutWindow w;
        ProgrammerMessageRecorder recorder;
        EXPECT_FALSE(w.load(bytes)) << d.what;
        EXPECT_EQ(nullptr, w.root()) << d.what;
    }
}

TEST(FWViewMngrLoad, AViewLinkedTwiceIsRefused)
{
    LayoutWindow w;
    FWView* a = w.add(w.root(), FWRect(0, 0, 50, 50));
    w.add(w.root(), FWRect(60, 0, 90, 50));
    (void)a;
    Bytes bytes = w.save();
    // Make A's first child the root's second child B (serial 3), which is also A's next peer.
    const size_t aBody = 17 + 70 + 7 + 4;
    bytes[aBody + 3 + 4 + 4 + 4 + 3] = 3;
    LayoutWindow copy(false);
    ProgrammerMessageRecorder recorder;
    EXPECT_FALSE(copy.load(bytes));
    EXPECT_EQ(nullptr, copy.root());
}

TEST(FWViewMngrLoad, DependantCycleIsRefused)
{
    LayoutWindow w;
    FWView* child = w.add(w.root(), FWRect(0, 0, 50, 50));
    ASSERT_TRUE(w.root()->EstablishDependancy(child));
    Bytes bytes = w.save();
    {
        LayoutWindow ok(false);
        ProgrammerMessageRecorder recorder;
        ASSERT_TRUE(ok.load(bytes));
        EXPECT_EQ(1, ok.root()->Dependants().ChildTotal());
        ok.root()->Dependants().DeleteChildren();
    }
    // The root's one dependant (stored right after its count) made the root itself.
    bytes[17 + 13 + 4 + 3 + 4 + 4 + 3] = 1;
    LayoutWindow bad(false);
    ProgrammerMessageRecorder recorder;
    EXPECT_FALSE(bad.load(bytes));
    EXPECT_EQ(nullptr, bad.root());
    w.root()->Dependants().DeleteChildren();
}

// A stored layout can name a view as another's dependant; deleting that view, as the editor
// deletes a selection, must leave no view naming it (the next message would reach freed memory).
TEST(FWViewMngrLoad, ADeletedDependantIsNamedByNoView)
{
    LayoutWindow w;
    FWView* child = w.add(w.root(), FWRect(0, 0, 50, 50));
    w.add(w.root(), FWRect(60, 0, 90, 50));
    ASSERT_TRUE(w.root()->EstablishDependancy(child));
    LayoutWindow loaded(false);
    ASSERT_TRUE(loaded.load(w.save()));
    FWView* dependant = loaded.root()->FirstChild();
    ASSERT_EQ(1, loaded.root()->Dependants().ChildTotal());
    ASSERT_EQ(dependant, loaded.root()->Dependants().FirstChild()->GetDependable());
    dependant->Unlink();
    delete dependant;
    EXPECT_EQ(0, loaded.root()->Dependants().ChildTotal());
    // Closing the window sends every view its deletion, the root's to its dependants first.
    ProgrammerMessageRecorder recorder;
    loaded.manager().SendMessage(Dependable::IsBeingDeleted);
    child->Unlink();
    delete child;
    EXPECT_EQ(0, w.root()->Dependants().ChildTotal());
}

TEST(FWViewMngrLoad, ReadingGoesOnAfterARecordOfAnUnknownVersion)
{
    LayoutWindow w;
    auto* paged = w.add<TestBranching>(w.root(), FWRect(10, 10, 150, 90));
    paged->SetBranchTotal(1);
    FWView* after = w.add(w.root(), FWRect(1, 2, 3, 4));
    after->SetID(4242);
    Bytes bytes = w.save();
    const std::string name = "TestBranching";
    auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) - bytes.begin();
    bytes[size_t(at) + name.size() + 1 + 4] = 2; // the control's own version byte

    LayoutWindow copy(false);
    ProgrammerMessageRecorder recorder;
    ASSERT_TRUE(copy.load(bytes));
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("Unknown 'FWBranchingControl' version", recorder.Messages()[0].message);
    FWView* loadedAfter = copy.root()->FirstChild()->NextPeer();
    ASSERT_NE(nullptr, loadedAfter);
    EXPECT_EQ(4242, loadedAfter->ID());
    EXPECT_EQ(FWRect(1, 2, 3, 4), loadedAfter->GetRect());
}

TEST(FWViewMngrLoad, AControlOfAnUnknownVersionCostsItsOwnFieldsOnly)
{
    auto listBox = [](FWWindow& w, const FWRect& r) -> FWView* {
        auto* v = new ListBox;
        v->Init(&w, r);
        return v;
    };
    // The class stored, the offset of the unknown version byte in its body (a nested chunk's for
    // the colour button and the list box's outline part) and the message.
    const struct {
        const char* className;
        size_t versionAt;
        const char* message;
        FWView* (*make)(FWWindow& w, const FWRect& r);
    } rows[] = {
        {"PushButton", 0, "Unknown 'PushButton' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new PushButton;
             v->Init(&w, r, nullptr, 0);
             return v;
         }},
        {"OKButton", 0, "Unknown 'PushButton' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new OKButton;
             v->Init(&w, r, nullptr);
             return v;
         }},
        {"CancelButton", 0, "Unknown 'PushButton' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new CancelButton;
             v->Init(&w, r, nullptr);
             return v;
         }},
        {"ColorButton", 1, "Unknown 'PushButton' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new ColorButton;
             v->Init(&w, r, FWArgb32(255, 1, 2, 3));
             return v;
         }},
        {"Scroller", 0, "Unknown 'Scroller' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new Scroller;
             v->Init(&w, &r);
             return v;
         }},
        {"PictureBox", 0, "Unknown 'PictureBox' version", [](FWWindow& w, const FWRect& r) -> FWView* {
             auto* v = new PictureBox;
             v->Init(&w, r, 0, FOUR_CHAR_CODE("argb"));
             return v;
         }},
        {"ListBox", 0, "Unknown 'ListBox' version", listBox},
        {"ListBox", 1, "Unknown 'FWOutlineView' version", listBox},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.className) + " " + row.message);
        LayoutWindow w;
        // Two records of the class: the layout names it once.
        for (int32_t id : {7, 8}) {
            FWView* control = row.make(w.window, FWRect(int16_t(id * 10 - 60), 20, 90, 60));
            control->SetID(id);
            w.root()->AppendChild(control);
        }
        w.add(w.root(), FWRect(1, 2, 3, 4))->SetID(4242);
        Bytes bytes = w.save();
        int patched = 0;
        for (const LayoutEntry& entry : LayoutEntries(bytes))
            if (entry.className == row.className)
                bytes[entry.bodyAt + row.versionAt] = 9, ++patched;
        ASSERT_EQ(2, patched);

        LayoutWindow copy(false);
        ProgrammerMessageRecorder recorder;
        ASSERT_TRUE(copy.load(bytes));
        EXPECT_EQ(std::vector<std::string>{row.message}, recorder.Texts());
        FWView* loaded = copy.manager().GetView(7);
        ASSERT_NE(nullptr, loaded);
        EXPECT_STREQ(row.className, loaded->FactoryGetClassName());
        EXPECT_EQ(FWRect(10, 20, 90, 60), loaded->GetRect());
        FWView* after = copy.manager().GetView(4242);
        ASSERT_NE(nullptr, after);
        EXPECT_EQ(FWRect(1, 2, 3, 4), after->GetRect());
    }
}

namespace {

struct ViewOwnFailure {};

// A view whose record cannot be written: it fails as the stream does when its buffer cannot
// grow, or with an error of its own.
template <class Failure>
struct UnwritableView : FWView {
    void OldWrite(SerialStream& stream) override
    {
        FWView::OldWrite(stream);
        throw Failure();
    }
};

} // namespace

TEST(FWViewMngrFormat, FailedWritesReachTheCaller)
{
    LayoutWindow w;
    w.add(w.root(), FWRect(0, 0, 10, 10));
    w.add<UnwritableView<FWWriteFailedException>>(w.root(), FWRect(10, 10, 20, 20));
    EXPECT_THROW(w.manager().SerializeViewTree(), FWWriteFailedException);

    LayoutWindow other;
    other.add<UnwritableView<ViewOwnFailure>>(other.root(), FWRect(10, 10, 20, 20));
    EXPECT_THROW(other.manager().SerializeViewTree(), ViewOwnFailure);
}

TEST(FWViewMngr, GetViewAndGhostInterfaceItem)
{
    LayoutWindow w;
    FWView* a = w.add(w.root(), FWRect(0, 0, 50, 50));
    EXPECT_EQ(a, w.manager().GetView(a->ID()));
    EXPECT_EQ(nullptr, w.manager().GetView(int32_t(99999)));
    w.manager().GhostInterfaceItem(a->ID(), true, nullptr);
    EXPECT_TRUE(a->IsGhosted());
    w.manager().GhostInterfaceItem(99999, true, nullptr); // names no view: nothing happens
    w.manager().GhostInterfaceItem(0, false, a);
    EXPECT_FALSE(a->IsGhosted());
}

TEST(FWViewMngr, ThrowAwayViewsKeepsTheRootAndInitializeStartsAfresh)
{
    LayoutWindow w;
    w.add(w.root(), FWRect(0, 0, 50, 50));
    w.manager().ThrowAwayViews();
    EXPECT_EQ(1, w.root()->Size());
    EXPECT_EQ(1000, w.manager().GetResID());
    w.manager().SetCounterID(5);
    w.manager().Initialize(FWRect());
    EXPECT_EQ(1001, w.root()->ID());
    EXPECT_EQ(FWRect(0, 0, 194, 122), w.root()->GetRect());
}

TEST(FWViewMngr, MissingResourceChangesNothingButTheId)
{
    LayoutWindow w;
    FWView* root = w.root();
    EXPECT_FALSE(w.manager().Initialize(int32_t(4321)));
    EXPECT_EQ(4321, w.manager().GetResID());
    EXPECT_EQ(root, w.root());
}

TEST(FWViewMngrLoad, KeptDamagedLayoutsLoadAndNameTheirDamage)
{
    // The sample's layout 128 with one byte changed: the root's first marker (offset 35), its
    // dependency marker (36), a dependant's reference (706) now to a view the layout lacks.
    for (const auto& [name, notice] : {std::pair{"sample-128-tree-marker", "Damaged 'FWView' record"},
                                       std::pair{"sample-128-dependency-marker", "Damaged 'FWView' record"},
                                       std::pair{"sample-128-dependant-to-nothing", "Damaged view reference"}}) {
        LayoutWindow w(false);
        ProgrammerMessageRecorder recorder;
        ASSERT_TRUE(w.load(keptLayout(name))) << name;
        EXPECT_EQ(std::vector<std::string>{notice}, recorder.Texts()) << name;
    }
}

TEST(FWViewMngrFormat, KeptNestedLayoutLoadsWithItsPagesAndDependant)
{
    const Bytes bytes = keptLayout("nested");
    LayoutWindow w(false);
    ASSERT_TRUE(w.load(bytes));
    EXPECT_EQ((std::vector<std::string>{"ParentWindow", "TestGroup", "FWView", "TestBranching", "BranchItem",
                                        "BranchItem"}),
              preorderNames(w.root()));
    auto* paged = dynamic_cast<TestBranching*>(w.root()->FirstChild()->NextPeer());
    ASSERT_NE(nullptr, paged);
    EXPECT_EQ(1, paged->GetActiveBranchIndex());
    EXPECT_EQ(1, w.root()->Dependants().ChildTotal());
    EXPECT_EQ(1003, w.manager().GetKeyFocus()->ID());
    // Saved again, the views are numbered in the writer's order; that form is stable.
    const Bytes resaved = w.save();
    LayoutWindow again(false);
    ASSERT_TRUE(again.load(resaved));
    EXPECT_EQ(resaved, again.save());
    w.root()->Dependants().DeleteChildren();
    again.root()->Dependants().DeleteChildren();
}

TEST(FWViewMngr, SavedLayoutStoredAsAResourceLoadsByItsId)
{
    TempFolder folder;
    const std::string path = folder.File("layouts.rsrc");
    std::fclose(std::fopen(path.c_str(), "wb"));
    FSRef ref;
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr));
    HFSUniStr255 fork;
    FSGetResourceForkName(&fork);
    ASSERT_EQ(noErr, FSCreateResourceFork(&ref, fork.length, fork.unicode, 0));
    FSSpec spec{};
    std::memcpy(spec.parentPath, folder.Path().c_str(), folder.Path().string().size() + 1);
    spec.name[0] = uint8_t(std::strlen("layouts.rsrc"));
    std::memcpy(spec.name + 1, "layouts.rsrc", spec.name[0]);
    spec.vRefNum = kHostVolumeRefNum;

    LayoutWindow w;
    w.add(w.root(), FWRect(10, 20, 60, 40));
    const SInt16 file = FSpOpenResFile(&spec, fsRdWrPerm);
    ASSERT_GT(file, 0);
    AddResource(w.manager().SerializeViewTree(), FOUR_CHAR_CODE("WINT"), 200, nullptr);
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(file);

    LayoutWindow copy(false);
    ASSERT_TRUE(copy.manager().Initialize(int32_t(200)));
    EXPECT_EQ(200, copy.manager().GetResID());
    EXPECT_EQ(twoViewExample(), copy.save());
    CloseResFile(file);
}
