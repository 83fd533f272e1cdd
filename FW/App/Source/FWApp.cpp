#include "FWApp.h"

bool FWApp::gInForeground = true;
