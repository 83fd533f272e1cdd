#include "FWStr.h"
#include "FWViewableNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A named node with explicit links and an expanded flag.
class Node : public FWViewableNode {
public:
    explicit Node(const char* name) : mName(name) {}
    const FWString& Viewable_Name() const override { return mName; }
    FWViewableNode* Viewable_NextPeer() override { return mNext; }
    FWViewableNode* Viewable_PrevPeer() override { return mPrev; }
    FWViewableNode* Viewable_FirstChild() override { return mFirst; }
    FWViewableNode* Viewable_Parent() override { return mParent; }
    bool Viewable_SubtreeVisible() const override { return mExpanded; }

    void Add(Node* child)
    {
        child->mParent = this;
        if (mFirst == nullptr) {
            mFirst = child;
            return;
        }
        Node* last = mFirst;
        while (last->mNext != nullptr)
            last = last->mNext;
        last->mNext = child;
        child->mPrev = last;
    }

    FWStr<31> mName;
    Node* mParent = nullptr;
    Node* mFirst = nullptr;
    Node* mNext = nullptr;
    Node* mPrev = nullptr;
    bool mExpanded = true;
};

std::vector<std::string> walk(FWViewableNode::Preorder& p)
{
    std::vector<std::string> names;
    for (FWViewableNode* n = p.First(); n != nullptr; n = p.Next()) {
        names.emplace_back(n->Viewable_Name().GetCString());
        if (names.size() > 50)
            break;
    }
    return names;
}

using Names = std::vector<std::string>;

struct Tree {
    Node root{"R"}, a{"A"}, a1{"A1"}, b{"B"};
    Tree()
    {
        root.Add(&a);
        a.Add(&a1);
        root.Add(&b);
    }
};

} // namespace

TEST(FWViewableNodePreorder, WalksTheSubtreeAndStopsAtTheRootsEnd)
{
    Tree t;
    Node after("X");
    t.root.mNext = &after; // a root peer is not walked unless asked for
    FWViewableNode::Preorder p(&t.root, false);
    EXPECT_EQ((Names{"R", "A", "A1", "B"}), walk(p));
    EXPECT_EQ(nullptr, p.Next());
}

TEST(FWViewableNodePreorder, CollapsedAndExcludedNodesAreNotEntered)
{
    Tree t;
    t.a.mExpanded = false;
    FWViewableNode::Preorder p(&t.root, false);
    EXPECT_EQ((Names{"R", "A", "A1", "B"}), walk(p)); // collapsed nodes are walked by default
    p.TraverseCollapsedNodes(false);
    p.Restart(nullptr);
    EXPECT_EQ((Names{"R", "A", "B"}), walk(p));

    t.a.mExpanded = true;
    p.Restart(nullptr);
    p.DontDescendNode(&t.a);
    EXPECT_EQ((Names{"R", "A", "B"}), walk(p));
    p.Restart(nullptr); // a restart forgets the excluded node
    EXPECT_EQ((Names{"R", "A", "A1", "B"}), walk(p));
}

TEST(FWViewableNodePreorder, RootPeersAreWalkedWithTheirSubtrees)
{
    Node r1("R1"), c1("C1"), r2("R2"), c2("C2"), c21("C21");
    r1.Add(&c1);
    r2.Add(&c2);
    c2.Add(&c21);
    r1.mNext = &r2;
    r2.mPrev = &r1;
    FWViewableNode::Preorder p(&r1, true);
    EXPECT_EQ((Names{"R1", "C1", "R2", "C2", "C21"}), walk(p));

    p.Restart(&r2);
    EXPECT_EQ((Names{"R2", "C2", "C21"}), walk(p));
}

TEST(FWViewableNode, DefaultsAreInert)
{
    Node n("n");
    EXPECT_FALSE(n.Viewable_CanSetName());
    EXPECT_EQ(nullptr, n.Viewable_Icon());
    EXPECT_TRUE(n.Viewable_IsLockedConsistent());
    EXPECT_TRUE(n.Viewable_IsVisibilityConsistent());
    EXPECT_FALSE(n.Viewable_Visibility());
    EXPECT_FALSE(n.Viewable_Delete());
    EXPECT_EQ(nullptr, n.Viewable_Duplicate());
    EXPECT_EQ(FWArgb32(255, 0, 0, 0), n.Viewable_NodeTextColor());
}
