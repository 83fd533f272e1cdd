#include "ToolTestTable.h"

#include "FWFont.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWToolGrid.h"
#include "FWToolManager.h"
#include "FWToolWidget.h"

#include <algorithm>
#include <memory>

namespace {

// Grids made here own their widgets; a view does not delete its children itself.
struct GridDeleter {
    void operator()(FWToolGrid* grid) const
    {
        grid->DeleteChildren();
        delete grid;
    }
};
using GridPtr = std::unique_ptr<FWToolGrid, GridDeleter>;

class ToolGridTest : public ToolFixture {
protected:
    ToolGridTest()
    {
        FWOpMenu menu(ToolTestRoot());
        FWToolManager::CreateToolSystem(menu);
    }

    // A grid at (10, 20) given the width, holding "Item 1".. "Item n".
    GridPtr grid(FWToolGrid::LayoutType layout, FWToolGrid::DisplayModeType mode, int count, int width)
    {
        GridPtr g(new FWToolGrid(nullptr));
        g->SetLayout(layout);
        g->SetDisplayMode(mode);
        g->SetRect(FWRect(10, 20, int16_t(10 + width), 25));
        for (int i = 1; i <= count; ++i)
            g->AddToolWidget(*widget(("Item " + std::to_string(i)).c_str()), nullptr, false);
        // Once more with the widgets in: an empty grid is never narrower than a cell.
        g->SetRect(FWRect(10, 20, int16_t(10 + width), 25));
        return g;
    }
    static FWToolWidget* widget(const char* name) { return FWToolManager::CreateNewWidgetForTool(name); }
    static FWRect rectOf(FWToolGrid& g, int index)
    {
        FWView* child = g.FirstChild();
        for (int i = 0; i < index; ++i)
            child = child->NextPeer();
        return child->GetRect();
    }
};

TEST_F(ToolGridTest, SizesItselfByLayoutAndDisplayMode)
{
    using G = FWToolGrid;
    const struct {
        G::LayoutType layout;
        G::DisplayModeType mode;
        int count;
        int width; // given
        int expectedWidth;
        int expectedHeight;
    } cases[] = {
        {G::kHorizontal, G::kLargeIcons, 0, 100, 0, 44},
        {G::kVertical, G::kLargeIcons, 0, 100, 44, 0},
        {G::kSquare, G::kLargeIcons, 0, 100, 44, 44},
        {G::kFillWidth, G::kLargeIcons, 0, 100, 100, 44},
        {G::kFillWidth, G::kLargeIcons, 0, 20, 44, 44},
        {G::kVertical, G::kText, 0, 100, 28, 0},
        {G::kSquare, G::kLargeIcons, 5, 100, 132, 88},
        {G::kSquare, G::kLargeIcons, 4, 100, 88, 88},
        {G::kSquare, G::kLargeIcons, 1, 100, 44, 44},
        {G::kFillWidth, G::kLargeIcons, 5, 90, 90, 132},
        {G::kFillWidth, G::kLargeIcons, 2, 30, 30, 44},
        {G::kHorizontal, G::kSmallIcons, 5, 100, 110, 22},
        {G::kVertical, G::kSmallIcons, 3, 100, 22, 66},
    };
    for (const auto& c : cases) {
        auto g = grid(c.layout, c.mode, c.count, c.width);
        const FWRect r = g->GetRect();
        EXPECT_EQ(FWRect(10, 20, int16_t(10 + c.expectedWidth), int16_t(20 + c.expectedHeight)), r)
            << "layout " << c.layout << " mode " << c.mode << " count " << c.count << " width " << c.width;
    }
}

TEST_F(ToolGridTest, PlacesWidgetsRowByRowAndWrapsAtTheRightEdge)
{
    auto wide = grid(FWToolGrid::kFillWidth, FWToolGrid::kLargeIcons, 5, 90);
    const FWRect expected[] = {{10, 20, 54, 64}, {54, 20, 98, 64}, {10, 64, 54, 108}, {54, 64, 98, 108},
                               {10, 108, 54, 152}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], rectOf(*wide, i)) << i;

    // Narrower than a cell: no column fits, and each widget wraps at once.
    auto narrow = grid(FWToolGrid::kFillWidth, FWToolGrid::kLargeIcons, 2, 30);
    EXPECT_EQ(FWRect(10, 20, 54, 64), rectOf(*narrow, 0));
    EXPECT_EQ(FWRect(10, 64, 54, 108), rectOf(*narrow, 1));
}

TEST_F(ToolGridTest, TextModeRowsAreTheWidestNameEverAddedPlus28)
{
    auto g = grid(FWToolGrid::kVertical, FWToolGrid::kLargeIcons, 3, 100);
    g->AddToolWidget(*widget("Green"), nullptr, false);
    g->SetDisplayMode(FWToolGrid::kText);
    int widest = 0;
    for (const char* name : {"Item 1", "Item 2", "Item 3", "Green"}) {
        const FWStr<63> text(name);
        widest = std::max(widest, FWFont().GetStringWidth(&text));
    }
    ASSERT_GT(widest, 0);
    EXPECT_EQ(FWRect(10, 20, int16_t(10 + widest + 28), 20 + 4 * 18), g->GetRect());
    for (FWView* child = g->FirstChild(); child != nullptr; child = child->NextPeer())
        EXPECT_TRUE(static_cast<FWToolWidget*>(child)->TextMode());

    // Removing a widget keeps the widest name; leaving text mode clears every widget's flag.
    FWToolWidget* green = g->FindWidget(FWStr<63>("Green"));
    ASSERT_NE(nullptr, green);
    const FWRect greenRect = green->GetRect();
    g->RemoveToolWidget(FWPoint(int16_t(greenRect.left + 5), int16_t(greenRect.top + 5)));
    EXPECT_EQ(nullptr, g->FindWidget(FWStr<63>("Green")));
    EXPECT_EQ(widest + 28, g->GetRect().Width());
    EXPECT_EQ(3 * 18, g->GetRect().Height());
    g->SetDisplayMode(FWToolGrid::kSmallIcons);
    for (FWView* child = g->FirstChild(); child != nullptr; child = child->NextPeer())
        EXPECT_FALSE(static_cast<FWToolWidget*>(child)->TextMode());
    // In the fill-width layout a text row is as wide as the grid.
    auto fill = grid(FWToolGrid::kFillWidth, FWToolGrid::kText, 2, 90);
    EXPECT_EQ(FWRect(10, 20, 100, 56), fill->GetRect());
    EXPECT_EQ(FWRect(10, 38, 100, 56), rectOf(*fill, 1));
}

TEST_F(ToolGridTest, AddsAndMovesWidgetsBesideANeighbour)
{
    auto g = grid(FWToolGrid::kHorizontal, FWToolGrid::kLargeIcons, 3, 100);
    FWToolWidget* first = g->FindWidget(FWStr<63>("Item 1"));
    FWToolWidget* third = g->FindWidget(FWStr<63>("Item 3"));
    FWToolWidget* before = widget("Red");
    FWToolWidget* after = widget("Green");
    g->AddToolWidget(*before, third, true);
    g->AddToolWidget(*after, first, false);
    auto order = [&] {
        std::vector<std::string> names;
        for (FWView* child = g->FirstChild(); child != nullptr; child = child->NextPeer())
            names.push_back(static_cast<FWToolWidget*>(child)->ToolName().GetCString());
        return names;
    };
    EXPECT_EQ((std::vector<std::string>{"Item 1", "Green", "Item 2", "Red", "Item 3"}), order());
    EXPECT_EQ(3, g->IndexOfWidget(before));
    EXPECT_EQ(FWRect(142, 20, 186, 64), before->GetRect());

    g->MoveToolWidget(*first, *third, false);
    EXPECT_EQ((std::vector<std::string>{"Green", "Item 2", "Red", "Item 3", "Item 1"}), order());
    EXPECT_TRUE(mProgrammerMessages.Texts().empty());

    auto other = grid(FWToolGrid::kHorizontal, FWToolGrid::kLargeIcons, 1, 100);
    FWToolWidget* stranger = other->FindWidget(FWStr<63>("Item 1"));
    EXPECT_EQ(-1, g->IndexOfWidget(stranger));
    g->MoveToolWidget(*stranger, *third, true);
    EXPECT_EQ(std::vector<std::string>{"One or more widgets are not part of this tool grid!"},
              mProgrammerMessages.Texts());
    EXPECT_EQ(3, g->IndexOfWidget(stranger));
}

} // namespace
