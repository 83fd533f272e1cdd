// View classes that exist only in tests: a container and a paged control stored under their own
// class names, so that nested layouts can be written and read without the program's controls.
#pragma once

#include "FWBranchingControl.h"
#include "FWGroupControl.h"
#include "FWView.h"

class TestGroup : public FWGroupControl {
public:
    const char* FactoryGetClassName() const override { return "TestGroup"; }
};

class TestBranching : public FWBranchingControl {
public:
    const char* FactoryGetClassName() const override { return "TestBranching"; }
};

// A leaf that paints its rectangle in one colour, so that tests can find it on the screen.
class TestSwatch : public FWView {
public:
    static constexpr FWArgb32 kColor{255, 0, 160, 40};
    const char* FactoryGetClassName() const override { return "TestSwatch"; }
    void Draw(FWDrawContext& context) const override;
};

// Registers the factories of the classes above (once, whatever the number of calls).
void RegisterTestViewClasses();
