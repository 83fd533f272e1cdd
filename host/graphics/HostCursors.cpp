// Cursor state of the host and the cursor records it hands out.
#include "HostCursors.h"

#include <map>
#include <memory>

namespace {

HostCursorState sCurrent = {HostCursorKind::Arrow, 0};
uint32_t sChanges = 0;

// A record and the master pointer that makes it a handle; both stay put for the whole run.
template <typename T>
struct HandleRecord {
    T record;
    T* master;
};

template <typename T>
T** handleFor(std::map<int16_t, std::unique_ptr<HandleRecord<T>>>& table, int16_t id)
{
    auto& slot = table[id];
    if (!slot) {
        slot = std::make_unique<HandleRecord<T>>();
        slot->record.id = id;
        slot->master = &slot->record;
    }
    return &slot->master;
}

std::map<int16_t, std::unique_ptr<HandleRecord<Cursor>>>& systemCursors()
{
    static std::map<int16_t, std::unique_ptr<HandleRecord<Cursor>>> sTable;
    return sTable;
}

std::map<int16_t, std::unique_ptr<HandleRecord<CCrsr>>>& colourCursors()
{
    static std::map<int16_t, std::unique_ptr<HandleRecord<CCrsr>>> sTable;
    return sTable;
}

void show(HostCursorKind kind, int16_t id)
{
    sCurrent = {kind, id};
    ++sChanges;
}

} // namespace

void InitCursor()
{
    show(HostCursorKind::Arrow, 0);
}

CursHandle GetCursor(int16_t cursorID)
{
    if (cursorID < iBeamCursor || cursorID > watchCursor)
        return nullptr;
    return handleFor(systemCursors(), cursorID);
}

void SetCursor(const Cursor* cursor)
{
    if (cursor == nullptr)
        return;
    show(HostCursorKind::System, cursor->id);
}

CCrsrHandle GetCCursor(int16_t cursorID)
{
    return handleFor(colourCursors(), cursorID);
}

void SetCCursor(CCrsrHandle cursor)
{
    if (cursor == nullptr || *cursor == nullptr)
        return;
    show(HostCursorKind::Colour, (*cursor)->id);
}

void DisposeCCursor(CCrsrHandle)
{
}

HostCursorState HostCurrentCursor()
{
    return sCurrent;
}

uint32_t HostCursorChangeCount()
{
    return sChanges;
}

void HostResetCursor()
{
    sCurrent = {HostCursorKind::Arrow, 0};
    sChanges = 0;
}
