// The one object through which the framework draws. A context targets a window (drawing in the
// window's content coordinates), a view (in the view's parent coordinates inside its window) or
// an off-screen ImageBuffer (in the image's own pixel coordinates). It keeps the requested
// state (clip, colours, pen, font) itself and hands it to the platform port lazily, only what
// an operation needs and only what differs (CMacDCStuff).
//
// A context without a target (default constructed, or over an invalid image) has no platform
// state: every drawing call does nothing and every query gives its neutral value (black, copy
// mode, the default font, an all-zero rectangle).
#pragma once

#include "FWArgb32.h"
#include "FWFont.h"
#include "FWPoint.h"
#include "FWRect.h"
#include "HostPorts.h"

#include <cstdint>

class CMacDCStuff;
class FWString;
class FWView;
class FWWindow;
class ImageBuffer;

// When set, text is read as UTF-8 and drawn in the system script's font at 9 points; nothing
// in the system sets it.
extern bool SystemIsInternational;

class FWDrawContext {
public:
    // 0 copies; any other value draws by exclusive-or.
    enum PenModeType : int32_t { kPenCopy = 0, kPenXor = 1 };

    // Construction and target
    FWDrawContext();
    explicit FWDrawContext(FWWindow* window);
    explicit FWDrawContext(FWView* view);
    explicit FWDrawContext(ImageBuffer* image);
    virtual ~FWDrawContext();
    FWDrawContext(const FWDrawContext&) = delete;
    FWDrawContext& operator=(const FWDrawContext&) = delete;

    // Retargets the context to an image (null: no target).
    void SetImageBuffer(ImageBuffer* image);
    // Clip wide open, copy mode, black on application colour 0, pen at (0, 0), default font.
    void SetDefaultState();
    FWWindow* Window() const { return mWindow; }

    // Colours: the setters return the previous colour.
    FWArgb32 SetForeColor(const FWArgb32& color);
    FWArgb32 SetForeColor(int red, int green, int blue);
    FWArgb32 SetBackColor(const FWArgb32& color);
    FWArgb32 GetForeColor() const;
    FWArgb32 GetBackColor() const;

    // Pen
    void SetPenMode(PenModeType mode);
    PenModeType GetPenMode() const;
    void PenNormal() { SetPenMode(kPenCopy); }
    void MoveTo(int32_t h, int32_t v);
    FWPoint GetPen() const;

    // Font (null changes nothing). The field setters copy the current font and change one field.
    void SetFont(const FWFont* font);
    FWFont GetFont() const;
    void SetFontType(int16_t type);
    void SetFontSize(int16_t size);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);

    // Clipping. SetClipRect (null: wide open) returns the previous requested rectangle; for a
    // window the effective clip is the request cut to the content rectangle. GetClipRect gives
    // the effective clip in this context's coordinates.
    FWRect SetClipRect(const FWRect* rect);
    void GetClipRect(FWRect* rect) const;
    // The visible area (a window's visible region, an image's bounds) in this context's
    // coordinates; returns rect.
    FWRect* GetVisRect(FWRect* rect) const;
    // Puts a window's drawing on the screen now.
    void Flush();

    // Lines and shapes
    void LineTo(int32_t h, int32_t v);
    void PaintPixel(int32_t h, int32_t v);
    void FrameRect(const FWRect* rect);
    // Null paints or erases everything: a window's content, an image's whole port.
    void PaintRect(const FWRect* rect);
    void PaintRect(const FWRect* rect, const FWArgb32& color);
    void EraseRect(const FWRect* rect);
    void EraseRect(const FWRect* rect, const FWArgb32& color);
    // A sunken bevel on the rectangle's own outer pixels, with a black inner frame when framed.
    void InsetRect(const FWRect* rect, bool framed);
    // A raised bevel: top and left half way to white, bottom and right half way to black; a
    // null colour uses application colours 1 and 2.
    void ExtrudedRect(const FWRect* rect, const FWArgb32* color);
    // Exchanges the two colours inside the rectangle.
    void HiliteRect(const FWRect* rect, const FWArgb32& hilite, const FWArgb32& back);
    // Moves the pixels by (dh, dv); only one of them may be non-zero. exposed gets the bounds
    // of what was uncovered; the second form invalidates it in a window instead.
    void ScrollRect(const FWRect* rect, FWRect& exposed, int32_t dh, int32_t dv);
    void ScrollRect(const FWRect* rect, int32_t dh, int32_t dv);

    // Images. DrawImage scales src (in the image's coordinates) onto dst through the image's
    // mask; DrawTiles repeats src over dst starting at phase (h, v).
    void DrawImage(const ImageBuffer* image, const FWRect* src, const FWRect* dst, bool dither);
    void DrawImage(const ImageBuffer* image, const FWRect* dst, bool dither);
    void DrawTiles(const ImageBuffer& image, const FWRect& src, int h, int v, const FWRect& dst);
    void DrawTiles(const ImageBuffer& image, int h, int v, const FWRect& dst);
    // Half-transparent, for dragging.
    void DrawDraggingImage(const ImageBuffer* image, const FWRect* src, const FWRect* dst);
    // Copies this context's pixels in src into the image at dst (null: the same rectangle).
    void CaptureImage(ImageBuffer* into, const FWRect* src, const FWRect* dst);
    // Moves each pixel toward colour by factor (0..1), except those within 10 of keep.
    void FadeRect(const FWRect* rect, double factor, FWArgb32 color, const FWArgb32* keep);

    // Text. Strings draw at the pen with the baseline at its v, and leave the pen after them.
    void DrawString(const FWString* text);
    void DrawString(int32_t h, int32_t v, const FWString* text);
    void DrawString(int32_t h, int32_t v, const FWString* text, int16_t width, bool condense);
    // Fits the text in width: whole, else condensed (when allowed), else cut with an ellipsis.
    void DrawConstrainedString(const FWString* text, int16_t width, bool condense);
    void DrawEmbossedStringColors(int32_t h, int32_t v, const FWString* text, const FWArgb32& textColor,
                                  const FWArgb32& embossColor, int16_t width, bool condense);
    void DrawEmbossedString(int32_t h, int32_t v, const FWString* text, bool dimmed, int16_t width, bool condense);
    void CenterTextInRect(const FWRect* rect, const FWString* text, bool embossed);
    // Word-wrapped text in the box; returns the number of lines drawn before the one whose
    // baseline passed the bottom.
    int32_t WrapString(const FWRect* box, const FWString* text);
    int32_t DrawString(const FWRect* box, const FWString* text) { return WrapString(box, text); }

    // Shared state. When texture is set, erasing tiles it instead of painting the back colour.
    static ImageBuffer* texture;
    // Makes the shared off-screen buffer at least the rectangle's size (it only grows); true
    // when the buffer is valid afterwards.
    static bool check_op_buffer_size(const FWRect* rect);
    static ImageBuffer& OpBuffer();

private:
    // Platform state: acquired by the constructors and SetImageBuffer, released by the
    // destructor and SetImageBuffer.
    void acquireImageState();
    void acquireWindowState();
    CGrafPtr windowPort() const;
    void releaseState();
    // A view context gives the window its own widths back.
    void restoreWindowWidths();
    void eraseWindowMargins();

    // Coordinate mapping: context coordinates to port coordinates and back. A window context
    // is offset by the window's frame and title widths, read at each call.
    FWPoint offset() const;
    Point toPort(int32_t h, int32_t v) const;
    Rect toPort(const FWRect& rect) const;
    FWRect fromPort(const Rect& rect) const;
    Rect contentArea() const;
    // What a null rectangle paints: a window's content, an image's whole port.
    Rect wholeArea() const;
    void applyClip();

    void drawLine(int32_t h0, int32_t v0, int32_t h1, int32_t v1);
    void eraseWithTexture(const Rect& rect);
    void scrollPort(const FWRect& rect, int32_t dh, int32_t dv, RgnHandle update);
    FWRect regionBounds(RgnHandle region) const;
    void copyToPort(const ImageBuffer& image, const Rect& src, const Rect& dst, int16_t mode);
    void drawText(const char* text, int32_t length);
    struct FittedText;
    FittedText fitText(const FWString* text, int16_t width, bool condense);
    void drawFitted(const FittedText& fitted);

    FWWindow* mWindow = nullptr;
    FWView* mView = nullptr;
    FWPoint mViewOffset; // added to the window's widths for the life of a view context
    ImageBuffer* mImage = nullptr;
    CMacDCStuff* mStuff = nullptr;
};
