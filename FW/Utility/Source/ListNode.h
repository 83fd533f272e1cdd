// A link of an intrusive doubly linked list, usually a member of the listed object. The node is
// in a list exactly when its item is non-null.
#pragma once

template <class T>
class FWList;

template <class T>
class ListNode {
public:
    ListNode() = default;
    // A copy starts free: links belong to the node, not to the object's value.
    ListNode(const ListNode&) {}
    ListNode& operator=(const ListNode&) { return *this; }
    // Does nothing: a node is removed from its list before it dies.
    ~ListNode() {}

    T* Item() const { return mItem; }
    // The neighbours; no wrap at either end.
    ListNode* Next() const { return mNext; }
    ListNode* Previous() const { return mPrevious; }

private:
    friend class FWList<T>;

    T* mItem = nullptr;
    ListNode* mPrevious = nullptr;
    ListNode* mNext = nullptr;
};
