// Stand-ins for stored views, used only by tests: small classes with the serial fields the
// serial streams need, a reference to another object, and records of one or two class levels.
// SerialTestDocument writes and reads a list of them with the header and entries of a stored
// view tree.
#pragma once

#include "FWStr.h"
#include "GlobalSerialStream.h"
#include "SerialStream.h"

#include <cstdint>
#include <memory>
#include <vector>

class SerialTestView {
public:
    using Stream = SerialStreamOf<SerialTestView>;

    SerialTestView() = default;
    virtual ~SerialTestView() { ++sDestroyed; }

    virtual const char* FactoryGetClassName() const { return "SerialTestView"; }
    // Record: version 1; own serial ID; partner reference; value Long.
    virtual void OldWrite(Stream& s) const;
    virtual void OldRead(Stream& s);
    virtual void OldResolveReferences(Stream& s);

    int32_t GetSerialID() const { return mSerialID; }
    void SetSerialID(int32_t id) { mSerialID = id; }
    uint32_t GetIDValidation() const { return mIDValidation; }
    void SetIDValidation(uint32_t stamp) { mIDValidation = stamp; }

    SerialTestView* mPartner = nullptr; // unresolved form between reading and resolving
    int32_t mValue = 0;

    static inline int sDestroyed = 0;

private:
    int32_t mSerialID = -1;
    uint32_t mIDValidation = 0;
};

class SerialTestLabel : public SerialTestView {
public:
    const char* FactoryGetClassName() const override { return "SerialTestLabel"; }
    // Record: version 2; the base record; the text.
    void OldWrite(Stream& s) const override;
    void OldRead(Stream& s) override;

    FWStr<31> mText;
};

// The entries of a stored list of views: format byte and table size (the stream's), stream
// version 2, an ID counter, the view count, then per view its class name, body length and body.
class SerialTestDocument {
public:
    static std::vector<char> Write(const std::vector<const SerialTestView*>& views, int32_t counter);

    // Reads at most the stored count of entries (exceptions pass on), keeping the views
    // returned by the factory handler (null for skipped entries), then resolves the references
    // of every view read.
    struct Result {
        std::vector<std::unique_ptr<SerialTestView>> views;
        int32_t tableSize = 0;
        int32_t counter = 0;
        int32_t skipped = 0;
    };
    static Result Read(const std::vector<char>& bytes);
};
