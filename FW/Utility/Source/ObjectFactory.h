// A factory that makes new objects of one stored class, known by the class's name. Every
// factory joins its handler's list when it is built (in the program, before main) and leaves
// it when it is destroyed.
#pragma once

#include "FWString.h"
#include "ListNode.h"

template <class TView>
class FactoryHandler;

template <class TView>
class ObjectFactory {
public:
    ObjectFactory();
    virtual ~ObjectFactory();
    ObjectFactory(const ObjectFactory&) = delete;
    ObjectFactory& operator=(const ObjectFactory&) = delete;

    // A new object of the factory's class; the caller owns it.
    virtual TView* CreateInstance() = 0;
    // The name the class is stored under.
    virtual const FWString& Name() const = 0;

    ListNode<ObjectFactory>& Node() { return mNode; }

private:
    ListNode<ObjectFactory> mNode;
};

#include "FactoryHandler.h"

template <class TView>
ObjectFactory<TView>::ObjectFactory()
{
    FactoryHandler<TView>::Register(this);
}

template <class TView>
ObjectFactory<TView>::~ObjectFactory()
{
    FactoryHandler<TView>::Unregister(this);
}
