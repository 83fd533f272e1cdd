// The alignment commands: the selected views of the front edit window lined up by an edge or a
// centre line, edit fields made one width, views spaced evenly from top to bottom, and the
// selection centred in its container. Views selected together with their container are aligned
// by themselves.
#include "EditText.h"
#include "EditWindow.h"
#include "FWDrawContext.h"
#include "FWView.h"
#include "QuillformApp.h"

#include <algorithm>
#include <vector>

namespace {

// A smallest coordinate starts from the largest 16-bit value, a largest one from 0.
constexpr int32_t kStartMin = 32767;
constexpr int32_t kStartMax = 0;

enum class Edge { kLeft, kRight, kTop, kBottom };

int32_t edgeOf(const FWRect& r, Edge edge)
{
    switch (edge) {
    case Edge::kLeft:
        return r.left;
    case Edge::kRight:
        return r.right;
    case Edge::kTop:
        return r.top;
    case Edge::kBottom:
        break;
    }
    return r.bottom;
}

// Where the view spans, its corners in order: a view stored inverted is aligned by what it shows.
FWRect spanOf(const FWView* view)
{
    return EditWindow::MovedRect(*view, FWPoint());
}

void moveBy(FWView* view, int32_t dh, int32_t dv)
{
    view->SetRect(EditWindow::MovedRect(*view, FWPoint(int16_t(dh), int16_t(dv))));
}

void changed(EditWindow& window)
{
    window.SetDirty(true);
    window.Inval(nullptr);
}

// Every selected view's edge goes to the smallest such edge of the selection.
void alignEdge(Edge edge)
{
    EditWindow* window = QuillformApp::Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    const std::vector<FWView*> views = window->SelectedViews();
    int32_t ref = kStartMin;
    for (FWView* view : views)
        ref = std::min(ref, edgeOf(spanOf(view), edge));
    const bool horizontal = edge == Edge::kLeft || edge == Edge::kRight;
    for (FWView* view : views) {
        const int32_t d = ref - edgeOf(spanOf(view), edge);
        moveBy(view, horizontal ? d : 0, horizontal ? 0 : d);
    }
    changed(*window);
}

// Every selected view's centre goes onto the middle of the selection's extent across one axis.
void alignCentres(bool horizontal)
{
    EditWindow* window = QuillformApp::Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    const std::vector<FWView*> views = window->SelectedViews();
    int32_t low = kStartMin, high = kStartMax;
    for (FWView* view : views) {
        const FWRect r = spanOf(view);
        low = std::min<int32_t>(low, horizontal ? r.left : r.top);
        high = std::max<int32_t>(high, horizontal ? r.right : r.bottom);
    }
    const int32_t centre = low + (high - low) / 2;
    for (FWView* view : views) {
        FWRect r = spanOf(view);
        if (horizontal)
            r.MoveTo(int16_t(centre - r.Width() / 2), r.top);
        else
            r.MoveTo(r.left, int16_t(centre - r.Height() / 2));
        view->SetRect(r);
    }
    changed(*window);
}

bool hasCollectedAncestor(FWView* view, const std::vector<FWView*>& collected)
{
    for (FWView* up = view->Parent(); up != nullptr; up = up->Parent())
        if (std::find(collected.begin(), collected.end(), up) != collected.end())
            return true;
    return false;
}

// The whole selection (with what its views hold) moves onto the middle of its container across
// one axis; the container is the parent of the first selected view in tree order. Both are taken
// in window-content coordinates, as shown. The move re-homes views as a drag does.
void centreInContainer(bool horizontal)
{
    EditWindow* window = QuillformApp::Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    FWRect bounds;
    if (!window->GetSelectionBounds(&bounds))
        return;
    FWView* parent = window->SelectedViews().front()->Parent();
    const FWRect frame = parent != nullptr ? parent->GlobalRect() : window->Size();
    auto middle = [](int32_t low, int32_t high) { return low + (high - low) / 2; };
    int32_t dh = 0, dv = 0;
    if (horizontal)
        dh = middle(frame.left, frame.right) - middle(bounds.left, bounds.right);
    else
        dv = middle(frame.top, frame.bottom) - middle(bounds.top, bounds.bottom);
    FWDrawContext context(window);
    window->TranslateSelection(context, FWPoint(int16_t(dh), int16_t(dv)));
    window->SetDirty(true);
}

} // namespace

void QuillformApp::align_left(FWUserOp*)
{
    alignEdge(Edge::kLeft);
}

void QuillformApp::align_right(FWUserOp*)
{
    alignEdge(Edge::kRight);
}

void QuillformApp::align_top(FWUserOp*)
{
    alignEdge(Edge::kTop);
}

void QuillformApp::align_bottom(FWUserOp*)
{
    alignEdge(Edge::kBottom);
}

void QuillformApp::align_horiz(FWUserOp*)
{
    alignCentres(true);
}

void QuillformApp::align_vert(FWUserOp*)
{
    alignCentres(false);
}

void QuillformApp::align_edits(FWUserOp*)
{
    EditWindow* window = Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    std::vector<EditText*> edits;
    for (FWView* view : window->SelectedViews())
        if (auto* edit = dynamic_cast<EditText*>(view))
            edits.push_back(edit);
    int32_t maxRight = kStartMax, minWidth = kStartMin;
    for (EditText* edit : edits) {
        maxRight = std::max<int32_t>(maxRight, spanOf(edit).right);
        minWidth = std::min<int32_t>(minWidth, edit->GetEditRect().Width());
    }
    // Each field takes the narrowest width with its label still on its left, then the whole
    // view moves so that the fields end at the rightmost edge.
    for (EditText* edit : edits) {
        FWRect field = edit->GetEditRect();
        field.right = int16_t(field.left + minWidth);
        edit->SetEditBounds(field);
        moveBy(edit, maxRight - spanOf(edit).right, 0);
    }
    changed(*window);
}

void QuillformApp::align_distrib(FWUserOp*)
{
    EditWindow* window = Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    std::vector<FWView*> views;
    int32_t sumHeights = 0;
    FWRect area;
    for (FWView* view : window->SelectedViews()) {
        if (hasCollectedAncestor(view, views)) {
            ErrorMessage("Can't align group(s) with their children");
            return;
        }
        views.push_back(view);
        const FWRect r = spanOf(view);
        sumHeights += r.Height();
        if (area.Empty())
            area = r;
        else
            area.UnionRect(r, &area);
    }
    if (views.size() < 2) {
        ErrorMessage("Need 2 or more selected items");
        return;
    }
    // Negative when the views overlap: they are then stacked closer.
    const int32_t gap = (area.Height() - sumHeights) / int32_t(views.size() - 1);
    std::stable_sort(views.begin(), views.end(),
                     [](FWView* a, FWView* b) { return spanOf(a).top < spanOf(b).top; });
    for (size_t i = 1; i < views.size(); ++i) {
        moveBy(views[i], 0, spanOf(views[i - 1]).bottom + gap - spanOf(views[i]).top);
        changed(*window);
    }
}

void QuillformApp::CenterInParentHoriz(FWUserOp*)
{
    centreInContainer(true);
}

void QuillformApp::CenterInParentVert(FWUserOp*)
{
    centreInContainer(false);
}
