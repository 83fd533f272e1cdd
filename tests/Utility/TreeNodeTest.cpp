#include "PreorderTraversal.h"
#include "TreeNode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* sDeleted = nullptr;

class Node : public TreeNode<Node> {
public:
    explicit Node(std::string name) : mName(std::move(name)) {}
    ~Node() override
    {
        if (sDeleted != nullptr)
            sDeleted->push_back(mName);
    }
    const std::string& Name() const { return mName; }

private:
    std::string mName;
};

std::string walk(Node* root, bool continueToRootPeers, const std::string& skipAfter = "")
{
    PreorderTraversal<Node> traversal(root, continueToRootPeers);
    std::string order;
    for (Node* n = traversal.First(); n != nullptr; n = traversal.Next()) {
        order += n->Name();
        if (n->Name() == skipAfter)
            traversal.SkipToNextPeer();
    }
    return order;
}

std::string children(const Node& parent)
{
    std::string names;
    for (Node* c = parent.FirstChild(); c != nullptr; c = c->NextPeer())
        names += c->Name();
    std::string backwards;
    for (Node* c = parent.LastChild(); c != nullptr; c = c->PrevPeer())
        backwards = c->Name() + backwards;
    EXPECT_EQ(names, backwards) << "peer links disagree";
    return names;
}

} // namespace

TEST(TreeNode, LinkingKeepsBothPeerDirectionsAndTheFirstChild)
{
    Node p("P"), a("A"), b("B"), c("C"), d("D"), e("E");
    p.AppendChild(&b);
    p.PrependChild(&a);
    p.AppendChild(&c);
    EXPECT_EQ("ABC", children(p));
    EXPECT_EQ(&p, b.Parent());
    EXPECT_EQ(3, p.ChildTotal());

    d.LinkBefore(&a); // before the first child: becomes the first child
    EXPECT_EQ("DABC", children(p));
    e.LinkAfter(&c);
    EXPECT_EQ("DABCE", children(p));
    EXPECT_EQ(&p, e.Parent());

    d.Unlink(); // the first child
    EXPECT_EQ("ABCE", children(p));
    EXPECT_EQ(nullptr, d.Parent());
    b.Unlink();
    EXPECT_EQ("ACE", children(p));
    e.Unlink();
    EXPECT_EQ("AC", children(p));
    EXPECT_EQ(nullptr, e.PrevPeer());
    a.LinkBefore(nullptr);
    EXPECT_EQ("AC", children(p));
    a.Unlink();
    c.Unlink();
    EXPECT_EQ(nullptr, p.FirstChild());
    EXPECT_EQ(nullptr, p.LastChild());
}

TEST(TreeNode, UnlinkKeepsChildrenAttached)
{
    Node r("R"), a("A"), a1("1");
    r.AppendChild(&a);
    a.AppendChild(&a1);
    a.Unlink();
    EXPECT_EQ(&a, a1.Parent());
    EXPECT_EQ(2, a.Size());
    EXPECT_EQ(1, r.Size());
    a1.Unlink();
}

TEST(PreorderTraversal, VisitsNodeThenChildrenAndCanSkipASubtree)
{
    Node r("R"), a("A"), a1("1"), b("B"), peer("S"), peerChild("t");
    r.AppendChild(&a);
    a.AppendChild(&a1);
    r.AppendChild(&b);
    EXPECT_EQ("RA1B", walk(&r, false));
    EXPECT_EQ("RAB", walk(&r, false, "A"));
    EXPECT_EQ(4, r.Size());
    EXPECT_EQ("", walk(nullptr, false));

    // The root's next peers join the walk only when asked.
    Node top("T");
    top.AppendChild(&r);
    top.AppendChild(&peer);
    peer.AppendChild(&peerChild);
    EXPECT_EQ("RA1B", walk(&r, false));
    EXPECT_EQ("RA1BSt", walk(&r, true));
    EXPECT_EQ("RA1BS", walk(&r, true, "S"));
    EXPECT_EQ("T", walk(&top, false, "T"));
    // A walk starting in the middle of the tree stays inside that subtree.
    EXPECT_EQ("A1", walk(&a, false));

    PreorderTraversal<Node> traversal(&a, false);
    traversal.Set(&b, false);
    EXPECT_EQ(&b, traversal.First());
    EXPECT_EQ(nullptr, traversal.Next());
    EXPECT_EQ(nullptr, traversal.Next());
}

TEST(TreeNode, DeleteChildrenDeletesTheLastSubtreeFirst)
{
    std::vector<std::string> deleted;
    sDeleted = &deleted;
    {
        Node root("R");
        Node* a = new Node("A");
        Node* b = new Node("B");
        root.AppendChild(a);
        root.AppendChild(b);
        a->AppendChild(new Node("a1"));
        a->AppendChild(new Node("a2"));
        b->AppendChild(new Node("b1"));
        root.DeleteChildren();
        EXPECT_EQ(nullptr, root.FirstChild());
        EXPECT_EQ(1, root.Size());
    }
    sDeleted = nullptr;
    std::vector<std::string> expected = {"b1", "B", "a2", "a1", "A", "R"};
    EXPECT_EQ(expected, deleted);
}

TEST(PreorderTraversal, DeepTreesGrowTheStackBeyondItsReserve)
{
    std::vector<std::unique_ptr<Node>> chain;
    chain.push_back(std::make_unique<Node>("n"));
    for (int i = 0; i < 100; ++i) {
        chain.push_back(std::make_unique<Node>("n"));
        chain[chain.size() - 2]->AppendChild(chain.back().get());
    }
    EXPECT_EQ(101, chain.front()->Size());
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->Unlink();
}
