// "Write Control IDs": a source fragment for the layout of an edit window, with member
// declarations for the views that mirror a value, an enum of their symbolic ids and an
// UpdateInterface function that connects each member to its view. It goes to "Output.c" beside
// the program.
#pragma once

#include <string>

class FWView;

namespace SourceOutput {

// The fragment for the tree under root (root included), in preorder.
std::string Text(FWView* root);
// "Output.c" in the folder that holds the program.
std::string Path();
// Replaces the file at path with text through a new file and a rename; false when any step
// fails, the file at path then being left as it was.
bool WriteFile(const std::string& path, const std::string& text);

} // namespace SourceOutput
