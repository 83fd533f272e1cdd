// System facts by four-character selector: the system version ('sysv', 0x1058), the menu layout
// ('menu': Quit and Preferences are ordinary items) and the appearance ('appr', 'apvr').
#pragma once

#include "HostTypes.h"

// The answer for the selector; gestaltUndefSelectorErr when there is none.
OSErr Gestalt(OSType selector, SInt32* response);

// For tests: answer a selector with a value, or no longer answer it, or restore the table.
void HostSetGestaltAnswer(OSType selector, SInt32 value);
void HostForgetGestaltAnswer(OSType selector);
void HostResetGestaltAnswers();
