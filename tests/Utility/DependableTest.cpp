#include "DepReference.h"
#include "Dependable.h"
#include "DependableTreeNode.h"
#include "PersistentRegistry.h"
#include "PreorderTraversal.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> sLog;

// Records every message it receives as "receiver<-sender:message".
class Recorder : public Dependable {
public:
    explicit Recorder(const char* name) { SetDebugName(const_cast<char*>(name)); }
    bool ReceiveMessage(Dependable* sender, Message m) override
    {
        sLog.push_back(std::string(GetDebugName().GetCString()) + "<-" + sender->GetDebugName().GetCString() + ":" +
                       std::to_string(int(m)));
        if (m == ChangeNotice && forward)
            Dependable::ReceiveMessage(sender, m);
        if (m == IsBeingDeleted && sender == this)
            Dependable::ReceiveMessage(sender, m);
        return answer;
    }
    bool answer = true;
    bool forward = false;
};

// A dependant through a reference: it lets go when the target announces its deletion, and
// clears its own references when it is deleted itself.
class Watcher : public Recorder {
public:
    explicit Watcher(const char* name, bool depend = true) : Recorder(name), target(this, depend) {}
    bool ReceiveMessage(Dependable* sender, Message m) override
    {
        Recorder::ReceiveMessage(sender, m);
        if (m == IsBeingDeleted && (sender == this || sender == static_cast<Dependable*>(target)))
            target = nullptr;
        return true;
    }
    DepReference<Recorder> target;
};

Recorder* unresolved(uintptr_t id)
{
    return reinterpret_cast<Recorder*>(id);
}

class DependableTest : public ::testing::Test {
protected:
    DependableTest() { sLog.clear(); }
    ProgrammerMessageRecorder messages;
};

} // namespace

TEST_F(DependableTest, ChangeNoticeReachesDependantsDepthFirstInOrderAdded)
{
    Recorder o("O"), p("P"), q("Q"), r("R");
    o.forward = true; // O hands its own notice to the base handler, which walks the dependants
    EXPECT_TRUE(o.EstablishDependancy(&p));
    EXPECT_TRUE(o.EstablishDependancy(&q));
    EXPECT_TRUE(p.EstablishDependancy(&r));
    o.SendMessage(Dependable::ChangeNotice);
    std::vector<std::string> expected = {"O<-O:0", "P<-O:0", "R<-P:0", "Q<-O:0"};
    EXPECT_EQ(expected, sLog);

    // A false answer skips that dependant's own dependants on this path.
    sLog.clear();
    p.answer = false;
    o.SendMessage(Dependable::ChangeNotice);
    expected = {"O<-O:0", "P<-O:0", "Q<-O:0"};
    EXPECT_EQ(expected, sLog);

    // A dependant that forwards through the base handler makes its dependants hear it twice.
    sLog.clear();
    p.answer = true;
    p.forward = true;
    o.SendMessage(Dependable::ChangeNotice);
    expected = {"O<-O:0", "P<-O:0", "R<-P:0", "R<-P:0", "Q<-O:0"};
    EXPECT_EQ(expected, sLog);
    EXPECT_TRUE(messages.Messages().empty());

    o.BreakDependancy(&p);
    o.BreakDependancy(&q);
    p.BreakDependancy(&r);
    o.BreakDependancy(&r); // not a direct dependant: nothing
    EXPECT_EQ(nullptr, o.Dependants().FirstChild());
}

TEST_F(DependableTest, CyclesDuplicatesAndNullAreRefused)
{
    Recorder a("A"), b("B"), c("C");
    EXPECT_TRUE(b.EstablishDependancy(&a)); // A depends on B
    EXPECT_TRUE(a.EstablishDependancy(&c)); // C depends on A
    EXPECT_FALSE(a.EstablishDependancy(&b));
    EXPECT_FALSE(a.EstablishDependancy(&a));
    EXPECT_FALSE(c.EstablishDependancy(&b)); // B <- A <- C <- B
    EXPECT_FALSE(b.EstablishDependancy(&a));
    EXPECT_FALSE(b.EstablishDependancy(nullptr));
    EXPECT_EQ(1, b.Dependants().ChildTotal());
    EXPECT_EQ(1, a.Dependants().ChildTotal());
    EXPECT_EQ(nullptr, c.Dependants().FirstChild());

    ASSERT_EQ(5u, messages.Messages().size());
    const char* cyclic = "Tried to establish a cyclic dependancy.";
    EXPECT_EQ(cyclic, messages.Messages()[0].message);
    EXPECT_EQ(cyclic, messages.Messages()[1].message);
    EXPECT_EQ(cyclic, messages.Messages()[2].message);
    EXPECT_EQ(177, messages.Messages()[0].line);
    EXPECT_EQ("FW/Utility/Source/Dependancy", messages.Messages()[0].sourcePath);
    EXPECT_EQ("Tried to establish a dependancy twice.", messages.Messages()[3].message);
    EXPECT_EQ(183, messages.Messages()[3].line);
    EXPECT_EQ("Tried to 'EstablishDependancy' with a NULL receiver object", messages.Messages()[4].message);
    EXPECT_EQ(172, messages.Messages()[4].line);

    b.BreakDependancy(&a);
    a.BreakDependancy(&c);
}

TEST_F(DependableTest, DeletionClearsEveryReferenceToTheTargetInOrder)
{
    Recorder target("T");
    Watcher first("W1"), second("W2");
    first.target = &target;
    second.target = &target;
    EXPECT_EQ(2, target.Dependants().ChildTotal());

    target.SendMessage(Dependable::IsBeingDeleted);
    std::vector<std::string> expected = {"T<-T:1", "W1<-T:1", "W2<-T:1"};
    EXPECT_EQ(expected, sLog);
    EXPECT_EQ(nullptr, static_cast<Recorder*>(first.target));
    EXPECT_EQ(nullptr, static_cast<Recorder*>(second.target));
    EXPECT_EQ(nullptr, target.Dependants().FirstChild());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DependableTest, OwnedReferencesHearTheOwnersDeletionFirst)
{
    Recorder x("X"), y("Y");
    auto* owner = new Watcher("O");
    DepReference<Recorder> extra(owner, false); // joins the owner's list after owner->target
    owner->target = &x;
    extra = &y;
    Recorder dependant("D");
    owner->EstablishDependancy(&dependant);

    owner->SendMessage(Dependable::IsBeingDeleted);
    // References in list order, each passing the notice to its target; then the dependants.
    std::vector<std::string> expected = {"O<-O:1", "X<-O:1", "Y<-O:1", "D<-O:1"};
    EXPECT_EQ(expected, sLog);
    EXPECT_EQ(nullptr, x.Dependants().FirstChild()); // the owner no longer depends on X
    // D did not break its dependency: reported, then broken for it so the deletion ends.
    ASSERT_EQ(1u, messages.Messages().size());
    EXPECT_EQ("Dependable should have responded to 'IsBeingDeleted' message and broken it's reference to sender",
              messages.Messages()[0].message);
    EXPECT_EQ(81, messages.Messages()[0].line);
    EXPECT_EQ(nullptr, owner->Dependants().FirstChild());
    extra = nullptr;
    delete owner;
    EXPECT_EQ(1u, messages.Messages().size());
}

TEST_F(DependableTest, DeletingWithoutTheNoticeIsReported)
{
    Recorder dependant("D");
    {
        Recorder o("O");
        o.EstablishDependancy(&dependant);
    }
    ASSERT_EQ(1u, messages.Messages().size());
    EXPECT_EQ("Must send 'IsBeingDeleted' message before deleting a dependable.", messages.Messages()[0].message);
    EXPECT_EQ(38, messages.Messages()[0].line);
}

TEST_F(DependableTest, ReferenceMovesTheDependencyWhenRepointed)
{
    Recorder x("X"), y("Y");
    Watcher owner("O");
    owner.target = &x;
    owner.target = &y;
    EXPECT_EQ(nullptr, x.Dependants().FirstChild());
    ASSERT_NE(nullptr, y.Dependants().FirstChild());
    EXPECT_EQ(&owner, y.Dependants().FirstChild()->GetDependable());
    EXPECT_EQ(nullptr, y.Dependants().FirstChild()->NextPeer());
    EXPECT_EQ(&y, owner.target.operator->());

    Watcher loose("L", false);
    loose.target = &x;
    EXPECT_EQ(nullptr, x.Dependants().FirstChild());
    loose.target = nullptr;
    owner.target = nullptr;
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DependableTest, UnresolvedReferencesAreNeverTouched)
{
    Recorder x("X");
    auto* owner = new Watcher("O");
    owner->target = unresolved(5); // as read back from storage
    EXPECT_FALSE(owner->target.IsResolved());
    EXPECT_EQ(unresolved(5), owner->target.operator->());
    owner->target.ReceiveMessage(owner, Dependable::ChangeNotice); // not passed to an identifier
    x.BreakDependancy(reinterpret_cast<Dependable*>(uintptr_t(7)));
    owner->target = &x; // resolving: no dependency to break on the identifier
    EXPECT_EQ(owner, x.Dependants().FirstChild()->GetDependable());

    EXPECT_EQ(nullptr, (Watcher("N").target.operator->()));
    ASSERT_EQ(2u, messages.Messages().size());
    EXPECT_EQ("Tried to dereference an unresoved pointer.", messages.Messages()[0].message);
    EXPECT_EQ("FW/Utility/Dependancy", messages.Messages()[0].sourcePath);
    EXPECT_EQ(232, messages.Messages()[0].line);
    EXPECT_EQ("Tried to dereference a NULL pointer.", messages.Messages()[1].message);
    EXPECT_EQ(234, messages.Messages()[1].line);

    owner->SendMessage(Dependable::IsBeingDeleted);
    delete owner;
    EXPECT_EQ(nullptr, x.Dependants().FirstChild());
    EXPECT_EQ(2u, messages.Messages().size());
}

TEST_F(DependableTest, ReferenceMisuseIsReported)
{
    Recorder x("X");
    {
        DepReference<Recorder> orphan(nullptr, true);
        orphan = &x; // without an owner only the value is kept
        EXPECT_EQ(nullptr, x.Dependants().FirstChild());
    }
    {
        Watcher holder("H", false);
        holder.target = &x;
    }
    ASSERT_EQ(2u, messages.Messages().size());
    EXPECT_EQ("'Owner' for reference construction was NULL (not allowed).", messages.Messages()[0].message);
    EXPECT_EQ(202, messages.Messages()[0].line);
    EXPECT_EQ("Tried to destroy a reference that is connected to a dependant.", messages.Messages()[1].message);
    EXPECT_EQ(219, messages.Messages()[1].line);
}

TEST_F(DependableTest, SendMessageIgnoresARepeatWhileSending)
{
    class Echo : public Recorder {
    public:
        Echo() : Recorder("E") {}
        bool ReceiveMessage(Dependable* sender, Message m) override
        {
            Recorder::ReceiveMessage(sender, m);
            SendMessage(m);
            return true;
        }
    } echo;
    echo.SendMessage(Dependable::ChangeNotice);
    echo.SendMessage(Dependable::ChangeNotice);
    EXPECT_EQ(2u, sLog.size());
}

TEST_F(DependableTest, DebugNameStartsAsDependableAndIgnoresNull)
{
    Dependable d;
    EXPECT_TRUE(d.GetDebugName() == "Dependable");
    d.SetDebugName(nullptr);
    EXPECT_TRUE(d.GetDebugName() == "Dependable");
    d.SetDebugName("a name longer than thirty-one characters in all");
    EXPECT_EQ(31u, d.GetDebugName().GetCurrLength());
}

namespace {
class View : public DependableTreeNode<View> {
public:
    explicit View(const char* name) { SetDebugName(name); }
};
} // namespace

TEST_F(DependableTest, TreeNodesOfDependablesLinkAndObserve)
{
    View root("root"), child("child"), grandchild("grandchild");
    root.AppendChild(&child);
    child.AppendChild(&grandchild);
    PreorderTraversal<View> walk(&root, false);
    std::string order;
    for (View* v = walk.First(); v != nullptr; v = walk.Next())
        order += std::string(v->GetDebugName().GetCString()) + " ";
    EXPECT_EQ("root child grandchild ", order);
    EXPECT_TRUE(root.EstablishDependancy(&grandchild));
    root.BreakDependancy(&grandchild);
    grandchild.Unlink();
    child.Unlink();
}

TEST(PersistentRegistry, IdentifiersAreOddGivenLazilyAndNeverShared)
{
    ProgrammerMessageRecorder messages;
    PersistentRegistry::sNextID = 1;
    {
        Dependable a, b, c;
        EXPECT_FALSE(a.HasID());
        EXPECT_EQ(1u, a.GetID());
        EXPECT_EQ(3u, b.GetID());
        EXPECT_EQ(1u, a.GetID());
        EXPECT_EQ(5u, c.GetID());
        EXPECT_TRUE(PersistentRegistry::IsAnID(5));
        EXPECT_FALSE(PersistentRegistry::IsAnID(4));
        EXPECT_FALSE(PersistentRegistry::IsAPersistentID(&a));

        Dependable intruder;
        intruder.SetID(3);
        PersistentRegistry::RegisterObject(&intruder);
        ASSERT_EQ(1u, messages.Messages().size());
        EXPECT_EQ("Tried to register an object with an already used ID.", messages.Messages()[0].message);
        EXPECT_EQ("FW/Utility/Source/PersistentRegistry", messages.Messages()[0].sourcePath);
        EXPECT_EQ(35, messages.Messages()[0].line);
        // The intruder's end leaves the entry that is now its own; b's end then finds none.

        c.SetID(0); // an entry naming an object that has lost its identifier
        PersistentRegistry::UnregisterObject(&c);
        ASSERT_EQ(2u, messages.Messages().size());
        EXPECT_EQ("Object found in registry without an ID.", messages.Messages()[1].message);
        EXPECT_EQ(60, messages.Messages()[1].line);
        c.SetID(5);
    }
    Dependable later;
    EXPECT_EQ(7u, later.GetID()); // never reused
    EXPECT_EQ(2u, messages.Messages().size());
}
