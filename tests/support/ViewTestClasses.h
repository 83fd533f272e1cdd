// View classes that exist only in tests: a container and a paged control stored under their own
// class names, so that nested layouts can be written and read without the program's controls.
#pragma once

#include "FWBranchingControl.h"
#include "FWGroupControl.h"

class TestGroup : public FWGroupControl {
public:
    const char* FactoryGetClassName() const override { return "TestGroup"; }
};

class TestBranching : public FWBranchingControl {
public:
    const char* FactoryGetClassName() const override { return "TestBranching"; }
};

// Registers the factories of the classes above (once, whatever the number of calls).
void RegisterTestViewClasses();
