// Alerts by resource id. The alert windows are drawn by the host's windows; until one is
// installed, an alert goes to a presenter: the default writes the id to stderr, tests record it.
#pragma once

#include "HostTypes.h"

enum class HostAlertKind : int16_t {
    kPlain = 0,
    kStop = 1,
};

// Shows the alert and answers the item the user chose (1, the default button, when nobody asks).
using HostAlertPresenter = SInt16 (*)(SInt16 alertID, HostAlertKind kind);

// Installs a presenter (null restores the default) and returns the one it replaces.
HostAlertPresenter HostSetAlertPresenter(HostAlertPresenter presenter);

// Shows alert alertID with the stop icon / without an icon and answers the item chosen.
SInt16 StopAlert(SInt16 alertID);
SInt16 Alert(SInt16 alertID);
