#include "FWDrawContextSavers.h"

FWClipSaver::FWClipSaver(FWDrawContext& context) : mContext(context)
{
    // The requested rectangle is only reachable through the setter: take it and put it back.
    mSaved = context.SetClipRect(nullptr);
    context.SetClipRect(&mSaved);
}
