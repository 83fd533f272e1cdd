// Writes compiled resources as a new resource file through the host's Resource Manager. The file
// is made under a temporary name beside the target and renamed over it only when it is whole, so
// a failed build never leaves a partial file where a program looks for one.
#pragma once

#include "RsrcCompiler.h"

#include <string>
#include <vector>

class RsrcFileWriter {
public:
    // Replaces the file at path with one holding exactly the resources; RsrcError naming the
    // failing step and its result code.
    static void Write(const std::string& path, const std::vector<RsrcCompiler::Resource>& resources);
};
