// The failures of IFF block files, each with its fixed text.
#pragma once

#include "FWException.h"

class IFFException : public FWException {
public:
    explicit IFFException(const char* message) : FWException(message) {}
};

class IFFIOException : public IFFException {
public:
    explicit IFFIOException(const char* message) : IFFException(message) {}
};

class IFFUnexpectedIFF : public IFFIOException {
public:
    IFFUnexpectedIFF() : IFFIOException("an unexpected IFF type was encountered") {}
};

class IFFUnexpectedSize : public IFFIOException {
public:
    IFFUnexpectedSize() : IFFIOException("a IFF block size mismatch occurred") {}
};

class IFFUnknownVersion : public IFFIOException {
public:
    IFFUnknownVersion() : IFFIOException("an unknown IFF block version was encountered") {}
};

class IFFBlockNotOpen : public IFFIOException {
public:
    IFFBlockNotOpen() : IFFIOException("an unbalanced block end function was called") {}
};

class IFFUnexpectedMode : public IFFIOException {
public:
    IFFUnexpectedMode() : IFFIOException("attempted to change the IFF dispatcher's read/write mode") {}
};
