// The failure of one step of building a resource file, with a message for the build log.
#pragma once

#include <stdexcept>
#include <string>

class RsrcError : public std::runtime_error {
public:
    explicit RsrcError(const std::string& message) : std::runtime_error(message) {}
};
