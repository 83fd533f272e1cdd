// A plain container view: it draws nothing of its own and lets children be placed in it.
#pragma once

#include "FWView.h"

class FWGroupControl : public FWView {
public:
    FWGroupControl() = default;

    bool AllowsChildren() const override { return true; }
};
