// The preferences file "path.txt": line 0 the folder of the last opened file, then the recent
// files, oldest first, one per line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The lines kept from a preferences file's bytes: line 0 always, a later line only when keep
// says so (the file exists). A line gives at most 255 characters; a longer one ends the useful
// part of the file. Reading stops after 256 lines, or once more than 21 lines are kept.
std::vector<std::string> ReadPreferenceLines(std::string_view bytes,
                                             const std::function<bool(const std::string&)>& keep);
