#include "FWFlagsArray.h"
#include "FWList.h"
#include "STDMinMax.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

int sDeletedItems = 0;

struct Item {
    explicit Item(char n) : name(n) {}
    virtual ~Item() { ++sDeletedItems; }
    char name;
    ListNode<Item> node;
    ListNode<Item> otherNode;
};

std::string names(FWList<Item>& list)
{
    std::string forward;
    for (Item* i = list.First(); i != nullptr; i = list.Next())
        forward += i->name;
    return forward;
}

} // namespace

TEST(FWList, LinkingInEveryPosition)
{
    FWList<Item> list;
    Item a('a'), b('b'), c('c'), d('d'), e('e');
    list.Append(&b.node, &b);
    list.Prepend(&a.node, &a);
    list.LinkAfter(&b.node, &d.node, &d); // after the last: an append
    list.LinkBefore(&d.node, &c.node, &c);
    list.LinkBefore(&a.node, &e.node, &e); // before the first: a prepend
    EXPECT_EQ("eabcd", names(list));
    EXPECT_EQ(5, list.Size());
    std::string backward;
    for (ListNode<Item>* n = d.node.Previous(); n != nullptr; n = n->Previous())
        backward += n->Item()->name;
    EXPECT_EQ("cbae", backward);

    list.Remove(&e.node);
    list.Remove(&c.node);
    list.Remove(&d.node);
    EXPECT_EQ("ab", names(list));
    EXPECT_EQ(nullptr, e.node.Item());
    EXPECT_EQ(nullptr, e.node.Next());
    list.Remove(&a.node);
    list.Remove(&b.node);
}

TEST(FWList, RemovingTheOnlyNodeEmptiesTheListOnce)
{
    FWList<Item> list;
    Item a('a');
    list.Append(&a.node, &a);
    list.Remove(&a.node);
    EXPECT_EQ(0, list.Size());
    EXPECT_EQ(nullptr, list.FirstNode());
    EXPECT_EQ(nullptr, list.First());
    list.Remove(&a.node);
    EXPECT_EQ(0, list.Size());
    // The list is usable again afterwards.
    list.Append(&a.node, &a);
    EXPECT_EQ("a", names(list));
    list.Remove(&a.node);
}

TEST(FWList, NodeAlreadyInAListIsLeftAlone)
{
    FWList<Item> first;
    FWList<Item> second;
    Item a('a'), b('b');
    first.Append(&a.node, &a);
    second.Append(&b.node, &b);
    second.Append(&a.node, &a);
    second.Prepend(&a.node, &a);
    second.LinkAfter(&b.node, &a.node, &a);
    EXPECT_EQ("a", names(first));
    EXPECT_EQ("b", names(second));
    // The same object can sit in two lists through two nodes.
    second.Append(&a.otherNode, &a);
    EXPECT_EQ("ba", names(second));
    Item* none = nullptr;
    Item c('c');
    second.Append(&c.node, none); // a null item would leave a linked node that looks free
    EXPECT_EQ(2, second.Size());
    first.Remove(&a.node);
    second.Remove(&b.node);
    second.Remove(&a.otherNode);
}

TEST(FWList, CircularListsWrapAndOthersEnd)
{
    FWList<Item> list(true);
    Item a('a'), b('b');
    list.Append(&a.node, &a);
    list.Append(&b.node, &b);
    EXPECT_EQ(&a, list.First());
    std::string seen;
    for (int i = 0; i < 6; ++i)
        seen += list.Next()->name;
    EXPECT_EQ("bababa", seen);
    EXPECT_EQ(&a, list.First());
    EXPECT_EQ(&b, list.Previous());

    list.SetCircular(false);
    EXPECT_EQ(&a, list.First());
    EXPECT_EQ(&b, list.Next());
    EXPECT_EQ(nullptr, list.Next());
    EXPECT_EQ(nullptr, list.Next());
    list.First();
    EXPECT_EQ(nullptr, list.Previous());
    list.Remove(&a.node);
    list.Remove(&b.node);
}

TEST(FWList, IndexingAndIndependentTraversals)
{
    FWList<Item> list(true);
    Item a('a'), b('b'), c('c');
    list.Append(&a.node, &a);
    list.Append(&b.node, &b);
    list.Append(&c.node, &c);
    EXPECT_EQ(&c, list[2]);
    EXPECT_EQ(nullptr, list[3]); // no wrap, even in a circular list
    EXPECT_EQ(nullptr, list[-1]);

    ListTraversal<Item> one(&list);
    ListTraversal<Item> two(&list);
    EXPECT_EQ(&a, one.First());
    EXPECT_EQ(&a, two.First());
    EXPECT_EQ(&b, one.Next());
    EXPECT_EQ(&c, one.Next());
    EXPECT_EQ(&b, two.Next());
    EXPECT_EQ(&b, one[1]);
    EXPECT_EQ(&a.node, two.FirstNode());
    list.Remove(&a.node);
    list.Remove(&b.node);
    list.Remove(&c.node);
}

TEST(FWList, EmptyDeletesTheItemsAndTheDestructorNothing)
{
    sDeletedItems = 0;
    {
        FWList<Item> list;
        for (char n : {'x', 'y', 'z'}) {
            Item* item = new Item(n);
            list.Append(&item->node, item);
        }
        list.Empty();
        EXPECT_EQ(3, sDeletedItems);
        EXPECT_EQ(0, list.Size());
        EXPECT_EQ(nullptr, list.First());
    }
    Item* kept = new Item('k');
    {
        FWList<Item> list;
        list.Append(&kept->node, kept);
    }
    EXPECT_EQ(3, sDeletedItems);
    EXPECT_EQ('k', kept->name);
    delete kept;
}

TEST(FWFlagsArray, FlagsLiveInBitsOfUnits)
{
    FWFlagsArray<5, unsigned char> flags;
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_FALSE(flags.GetFlag(i));
    flags.SetFlag(0, true);
    flags.SetFlag(4, true);
    EXPECT_EQ(0x11, *reinterpret_cast<const unsigned char*>(&flags));
    flags.SetFlag(0, false);
    EXPECT_FALSE(flags.GetFlag(0));
    EXPECT_TRUE(flags.GetFlag(4));
    flags.SetFlag(200, true); // beyond the array: ignored
    EXPECT_FALSE(flags.GetFlag(200));
    flags.ClearAllFlags();
    EXPECT_FALSE(flags.GetFlag(4));
    EXPECT_EQ(1u, sizeof flags);
}

TEST(STDMinMax, ClampAndTies)
{
    EXPECT_EQ(0, clamp<int32_t>(0, 10, -3));
    EXPECT_EQ(10, clamp<int32_t>(0, 10, 12));
    EXPECT_EQ(7, clamp<int32_t>(0, 10, 7));
    // Ties answer the second argument: visible for values equal but distinguishable.
    float negativeZero = -0.0f;
    EXPECT_TRUE(std::signbit(STDMax(0.0f, negativeZero)));
    EXPECT_TRUE(std::signbit(STDMin(0.0f, negativeZero)));
    EXPECT_EQ(short(5), STDMax<short>(5, -2));
    EXPECT_EQ(-2, STDMin(5, -2));
}
