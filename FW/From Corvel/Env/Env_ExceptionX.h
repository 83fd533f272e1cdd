// The root of every exception the file-services library throws. Its exceptions are thrown by
// value and caught by reference; they carry no text, only their class, which Name tells.
#pragma once

namespace Corvel {

class Env_ExceptionX {
public:
    virtual ~Env_ExceptionX() = default;
    // The class's name without the namespace, e.g. "FS_FileNotFoundX".
    virtual const char* Name() const = 0;
};

} // namespace Corvel
