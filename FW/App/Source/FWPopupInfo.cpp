#include "FWPopupInfo.h"

// To be built.
FWPopupInfo::~FWPopupInfo() = default;
void FWPopupInfo::Show(const FWString&) {}
void FWPopupInfo::Hide() {}
FWWindow* FWPopupInfo::Window() { return nullptr; }
