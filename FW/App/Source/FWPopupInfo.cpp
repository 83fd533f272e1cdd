#include "FWPopupInfo.h"

void FWPopupInfo::Show(const FWString&)
{
}

void FWPopupInfo::Hide()
{
}
