// Drag and drop within the program. A drag holds items, each with typed flavours whose data are
// given at once or promised (fetched from the drag's send-data procedure when first read).
// TrackDrag follows the mouse from the event that started it until the button goes up (a drop)
// or Escape is pressed (a cancel), showing the drag image or outline in an overlay window, and
// tells the installed tracking handlers as the drag enters, moves within and leaves windows;
// on a drop over a window the receive handlers decide whether it is accepted.
#pragma once

#include "HostEvents.h"
#include "HostPorts.h"
#include "HostRegion.h"
#include "HostTypes.h"
#include "HostWindows.h"

#include <cstdint>

struct HostDrag;
using DragRef = HostDrag*;
using DragItemRef = uint32_t;
using FlavorType = OSType;
using FlavorFlags = uint32_t;
using DragAttributes = uint32_t;
using DragImageFlags = uint32_t;
using DragTrackingMessage = int16_t;

enum : DragTrackingMessage {
    kDragTrackingEnterHandler = 1,
    kDragTrackingEnterWindow = 2,
    kDragTrackingInWindow = 3,
    kDragTrackingLeaveWindow = 4,
    kDragTrackingLeaveHandler = 5,
};

enum : DragAttributes {
    kDragHasLeftSenderWindow = 1u << 0,
    kDragInsideSenderApplication = 1u << 1,
    kDragInsideSenderWindow = 1u << 2,
};

// The image is shown with its region (the only way the host shows one).
enum : DragImageFlags { kDragRegionAndImage = 1u << 4 };

enum : OSErr {
    badDragRefErr = -1850,
    badDragItemErr = -1851,
    badDragFlavorErr = -1852,
    duplicateFlavorErr = -1853,
    cantGetFlavorErr = -1854,
    duplicateHandlerErr = -1855,
    dragNotAcceptedErr = -1857,
};

// Handlers. A handler installed for a null window serves every window.
using DragTrackingHandlerUPP = OSErr (*)(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag);
using DragReceiveHandlerUPP = OSErr (*)(WindowRef window, void* refCon, DragRef drag);
using DragSendDataUPP = OSErr (*)(FlavorType type, void* refCon, DragItemRef item, DragRef drag);

DragTrackingHandlerUPP NewDragTrackingHandlerUPP(DragTrackingHandlerUPP handler);
DragReceiveHandlerUPP NewDragReceiveHandlerUPP(DragReceiveHandlerUPP handler);
DragSendDataUPP NewDragSendDataUPP(DragSendDataUPP proc);
void DisposeDragTrackingHandlerUPP(DragTrackingHandlerUPP handler);
void DisposeDragReceiveHandlerUPP(DragReceiveHandlerUPP handler);
void DisposeDragSendDataUPP(DragSendDataUPP proc);

// duplicateHandlerErr when the same handler is installed for the window already; handlerNotFoundErr
// when removing one that is not.
OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon);
OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon);
OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window);
OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window);

// --- Building a drag -------------------------------------------------------------------------

OSErr NewDrag(DragRef* drag);
OSErr DisposeDrag(DragRef drag);
// Adds the flavour to the item (made on first use). Null data promise the flavour: its bytes
// come from the send-data procedure when a receiver reads it. duplicateFlavorErr for a type the
// item has.
OSErr AddDragItemFlavor(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                        FlavorFlags flags);
// Supplies (or replaces) a flavour's bytes; from a send-data procedure for a promised flavour.
OSErr SetDragItemFlavorData(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                            uint32_t dataOffset);
OSErr SetDragItemBounds(DragRef drag, DragItemRef item, const Rect* bounds);
OSErr SetDragSendProc(DragRef drag, DragSendDataUPP proc, void* refCon);
// The image (a 32-bit world, copied) shown at the image region's place, moved with the mouse,
// offset by offset. Without an image the drag region passed to TrackDrag is framed.
OSErr SetDragImage(DragRef drag, PixMapHandle image, RgnHandle imageRgn, Point offset, DragImageFlags flags);

// Runs the drag: noErr after a drop (accepted, or over no window), userCanceledErr after Escape or
// when no input can come any more (headless with nothing injected), a receive handler's error
// when it refused the drop. dragRgn: the outline, global.
OSErr TrackDrag(DragRef drag, const EventRecord* startEvent, RgnHandle dragRgn);

// --- Reading a drag (handlers) --------------------------------------------------------------

OSErr CountDragItems(DragRef drag, uint16_t* count);
// index from 1.
OSErr GetDragItemReferenceNumber(DragRef drag, uint16_t index, DragItemRef* item);
OSErr CountDragItemFlavors(DragRef drag, DragItemRef item, uint16_t* count);
OSErr GetFlavorType(DragRef drag, DragItemRef item, uint16_t index, FlavorType* type);
OSErr GetFlavorDataSize(DragRef drag, DragItemRef item, FlavorType type, Size* size);
// Copies up to *size bytes from dataOffset into data and sets *size to the bytes copied.
OSErr GetFlavorData(DragRef drag, DragItemRef item, FlavorType type, void* data, Size* size, uint32_t dataOffset);
OSErr GetDragAttributes(DragRef drag, DragAttributes* attributes);
// The mouse and the pinned mouse, global.
OSErr GetDragMouse(DragRef drag, Point* mouse, Point* globalPinnedMouse);
// The highlight of a receiving window (the region in the window's local coordinates).
OSErr ShowDragHilite(DragRef drag, RgnHandle hiliteFrame, Boolean inside);
OSErr HideDragHilite(DragRef drag);

// --- Test interface ----------------------------------------------------------------------------

// The window whose highlight is shown (null when none) and its highlighted bounds (local).
WindowRef HostDragHiliteWindow(Rect* bounds);
// Where the drag's image or outline was last shown (global) and whether an image was shown.
Rect HostDragLastFeedback(bool* image);
