#include "ViewTestClasses.h"

#include "FWDrawContext.h"
#include "SubClassFactory.h"

void RegisterTestViewClasses()
{
    static SubClassFactory<FWView, TestGroup> sGroup("TestGroup");
    static SubClassFactory<FWView, TestBranching> sBranching("TestBranching");
    static SubClassFactory<FWView, TestSwatch> sSwatch("TestSwatch");
}

void TestSwatch::Draw(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.PaintRect(&rect, kColor);
}
