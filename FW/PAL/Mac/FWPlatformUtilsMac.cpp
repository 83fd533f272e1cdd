// The platform services of FWPlatformUtils over the host layer.
#include "FWPlatformUtils.h"

#include "FWApp.h"
#include "FWMonitor.h"
#include "FS_FileUtil.h"
#include "FS_UtilPAC.h"
#include "HostAlias.h"
#include "HostBundles.h"
#include "HostClock.h"
#include "HostInput.h"
#include "HostMemory.h"
#include "HostSound.h"
#include "HostSystemSettings.h"
#include "LoadMachOFunction.h"

namespace {

// Modifier bits of FWGetModifiers and the keys they come from.
struct ModifierKey {
    uint16_t keyCode;
    uint16_t bit;
};
constexpr ModifierKey kModifierKeys[] = {
    {kVK_Space, 0x0002},  {kVK_Command, 0x0100}, {kVK_Shift, 0x0200},
    {kVK_CapsLock, 0x0400}, {kVK_Option, 0x0800},  {kVK_Control, 0x1000},
};

bool keyIsDown(const KeyMap keys, uint16_t keyCode)
{
    if (keyCode >= 128)
        return false;
    return (keys[keyCode / 8] >> (keyCode % 8)) & 1;
}

void showSystemCursor(int16_t id)
{
    CursHandle cursor = GetCursor(id);
    if (cursor != nullptr)
        SetCursor(*cursor);
}

using MoveCursorFunction = CGError (*)(CGDirectDisplayID, CGPoint);

} // namespace

void FWSetCursor(CursorStyle style)
{
    if (!FWApp::AppInForeground())
        return;
    switch (style) {
    case kArrowCursor:
        InitCursor();
        break;
    case kWatchCursor:
        showSystemCursor(watchCursor);
        break;
    case kIBeamCursor:
        showSystemCursor(iBeamCursor);
        break;
    }
}

void FWSetCursor(int style)
{
    FWSetCursor(CursorStyle(style));
}

void FWSetCursor(CCrsrHandle colourCursor)
{
    if (colourCursor == nullptr) {
        FWSetCursor(kArrowCursor);
        return;
    }
    if (!FWApp::AppInForeground())
        return;
    SetCCursor(colourCursor);
}

CCrsrHandle FWGetCursor(int32_t id)
{
    return GetCCursor(int16_t(id));
}

void FWDisposeCursor(CCrsrHandle)
{
}

bool FWIsPressed(uint16_t keyCode)
{
    // Secure input would hide the keys from us; once switched off it stays off.
    if (IsSecureEventInputEnabled())
        DisableSecureEventInput();
    KeyMap keys;
    GetKeys(keys);
    return keyIsDown(keys, keyCode);
}

uint16_t FWGetModifiers()
{
    KeyMap keys;
    GetKeys(keys);
    uint16_t modifiers = 0;
    for (const ModifierKey& key : kModifierKeys)
        if (keyIsDown(keys, key.keyCode))
            modifiers |= key.bit;
    return modifiers;
}

bool FWIsMouseDown()
{
    return Button();
}

bool FWIsMouseStillDown()
{
    return WaitMouseUp();
}

void FWGetMousePosition(FWPoint& where)
{
    Point global;
    GetGlobalMouse(&global);
    where.v = global.v;
    where.h = global.h;
}

void FWSetMousePosition(const FWPoint& where)
{
    // Looked up until found; after that the address is kept.
    static MoveCursorFunction sMoveCursor = nullptr;
    if (sMoveCursor == nullptr)
        sMoveCursor = reinterpret_cast<MoveCursorFunction>(
            LoadMachOFunction("CGDisplayMoveCursorToPoint", "ApplicationServices.framework"));
    if (sMoveCursor == nullptr)
        return;
    sMoveCursor(CGMainDisplayID(), CGPoint{double(where.h), double(where.v)});
}

void FWSystemBeep(int32_t duration)
{
    SysBeep(int16_t(duration));
}

void FWDelayTicks(int32_t ticks)
{
    if (ticks <= 0)
        return;
    uint32_t finalTicks;
    Delay(uint32_t(ticks), &finalTicks);
}

uint32_t FWDoubleTime()
{
    return GetDblTime();
}

uint32_t FWTextBlinkTime()
{
    return GetCaretTime();
}

FWArgb32 FWTextHiliteColor()
{
    RGBColor hilite;
    LMGetHiliteRGB(&hilite);
    FWArgb32 colour;
    Assign(colour, hilite);
    return colour;
}

void Assign(RGBColor& out, const FWArgb32& in)
{
    out.red = uint16_t(in.r * 257);
    out.green = uint16_t(in.g * 257);
    out.blue = uint16_t(in.b * 257);
}

void Assign(FWArgb32& out, RGBColor in)
{
    out.Set(255, in.red >> 8, in.green >> 8, in.blue >> 8);
}

void FWGetAppRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    FWMonitor* main = FWMonitor::GetMainMonitor();
    *rect = main != nullptr ? main->UsableBounds() : FWRect();
}

int FSSpecToFileReference(const FSSpec& spec, FileReference& file)
{
    Corvel::FS_Locator locator;
    int err = Corvel::FS_UtilPAC::FSSpecToLocator(spec, locator);
    if (err != 0)
        return err;
    // The whole path, however long: a path cut to a fixed length would name another file.
    FWDynamicString path;
    Corvel::FS_FileUtil::LocatorToPathName(locator, path);
    file.SetPath(path.GetCString());
    return 0;
}

OSErr FileReferenceToFSSpec(const FileReference& file, FSSpec& spec)
{
    uint32_t length = file.GetCurrLength();
    // The alias takes a 16-bit length: a longer path cannot be named, not even in part.
    if (length == 0 || length > 32767)
        return -1;
    AliasHandle alias = nullptr;
    if (NewAliasMinimalFromFullPath(int16_t(length), file.GetCString(), nullptr, nullptr, &alias) != noErr)
        return -1;
    Boolean changed;
    OSErr err = ResolveAlias(nullptr, alias, &spec, &changed);
    DisposeHandle(alias);
    // A file still to be made is named all the same.
    return err == fnfErr ? OSErr(noErr) : err;
}
