// A serial stream for one whole view tree: while writing it numbers the objects from 1 as
// each is first registered and writes references as those numbers; while reading it keeps a
// table from number to object and resolves references once every object has been read.
//
// Layout written: byte 1, then a Long holding the table size (one more than the highest
// number given), patched by FinishWriting; the owner writes the rest.
//
// The stored object class must offer GetSerialID / SetSerialID (int32_t) and
// GetIDValidation / SetIDValidation (uint32_t: the whole number of the pass that gave the
// serial ID, so that a number is never taken as current after the pass counter wraps its
// low bits).
#pragma once

#include "FWProgrammerMessage.h"
#include "FWStreamException.h"
#include "SerialStream.h"

#include <cstdint>
#include <vector>

template <class TView>
class GlobalSerialStreamOf : public SerialStreamOf<TView> {
public:
    using Base = SerialStreamOf<TView>;

    // Writing: writes the header. Reading: reads it and makes an empty table of the stored
    // size; a size the stream cannot hold throws FWReadFailedException.
    GlobalSerialStreamOf(const char* buffer, uint32_t size, typename Base::Type type);
    ~GlobalSerialStreamOf() override = default;

    // Writing: a view gets the next number unless it already has one from this pass.
    // Reading: the view is entered under the number it has read; a number outside the table
    // is refused and marks the stream damaged. Null is ignored.
    void RegisterStreamable(const TView* view) override;
    // Registers the view, then writes its number (0 for null).
    void WriteReference(const TView* view) override;
    // 0 for a stored 0, else stored number x 2 + 1.
    uintptr_t ReadReference() override;
    bool NeedsResolving(uintptr_t reference) override { return (reference & 1) != 0; }
    // The view entered under the reference's number; null for null. A number outside the
    // table or one no view was entered under gives null and marks the stream damaged.
    TView* ResolveReference(uintptr_t reference) override;

    // Writing: patches the table size into the header. Reported and ignored on a reader.
    void FinishWriting();

    // Writing: the next number to give. Reading: the table size.
    int32_t TableSize() const { return this->IsReading() ? int32_t(mTable.size()) : mCounter; }

    // Reading: whether a stored number failed a check above. The numbers come from the bytes
    // read, so a failure is damaged data, for the owner to refuse, not a programming error.
    bool Damaged() const { return mDamaged; }

    // Sources and lines of the reports.
    static constexpr const char* kSource = "FW/Utility/Source/SerialStreams";
    static constexpr int kFinishWritingOnReaderLine = 110;

private:
    void Initialize();

    uint32_t mIDCountPosition = 0;
    int32_t mCounter = 1;
    std::vector<TView*> mTable; // reading: entry 0 unused
    bool mDamaged = false;
};

template <class TView>
GlobalSerialStreamOf<TView>::GlobalSerialStreamOf(const char* buffer, uint32_t size,
                                                  typename Base::Type type)
    : Base(buffer, size, type)
{
    Initialize();
}

template <class TView>
void GlobalSerialStreamOf<TView>::Initialize()
{
    if (!this->IsReading()) {
        this->WriteByte(1);
        mIDCountPosition = this->LeaveSpaceForOffset();
        return;
    }
    this->ReadByte(); // the format byte; any value is taken
    int32_t stored = this->ReadLong();
    // Every number given while writing was written at least once after the header, as the
    // object's own number or as a reference, each 4 bytes: that bounds the table.
    uint32_t remaining = this->Size() - this->GetCurrPos();
    if (stored < 0 || uint32_t(stored) > remaining / 4 + 1)
        throw FWReadFailedException();
    mTable.assign(size_t(stored), nullptr);
}

template <class TView>
void GlobalSerialStreamOf<TView>::RegisterStreamable(const TView* view)
{
    if (view == nullptr)
        return;
    TView* target = const_cast<TView*>(view);
    if (this->IsReading()) {
        int32_t id = view->GetSerialID();
        if (id < 1 || id >= int32_t(mTable.size())) {
            mDamaged = true;
            return;
        }
        mTable[size_t(id)] = target;
        return;
    }
    if (view->GetIDValidation() == Base::ID())
        return;
    target->SetSerialID(mCounter++);
    target->SetIDValidation(Base::ID());
}

template <class TView>
void GlobalSerialStreamOf<TView>::WriteReference(const TView* view)
{
    this->RegisterStreamable(view);
    this->WriteLong(view != nullptr ? view->GetSerialID() : 0);
}

template <class TView>
uintptr_t GlobalSerialStreamOf<TView>::ReadReference()
{
    // Unsigned, so that a damaged negative number stays a number outside the table.
    uint32_t stored = uint32_t(this->ReadLong());
    if (stored == 0)
        return 0;
    return uintptr_t(stored) * 2 + 1;
}

template <class TView>
TView* GlobalSerialStreamOf<TView>::ResolveReference(uintptr_t reference)
{
    if (!NeedsResolving(reference))
        return nullptr;
    uintptr_t index = reference / 2;
    if (index == 0)
        return nullptr;
    if (index >= mTable.size()) {
        mDamaged = true;
        return nullptr;
    }
    TView* view = mTable[size_t(index)];
    if (view == nullptr)
        mDamaged = true;
    return view;
}

template <class TView>
void GlobalSerialStreamOf<TView>::FinishWriting()
{
    if (this->IsReading()) {
        fw_programmer_message("", kSource, kFinishWritingOnReaderLine);
        return;
    }
    this->PatchOffset(mIDCountPosition, mCounter);
}

class FWView;
using GlobalSerialStream = GlobalSerialStreamOf<FWView>;
