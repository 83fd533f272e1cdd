// The tab control: a branching control whose pages are chosen by tabs.
#pragma once

#include "FWBranchingControl.h"

class TabControl : public FWBranchingControl {
public:
    TabControl() = default;

    // The active page's position, -1 when none is active.
    int32_t GetActiveTab() const { return GetActiveBranchIndex(); }
};
