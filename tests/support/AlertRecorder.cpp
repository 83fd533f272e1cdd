#include "AlertRecorder.h"

namespace {
AlertRecorder* sActive = nullptr;
} // namespace

AlertRecorder::AlertRecorder(bool throwAfterRecording)
    : mThrow(throwAfterRecording), mOuter(sActive), mPrevious(HostSetAlertPresenter(&AlertRecorder::Record))
{
    sActive = this;
}

AlertRecorder::~AlertRecorder()
{
    HostSetAlertPresenter(mPrevious);
    sActive = mOuter;
}

std::vector<SInt16> AlertRecorder::Ids() const
{
    std::vector<SInt16> ids;
    for (const auto& alert : mAlerts)
        ids.push_back(alert.id);
    return ids;
}

SInt16 AlertRecorder::Record(SInt16 alertID, HostAlertKind kind)
{
    if (sActive == nullptr)
        return 1;
    sActive->mAlerts.push_back({alertID, kind});
    if (sActive->mThrow)
        throw AlertShown{alertID};
    return 1;
}
