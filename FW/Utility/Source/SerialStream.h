// The big-endian stream that views are stored in. Each class level of a stored object opens
// with one version byte; references between objects go through the hooks, which do nothing
// here and are given meaning by GlobalSerialStream.
//
// The stream is a template over the stored object class so that it can be built and tested
// before and apart from the view class; the program uses it as SerialStream, over FWView.
#pragma once

#include "FWIOStream.h"
#include "HostTypes.h"

#include <cstdint>

template <class TView>
class SerialStreamOf : public FWIOStream {
public:
    enum Type { kWriting = 0, kReading = 1 };

    // A copy of size bytes of buffer (null: empty), big-endian. Starts a new pass.
    SerialStreamOf(const char* buffer, uint32_t size, Type type);
    ~SerialStreamOf() override = default;

    Type GetType() const { return mType; }
    bool IsReading() const { return mType == kReading; }
    // The version of the stored data, set by the owner before records are read or written.
    int32_t Version() const { return mVersion; }
    void SetVersion(int32_t version) { mVersion = version; }

    // The number of the current pass: every stream construction starts a new one; never 0.
    static uint32_t ID() { return mSerializationID; }

    // A class level's version byte. The name is not stored.
    void BeginClassWrite(const char* name, char version) { WriteByte(int8_t(version)); }
    char BeginClassRead(const char* name) { return char(ReadByte()); }
    void BeginClass(const char* name) {}
    void FinishClass(const char* name, void* object, int32_t size) {}

    // References between stored objects. In memory, between reading and resolving, a
    // reference is held in its unresolved form: 0, or an odd value that no object address
    // can be.
    virtual void WriteReference(const TView* view) {}
    virtual uintptr_t ReadReference() { return 0; }
    virtual bool NeedsResolving(uintptr_t reference) { return false; }
    virtual TView* ResolveReference(uintptr_t reference) { return nullptr; }
    virtual void WriteHandle(Handle handle) {}
    virtual Handle ReadHandle() { return nullptr; }
    // Gives the object its number in this pass (writing) or enters it under its stored
    // number (reading).
    virtual void RegisterStreamable(const TView* view) {}

    static inline uint32_t mSerializationID = 0;

private:
    Type mType;
    int32_t mVersion = 0;
};

template <class TView>
SerialStreamOf<TView>::SerialStreamOf(const char* buffer, uint32_t size, Type type)
    : FWIOStream(buffer, size, 0), mType(type) // platform record 0: big-endian
{
    // 0 is the stamp of an object never numbered, so no pass may have it.
    if (++mSerializationID == 0)
        ++mSerializationID;
}

class FWView;
using SerialStream = SerialStreamOf<FWView>;
