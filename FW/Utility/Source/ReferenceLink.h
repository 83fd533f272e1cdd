// The base of the references a Dependable owns. Its links form the owner's reference list,
// which the owner walks when it announces its own deletion.
#pragma once

#include "Dependable.h"

class ReferenceLink {
public:
    ReferenceLink() = default;
    ReferenceLink(const ReferenceLink&) = delete;
    ReferenceLink& operator=(const ReferenceLink&) = delete;
    virtual ~ReferenceLink() = default;

    virtual bool ReceiveMessage(Dependable* sender, Dependable::Message m) = 0;
    virtual bool IsMaster() const = 0;

    ReferenceLink* NextLink() const { return mNext; }

private:
    friend class Dependable;

    ReferenceLink* mNext = nullptr;
};
