#include "PersistentRegistry.h"

#include "FWProgrammerMessage.h"
#include "PersistentObj.h"

uint32_t PersistentRegistry::sNextID = 1;

namespace {
const char* const kSourcePath = "FW/Utility/Source/PersistentRegistry";
} // namespace

std::map<uint32_t, PersistentObj*>& PersistentRegistry::registry()
{
    // Never destroyed: objects that die during exit still unregister safely.
    static auto* sIDRegistry = new std::map<uint32_t, PersistentObj*>;
    return *sIDRegistry;
}

void PersistentRegistry::RegisterObject(PersistentObj* obj)
{
    if (obj == nullptr)
        return;
    auto& map = registry();
    if (!obj->HasID()) {
        obj->SetID(sNextID);
        sNextID += 2;
    } else {
        auto found = map.find(obj->GetID());
        if (found != map.end() && found->second != obj)
            fw_programmer_message("Tried to register an object with an already used ID.", kSourcePath, 35);
    }
    map[obj->GetID()] = obj;
}

void PersistentRegistry::UnregisterObject(PersistentObj* obj)
{
    if (obj == nullptr)
        return;
    auto& map = registry();
    if (obj->HasID()) {
        // Only obj's own entry: another object may have been registered under its identifier.
        auto found = map.find(obj->GetID());
        if (found != map.end() && found->second == obj)
            map.erase(found);
        obj->SetID(0);
        return;
    }
    for (const auto& entry : map)
        if (entry.second == obj)
            fw_programmer_message("Object found in registry without an ID.", kSourcePath, 60);
}
