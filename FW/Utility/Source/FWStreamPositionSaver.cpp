#include "FWStreamPositionSaver.h"

#include "FWStream.h"
#include "FWStreamException.h"

FWStreamPositionSaver::FWStreamPositionSaver(FWStream& stream) : mStream(stream), mPosition(stream.GetStreamPosition())
{
}

FWStreamPositionSaver::~FWStreamPositionSaver()
{
    if (!mRestore)
        return;
    // Runs while another failure may be in flight: a failed restore cannot be reported.
    try {
        mStream.SetStreamPosition(mPosition);
    } catch (const FWStreamException&) {
    }
}
