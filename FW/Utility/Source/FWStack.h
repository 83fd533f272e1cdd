// An array stack of values, used by tree walks to keep the ancestors of the current node.
#pragma once

#include <cstdint>
#include <vector>

template <class T>
class FWStack {
public:
    // Room for capacity values is reserved up front; beyond it the array grows geometrically.
    explicit FWStack(uint32_t capacity = 16) { mItems.reserve(capacity); }

    void Push(const T& item) { mItems.push_back(item); }
    // The stack must not be empty; an empty one answers a value-initialised T.
    T Pop()
    {
        if (mItems.empty())
            return T();
        T item = mItems.back();
        mItems.pop_back();
        return item;
    }
    uint32_t Size() const { return uint32_t(mItems.size()); }
    void Clear() { mItems.clear(); }

private:
    std::vector<T> mItems;
};
