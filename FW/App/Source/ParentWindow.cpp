#include "ParentWindow.h"

#include "DiskImage.h"
#include "FWStr.h"
#include "SubClassFactory.h"
#include "PreorderTraversal.h"

namespace {

const FWStr<31> kDisplayName("Window");
SubClassFactory<FWView, ParentWindow> sFactory("ParentWindow");

} // namespace

ParentWindow::ParentWindow()
{
    FWView::SetVisibility(false);
}

void ParentWindow::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    PreorderTraversal<FWView> walk(this, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        view->WindowWasResized();
}

void ParentWindow::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    std::fprintf(file, "\t\tviewArray[%ld] = window->ViewMngr().GetViewTree();\n", long(index));
}

const FWString& ParentWindow::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* ParentWindow::Viewable_Icon()
{
    return DiskImage::Acquire(2014, FOUR_CHAR_CODE("argb"));
}
