// An intrusive doubly linked list over ListNode links that the listed objects carry. The list
// owns neither nodes nor items, except that Empty deletes the items it removes. It has a
// built-in cursor for its own First / Next / Previous; ListTraversal gives more.
#pragma once

#include "ListNode.h"
#include "ListTraversal.h"

#include <cstdint>

template <class T>
class FWList {
public:
    explicit FWList(bool circular = false) : mCircular(circular), mTraversal(this) {}
    FWList(const FWList&) = delete;
    FWList& operator=(const FWList&) = delete;
    // Destroys the cursor only: nodes and items are left alone.
    ~FWList() = default;

    void SetCircular(bool circular) { mCircular = circular; }
    int32_t Size() const { return mCount; }

    // Linking a free node with a non-null item; a node already in a list is left alone.
    void Append(ListNode<T>* node, T* item);
    void Prepend(ListNode<T>* node, T* item);
    // After / before a node of this list; a null neighbour means the front / the end.
    void LinkAfter(ListNode<T>* after, ListNode<T>* node, T* item);
    void LinkBefore(ListNode<T>* before, ListNode<T>* node, T* item);
    // Takes the node out and clears its item and links; a node in no list is left alone.
    void Remove(ListNode<T>* node);
    // Removes every node from the front and deletes each one's item.
    void Empty();

    // The built-in cursor.
    ListNode<T>* FirstNode() { return mTraversal.FirstNode(); }
    T* First() { return mTraversal.First(); }
    T* Next() { return mTraversal.Next(); }
    T* Previous() { return mTraversal.Previous(); }
    T* operator[](int32_t i) { return mTraversal[i]; }

private:
    friend class ListTraversal<T>;

    static bool isFree(const ListNode<T>* node) { return node != nullptr && node->mItem == nullptr; }
    void insertBetween(ListNode<T>* previous, ListNode<T>* next, ListNode<T>* node, T* item);

    int32_t mCount = 0;
    ListNode<T>* mFirst = nullptr;
    ListNode<T>* mLast = nullptr;
    bool mCircular;
    ListTraversal<T> mTraversal;
};

template <class T>
void FWList<T>::insertBetween(ListNode<T>* previous, ListNode<T>* next, ListNode<T>* node, T* item)
{
    node->mItem = item;
    node->mPrevious = previous;
    node->mNext = next;
    if (previous != nullptr)
        previous->mNext = node;
    else
        mFirst = node;
    if (next != nullptr)
        next->mPrevious = node;
    else
        mLast = node;
    ++mCount;
}

template <class T>
void FWList<T>::Append(ListNode<T>* node, T* item)
{
    if (!isFree(node) || item == nullptr)
        return;
    insertBetween(mLast, nullptr, node, item);
}

template <class T>
void FWList<T>::Prepend(ListNode<T>* node, T* item)
{
    if (!isFree(node) || item == nullptr)
        return;
    insertBetween(nullptr, mFirst, node, item);
}

template <class T>
void FWList<T>::LinkAfter(ListNode<T>* after, ListNode<T>* node, T* item)
{
    if (after == nullptr) {
        Prepend(node, item);
        return;
    }
    if (after == mLast) {
        Append(node, item);
        return;
    }
    if (!isFree(node) || item == nullptr || after->mItem == nullptr)
        return;
    insertBetween(after, after->mNext, node, item);
}

template <class T>
void FWList<T>::LinkBefore(ListNode<T>* before, ListNode<T>* node, T* item)
{
    if (before == nullptr) {
        Append(node, item);
        return;
    }
    if (before == mFirst) {
        Prepend(node, item);
        return;
    }
    if (before->mItem == nullptr)
        return;
    LinkAfter(before->mPrevious, node, item);
}

template <class T>
void FWList<T>::Remove(ListNode<T>* node)
{
    if (node == nullptr || node->mItem == nullptr)
        return;
    if (node->mPrevious != nullptr)
        node->mPrevious->mNext = node->mNext;
    else
        mFirst = node->mNext;
    if (node->mNext != nullptr)
        node->mNext->mPrevious = node->mPrevious;
    else
        mLast = node->mPrevious;
    --mCount;
    node->mItem = nullptr;
    node->mPrevious = nullptr;
    node->mNext = nullptr;
}

template <class T>
void FWList<T>::Empty()
{
    while (mFirst != nullptr) {
        ListNode<T>* node = mFirst;
        T* item = node->mItem;
        Remove(node);
        delete item; // the node may be part of the item: it is out of the list first
    }
}
