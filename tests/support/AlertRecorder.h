// Records alerts instead of showing them, for the lifetime of the recorder. Code that ends the
// program after an alert can be stopped by asking the recorder to throw AlertShown instead.
#pragma once

#include "HostAlerts.h"

#include <vector>

struct RecordedAlert {
    SInt16 id;
    HostAlertKind kind;
};

class AlertRecorder {
public:
    // Thrown by the presenter after recording, when the recorder was asked to.
    struct AlertShown {
        SInt16 id;
    };

    explicit AlertRecorder(bool throwAfterRecording = false);
    ~AlertRecorder();
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    const std::vector<RecordedAlert>& Alerts() const { return mAlerts; }
    std::vector<SInt16> Ids() const;

private:
    static SInt16 Record(SInt16 alertID, HostAlertKind kind);

    std::vector<RecordedAlert> mAlerts;
    bool mThrow;
    AlertRecorder* mOuter;
    HostAlertPresenter mPrevious;
};
