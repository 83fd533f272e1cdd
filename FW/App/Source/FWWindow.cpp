// The framework half of windows: styles and title icons, the frame and title bar drawn into the
// window's port, updates, zooming, dragging and resizing by the user, and delayed text events.
#include "FWWindow.h"

#include "EditText.h"

#include "DiskImage.h"
#include "FWApp.h"
#include "FWAppColor.h"
#include "FWApplicationRegion.h"
#include "FWEventDispatcher.h"
#include "FWDocument.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "FWScreenFrame.h"
#include "FWTickCount.h"
#include "FWView.h"

#include <algorithm>
#include <cstdlib>

std::set<const FWWindow*> FWWindow::sAllWindows;
int32_t FWWindow::sModalCount = 0;
FWWindow* FWWindow::sModalWindow = nullptr;
uint32_t FWWindow::mTextEventDelay = 30;
HostWindow* FWWindow::mExternWindow = nullptr;

namespace {

constexpr int32_t kCloseCode = -1;
constexpr int32_t kZoomCode = -2;
constexpr int32_t kPopupCode = -3;
// The band the title is centred in, whatever the title width.
constexpr int32_t kTitleBand = 25;
constexpr uint32_t kPict = 0x50494354; // 'PICT'

FWArgb32 towardBlack(FWArgb32 color)
{
    color.LerpTo(FWArgb32::Black, 30, 100);
    return color;
}

const ImageBuffer* imageOf(DiskImage* image)
{
    return image;
}

} // namespace

// ---- construction

FWWindow::FWWindow(WindowStyle style)
    : mParentWindow(this, false), mViewMngr(this), mStyle(style == 6 ? 3 : style), mTitleBarHiliteColor(towardBlack(mTitleBarColor)),
      mContentColor(FWGetAppColor(0))
{
    SetDebugName("FWWindow");
    mResizeLimit.Set(80, int16_t(3 * mTitleWidth), 10000, 10000);
    if (FWGetApplicationRegion() != 0)
        mTitleFont = FWFont(-1, 12, false);
    else
        mTitleFont = FWFont(1, 9, true);
    SetNameEmboss(false);
    if (style != 6)
        InitializeIcons();
    InitializeWindow();
    StartIdling();
    sAllWindows.insert(this);
}

FWWindow::~FWWindow()
{
    sAllWindows.erase(this);
    StopIdling();
    leaveOwnerLists();
    mViewMngr.ThrowAwayViews();
    FinishWindow();
    if (mResizeHandleImage != nullptr)
        DiskImage::Release(mResizeHandleImage);
    mResizeHandleImage = nullptr;
    // The dispatcher must not keep this window as the key window or the one under the mouse.
    FWEventDispatcher::Instance()->WindowListReset();
}

void FWWindow::leaveOwnerLists()
{
    // A document's window is on its document's list and, through it, the application's.
    if (mLastDocument != nullptr) {
        mLastDocument->RemoveWindow(this);
    } else if (FWDocument* document = mDocument) {
        document->RemoveWindow(this);
        mDocument = nullptr;
    } else if (mAppListNode.Item() != nullptr) {
        FWApp::Instance()->RemoveWindow(this);
    }
}

void FWWindow::InitializeIcons()
{
    if (mStyle == 1 || mStyle == 4)
        return;
    const bool mini = mStyle == 3;
    DiskImage** close = mini ? FWViewMngr::closeIconMini : FWViewMngr::closeIcon;
    DiskImage** zoom = mini ? FWViewMngr::zoomIconMini : FWViewMngr::zoomIcon;
    DiskImage** popup = mini ? FWViewMngr::popupIconMini : FWViewMngr::popupIcon;
    AddTitleIcon(imageOf(close[0]), imageOf(close[1]), kCloseCode, 0, false);
    AddTitleIcon(imageOf(zoom[0]), imageOf(zoom[1]), kZoomCode, 0, true);
    AddTitleIcon(imageOf(popup[0]), imageOf(popup[1]), kPopupCode, 3, false);
    SetIconVisiblity(kPopupCode, mMultiWindow != nullptr);
    SetIconVisiblity(kZoomCode, mZooming);
    SetIconVisiblity(kCloseCode, mClosing);
}

void FWWindow::AddTitleIcon(const ImageBuffer* normal, const ImageBuffer* pressed, int32_t code, int16_t extra,
                            bool right)
{
    if (mIconCount >= kMaxIcons)
        return;
    TitleIcon& icon = mIcons[mIconCount++];
    icon.normal = normal;
    icon.pressed = pressed;
    icon.code = code;
    icon.extra = extra;
    icon.right = right;
    icon.visible = true;
}

bool FWWindow::Initialize(FWDocument* document, const FWRect& rect)
{
    return CreateWindow(document, rect, std::nullopt);
}

bool FWWindow::Initialize(FWDocument* document, int32_t resID)
{
    return CreateWindow(document, FWRect(50, 50, 100, 100), resID);
}

bool FWWindow::CreateWindow(FWDocument* document, const FWRect& rect, std::optional<int32_t> resID)
{
    if (mExternWindow != nullptr && mStyle == 0) {
        SetPlatformWindow();
    } else {
        FWRect bounds = rect;
        CreatePlatformWindow(&bounds);
    }
    // A document's window joins the application's list through its document.
    if (document != nullptr)
        SetDocument(document);
    else if (FWApp::Exists())
        FWApp::Instance()->AddWindow(this);
    mUserState = GlobalFrame();
    if (!resID)
        return mViewMngr.Initialize(rect);
    return mViewMngr.Initialize(*resID);
}

void FWWindow::SetDocument(FWDocument* document)
{
    if (FWDocument* old = mDocument)
        old->RemoveWindow(this);
    else if (mAppListNode.Item() != nullptr)
        FWApp::Instance()->RemoveWindow(this);
    mDocument = document;
    if (document != nullptr)
        document->AddWindow(this);
}

void FWWindow::AddToAppList(FWList<FWWindow>* list)
{
    if (list != nullptr)
        list->Append(&mAppListNode, this);
}

void FWWindow::RemoveFromAppList(FWList<FWWindow>* list)
{
    if (list != nullptr && mAppListNode.Item() != nullptr)
        list->Remove(&mAppListNode);
}

void FWWindow::AddToDocList(FWList<FWWindow>* list)
{
    if (list != nullptr)
        list->Append(&mDocListNode, this);
}

void FWWindow::RemoveFromDocList(FWList<FWWindow>* list)
{
    if (list != nullptr && mDocListNode.Item() != nullptr)
        list->Remove(&mDocListNode);
}

void FWWindow::forgetDocument(FWDocument* document)
{
    if (mLastDocument == nullptr)
        mLastDocument = document;
    mDocument = nullptr;
}

// ---- geometry

void FWWindow::GetContentRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    const FWRect size = Size();
    rect->Set(0, 0, int16_t(size.Width() - 2 * FrameWidth()), int16_t(size.Height() - TitleWidth() - FrameWidth()));
}

FWRect FWWindow::GlobalFrame()
{
    FWRect frame = Size();
    int32_t h = 0;
    int32_t v = 0;
    GetLocation(&h, &v);
    frame.MoveTo(int16_t(h), int16_t(v));
    return frame;
}

void FWWindow::SetUserSize(int32_t width, int32_t height)
{
    SetSize(width, height);
    CaptureUserStateRect();
}

void FWWindow::CaptureUserStateRect()
{
    const FWRect frame = GlobalFrame();
    FWRect standard;
    GetStandardStateRect(standard);
    if (!RectsClose(frame, standard))
        mUserState = frame;
}

void FWWindow::GetStandardStateRect(FWRect& rect)
{
    rect = GlobalFrame();
    // Without an application object, the application's default rule.
    if (FWApp::Exists())
        FWApp::Instance()->GetOneViewRect(&rect);
    else if (FWMonitor* monitor = FWMonitor::FindMonitorByArea(rect))
        rect = monitor->UsableBounds();
}

bool FWWindow::RectsClose(const FWRect& a, const FWRect& b)
{
    return std::abs(a.left - b.left) < 5 && std::abs(a.top - b.top) < 5 && std::abs(a.right - b.right) < 5 &&
           std::abs(a.bottom - b.bottom) < 5;
}

// ---- look

void FWWindow::SetFont(const FWFont* font)
{
    if (font != nullptr)
        mFont = *font;
}

void FWWindow::SetTitleFont(const FWFont* font)
{
    if (font != nullptr)
        mTitleFont = *font;
}

void FWWindow::SetTitleBarColor(FWArgb32 color)
{
    mTitleBarColor = color;
    mTitleBarHiliteColor = towardBlack(color);
}

void FWWindow::SetTitleBarColor(FWArgb32 color, FWArgb32 hilite)
{
    mTitleBarColor = color;
    mTitleBarHiliteColor = hilite;
}

void FWWindow::SetResizeHandleSize(int32_t width, int32_t height)
{
    mResizeHandleWidth = width;
    mResizeHandleHeight = height;
}

void FWWindow::Hilite(bool on)
{
    if (mHighlighted == on)
        return;
    mHighlighted = on;
    if (!mVisible)
        return;
    FWDrawContext context(this);
    DrawWindowFrame(context);
}

void FWWindow::SetZooming(bool on)
{
    mZooming = on;
    SetIconVisiblity(kZoomCode, on);
}

void FWWindow::SetClosing(bool on)
{
    mClosing = on;
    SetIconVisiblity(kCloseCode, on);
}

void FWWindow::SetResizing(bool on, FWRect* limit, unsigned int edges)
{
    mResizing = on;
    if (limit != nullptr)
        mResizeLimit = *limit;
    mResizeEdges = edges;
}

void FWWindow::SetResizeLimit(const FWRect* limit)
{
    if (limit != nullptr)
        mResizeLimit = *limit;
}

// ---- title icons

void FWWindow::SetIconVisiblity(int32_t code, bool visible)
{
    for (int32_t i = 0; i < mIconCount; ++i) {
        if (mIcons[i].code == code) {
            mIcons[i].visible = visible;
            return;
        }
    }
}

bool FWWindow::IconVisible(int32_t code) const
{
    for (int32_t i = 0; i < mIconCount; ++i)
        if (mIcons[i].code == code)
            return mIcons[i].visible;
    return false;
}

FWRect FWWindow::GetIconRect(int32_t index)
{
    if (index < 0 || index >= mIconCount)
        return FWRect();
    const FWRect size = Size();
    int32_t rightPosition = size.right - (mStyle == 3 ? 20 : 24);
    int32_t leftPosition = 9;
    FWRect rect;
    for (int32_t i = 0; i <= index; ++i) {
        const TitleIcon& icon = mIcons[i];
        if (icon.normal == nullptr) {
            rect = FWRect();
            continue;
        }
        const FWRect& image = icon.normal->GetRect();
        const int32_t width = image.Width();
        const int32_t height = image.Height();
        int32_t& position = icon.right ? rightPosition : leftPosition;
        const int16_t top = int16_t(13.5 - height / 2.0);
        rect.Set(int16_t(position), top, int16_t(position + width), int16_t(top + height));
        const int32_t step = width + 3 + icon.extra;
        position += icon.right ? -step : step;
    }
    return rect;
}

int32_t FWWindow::CalcAvailableTitleSpace(FWRect* out)
{
    const FWRect size = Size();
    FWRect space(int16_t(size.left + 3), int16_t(size.top + 3), int16_t(size.right - 3), int16_t(size.top + 25));
    bool rightIcon = false;
    for (int32_t i = 0; i < mIconCount; ++i) {
        if (!mIcons[i].visible || mIcons[i].normal == nullptr)
            continue;
        const FWRect icon = GetIconRect(i);
        if (mIcons[i].right) {
            space.right = std::min(space.right, icon.left);
            rightIcon = true;
        } else {
            space.left = std::max(space.left, icon.right);
        }
    }
    space.left = int16_t(space.left + 6);
    space.right = int16_t(space.right - (rightIcon ? 6 : 4));
    space.top = int16_t(space.top + 4);
    space.bottom = int16_t(space.bottom - 4);
    if (out != nullptr)
        *out = space;
    return space.Width();
}

int32_t FWWindow::GetTitleBaseline(FWDrawContext& context)
{
    FWFontMetrics metrics{};
    context.GetFont().GetFontMetrics(metrics);
    return int32_t((metrics.ascent + kTitleBand + metrics.descent) / 2.0 - metrics.descent);
}

int32_t FWWindow::WhichIcon(FWPoint* global)
{
    if (global == nullptr)
        return 0;
    int32_t h = 0;
    int32_t v = 0;
    GetLocation(&h, &v);
    const FWPoint local(int16_t(global->h - h), int16_t(global->v - v));
    for (int32_t i = 0; i < mIconCount; ++i) {
        if (!mIcons[i].visible || mIcons[i].normal == nullptr)
            continue;
        if (GetIconRect(i).PtInRect(local))
            return mIcons[i].code;
    }
    return 0;
}

void FWWindow::drawIcon(FWDrawContext& context, int32_t index, bool pressed)
{
    const TitleIcon& icon = mIcons[index];
    const ImageBuffer* image = pressed && icon.pressed != nullptr ? icon.pressed : icon.normal;
    if (image == nullptr)
        return;
    const FWRect rect = GetIconRect(index);
    context.DrawImage(image, &rect, false);
}

void FWWindow::DrawIcons(FWDrawContext& context)
{
    for (int32_t i = 0; i < mIconCount; ++i)
        if (mIcons[i].visible)
            drawIcon(context, i, false);
}

bool FWWindow::TrackIcon(int32_t code, FWPoint* where)
{
    int32_t index = -1;
    for (int32_t i = 0; i < mIconCount && index < 0; ++i)
        if (mIcons[i].code == code)
            index = i;
    if (index < 0 || mIcons[index].normal == nullptr)
        return false;
    WindowSpace();
    const FWRect rect = GetIconRect(index);
    FWDrawContext context(this);
    bool inside = true;
    drawIcon(context, index, true);
    context.Flush();
    FWPoint mouse = where != nullptr ? *where : FWPoint();
    while (FWIsMouseStillDown()) {
        GetMouseLocal(&mouse);
        const bool now = rect.PtInRect(mouse);
        if (now == inside)
            continue;
        inside = now;
        drawIcon(context, index, inside);
        context.Flush();
    }
    GetMouseLocal(&mouse);
    inside = rect.PtInRect(mouse);
    drawIcon(context, index, false);
    context.Flush();
    ContentSpace();
    return inside;
}

// ---- drawing

void FWWindow::DrawWindowFrame(FWDrawContext& context)
{
    if (mStyle == 4 || mStyle == 5)
        return;
    WindowSpace();
    {
        FWColorSaver colors(context);
        FWPenSaver pen(context);
        FWClipSaver clip(context, nullptr);
        FWFontSaver font(context);
        context.SetForeColor(FWGetAppColor(0));
        context.PenNormal();

        FWRect r = Size();
        context.ExtrudedRect(&r, nullptr);
        r.Inset(1, 1);
        context.FrameRect(&r);
        r.Inset(1, 1);
        context.FrameRect(&r);

        FWRect title(int16_t(r.left + 1), int16_t(r.top + 1), int16_t(r.right - 1), int16_t(r.top + 21));
        context.FrameRect(&title);
        context.MoveTo(title.left, title.bottom);
        context.LineTo(title.right - 1, title.bottom);
        context.MoveTo(title.left, title.bottom + 1);
        context.LineTo(title.right - 1, title.bottom + 1);
        FWRect fill = title;
        fill.Inset(3, 3);
        context.PaintRect(&fill, mHighlighted ? mTitleBarHiliteColor : mTitleBarColor);

        drawTitle(context, title);

        FWRect edge = title;
        edge.Inset(1, 1);
        context.SetForeColor(FWArgb32::Black);
        context.FrameRect(&edge);
        edge.Inset(1, 1);
        FWArgb32 bar = mHighlighted ? mTitleBarHiliteColor : mTitleBarColor;
        context.ExtrudedRect(&edge, &bar);
        // Back in content space before the savers put the clip and pen back, so they are
        // restored in the coordinates they were saved in.
        ContentSpace();
    }
}

void FWWindow::drawTitle(FWDrawContext& context, const FWRect& titleBar)
{
    const int32_t nameWidth = mTitleFont.GetStringWidth(&mName);
    auto drawName = [&](int32_t h, int32_t v, int32_t width) {
        if (mHighlighted) {
            context.SetForeColor(FWArgb32::Black);
            context.DrawString(h + 1, v + 1, &mName, int16_t(width), false);
            context.SetForeColor(FWArgb32::White);
            context.DrawString(h, v, &mName, int16_t(width), false);
        } else {
            context.SetForeColor(mNameColor);
            context.DrawString(h, v, &mName, int16_t(width), false);
        }
    };
    if (mStyle != 1) {
        DrawIcons(context);
        context.SetFont(&mTitleFont);
        FWRect space;
        const int32_t free = CalcAvailableTitleSpace(&space);
        if (nameWidth / 2 < free || free >= 30) {
            const int32_t h = mStyle == 3 ? space.left + 2 : 46;
            drawName(h, GetTitleBaseline(context), free);
        }
        context.SetFont(&mFont);
        return;
    }
    if (mName.GetCurrLength() == 0)
        return;
    context.SetFont(&mTitleFont);
    const int32_t free = titleBar.Width() - 15;
    const int32_t textWidth = nameWidth + 12;
    if (nameWidth / 2 < free || free >= 30) {
        int32_t boxLeft = titleBar.left;
        if (textWidth < free)
            boxLeft = titleBar.left + (titleBar.Width() - textWidth) / 2;
        drawName(boxLeft + 6, GetTitleBaseline(context), free);
    }
    context.SetFont(&mFont);
    context.InsetRect(&titleBar, false);
}

// ---- visibility hooks and events

bool FWWindow::ActivateEvent(bool active)
{
    Hilite(active);
    if (FWView* focus = mViewMngr.GetKeyFocus())
        focus->ActivateEvent(active);
    return true;
}

bool FWWindow::MouseMovedIn()
{
    return SetCursor();
}

bool FWWindow::SetCursor()
{
    FWSetCursor(0);
    return false;
}

bool FWWindow::MouseMovedOut()
{
    FWSetCursor(0);
    return true;
}

bool FWWindow::InterfaceTextEvent(EditText* edit)
{
    return InterfaceEvent(static_cast<FWView*>(edit));
}

void FWWindow::ForgetTextEvent(const EditText* edit)
{
    if (edit != nullptr && mPendingTextEvent == edit)
        mPendingTextEvent = nullptr;
}

void FWWindow::PostTextEvent(EditText* edit)
{
    if (mPendingTextEvent != nullptr && mPendingTextEvent != edit)
        deliverTextEvent();
    mPendingTextEvent = edit;
    if (edit != nullptr) {
        mPendingSince = FWTickCount();
        FWApp::HurryIdleTime();
    }
}

void FWWindow::deliverTextEvent()
{
    EditText* edit = mPendingTextEvent;
    mPendingTextEvent = nullptr;
    if (edit != nullptr)
        InterfaceTextEvent(edit);
}

void FWWindow::UseIdleTime()
{
    if (mPendingTextEvent != nullptr && FWTickCount() - mPendingSince > mTextEventDelay)
        deliverTextEvent();
}

uint32_t FWWindow::TicksToIdleWork() const
{
    if (mPendingTextEvent == nullptr)
        return kNoIdleWork;
    const uint32_t waited = FWTickCount() - mPendingSince;
    return waited > mTextEventDelay ? 0 : mTextEventDelay + 1 - waited;
}

void FWWindow::WindowSelect()
{
    // No object in the system manages a group of windows, so there is nobody to ask.
}

FWEventHandler* FWWindow::GetDynamicHandler(FWEvent& event)
{
    if (mViewMngr.AllowInterfaceEvents()) {
        if (FWEventHandler* handler = mViewMngr.GetEventHandler(event))
            return handler;
    }
    return this;
}

FWEventHandler* FWWindow::GetParent(FWEvent&)
{
    if (FWWindow* parent = mParentWindow)
        return parent;
    if (FWDocument* document = mDocument)
        return document;
    if (!FWApp::Exists())
        return nullptr;
    if (FWDocument* active = FWApp::Instance()->GetActiveDocument())
        return active;
    return FWApp::Instance();
}

bool FWWindow::ReceiveMessage(Dependable* sender, Message m)
{
    FWDocument* document = mDocument;
    Dependable::ReceiveMessage(sender, m);
    if (m != IsBeingDeleted)
        return true;
    if (sender == this) {
        forgetDocument(document);
        mViewMngr.SendMessage(IsBeingDeleted);
        if (mMultiWindow != nullptr)
            mMultiWindow->ReceiveMessage(this, IsBeingDeleted);
        mParentWindow = nullptr;
    } else if (document != nullptr && sender == static_cast<Dependable*>(document)) {
        forgetDocument(document);
    } else if (sender == static_cast<FWWindow*>(mParentWindow)) {
        mParentWindow = nullptr;
    }
    return true;
}

// ---- updates

FWRect FWWindow::resizeHandleRect()
{
    FWRect content;
    GetContentRect(&content);
    FWRect box(int16_t(content.right - mResizeHandleWidth), int16_t(content.bottom - mResizeHandleHeight),
               content.right, content.bottom);
    if (mInsetContent)
        box.Offset(1, 1);
    return box;
}

void FWWindow::InvalResizeHandle()
{
    if (mResizeHandleWidth <= 0)
        return;
    const FWRect box = resizeHandleRect();
    {
        FWDrawContext context(this);
        context.EraseRect(&box);
    }
    Inval(&box);
}

void FWWindow::drawResizeHandle(FWDrawContext& context, const FWRect& box)
{
    if (mResizeHandleImage == nullptr) {
        int32_t id = 400;
        switch (mResizeEdges) {
        case 1: id = 404; break;
        case 2: id = 402; break;
        case 4: id = 403; break;
        case 8: id = 401; break;
        default: break;
        }
        mResizeHandleImage = DiskImage::Acquire(id, kPict);
    }
    FWForeColorSaver fore(context);
    FWPenLocSaver penLocation(context);
    context.SetForeColor(FWArgb32::Black);
    context.FrameRect(&box);
    FWRect area = box;
    if (box.Width() > 6 && box.Height() > 6) {
        context.SetForeColor(204, 204, 204);
        context.PaintPixel(box.left + 1, box.bottom - 2);
        context.PaintPixel(box.right - 2, box.top + 1);
        context.SetForeColor(FWArgb32::White);
        context.MoveTo(box.left + 1, box.bottom - 3);
        context.LineTo(box.left + 1, box.top + 1);
        context.LineTo(box.right - 3, box.top + 1);
        context.SetForeColor(153, 153, 153);
        context.MoveTo(box.left + 2, box.bottom - 2);
        context.LineTo(box.right - 2, box.bottom - 2);
        context.LineTo(box.right - 2, box.top + 2);
        area.Inset(2, 2);
    } else {
        area.Inset(1, 1);
    }
    if (mResizeHandleImage == nullptr)
        return;
    if (mResizeEdges == 1 || mResizeEdges == 2 || mResizeEdges == 4 || mResizeEdges == 8)
        context.DrawImage(mResizeHandleImage, &area, false);
    else
        context.DrawTiles(*mResizeHandleImage, 0, 0, area);
}

bool FWWindow::UpdateEvent(FWEvent&, FWDrawContext& context)
{
    FWRect content;
    GetContentRect(&content);
    if (mEraseOnUpdate)
        context.EraseRect(&content);
    mViewMngr.Draw(context);
    if (mResizeHandleWidth > 0)
        drawResizeHandle(context, resizeHandleRect());
    if (mInsetContent) {
        FWRect edge = content;
        edge.Offset(FrameWidth(), TitleWidth());
        edge.Grow(2);
        WindowSpace();
        {
            FWClipSaver clip(context, &edge);
            context.InsetRect(&edge, false);
            ContentSpace();
        }
    }
    return true;
}

// ---- zooming

bool FWWindow::ZoomEvent()
{
    if (!mResizing)
        return true;
    const FWRect current = GlobalFrame();
    FWRect standard;
    GetStandardStateRect(standard);
    const FWRect target = RectsClose(current, standard) ? mUserState : standard;
    SetLocation(target.left, target.top);
    SetSize(target.Width(), target.Height());
    Inval(nullptr);
    {
        FWDrawContext context(this);
        FWRect content;
        GetContentRect(&content);
        context.EraseRect(&content);
    }
    ResizeEvent();
    return true;
}

// ---- mouse tracking

bool FWWindow::MouseDrag(FWPoint start, FWPoint* out, bool once, int threshold)
{
    do {
        if (!FWIsMouseStillDown())
            return false;
        FWPoint mouse;
        GetMouseLocal(&mouse);
        if (std::abs(mouse.h - start.h) > threshold || std::abs(mouse.v - start.v) > threshold) {
            if (out != nullptr)
                *out = mouse;
            return true;
        }
    } while (!once);
    return true;
}

bool FWWindow::MousePause(FWPoint where, int32_t ticks)
{
    const uint32_t start = FWTickCount();
    do {
        FWPoint mouse;
        GetMouseLocal(&mouse);
        if (mouse.h != where.h || mouse.v != where.v)
            return false;
        if (ticks <= 0)
            return true;
        FWDelayTicks(1);
    } while (FWTickCount() - start < uint32_t(ticks));
    return true;
}

// ---- dragging and resizing

void FWWindow::ValidateStandardWindowBounds(FWRect& rect, const FWPoint& mouse, bool move)
{
    if (FWMonitor* main = FWMonitor::GetMainMonitor()) {
        const FWRect& bounds = main->Bounds();
        const bool inside = mouse.h >= bounds.left && mouse.h < bounds.right && mouse.v >= bounds.top &&
                            mouse.v < bounds.bottom;
        const int16_t line = int16_t(main->UsableBounds().top - 1);
        if (inside && rect.top < line) {
            if (move)
                rect.Offset(0, int16_t(line - rect.top));
            else
                rect.top = line;
        }
    }
    const FWRect strip(rect.left, rect.top, rect.right, int16_t(rect.top + kTitleBand));
    int32_t widest = 0;
    int32_t highest = 0;
    for (FWMonitor* monitor = FWMonitor::GetMonitors(); monitor != nullptr; monitor = monitor->NextMonitor()) {
        FWRect overlap;
        if (!strip.IntersectRect(monitor->Bounds(), &overlap))
            continue;
        widest = std::max<int32_t>(widest, overlap.Width());
        highest = std::max<int32_t>(highest, overlap.Height());
    }
    if (widest <= 9 || highest <= 9)
        rect = FWRect();
}

void FWWindow::NewDragPosition(FWRect& rect, const FWPoint& mouse) const
{
    ValidateStandardWindowBounds(rect, mouse, true);
}

void FWWindow::NewDragSize(FWRect& rect, const FWPoint& mouse) const
{
    ValidateStandardWindowBounds(rect, mouse, false);
}

bool FWWindow::DragWindow(FWEvent& event)
{
    FWRect outline = GlobalFrame();
    outline.Grow(1);
    if (!DragWindowOutline(outline, event.mGlobalWhere))
        return true;
    SetLocation(outline.left + 1, outline.top + 1);
    CaptureUserStateRect();
    return true;
}

bool FWWindow::DragWindowOutline(FWRect& outline, FWPoint press)
{
    struct BackgroundUpdateOff {
        bool previous = FWView::DisableBackgroundUpdate(true);
        ~BackgroundUpdateOff() { FWView::DisableBackgroundUpdate(previous); }
    } backgroundOff;
    if (!FWIsMouseStillDown())
        return false;
    const FWRect start = outline;
    FWRect shown = start;
    NewDragPosition(shown, press);
    if (shown.Empty())
        shown = start;
    FWScreenFrame frame(this, shown);
    frame.Show();
    FWPoint last = press;
    while (FWIsMouseStillDown()) {
        FWPoint mouse;
        FWGetMousePosition(mouse);
        if (std::abs(mouse.h - last.h) < 2 && std::abs(mouse.v - last.v) < 2)
            continue;
        last = mouse;
        FWRect moved = start;
        moved.Offset(int16_t(mouse.h - press.h), int16_t(mouse.v - press.v));
        NewDragPosition(moved, mouse);
        if (moved.Empty())
            moved = start;
        shown = moved;
        frame.SetBounds(shown);
    }
    frame.Hide();
    outline = shown;
    return shown != start;
}

uint32_t FWWindow::edgesToDrag(FWPoint press)
{
    enum : uint32_t { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
    const FWRect frame = GlobalFrame();
    uint32_t edges = 0;
    FWRect handle;
    if (mResizeHandleWidth > 0) {
        handle = resizeHandleRect();
        int32_t h = 0;
        int32_t v = 0;
        GetLocation(&h, &v);
        handle.Offset(int16_t(h + FrameWidth()), int16_t(v + TitleWidth()));
    }
    if (mResizeHandleWidth > 0 && handle.PtInRect(press)) {
        edges = kRight | kBottom;
    } else {
        const int32_t left = std::abs(press.h - frame.left);
        const int32_t right = std::abs(press.h - frame.right);
        const int32_t top = std::abs(press.v - frame.top);
        const int32_t bottom = std::abs(press.v - frame.bottom);
        if (left < 5)
            edges |= kLeft;
        else if (right < 5)
            edges |= kRight;
        if (top < 5)
            edges |= kTop;
        else if (bottom < 5)
            edges |= kBottom;
        const bool horizontal = (edges & (kLeft | kRight)) != 0;
        const bool vertical = (edges & (kTop | kBottom)) != 0;
        if (horizontal && !vertical) {
            if (top < 13)
                edges |= kTop;
            else if (bottom < 13)
                edges |= kBottom;
        } else if (vertical && !horizontal) {
            if (left < 13)
                edges |= kLeft;
            else if (right < 13)
                edges |= kRight;
        }
    }
    const bool horizontal = (edges & (kLeft | kRight)) != 0;
    const bool vertical = (edges & (kTop | kBottom)) != 0;
    if (horizontal && vertical) {
        const uint32_t corner = edges == (kLeft | kTop) ? 16 : edges == (kRight | kTop) ? 32 : edges == (kLeft | kBottom) ? 64 : 128;
        if ((mResizeEdges & corner) != 0)
            return edges;
        const uint32_t side = edges & (kLeft | kRight);
        if ((mResizeEdges & side) != 0)
            return side;
        const uint32_t end = edges & (kTop | kBottom);
        if ((mResizeEdges & end) != 0)
            return end;
        return 0;
    }
    return (mResizeEdges & edges) != 0 ? edges : 0;
}

bool FWWindow::DragResizeWindow(FWEvent& event)
{
    enum : uint32_t { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
    // Under a modal dialog no other window is resized.
    FWWindow* key = FWEventDispatcher::Instance()->KeyWindow();
    if (key != nullptr && key != this && key->GetStyle() == 1)
        return false;
    BringToFront();
    const FWPoint press = event.mGlobalWhere;
    const uint32_t edges = edgesToDrag(press);
    if (edges == 0)
        return false;
    FWRect start = GlobalFrame();
    start.Grow(1);
    FWRect next = start;
    FWScreenFrame frame(this, next);
    frame.Show();
    while (FWIsMouseStillDown()) {
        FWPoint mouse;
        FWGetMousePosition(mouse);
        if (mouse.h == press.h && mouse.v == press.v)
            continue;
        const int16_t dh = int16_t(mouse.h - press.h);
        const int16_t dv = int16_t(mouse.v - press.v);
        FWRect n = start;
        if (edges & kLeft)
            n.left = int16_t(start.left + dh);
        if (edges & kRight)
            n.right = int16_t(start.right + dh);
        if (edges & kTop)
            n.top = int16_t(start.top + dv);
        if (edges & kBottom)
            n.bottom = int16_t(start.bottom + dv);
        auto limit = [](int16_t& low, int16_t& high, bool lowDragged, bool highDragged, int32_t minimum,
                        int32_t maximum) {
            const int32_t size = high - low;
            const int32_t wanted = size > maximum ? maximum : size < minimum ? minimum : size;
            if (wanted == size)
                return;
            if (lowDragged)
                low = int16_t(high - wanted);
            else if (highDragged)
                high = int16_t(low + wanted);
        };
        limit(n.left, n.right, edges & kLeft, edges & kRight, mResizeLimit.left, mResizeLimit.right);
        limit(n.top, n.bottom, edges & kTop, edges & kBottom, mResizeLimit.top, mResizeLimit.bottom);
        FWPoint size(n.Width(), n.Height());
        QueryResize(size, (edges & (kTop | kBottom)) == 0, (edges & (kLeft | kRight)) == 0);
        n.Set(n.left, n.top, int16_t(n.left + size.h), int16_t(n.top + size.v));
        NewDragSize(n, mouse);
        if (n.Empty())
            n = start;
        next = n;
        frame.SetBounds(next);
    }
    frame.Hide();
    if (next == start)
        return false;
    next.Inset(1, 1);
    int32_t h = 0;
    int32_t v = 0;
    GetLocation(&h, &v);
    if (next.left != h || next.top != v) {
        Hide();
        SetLocation(next.left, next.top);
        SetUserSize(next.Width(), next.Height());
        Show();
    } else {
        SetUserSize(next.Width(), next.Height());
        Inval(nullptr);
    }
    if (FWView* root = mViewMngr.GetViewTree()) {
        FWRect content;
        GetContentRect(&content);
        root->SetRect(content);
    }
    return true;
}
