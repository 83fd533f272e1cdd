// The list of object factories and the reading of one stored entry by its class name.
//
// An entry: the class name and a 0 byte, a Long body length L, then L bytes of body that the
// class's own OldRead reads. A class without a factory is skipped by L.
#pragma once

#include "FWList.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "ObjectFactory.h"
#include "SerialStream.h"

#include <cstdint>

template <class TView>
class FactoryHandler {
public:
    // The first factory, in registration order, whose name equals name; null when none does.
    static ObjectFactory<TView>* FindFactory(const FWStr<255>& name);

    // Reads one entry. With a factory for its class: a new object that has read its body
    // (if reading it throws, the object is deleted and the exception passes on; its destructor
    // must then cope with references still unresolved). Without one: skips the body and
    // returns null. A body length that is negative or runs past the end of the stream throws
    // FWSetPositionFailedException, leaving the position after the length.
    static TView* OldRead(SerialStreamOf<TView>& s);

    // The factories in registration order; null while there are none. Made by the first
    // factory built and deleted when the last one goes.
    static inline FWList<ObjectFactory<TView>>* sList = nullptr;

private:
    friend class ObjectFactory<TView>;
    static void Register(ObjectFactory<TView>* factory);
    static void Unregister(ObjectFactory<TView>* factory);
};

template <class TView>
ObjectFactory<TView>* FactoryHandler<TView>::FindFactory(const FWStr<255>& name)
{
    if (sList == nullptr)
        return nullptr;
    // Walks the nodes, not the list's cursor, so a search may run inside another walk.
    for (ListNode<ObjectFactory<TView>>* node = sList->FirstNode(); node != nullptr; node = node->Next())
        if (node->Item()->Name() == name)
            return node->Item();
    return nullptr;
}

template <class TView>
TView* FactoryHandler<TView>::OldRead(SerialStreamOf<TView>& s)
{
    FWStr<255> name;
    s.ReadString(name);
    ObjectFactory<TView>* factory = FindFactory(name);
    int32_t bodyLength = s.ReadLong();
    if (factory == nullptr) {
        if (bodyLength < 0 || uint32_t(bodyLength) > s.Size() - s.GetCurrPos())
            throw FWSetPositionFailedException();
        s.SkipBytes(bodyLength);
        return nullptr;
    }
    TView* view = factory->CreateInstance();
    try {
        view->OldRead(s);
    } catch (...) {
        delete view;
        throw;
    }
    return view;
}

template <class TView>
void FactoryHandler<TView>::Register(ObjectFactory<TView>* factory)
{
    if (sList == nullptr)
        sList = new FWList<ObjectFactory<TView>>(false);
    sList->Append(&factory->Node(), factory);
}

template <class TView>
void FactoryHandler<TView>::Unregister(ObjectFactory<TView>* factory)
{
    if (sList == nullptr)
        return;
    sList->Remove(&factory->Node());
    if (sList->Size() == 0) {
        delete sList;
        sList = nullptr;
    }
}
