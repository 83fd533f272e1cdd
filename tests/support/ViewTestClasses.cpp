#include "ViewTestClasses.h"

#include "SubClassFactory.h"

void RegisterTestViewClasses()
{
    static SubClassFactory<FWView, TestGroup> sGroup("TestGroup");
    static SubClassFactory<FWView, TestBranching> sBranching("TestBranching");
}
