#include "Env_Time.h"

#include "Env_TimePAC.h"

namespace Corvel {

void Env_Time::Init()
{
    Env_TimePAC::Init();
}

void Env_Time::CleanUp()
{
    Env_TimePAC::CleanUp();
}

} // namespace Corvel
