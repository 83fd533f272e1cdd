// An object that can be given a process-unique odd identifier, kept in PersistentRegistry.
// The identifier is given on first request and dropped when the object dies.
#pragma once

#include <cstdint>

class PersistentObj {
public:
    PersistentObj() = default;
    // A copy is a new object: it has no identifier of its own yet.
    PersistentObj(const PersistentObj&) {}
    PersistentObj& operator=(const PersistentObj&) { return *this; }
    // Unregisters the object.
    virtual ~PersistentObj();

    // Turns stored identifiers in pointer fields back into pointers; nothing here.
    virtual void ResolvePointers() {}

    bool HasID() const { return mID != 0; }
    void SetID(uint32_t id) { mID = id; }
    // Registers the object first when it has no identifier.
    uint32_t GetID();

private:
    uint32_t mID = 0;
};
