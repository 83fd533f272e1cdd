// A string of at most N characters held in place: it never allocates. Longer texts are cut to
// N characters without notice.
#pragma once

#include "FWString.h"

#include <cstring>

template <uint32_t N>
class FWStr : public FWString {
public:
    FWStr() { init(); }
    FWStr(const char* p)
    {
        init();
        Set(p);
    }
    FWStr(const FWString& other)
    {
        init();
        Set(other.GetCurrLength(), other.GetCString());
    }
    FWStr(uint32_t n, const char* p) requires(N == 255)
    {
        init();
        Set(n, p);
    }
    FWStr(const FWStr& other) : FWString()
    {
        init();
        Set(other.GetCurrLength(), other.GetCString());
    }

    FWStr& operator=(const FWStr& other)
    {
        if (this != &other) {
            std::memcpy(mBuffer, other.mBuffer, N + 1);
            mLength = other.mLength;
        }
        return *this;
    }
    FWStr& operator=(const FWString& other)
    {
        FWString::operator=(other);
        return *this;
    }
    FWStr& operator=(const char* p)
    {
        FWString::operator=(p);
        return *this;
    }

    void SetCurrLength(uint32_t n) override { FWString::SetCurrLength(n > N ? N : n); }

    static constexpr uint32_t kCapacity = N;

private:
    void init()
    {
        mBuffer[0] = 0;
        mData = mBuffer;
        mLength = 0;
    }

    char mBuffer[N + 1];
};
