// Windows of the virtual screen. A window is a plain rectangle whose every pixel its owner draws
// into the window's own 32-bit port; the host stacks windows in layers (normal, floating, modal,
// pop-up, and an overlay above all for drag outlines), composites their ports into the screen
// (HostScreen), keeps each window's update region and answers which window is where.
//
// Coordinates: a window's bounds are global (screen) coordinates; its port's local coordinates
// put (0, 0) at the window's top-left. The host draws no frame: structure and content are the
// same rectangle. Every call accepts null or disposed windows and then does nothing or answers
// its neutral value (null, false, errInvalidWindowRef).
#pragma once

#include "HostPorts.h"
#include "HostRegion.h"

#include <cstdint>

struct HostWindow;
using WindowRef = HostWindow*;
using WindowPtr = HostWindow*;
using WindowClass = uint32_t;
using WindowAttributes = uint32_t;
using WindowRegionCode = uint16_t;
using WindowPartCode = int16_t;
using SRefCon = void*;

struct HostWindowGroup;
using WindowGroupRef = HostWindowGroup*;

enum : OSStatus {
    errInvalidWindowRef = -5600, // null or disposed window
};

// The window classes the framework asks for, and the layer each one lives in by default.
enum : WindowClass {
    kHostModalWindowClass = 4,    // modal layer
    kHostFloatingWindowClass = 5, // floating layer
    kHostDocumentWindowClass = 6, // normal layer
    kHostPlainWindowClass = 13,   // pop-up layer: tips, menus; never the active window
    kHostOverlayWindowClass = 14, // overlay above everything, even the menu bar; transparent
                                  // where its pixels have alpha 0, and never hit by the mouse
};

// Regions of a window asked of GetWindowBounds / SetWindowBounds. Both are the whole window.
enum : WindowRegionCode {
    kWindowStructureRgn = 32,
    kWindowContentRgn = 33,
};

// Where a point lies (FindWindow). Windows have no frame parts: a window answers inContent.
enum : WindowPartCode {
    inDesk = 0,
    inNoWindow = 0,
    inMenuBar = 1,
    inContent = 3,
    inDrag = 4,
    inGrow = 5,
    inGoAway = 6,
    inZoomIn = 7,
    inZoomOut = 8,
};

// A window definition. The host draws nothing of any definition, so it is only recorded.
struct WindowDefSpec {
    uint32_t defType;
    int16_t procID;
};
enum : uint32_t { kWindowDefProcID = 2 };
enum : int16_t { kWindowPlainBoxProc = 2 };

// --- Creation ------------------------------------------------------------------------------

// Makes a hidden window of the class at bounds (global), at the front of its layer, with a port
// of its size filled with its content colour (white; an overlay's port is transparent).
// paramErr without bounds or out, memFullErr when the port cannot be made (*window is then
// null). An empty rectangle gives a window of no size, which shows nothing and is never hit.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* window);
OSStatus CreateCustomWindow(const WindowDefSpec* def, WindowClass windowClass, WindowAttributes attributes,
                            const Rect* bounds, WindowRef* window);
// Hides the window and frees it and its port; the reference is invalid afterwards.
void DisposeWindow(WindowRef window);

// --- Visibility and stacking ---------------------------------------------------------------

// Show and hide never change the stacking. What becomes visible of a window is added to its
// update region.
void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void ShowHide(WindowRef window, Boolean show);
Boolean IsWindowVisible(WindowRef window);
// Moves the window to the front of its layer. The active window is always the front visible
// window of the normal and modal layers (classes other than floating, plain and overlay); the
// event wait reports each change as deactivate and activate events.
void SelectWindow(WindowRef window);
void BringToFront(WindowRef window);
// Places the window just behind behindWindow, or at the back of its layer for null. A window
// never leaves its layer: behind a window of a higher layer means the front of its own, of a
// lower layer the back of its own.
void SendBehind(WindowRef window, WindowRef behindWindow);

// The layers, as window groups: the group of a class is the layer that class lives in.
WindowGroupRef GetWindowGroupOfClass(WindowClass windowClass);
// Moves the window into the group's layer, at its front.
OSStatus SetWindowGroup(WindowRef window, WindowGroupRef group);
WindowGroupRef GetWindowGroup(WindowRef window);

// The front visible window of any layer but the overlay; null when none.
WindowRef FrontWindow();
// The active window (see SelectWindow); null when none.
WindowRef FrontNonFloatingWindow();
// The stacking order from the front, visible or not, over every layer but the overlay.
WindowRef GetWindowList();
WindowRef GetNextWindow(WindowRef window);

// The window under a global point: inMenuBar (window null) in the menu-bar strip, inContent with
// the front visible window holding the point, else inDesk.
WindowPartCode FindWindow(Point where, WindowRef* window);

// --- Geometry ------------------------------------------------------------------------------

// Moves the window's top-left to (h, v); front also selects it.
void MoveWindow(WindowRef window, int16_t h, int16_t v, Boolean front);
// Resizes the port, keeping the pixels it had where they still fit; what is new is filled with
// the content colour and, with update, added to the update region. Negative sizes count as 0;
// a size the port cannot take leaves the window as it was.
void SizeWindow(WindowRef window, int16_t width, int16_t height, Boolean update);
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* bounds);
// Moves and sizes in one step (as MoveWindow and SizeWindow with update).
OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds);

// Conversions between global points and the local coordinates of the current port (a window's
// port: its top-left is local (0, 0); any other port: no change).
void GlobalToLocal(Point* point);
void LocalToGlobal(Point* point);

// --- Ports, drawing and updates ------------------------------------------------------------

CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);
void SetPortWindowPort(WindowRef window);

// The update region (local coordinates) collects what must be redrawn; the event wait sends an
// update event for every visible window whose region is not empty, front to back.
OSStatus InvalWindowRect(WindowRef window, const Rect* bounds);
OSStatus InvalWindowRgn(WindowRef window, RgnHandle region);
OSStatus ValidWindowRect(WindowRef window, const Rect* bounds);
OSStatus ValidWindowRgn(WindowRef window, RgnHandle region);
// BeginUpdate limits drawing in the window's port to its update region and empties the region;
// EndUpdate lifts the limit. Disposing of the window between the two is safe.
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);
// Takes what was drawn in the port (and the given area, local; null: the whole port) onto the
// screen now, and shows it when a display is attached.
void QDFlushPortBuffer(CGrafPtr port, RgnHandle region);

// --- Window data -------------------------------------------------------------------------------

void SetWRefCon(WindowRef window, SRefCon data);
SRefCon GetWRefCon(WindowRef window);
// Titles are Mac Roman bytes; the host shows none of them but keeps them.
void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);
// The colour the port is filled with when made, when grown and, until the window is first
// shown, when the colour is set.
OSStatus SetWindowContentColor(WindowRef window, const RGBColor* color);
OSStatus GetWindowContentColor(WindowRef window, RGBColor* color);
OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese);
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes);
// The highlight flag: the host sets it on activation changes and shows nothing of it.
void HiliteWindow(WindowRef window, Boolean hilite);
Boolean IsWindowHilited(WindowRef window);

// --- Tracking of window parts --------------------------------------------------------------
// Windows have no close, zoom or grow parts of their own; these follow the button until it is
// released. TrackGoAway and TrackBox answer whether it was released inside the window;
// GrowWindow answers 0 (no change: windows are sized by their owners).
Boolean TrackGoAway(WindowRef window, Point start);
Boolean TrackBox(WindowRef window, Point start, WindowPartCode part);
int32_t GrowWindow(WindowRef window, Point start, const Rect* sizeLimits);

// --- Host interface (back ends and tests) ------------------------------------------------

// Whether the reference names a live window.
bool HostIsLiveWindow(WindowRef window);
// The update region in local coordinates (empty for a dead window).
HostRegion HostWindowUpdateRegion(WindowRef window);
// Disposes of every window.
void HostDisposeAllWindows();
// Host layers that keep data per window (event targets, controls) are told, once each, when a
// window is disposed, before it is freed.
using HostWindowGoneObserver = void (*)(WindowRef window);
void HostAddWindowGoneObserver(HostWindowGoneObserver observer);
