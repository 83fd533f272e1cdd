// The entries of a stored layout, read with nothing but the format's own framing: a one-byte
// stream header, the id count, the version, the id counter and the view count, then for each
// view its class name (ended by 0), its body length and its body.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FWViewMngr;

struct LayoutEntry {
    std::string className;
    size_t bodyAt = 0; // offset of the body in the layout
    std::vector<uint8_t> body;
};

// Empty when the bytes do not frame that way.
std::vector<LayoutEntry> LayoutEntries(const std::vector<uint8_t>& layout);
// The window's layout as the view manager saves it.
std::vector<uint8_t> SavedLayout(FWViewMngr& manager);
// The body of the first entry of that class in the manager's saved layout (empty without one).
std::vector<uint8_t> SavedBody(FWViewMngr& manager, const char* className);
