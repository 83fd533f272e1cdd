// A cursor over an FWList, so that several walks can run over one list at once.
#pragma once

#include "ListNode.h"

#include <cstdint>

template <class T>
class FWList;

template <class T>
class ListTraversal {
public:
    explicit ListTraversal(FWList<T>* list) : mList(list) {}

    // Each moves the cursor and answers the item there, or null.
    T* First();
    // Past the last node: null, or the first item again when the list is circular.
    T* Next();
    // Before the first node: null, or the last item when the list is circular.
    T* Previous();
    // Moves the cursor to the first node and answers it.
    ListNode<T>* FirstNode();
    // The i-th item (0-based) from the first node; null when out of range.
    T* operator[](int32_t i);

private:
    static T* itemOf(ListNode<T>* node) { return node != nullptr ? node->Item() : nullptr; }

    FWList<T>* mList;
    ListNode<T>* mCurrent = nullptr;
};

#include "FWList.h"

template <class T>
T* ListTraversal<T>::First()
{
    mCurrent = mList != nullptr ? mList->mFirst : nullptr;
    return itemOf(mCurrent);
}

template <class T>
T* ListTraversal<T>::Next()
{
    if (mCurrent == nullptr)
        return nullptr;
    ListNode<T>* next = mCurrent->Next();
    if (next == nullptr && mCurrent->Item() != nullptr && mList->mCircular)
        next = mList->mFirst;
    mCurrent = next;
    return itemOf(mCurrent);
}

template <class T>
T* ListTraversal<T>::Previous()
{
    if (mCurrent == nullptr)
        return nullptr;
    ListNode<T>* previous = mCurrent->Previous();
    if (previous == nullptr && mCurrent->Item() != nullptr && mList->mCircular)
        previous = mList->mLast;
    mCurrent = previous;
    return itemOf(mCurrent);
}

template <class T>
ListNode<T>* ListTraversal<T>::FirstNode()
{
    mCurrent = mList != nullptr ? mList->mFirst : nullptr;
    return mCurrent;
}

template <class T>
T* ListTraversal<T>::operator[](int32_t i)
{
    FirstNode();
    if (i < 0 || mList == nullptr || i >= mList->mCount) {
        mCurrent = nullptr;
        return nullptr;
    }
    for (int32_t k = 0; k < i && mCurrent != nullptr; ++k)
        mCurrent = mCurrent->Next();
    return itemOf(mCurrent);
}
