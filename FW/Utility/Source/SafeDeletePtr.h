// Immediate deletion through a pointer that is cleared at the same time.
#pragma once

template <class T>
void SafeDeletePtr(T*& p)
{
    T* doomed = p;
    p = nullptr;
    delete doomed;
}
