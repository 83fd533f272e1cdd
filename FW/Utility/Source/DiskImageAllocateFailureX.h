// Thrown when an image cannot be made from its resource: the resource is missing, or its data
// is damaged (a size, offset or count that the data does not hold). Not an FWException: callers
// absorb it and get no image.
#pragma once

class DiskImageAllocateFailureX {
public:
    explicit DiskImageAllocateFailureX(const char* reason = "") : mReason(reason) {}

    // What was wrong, for debugging; never shown to the user.
    const char* Reason() const { return mReason; }

private:
    const char* mReason;
};
