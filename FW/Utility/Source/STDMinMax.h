// Small helpers for choosing between two values and keeping a value in a range.
#pragma once

// a when a > b, else b.
template <class T>
T STDMax(T a, T b)
{
    return a > b ? a : b;
}

// a when b > a, else b.
template <class T>
T STDMin(T a, T b)
{
    return b > a ? a : b;
}

// lo when v < lo, hi when v > hi, else v.
template <class T>
T clamp(T lo, T hi, T v)
{
    if (v < lo)
        return lo;
    if (v > hi)
        return hi;
    return v;
}
