// The factory of one class X of stored objects: makes an X with its default constructor.
// A class registers one as a static object under its stored class name.
#pragma once

#include "FWStr.h"
#include "ObjectFactory.h"

template <class TView, class X>
class SubClassFactory : public ObjectFactory<TView> {
public:
    explicit SubClassFactory(const char* name) : mName(name) {}

    TView* CreateInstance() override { return new X; }
    const FWString& Name() const override { return mName; }

private:
    FWStr<255> mName;
};
