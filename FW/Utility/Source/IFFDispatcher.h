// Nested blocks on a stream: a four-character id (ULong), a Long size of the body that
// follows, then the body, which may hold further blocks. The dispatcher checks that blocks
// close in order and that every body is read to its exact size; a failed step leaves its
// stack, its mode and the stream position as they were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FWStream;

class IFFDispatcher {
public:
    enum tMode : int32_t {
        kNone = 0,
        kWriting = 1,
        kReading = 2,
    };

    // Writes the id and a placeholder size. IFFUnexpectedMode while reading.
    void BeginIFFBlockWrite(FWStream& stream, uint32_t id);
    // Patches the innermost block's size. IFFBlockNotOpen with no block open,
    // IFFUnexpectedMode while reading, IFFUnexpectedIFF for another id (the block stays open).
    void EndIFFBlockWrite(FWStream& stream, uint32_t id);

    // Reads a block's id and size. IFFUnexpectedMode while writing; IFFUnexpectedSize when
    // the size reaches past the stream or past the enclosing block.
    void BeginIFFBlockRead(FWStream& stream, uint32_t& id, uint32_t& size);
    // Closes the innermost block. IFFBlockNotOpen, IFFUnexpectedMode and IFFUnexpectedIFF as
    // for writing; IFFUnexpectedSize when size differs from the block's or its body was not
    // read exactly.
    void EndIFFBlockRead(FWStream& stream, uint32_t id, uint32_t size);

    tMode Mode() const { return mMode; }
    size_t OpenBlockCount() const { return mStack.size(); }

    // Guards one begin or end step: unless told it succeeded, it pops what the step pushed
    // and, once allowed to, puts the stream back where the step began.
    class IFFSentry {
    public:
        IFFSentry(FWStream& stream, IFFDispatcher& dispatcher);
        ~IFFSentry();
        IFFSentry(const IFFSentry&) = delete;
        IFFSentry& operator=(const IFFSentry&) = delete;

        void Succeeded() { mSucceeded = true; }
        void CanRestorePosition() { mRestorePosition = true; }

    private:
        FWStream& mStream;
        IFFDispatcher& mDispatcher;
        uint32_t mPosition;
        size_t mStackDepth;
        bool mSucceeded = false;
        bool mRestorePosition = false;
    };

private:
    struct tIFFStackEntry {
        tMode previousMode;
        uint32_t id;
        uint32_t position; // of the size field
        uint32_t size;     // reading only
    };

    void push(const tIFFStackEntry& entry, tMode mode);
    void pop();
    const tIFFStackEntry& top() const { return mStack.back(); }

    std::vector<tIFFStackEntry> mStack;
    tMode mMode = kNone;
};
