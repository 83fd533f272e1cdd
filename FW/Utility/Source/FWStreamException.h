// The failures of byte streams, each with its fixed text.
#pragma once

#include "FWException.h"

class FWStreamException : public FWException {
public:
    explicit FWStreamException(const char* message) : FWException(message) {}
};

class FWReadAccessException : public FWStreamException {
public:
    FWReadAccessException() : FWStreamException("there was an attempt to read from a write-only stream") {}
};

class FWWriteAccessException : public FWStreamException {
public:
    FWWriteAccessException() : FWStreamException("there was an attempt to write to a read-only stream") {}
};

class FWReadFailedException : public FWStreamException {
public:
    FWReadFailedException() : FWStreamException("an error occurred reading from a stream") {}
};

class FWWriteFailedException : public FWStreamException {
public:
    FWWriteFailedException() : FWStreamException("an error occurred writing to a stream") {}
};

class FWSetPositionFailedException : public FWStreamException {
public:
    FWSetPositionFailedException()
        : FWStreamException("an error occurred while trying to set a stream's position") {}
};

class FWGetPositionFailedException : public FWStreamException {
public:
    FWGetPositionFailedException()
        : FWStreamException("an error occurred while trying to get a stream's position") {}
};

class FWGetSizeFailedException : public FWStreamException {
public:
    FWGetSizeFailedException()
        : FWStreamException("an error occurred during a \"GetStreamSize\" operation") {}
};

class FWOpenFailedException : public FWStreamException {
public:
    FWOpenFailedException() : FWStreamException("an error occurred opening a stream") {}
};

class FWDiskFullException : public FWStreamException {
public:
    FWDiskFullException() : FWStreamException("The disk is full") {}
};
