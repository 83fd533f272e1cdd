#include "FWColorPickerDialog.h"

#include "ARGBPicker.h"
#include "BeforeAfterPicker.h"
#include "ColorButton.h"
#include "DiskImage.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEventDispatcher.h"
#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "ImageBuffer.h"
#include "MixerPicker.h"
#include "ModelPickers.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "StaticText.h"
#include "SwatchPicker.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr int32_t kNeverPlaced = -100000;
constexpr int16_t kNoIndex = int16_t(0xFFFF);
constexpr int16_t kStackedBit = 0x4000;
constexpr int16_t kIconSize = 22;
constexpr int16_t kCellSize = 24;

template <class P>
P* firstOf(const std::vector<FWColorPicker*>& pickers)
{
    for (FWColorPicker* picker : pickers)
        if (auto* found = dynamic_cast<P*>(picker))
            return found;
    return nullptr;
}

void unlinkAndDelete(FWView* view)
{
    view->Unlink();
    view->SendMessage(Dependable::IsBeingDeleted);
    delete view;
}

} // namespace

int32_t FWColorPickerDialog::sColorPickerLeft = kNeverPlaced;
int32_t FWColorPickerDialog::sColorPickerTop = kNeverPlaced;
bool FWColorPickerDialog::gPickerHorizontal = false;
bool FWColorPickerDialog::gARGBPercent = false;
std::vector<int> FWColorPickerDialog::gPickerDialogState;

FWColorPickerDialog::FWColorPickerDialog() : mHorizontal(gPickerHorizontal)
{
    SetDebugName("FWColorPickerDialog");
}

FWColorPickerDialog::~FWColorPickerDialog()
{
    if (auto* argb = firstOf<ARGBPicker>(mManager.GetThePickerList()))
        gARGBPercent = argb->IsPercent();
    gPickerDialogState.clear();
    for (ColorPickerHandle* handle : mHandles)
        gPickerDialogState.push_back(handle->GetThePicker()->GetPickerID());
    gPickerHorizontal = mHorizontal;
    if (mMarkerPicture != nullptr)
        DiskImage::Release(mMarkerPicture);
}

// ---- running the dialog

bool FWColorPickerDialog::PickColor(ColorButton* button)
{
    if (button == nullptr)
        return false;
    auto dialog = std::make_unique<FWColorPickerDialog>();
    const FWArgb32 kept = button->GetColor();
    dialog->mManager.SetEditAlpha(button->GetEditAlpha());
    dialog->Initialize(&button->GetPromptString());
    dialog->mManager.SetColorTarget(button);
    const bool accepted = dialog->Execute();
    // Cancelled: the button takes its colour back. Whoever followed the live edits hears that they
    // ended there; nothing was chosen, so no interface event is sent.
    if (!accepted && !(button->GetColor() == kept)) {
        button->SetColor(kept);
        if (button->GetWindow() != nullptr && button->Visible() && button->AllParentsVisible()) {
            FWDrawContext context(button);
            button->Draw(context);
            context.Flush();
        }
        button->SendInterfaceAction(button, ActionType(2));
    }
    dialog->SendMessage(Dependable::IsBeingDeleted);
    return accepted;
}

ColorPickerHandle* FWColorPickerDialog::newHandle(FWColorPicker* picker)
{
    auto* handle = new ColorPickerHandle(this);
    handle->Initialize(picker, 0, 0);
    ViewMngr().GetViewTree()->AppendChild(handle);
    return handle;
}

void FWColorPickerDialog::Initialize(const FWString* prompt)
{
    const FWStr<31> name("Color Picker");
    SetName(&name, false);
    FWWindow::Initialize(nullptr, FWRect(100, 100, 150, 150));
    FWView* root = ViewMngr().GetViewTree();
    if (root == nullptr)
        return;
    if (mMarkerPicture == nullptr)
        mMarkerPicture = DiskImage::Acquire(905, FOUR_CHAR_CODE("PICT"));

    FWRect promptRect(0, 0, 0, 0);
    if (prompt != nullptr && prompt->GetCurrLength() != 0) {
        mPrompt = new StaticText;
        mPrompt->Init(this, FWRect(3, 3, 23, 13), prompt, StaticText::kSingleLine);
        root->AppendChild(mPrompt);
        promptRect = mPrompt->GetRect();
    }
    const int16_t x = promptRect.left;
    const int16_t y = int16_t(promptRect.bottom + 4);

    int16_t w = 0;
    int16_t h = 0;
    if (FWColorPicker* beforeAfter = FindBeforeAfterPicker()) {
        beforeAfter->AddToWindow(this, x, y);
        beforeAfter->GetColorPickerSize(w, h);
    }
    mPickersTop = int16_t(y + h + 4);

    mBin = new PickerBin(this);
    root->AppendChild(mBin);
    mBin->Initialize(int16_t(x + w + 12), y);

    const FWStr<31> cancelName("Cancel");
    mCancel = new CancelButton;
    mCancel->Init(this, FWRect(0, 0, 60, 20), &cancelName);
    root->AppendChild(mCancel);
    mCancel->MakeDefaultCancel();
    const FWStr<31> okName("OK");
    mOK = new OKButton;
    mOK->Init(this, FWRect(0, 0, 60, 20), &okName);
    root->AppendChild(mOK);
    mOK->MakeDefaultAccept();

    if (gPickerDialogState.empty())
        SetUpDefaultState();
    ResumePickerState();
    LayoutColorPicker(true);
}

void FWColorPickerDialog::SetUpDefaultState()
{
    const std::vector<FWColorPicker*>& pickers = mManager.GetThePickerList();
    const FWColorPicker* defaults[] = {firstOf<ARGBPicker>(pickers), firstOf<HSVPicker>(pickers),
                                       firstOf<MixerPicker>(pickers), firstOf<SwatchPicker>(pickers)};
    for (const FWColorPicker* picker : defaults)
        if (picker != nullptr)
            gPickerDialogState.push_back(picker->GetPickerID());
}

void FWColorPickerDialog::ResumePickerState()
{
    for (int id : gPickerDialogState) {
        FWColorPicker* picker = mManager.GetPickerFromPickerID(id);
        // An id shown twice or of no picker is skipped.
        if (picker == nullptr || picker->IsPickerVisible())
            continue;
        ColorPickerHandle* handle = newHandle(picker);
        picker->AddToWindow(this, 0, 0);
        mHandles.push_back(handle);
    }
    if (auto* argb = firstOf<ARGBPicker>(mManager.GetThePickerList()))
        argb->SetIsPercent(gARGBPercent);
}

FWColorPicker* FWColorPickerDialog::FindBeforeAfterPicker() const
{
    return firstOf<BeforeAfterPicker>(mManager.GetThePickerList());
}

// ---- layout

void FWColorPickerDialog::LayoutColorPicker(bool centre)
{
    if (mBin == nullptr)
        return;
    const FWRect binRect = mBin->GetRect();
    for (FWView* frame : mFrames)
        unlinkAndDelete(frame);
    mFrames.clear();
    FWEventDispatcher::Instance()->WindowListReset();

    int16_t maxW = 0;
    int16_t maxH = 0;
    for (ColorPickerHandle* handle : mHandles) {
        maxW = std::max(maxW, handle->GetPickerWidth());
        maxH = std::max(maxH, handle->GetPickerHeight());
    }
    FWView* root = ViewMngr().GetViewTree();
    auto addFrame = [&](const FWRect& rect, ColorPickerHandle* handle) {
        auto* frame = new Group;
        frame->Init(this, rect, nullptr, Group::kTopLeft, Group::kSunken);
        root->AppendChild(frame);
        mFrames.push_back(frame);
        MoveViewTo(handle, int16_t(rect.left + 7), int16_t(rect.top + 5));
        const FWRect placed = handle->GetRect();
        handle->GetThePicker()->MoveColorPickerTo(placed.left, int16_t(placed.bottom + 4));
    };

    FWRect okRect;
    FWRect cancelRect;
    if (mHorizontal) {
        int16_t x = 7;
        for (ColorPickerHandle* handle : mHandles) {
            const int16_t hh = handle->GetRect().Height();
            const FWRect rect(x, mPickersTop, int16_t(x + handle->GetPickerWidth() + 14),
                              int16_t(mPickersTop + hh + maxH + 14));
            addFrame(rect, handle);
            x = int16_t(rect.right + 2);
        }
        okRect = FWRect(int16_t(x - 78), 3, x, 31);
        cancelRect = FWRect(int16_t(okRect.left - 76), 7, int16_t(okRect.left - 6), 27);
        if (cancelRect.left < binRect.right + 12) {
            const int16_t shift = int16_t(binRect.right - cancelRect.left + 12);
            okRect.Offset(shift, 0);
            cancelRect.Offset(shift, 0);
        }
    } else {
        int16_t y = mPickersTop;
        int16_t lastRight = 0;
        for (ColorPickerHandle* handle : mHandles) {
            const int16_t hh = handle->GetRect().Height();
            const FWRect rect(7, y, int16_t(maxW + 21), int16_t(y + hh + handle->GetPickerHeight() + 14));
            addFrame(rect, handle);
            y = int16_t(rect.bottom + 2);
            lastRight = rect.right;
        }
        int16_t bx = 0;
        int16_t by = 0;
        if (FWColorPicker* beforeAfter = FindBeforeAfterPicker())
            beforeAfter->GetColorPickerLocation(bx, by);
        const int16_t r = std::max(binRect.right, lastRight);
        y = int16_t(y + 2);
        const int16_t cx = int16_t((r + bx - 154) / 2);
        cancelRect = FWRect(cx, int16_t(y + 4), int16_t(cx + 70), int16_t(y + 24));
        okRect = FWRect(int16_t(cancelRect.right + 6), y, int16_t(cancelRect.right + 84), int16_t(y + 28));
    }
    mOK->SetRect(okRect);
    mCancel->SetRect(cancelRect);
    FixCurrentWindowSize(centre);
}

void FWColorPickerDialog::FixCurrentWindowSize(bool centre)
{
    int32_t maxRight = 0;
    int32_t maxBottom = mPickersTop + 80;
    FWView* root = ViewMngr().GetViewTree();
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view == root)
            continue;
        if (!view->Visible()) {
            walk.SkipToNextPeer();
            continue;
        }
        const FWRect rect = view->GetRect();
        maxRight = std::max<int32_t>(maxRight, rect.right);
        maxBottom = std::max<int32_t>(maxBottom, rect.bottom);
    }
    int32_t height = maxBottom + TitleWidth() + FrameWidth();
    int32_t width = maxRight + 2 * FrameWidth();
    if (mHorizontal) {
        width += 7;
        height += 3;
    } else {
        width += 3;
        height += 7;
    }
    SetSize(width, height);
    {
        FWDrawContext context(this);
        context.EraseRect(nullptr);
    }

    int32_t left = 0;
    int32_t top = 0;
    if (sColorPickerLeft != kNeverPlaced) {
        left = sColorPickerLeft;
        top = sColorPickerTop;
    } else {
        GetLocation(&left, &top);
        if (centre) {
            FWRect app;
            FWGetAppRect(&app);
            left = app.left + (app.Width() - width) / 2;
            top = app.top + (app.Height() - height) / 2;
        }
    }
    const FWRect area(int16_t(left), int16_t(top), int16_t(left + width), int16_t(top + height));
    if (FWMonitor* monitor = FWMonitor::FindMonitorByArea(area)) {
        const FWRect usable = monitor->UsableBounds();
        if (left + width + 5 > usable.right)
            left = usable.right - width - 5;
        if (top + height + 5 > usable.bottom)
            top = usable.bottom - height - 5;
        if (left < usable.left + 5)
            left = usable.left + 5;
        if (top < usable.top + 45)
            top = usable.top + 45;
    }
    SetLocation(left, top);
    sColorPickerLeft = left;
    sColorPickerTop = top;
}

bool FWColorPickerDialog::DragWindow(FWEvent& event)
{
    const bool result = FWModalDialog::DragWindow(event);
    GetLocation(&sColorPickerLeft, &sColorPickerTop);
    return result;
}

// ---- dragging icons

void FWColorPickerDialog::FindInsertionIndex(FWPoint where, int16_t& index, FWPoint& markerTopLeft,
                                             FWPoint& markerSize) const
{
    if (mHandles.empty() || mFrames.empty() || where.v <= mPickersTop) {
        index = kNoIndex;
        return;
    }
    const int32_t h = where.h;
    const int32_t v = where.v;
    index = 0;
    FWRect last;
    for (const FWView* frame : mFrames) {
        const FWRect rect = frame->GetRect();
        const int32_t l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
        const int32_t W = r - l;
        const int32_t H = b - t;
        last = rect;
        if (!mHorizontal) {
            if (h >= l && h < l + W / 8 && (v - t) * W > H * (h - l) && (v - b) * W < (t - b) * (h - l)) {
                markerTopLeft = FWPoint(int16_t(l - 7), int16_t(t - 3));
                markerSize = FWPoint(12, int16_t(H + 6));
                return;
            }
            if (h >= r - W / 8 && h < r && (v - t) * W < H * (h - l) && (v - b) * W > (t - b) * (h - l)) {
                index = int16_t(index + 1);
                markerTopLeft = FWPoint(int16_t(r - 5), int16_t(t - 3));
                markerSize = FWPoint(12, int16_t(H + 6));
                return;
            }
            if (v < (t + b) / 2) {
                index = int16_t(index | kStackedBit);
                markerTopLeft = FWPoint(int16_t(l - 3), int16_t(t - 7));
                markerSize = FWPoint(int16_t(W + 6), 12);
                return;
            }
        } else {
            if (v >= t && v < t + H / 8 && (v - t) * W < H * (h - l) && (v - b) * W < (t - b) * (h - l)) {
                index = int16_t(index | kStackedBit);
                markerTopLeft = FWPoint(int16_t(l - 3), int16_t(t - 7));
                markerSize = FWPoint(int16_t(W + 6), 12);
                return;
            }
            if (v >= b - H / 8 && v < b && (v - t) * W > H * (h - l) && (v - b) * W > (t - b) * (h - l)) {
                index = int16_t((index + 1) | kStackedBit);
                markerTopLeft = FWPoint(int16_t(l - 3), int16_t(b - 5));
                markerSize = FWPoint(int16_t(W + 6), 12);
                return;
            }
            if (h < (l + r) / 2) {
                markerTopLeft = FWPoint(int16_t(l - 7), int16_t(t - 3));
                markerSize = FWPoint(12, int16_t(H + 6));
                return;
            }
        }
        index = int16_t(index + 1);
    }
    const int16_t W = last.Width();
    const int16_t H = last.Height();
    if (!mHorizontal) {
        index = int16_t(index | kStackedBit);
        markerTopLeft = FWPoint(int16_t(last.left - 3), int16_t(last.bottom - 5));
        markerSize = FWPoint(int16_t(W + 6), 12);
    } else {
        markerTopLeft = FWPoint(int16_t(last.right - 5), int16_t(last.top - 3));
        markerSize = FWPoint(12, int16_t(H + 6));
    }
}

void FWColorPickerDialog::drawMarker(FWDrawContext& context, int16_t index, FWPoint topLeft, FWPoint size) const
{
    const int32_t L = topLeft.h, T = topLeft.v, W = size.h, H = size.v;
    FWForeColorSaver fore(context, context.GetForeColor());
    auto part = [&](int16_t pl, int16_t pt, int16_t pr, int16_t pb, int32_t dl, int32_t dt, int32_t dr, int32_t db) {
        if (mMarkerPicture == nullptr)
            return;
        const FWRect src(pl, pt, pr, pb);
        const FWRect dst{int16_t(dl), int16_t(dt), int16_t(dr), int16_t(db)};
        context.DrawImage(mMarkerPicture, &src, &dst, false);
    };
    auto line = [&](FWArgb32 color, int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
        context.SetForeColor(color);
        context.MoveTo(h1, v1);
        context.LineTo(h2, v2);
    };
    const FWArgb32 light(255, 153, 153, 153);
    const FWArgb32 dark(255, 51, 51, 51);
    if (index & kStackedBit) {
        part(12, 0, 18, 12, L, T, L + 6, T + 12);
        line(light, L + 6, T + 5, L + W - 7, T + 5);
        line(dark, L + 6, T + 6, L + W - 7, T + 6);
        part(18, 0, 24, 12, L + W - 6, T, L + W, T + 12);
    } else {
        part(0, 0, 12, 6, L, T, L + 12, T + 6);
        line(light, L + 5, T + 6, L + 5, T + H - 7);
        line(dark, L + 6, T + 6, L + 6, T + H - 7);
        part(0, 6, 12, 12, L, T + H - 6, L + 12, T + H);
    }
}

bool FWColorPickerDialog::ClickPickerIcon(FWEvent& event, int16_t dh, int16_t dv, FWRect& iconRect,
                                          const ImageBuffer* restImage, const ImageBuffer* pressedImage,
                                          FWColorPicker* picker)
{
    FWRect bounds;
    GetContentRect(&bounds);
    bounds = FWRect(int16_t(bounds.left - dh), int16_t(bounds.top - dv), int16_t(bounds.right - dh - kIconSize),
                    int16_t(bounds.bottom - dv - kIconSize));

    FWDrawContext context(this);
    if (pressedImage != nullptr)
        context.DrawImage(pressedImage, &iconRect, true);
    context.Flush();

    const FWRect iconArea(0, 0, kIconSize, kIconSize);
    ImageBuffer saved(&iconArea, kImageBufferDepth32);
    ImageBuffer markerSave;
    FWRect markerRect;
    const FWPoint start = event.mWhere;
    bool began = false;
    bool havePrevious = false;
    FWPoint previous;
    int16_t previousIndex = kNoIndex;
    int16_t index = kNoIndex;

    auto iconAt = [&](FWPoint p) {
        return FWRect(int16_t(p.h + dh), int16_t(p.v + dv), int16_t(p.h + dh + kIconSize), int16_t(p.v + dv + kIconSize));
    };
    auto restoreMarker = [&]() {
        if (previousIndex != kNoIndex && markerSave.Valid()) {
            const FWRect src(0, 0, markerRect.Width(), markerRect.Height());
            context.DrawImage(&markerSave, &src, &markerRect, false);
        }
    };

    while (FWIsMouseStillDown()) {
        FWPoint point;
        GetMouseLocal(&point);
        if (!began) {
            if (std::abs(point.h - start.h) <= 3 && std::abs(point.v - start.v) <= 3)
                continue;
            began = true;
        }
        PinPointInRect(point, bounds);
        if (havePrevious && point == previous)
            continue;
        FWPoint markerTopLeft;
        FWPoint markerSize;
        FindInsertionIndex(point, index, markerTopLeft, markerSize);
        if (havePrevious && saved.Valid()) {
            const FWRect was = iconAt(previous);
            context.DrawImage(&saved, &iconArea, &was, false);
        }
        if (index != previousIndex) {
            restoreMarker();
            if (index != kNoIndex) {
                markerRect = FWRect(markerTopLeft.h, markerTopLeft.v, int16_t(markerTopLeft.h + markerSize.h),
                                    int16_t(markerTopLeft.v + markerSize.v));
                const FWRect area(0, 0, markerRect.Width(), markerRect.Height());
                if (markerSave.GetRect() != area || !markerSave.Valid()) {
                    markerSave.SetRect(area);
                }
                if (markerSave.Valid())
                    context.CaptureImage(&markerSave, &markerRect, &area);
                drawMarker(context, index, markerTopLeft, markerSize);
            }
            previousIndex = index;
        }
        const FWRect now = iconAt(point);
        if (saved.Valid())
            context.CaptureImage(&saved, &now, &iconArea);
        if (pressedImage != nullptr)
            context.DrawDraggingImage(pressedImage, &pressedImage->GetRect(), &now);
        context.Flush();
        previous = point;
        havePrevious = true;
    }

    if (havePrevious && saved.Valid()) {
        const FWRect was = iconAt(previous);
        context.DrawImage(&saved, &iconArea, &was, false);
    }
    restoreMarker();
    if (restImage != nullptr)
        context.DrawImage(restImage, &iconRect, true);
    context.Flush();
    if (!began)
        return false;

    bool relayout = false;
    if (index != kNoIndex) {
        const bool horizontal = (index & kStackedBit) == 0;
        if (horizontal != mHorizontal) {
            mHorizontal = horizontal;
            relayout = true;
        }
        index = int16_t(index & ~kStackedBit);
    }
    int32_t p = index == kNoIndex ? -1 : index;
    if (mHandles.empty() && havePrevious && previous.v > mPickersTop)
        p = 0;
    int32_t c = -1;
    for (size_t i = 0; i < mHandles.size(); ++i)
        if (mHandles[i]->GetThePicker() == picker)
            c = int32_t(i);
    if (p >= 0 && c >= 0 && p > c)
        --p;

    if (p != c) {
        if (c < 0) {
            ColorPickerHandle* handle = newHandle(picker);
            picker->AddToWindow(this, 0, 0);
            FWArgbColor current;
            mManager.GetCurrentColor(current);
            picker->ReceiveNewColorToEdit(current);
            mHandles.insert(mHandles.begin() + std::min<size_t>(size_t(p), mHandles.size()), handle);
        } else if (p < 0) {
            picker->RemoveFromWindow(this);
            ColorPickerHandle* handle = mHandles[size_t(c)];
            mHandles.erase(mHandles.begin() + c);
            unlinkAndDelete(handle);
            FWEventDispatcher::Instance()->WindowListReset();
        } else {
            ColorPickerHandle* handle = mHandles[size_t(c)];
            mHandles.erase(mHandles.begin() + c);
            mHandles.insert(mHandles.begin() + std::min<size_t>(size_t(p), mHandles.size()), handle);
        }
        relayout = true;
    }
    if (relayout) {
        LayoutColorPicker(false);
        Inval(nullptr);
        if (mBin != nullptr)
            mBin->Inval();
    }
    return true;
}

// ---- the bin of icons

FWColorPickerDialog* PickerBin::GetPickerDialog() const
{
    return dynamic_cast<FWColorPickerDialog*>(GetWindow());
}

const std::vector<FWColorPicker*>* PickerBin::GetPickerList() const
{
    FWColorPickerDialog* dialog = GetPickerDialog();
    return dialog != nullptr ? &dialog->GetPickerList() : nullptr;
}

void PickerBin::Initialize(int16_t h, int16_t v)
{
    int16_t count = 0;
    if (const auto* pickers = GetPickerList())
        for (FWColorPicker* picker : *pickers)
            if (picker->GetPickerNormalImage() != nullptr)
                ++count;
    SetRect(FWRect(h, v, int16_t(h + kCellSize * count), int16_t(v + kCellSize)));
}

void PickerBin::Draw(FWDrawContext& context) const
{
    const auto* pickers = GetPickerList();
    if (pickers == nullptr)
        return;
    const FWRect r = GetRect();
    FWRect cell(r.left, r.top, int16_t(r.left + kCellSize), int16_t(r.top + kCellSize));
    for (FWColorPicker* picker : *pickers) {
        const ImageBuffer* normal = picker->GetPickerNormalImage();
        if (normal == nullptr)
            continue;
        const ImageBuffer* image = picker->IsPickerVisible() ? picker->GetPickerHilitedImage() : normal;
        FWRect inner = cell;
        inner.Inset(1, 1);
        if (image != nullptr)
            context.DrawImage(image, &inner, true);
        context.InsetRect(&cell, false);
        cell.Offset(kCellSize, 0);
    }
}

bool PickerBin::MouseDownEvent(FWEvent& event)
{
    const FWRect r = GetRect();
    FWColorPickerDialog* dialog = GetPickerDialog();
    if (dialog == nullptr || !r.PtInRect(event.mWhere))
        return true;
    const int column = (event.mWhere.h - r.left) / kCellSize;
    int seen = 0;
    for (FWColorPicker* picker : dialog->GetPickerList()) {
        const ImageBuffer* normal = picker->GetPickerNormalImage();
        if (normal == nullptr)
            continue;
        if (seen++ != column)
            continue;
        FWRect iconRect(int16_t(r.left + kCellSize * column + 1), int16_t(r.top + 1),
                        int16_t(r.left + kCellSize * column + 1 + kIconSize), int16_t(r.top + 1 + kIconSize));
        const ImageBuffer* hilited = picker->GetPickerHilitedImage();
        dialog->ClickPickerIcon(event, int16_t(r.left + kCellSize * column - event.mWhere.h),
                                int16_t(r.top - event.mWhere.v), iconRect, picker->IsPickerVisible() ? hilited : normal,
                                hilited, picker);
        break;
    }
    return true;
}

// ---- picker titles

FWColorPickerDialog* ColorPickerHandle::GetPickerDialog() const
{
    return dynamic_cast<FWColorPickerDialog*>(GetWindow());
}

void ColorPickerHandle::Initialize(FWColorPicker* picker, int16_t h, int16_t v)
{
    mPicker = picker;
    picker->GetColorPickerSize(mWidth, mHeight);
    picker->GetPickerName(mName);
    const int32_t nameWidth = GetWindow() != nullptr ? GetWindow()->Font().GetStringWidth(&mName) : 0;
    SetRect(FWRect(h, v, int16_t(h + nameWidth + 30), int16_t(v + kCellSize)));
}

void ColorPickerHandle::Draw(FWDrawContext& context) const
{
    const FWRect r = GetRect();
    const FWRect square(r.left, r.top, int16_t(r.left + kCellSize), r.bottom);
    if (mPicker != nullptr && mPicker->GetPickerNormalImage() != nullptr) {
        FWRect inner = square;
        inner.Inset(1, 1);
        context.DrawImage(mPicker->GetPickerNormalImage(), &inner, true);
    }
    context.InsetRect(&square, false);
    context.DrawEmbossedString(square.right + 6, r.top + 15, &mName, false, int16_t(r.right - square.right - 6), false);
}

bool ColorPickerHandle::MouseDownEvent(FWEvent& event)
{
    const FWRect r = GetRect();
    FWRect iconRect(int16_t(r.left + 1), int16_t(r.top + 1), int16_t(r.left + 23), int16_t(r.top + 23));
    FWColorPickerDialog* dialog = GetPickerDialog();
    if (dialog == nullptr || mPicker == nullptr || !iconRect.PtInRect(event.mWhere))
        return false;
    dialog->ClickPickerIcon(event, int16_t(iconRect.left - event.mWhere.h), int16_t(iconRect.top - event.mWhere.v),
                            iconRect, mPicker->GetPickerNormalImage(), mPicker->GetPickerHilitedImage(), mPicker);
    return true;
}
