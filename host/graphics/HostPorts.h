// Graphics ports and off-screen worlds, and the classic drawing calls that act on the current
// port: pen, colours, clipping, rectangles, ovals, rounded rectangles, arcs, copying of pixels
// with scaling and masks, scrolling and text. A port owns its pixel store (HostPixels) and its
// drawing state; the calls turn that state into HostRaster and HostFonts work.
//
// Coordinates are the port's local coordinates: the port rectangle is the bounds of its store,
// so a world made over (10, 10, 20, 20) draws its top-left pixel at (10, 10). Every call clips
// to the port (its clip region, visible region, port rectangle and store); huge, inverted or
// empty rectangles draw nothing outside it. With no current port the calls do nothing.
#pragma once

#include "HostPixels.h"
#include "HostRaster.h"
#include "HostRegion.h"
#include "HostFonts.h"

#include <cstdint>
#include <vector>

// The device a port draws for: the main device stands for the virtual screen; every off-screen
// world has a device of its own.
struct HostDevice {
    Rect bounds;
    int16_t depth;
};

// Transfer modes (the classic numbers). Pen modes: copy and or paint the fore colour, xor
// inverts, bic and not-copy paint the back colour, blend mixes the fore colour in by the
// operation colour. Copy modes: blend mixes the source in; xor flips the bits the source sets;
// every other mode copies.
enum : int16_t {
    kModeCopy = 0,
    kModeOr = 1,
    kModeXor = 2,
    kModeBic = 3,
    kModeNotCopy = 4,
    kModePatCopy = 8,
    kModePatOr = 9,
    kModePatXor = 10,
    kModePatBic = 11,
    kModeNotPatCopy = 12,
    kModeBlend = 32,
    kModeDitherCopy = 64,
};

// The highlight flag: while bit 7 of the highlight mode is clear, the next InvertRect exchanges
// the back colour and the highlight colour instead of inverting, and sets the bit again.
enum : uint8_t { kHiliteModeNormal = 0x80 };

// The one colour table worlds can take: the 8-bit grey table (white at index 0, black at 255).
enum : int16_t { kGreyTableID = 40 };

class HostPort;
using GrafPtr = HostPort*;
using CGrafPtr = HostPort*;
using GWorldPtr = HostPort*;
using GDHandle = HostDevice*;
using BitMap = HostPixelMap;
using PixMapHandle = HostPixelMap*;
struct HostColorTable;
using CTabHandle = const HostColorTable*;

struct FontInfo {
    int16_t ascent;
    int16_t descent;
    int16_t widMax;
    int16_t leading;
};

// A graphics port: a pixel store with the drawing state the classic calls set and read.
class HostPort {
public:
    // Creates a port with a zero-filled store of the given depth (1, 8 or 32) over bounds; the
    // port rectangle and the visible region are the bounds, the clip is wide open. Null, with
    // the reason in *err (paramErr, memFullErr), when the store cannot be made. Windows get
    // their ports this way; NewGWorld makes off-screen worlds with it. Ports are deleted.
    static HostPort* Create(const Rect& bounds, int16_t depth, OSErr* err);
    // Whether the pointer is a live port (disposed ports are not).
    static bool IsLive(const HostPort* port);
    // The live port whose store this is, or null.
    static HostPort* OwnerOf(const HostPixelMap* pixels);
    ~HostPort();
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    // Gives the port a new store over bounds (same depth), keeping the pixels the old and new
    // bounds share and filling the rest with fill (a 32-bit colour). The visible region becomes
    // the new bounds. On failure (paramErr, memFullErr) the port is unchanged. Windows resize so.
    OSErr Resize(const Rect& bounds, uint32_t fill);

    // Pixels and geometry.
    HostPixelMap& Pixels() { return mPixels; }
    const Rect& PortRect() const { return mPixels.Bounds(); }
    HostDevice* Device() { return &mDevice; }
    bool IsWorld() const { return mIsWorld; }
    void SetIsWorld(bool world) { mIsWorld = world; }

    // Clipping: the clip and visible regions are kept in local coordinates; what drawing obeys
    // is their overlap with the port rectangle, in store pixels.
    const HostRegion& Clip() const { return mClip; }
    void SetClip(const HostRegion& clip);
    const HostRegion& Visible() const { return mVisible; }
    void SetVisible(const HostRegion& visible);
    const HostRegion& EffectiveClip();
    // The effective clip in store pixels, for HostRaster.
    const std::vector<HostBox>& ClipBoxes();
    // A rectangle of local coordinates in store pixels.
    HostBox StoreBox(const Rect& rect) const;

    // Drawing state, as the calls set it.
    struct State {
        Point pen{0, 0};
        Point penSize{1, 1};
        int16_t penMode = kModePatCopy;
        RGBColor fore{0, 0, 0};
        RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
        RGBColor hilite{0x9999, 0xCCCC, 0xFFFF};
        RGBColor opColor{0x7FFF, 0x7FFF, 0x7FFF};
        int16_t textFont = 0;
        int16_t textSize = 0;
        uint8_t textFace = 0;
        int16_t textMode = kModeOr;
        // Erasing tiles this world's pixels, aligned to the port's origin, instead of painting
        // the back colour; null paints the colour.
        HostPort* backTexture = nullptr;
    };
    State& GetState() { return mState; }

    // The area drawn since the last ClearChanged, in local coordinates (empty when none): what a
    // compositor has to take over.
    Rect ChangedBounds() const;
    void ClearChanged();
    void NoteChanged(const HostBox& storeBox);

private:
    HostPort() = default;
    void clipChanged();

    HostPixelMap mPixels;
    HostDevice mDevice{{0, 0, 0, 0}, 32};
    bool mIsWorld = false;
    HostRegion mClip;
    HostRegion mVisible;
    bool mEffectiveValid = false;
    HostRegion mEffective;
    std::vector<HostBox> mClipBoxes;
    State mState;
    HostBox mChanged;
};

// --- Current port and device -------------------------------------------------------------

void SetPort(GrafPtr port);
void GetPort(GrafPtr* port);
// The current port and its device. Setting a world makes its own device current; for any other
// port the given device is used, or the main device when none is given.
void GetGWorld(CGrafPtr* port, GDHandle* device);
void SetGWorld(CGrafPtr port, GDHandle device);
GDHandle GetMainDevice();
GDHandle GetGDevice();
void SetGDevice(GDHandle device);
Boolean IsValidPort(CGrafPtr port);

// --- Off-screen worlds and their pixels ---------------------------------------------------

// A world of depth 1, 8 or 32 over bounds. Pixels are always native words in local memory, so
// flags are accepted and not read; a depth-8 world uses the grey table whatever table is given.
// paramErr for another depth or an empty rectangle, memFullErr when the store is too large.
OSErr NewGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle table, GDHandle device,
                uint32_t flags);
// Disposing of the current world makes no port current; ports tiling it stop doing so.
void DisposeGWorld(GWorldPtr world);
GDHandle GetGWorldDevice(GWorldPtr world);
PixMapHandle GetGWorldPixMap(GWorldPtr world);
PixMapHandle GetPortPixMap(CGrafPtr port);
// Pixels never move, so locking always succeeds.
Boolean LockPixels(PixMapHandle pixels);
void UnlockPixels(PixMapHandle pixels);
Ptr GetPixBaseAddr(PixMapHandle pixels);
int32_t GetPixRowBytes(PixMapHandle pixels);
int16_t GetPixDepth(PixMapHandle pixels);
Rect* GetPixBounds(PixMapHandle pixels, Rect* bounds);
BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
Rect* GetPortBounds(CGrafPtr port, Rect* bounds);
// kGreyTableID gives the grey table; other ids give null.
CTabHandle GetCTable(int16_t id);
void DisposeCTable(CTabHandle table);

// --- Clipping and visible region ------------------------------------------------------------

void ClipRect(const Rect* rect);
void SetClip(RgnHandle rgn);
void GetClip(RgnHandle rgn);
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle rgn);
void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn);

// --- Pen and colours -----------------------------------------------------------------------

void MoveTo(int16_t h, int16_t v);
// Draws a line from the pen to (h, v) with the pen's size and mode; the pen moves there.
void LineTo(int16_t h, int16_t v);
void GetPen(Point* pt);
void PenSize(int16_t width, int16_t height);
void PenMode(int16_t mode);
// Pen size 1 x 1, copy mode.
void PenNormal();
Point* GetPortPenLocation(CGrafPtr port, Point* pt);
Point* GetPortPenSize(CGrafPtr port, Point* size);
int16_t GetPortPenMode(CGrafPtr port);

void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
void GetForeColor(RGBColor* color);
void GetBackColor(RGBColor* color);
void HiliteColor(const RGBColor* color);
void GetPortHiliteColor(CGrafPtr port, RGBColor* color);
// Weights of the blend mode per channel (0 keeps the destination, 0xFFFF takes the source).
void OpColor(const RGBColor* color);
uint8_t LMGetHiliteMode();
void LMSetHiliteMode(uint8_t mode);
// Erasing in the port tiles the texture world (null: paints the back colour again).
void SetPortBackTexture(CGrafPtr port, GWorldPtr texture);

// --- Shapes ----------------------------------------------------------------------------------

// Frame draws the outline inside the shape with the pen's size and mode; Paint fills with the
// pen's mode; Erase fills with the back colour (or the back texture); Invert inverts (or, in
// highlight mode, exchanges the back and highlight colours).
void FrameRect(const Rect* rect);
void PaintRect(const Rect* rect);
void EraseRect(const Rect* rect);
void InvertRect(const Rect* rect);
void FrameOval(const Rect* rect);
void PaintOval(const Rect* rect);
void EraseOval(const Rect* rect);
void InvertOval(const Rect* rect);
void FrameRoundRect(const Rect* rect, int16_t ovalWidth, int16_t ovalHeight);
void PaintRoundRect(const Rect* rect, int16_t ovalWidth, int16_t ovalHeight);
void EraseRoundRect(const Rect* rect, int16_t ovalWidth, int16_t ovalHeight);
void InvertRoundRect(const Rect* rect, int16_t ovalWidth, int16_t ovalHeight);
// Angles in degrees from twelve o'clock, clockwise, stretched to the rectangle.
void FrameArc(const Rect* rect, int16_t startAngle, int16_t arcAngle);
void PaintArc(const Rect* rect, int16_t startAngle, int16_t arcAngle);
void EraseArc(const Rect* rect, int16_t startAngle, int16_t arcAngle);
void InvertArc(const Rect* rect, int16_t startAngle, int16_t arcAngle);
// One pixel in the given colour, whatever the pen mode; reading gives black outside the port.
void SetCPixel(int16_t h, int16_t v, const RGBColor* color);
void GetCPixel(int16_t h, int16_t v, RGBColor* color);

// --- Copying and scrolling ------------------------------------------------------------------

// Copies srcRect of src into dstRect of dst, scaled when the sizes differ (see HostRaster::Copy).
// When dst is the current port's store, the port's clip applies; maskRgn, in dst's coordinates,
// limits further. A 1-bit source takes the port's fore colour for set pixels and its back colour
// for clear ones; blend uses the port's operation colour.
void CopyBits(const BitMap* src, BitMap* dst, const Rect* srcRect, const Rect* dstRect, int16_t mode,
              RgnHandle maskRgn);
// The same in copy mode, writing only where mask (usually 1-bit, maskRect mapped onto dstRect) is set.
void CopyMask(const BitMap* src, const BitMap* mask, BitMap* dst, const Rect* srcRect, const Rect* maskRect,
              const Rect* dstRect);
void CopyDeepMask(const BitMap* src, const BitMap* mask, BitMap* dst, const Rect* srcRect, const Rect* maskRect,
                  const Rect* dstRect, int16_t mode, RgnHandle maskRgn);
// Moves the pixels of rect (within the clip) by (dh, dv), erases what they uncover, and gives
// that uncovered area in updateRgn (when not null).
void ScrollRect(const Rect* rect, int16_t dh, int16_t dv, RgnHandle updateRgn);

// --- Text -------------------------------------------------------------------------------------

// The port's font: number, size in points (0 means 12), face bits (kHostFace...), and text mode
// (or and copy draw the ink in the fore colour, copy first erasing the text's box; xor inverts;
// bic draws in the back colour).
void TextFont(int16_t font);
void TextSize(int16_t size);
void TextFace(int16_t face);
void TextMode(int16_t mode);
int16_t GetPortTextFont(CGrafPtr port);
int16_t GetPortTextSize(CGrafPtr port);
int16_t GetPortTextFace(CGrafPtr port);
int16_t GetPortTextMode(CGrafPtr port);

// Draws count bytes of text from text + first at the pen (baseline at the pen's v); the pen
// moves right by their width.
void DrawText(const void* text, int16_t first, int16_t count);
// Draws a length-prefixed string.
void DrawString(ConstStr255Param text);
int16_t TextWidth(const void* text, int16_t first, int16_t count);
int16_t StringWidth(ConstStr255Param text);
void GetFontInfo(FontInfo* info);
// Shortens the text in place to fit width pixels, ending it with an ellipsis when cut; *length
// receives the new length. 0 when the text fitted, 1 when it was cut, paramErr for null pointers.
int16_t TruncText(int16_t width, Ptr text, int16_t* length);
// Where the line starting at start ends when it must fit width pixels (HostFonts::BreakLine).
int32_t StyledLineBreak(const char* text, int32_t length, int32_t start, int32_t width);
// The length of text without its trailing spaces, tabs and line ends.
int32_t VisibleLength(const char* text, int32_t length);
