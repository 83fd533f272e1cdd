// Puts a stream back where it was, but only once the holder says the position is worth
// restoring: a failure before that leaves the position where the failure left it.
#pragma once

#include <cstdint>

class FWStream;

class FWStreamPositionSaver {
public:
    explicit FWStreamPositionSaver(FWStream& stream);
    ~FWStreamPositionSaver();
    FWStreamPositionSaver(const FWStreamPositionSaver&) = delete;
    FWStreamPositionSaver& operator=(const FWStreamPositionSaver&) = delete;

    void CanRestorePosition() { mRestore = true; }
    uint32_t SavedPosition() const { return mPosition; }

private:
    FWStream& mStream;
    uint32_t mPosition;
    bool mRestore = false;
};
