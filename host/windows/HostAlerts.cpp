// Alerts routed to one presenter; the default has no window to show them in and reports to stderr.
#include "HostAlerts.h"

#include <cstdio>

namespace {

SInt16 presentOnStderr(SInt16 alertID, HostAlertKind kind)
{
    std::fprintf(stderr, "%s %d\n", kind == HostAlertKind::kStop ? "Stop alert" : "Alert", int(alertID));
    return 1;
}

HostAlertPresenter sPresenter = presentOnStderr;

} // namespace

HostAlertPresenter HostSetAlertPresenter(HostAlertPresenter presenter)
{
    HostAlertPresenter previous = sPresenter;
    sPresenter = presenter != nullptr ? presenter : presentOnStderr;
    return previous == presentOnStderr ? nullptr : previous;
}

SInt16 StopAlert(SInt16 alertID)
{
    return sPresenter(alertID, HostAlertKind::kStop);
}

SInt16 Alert(SInt16 alertID)
{
    return sPresenter(alertID, HostAlertKind::kPlain);
}
