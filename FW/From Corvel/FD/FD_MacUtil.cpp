#include "FD_MacUtil.h"

namespace Corvel {

FD_MacUtil::EventFunction FD_MacUtil::sEventFunction = nullptr;

FD_MacUtil::EventFunction FD_MacUtil::SetEventFunction(EventFunction function)
{
    const EventFunction previous = sEventFunction;
    sEventFunction = function;
    return previous;
}

} // namespace Corvel
