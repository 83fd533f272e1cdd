// The map of persistent identifiers to objects. Identifiers are odd (1, 3, 5, ...) and object
// addresses even, so a pointer field may hold an identifier until it is resolved, told apart
// by its lowest bit.
#pragma once

#include <cstdint>
#include <map>

class PersistentObj;

class PersistentRegistry {
public:
    static bool IsAnID(uintptr_t value) { return (value & 1) != 0; }
    template <class T>
    static bool IsAPersistentID(const T* p)
    {
        return IsAnID(reinterpret_cast<uintptr_t>(p));
    }

    // Gives obj the next identifier when it has none; reports an identifier already mapped to
    // another object. Then maps the identifier to obj.
    static void RegisterObject(PersistentObj* obj);
    // Drops obj's entry and identifier. Without one, reports every entry that names obj.
    static void UnregisterObject(PersistentObj* obj);

    // The next identifier to give; starts at 1 and steps by 2. Identifiers are never reused.
    static uint32_t sNextID;

private:
    static std::map<uint32_t, PersistentObj*>& registry();
};
