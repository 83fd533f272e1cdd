// The editing record of EditText: keys, mouse, selection, caret and undo of a one-line field.
#include "CEditTextRec.h"

#include "EditText.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWIdleProcess.h"
#include "FWPlatformUtils.h"
#include "FWStringUtils.h"
#include "FWTickCount.h"
#include "FWView.h"
#include "FWWindow.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// Word-break state machines, 12 classes per state. Bit 0x80 marks a boundary at the current
// position; the low 7 bits are the next state, 127 stops the scan.
constexpr uint8_t kBackwardSelectionTable[10 * 12] = {
    0x85, 0x88, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x86, 0x84, 0x87, 0x87,
    0x7F, 0x89, 0x81, 0x82, 0x03, 0x03, 0x7F, 0x7F, 0x7F, 0x03, 0x7F, 0x7F,
    0x7F, 0x89, 0x81, 0x82, 0x7F, 0x06, 0x85, 0x7F, 0x06, 0x86, 0x7F, 0x7F,
    0x7F, 0x89, 0x81, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0x7F, 0x89, 0x81, 0x82, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0x7F, 0x89, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0x7F, 0x89, 0x7F, 0x82, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0x7F, 0x07, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x87, 0xFF,
    0x85, 0x88, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x86, 0x84, 0x87, 0x7F,
    0x85, 0x89, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x86, 0x84, 0x7F, 0x7F,
};

constexpr uint8_t kForwardSelectionTable[11 * 12] = {
    0x83, 0x80, 0x81, 0x82, 0x83, 0x83, 0x84, 0x83, 0x83, 0x84, 0x85, 0x89,
    0xFF, 0x87, 0x81, 0x82, 0x86, 0x86, 0xFF, 0xFF, 0xFF, 0x86, 0xFF, 0xFF,
    0xFF, 0x87, 0x81, 0x82, 0xFF, 0x88, 0xFF, 0x83, 0x88, 0x88, 0xFF, 0xFF,
    0xFF, 0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0x87, 0xFF, 0x82, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0x8A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x85, 0x89,
    0x7F, 0x7F, 0x81, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0x83, 0x87, 0x81, 0x82, 0x83, 0x83, 0x84, 0x83, 0x83, 0x84, 0xFF, 0xFF,
    0x7F, 0x7F, 0x7F, 0x82, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x7F, 0x0A, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x85, 0x89,
};

constexpr int kStop = 127;

// kSymTable: the class of every byte.
constexpr std::array<uint8_t, 256> makeSymTable()
{
    std::array<uint8_t, 256> t{};
    auto range = [&t](int from, int to, uint8_t cls) {
        for (int i = from; i <= to; ++i)
            t[size_t(i)] = cls;
    };
    range(65, 90, 2);
    range(97, 122, 2);
    range(128, 159, 2);
    range(167, 167, 2);
    range(174, 175, 2);
    range(190, 191, 2);
    range(203, 207, 2);
    range(216, 217, 2);
    range(222, 223, 2);
    range(229, 239, 2);
    range(241, 255, 2);
    range(48, 57, 3);
    for (int b : {0, 9, 32})
        t[size_t(b)] = 10;
    t[13] = 11;
    t[45] = 4;
    for (int b : {39, 213})
        t[size_t(b)] = 5;
    for (int b : {36, 163, 180, 219})
        t[size_t(b)] = 6;
    for (int b : {37, 162, 228})
        t[size_t(b)] = 7;
    for (int b : {44, 218})
        t[size_t(b)] = 8;
    t[46] = 9;
    t[202] = 1;
    return t;
}

constexpr std::array<uint8_t, 256> kSymTable = makeSymTable();

// The edit rect cut to the context's current clip, so a field never draws outside its parents.
FWRect clipToEditRect(FWDrawContext& context, const FWRect& editRect)
{
    FWRect current;
    context.GetClipRect(&current);
    FWRect clip;
    editRect.IntersectRect(current, &clip);
    return clip;
}

bool isNavigation(int c)
{
    return c == 1 || c == 4 || c == 11 || c == 12 || (c >= 28 && c <= 31);
}

} // namespace

int CEditTextRec::ByteClass(unsigned char byte)
{
    return kSymTable[byte];
}

CEditTextRec::CEditTextRec(FWView* view, bool international) : mView(view)
{
    if (international) {
        mFont.SetType(-1);
        mFont.SetSize(10);
    }
    FWFontMetrics metrics;
    mFont.GetFontMetrics(metrics);
    mAscent = metrics.ascent;
    mLineHeight = metrics.ascent + metrics.descent;
}

// Text and selection -----------------------------------------------------------------------

void CEditTextRec::SetText(uint32_t length, const char* text)
{
    mText.Set(length, text);
    const int32_t n = TextLength();
    if (mSelEnd > n)
        NewSelection(std::min(mSelStart, n), n);
}

void CEditTextRec::ReplaceText(const FWString& text, int32_t caret)
{
    mText = text;
    mSelStart = mSelEnd = mAnchor = std::clamp(caret, 0, TextLength());
}

FWWindow* CEditTextRec::window() const
{
    return mView != nullptr ? mView->GetWindow() : nullptr;
}

bool CEditTextRec::canDraw() const
{
    FWWindow* w = window();
    return w != nullptr && mView->Visible() && mView->AllParentsVisible();
}

void CEditTextRec::NewSelection(int32_t start, int32_t end)
{
    if (start == mSelStart && end == mSelEnd)
        return;
    if (!mActive) {
        mSelStart = start;
        mSelEnd = end;
        mAnchor = start;
        return;
    }
    if (!canDraw()) {
        if (start == end)
            mAnchor = start;
        mSelStart = start;
        mSelEnd = end;
        return;
    }
    FWDrawContext context(mView);
    const bool oldEmpty = mSelStart == mSelEnd;
    const bool newEmpty = start == end;
    if (!oldEmpty && !newEmpty) {
        const FWRect oldRect = GetHiliteRect(mSelStart, mSelEnd);
        const FWRect newRect = GetHiliteRect(start, end);
        const FWRect clipRect = clipToEditRect(context, mEditRect);
        FWClipSaver clip(context, &clipRect);
        const FWArgb32 white(255, 255, 255, 255);
        if (oldRect.left != newRect.left) {
            FWRect band(std::min(oldRect.left, newRect.left), oldRect.top, std::max(oldRect.left, newRect.left),
                        oldRect.bottom);
            context.HiliteRect(&band, FWTextHiliteColor(), white);
        }
        if (oldRect.right != newRect.right) {
            FWRect band(std::min(oldRect.right, newRect.right), oldRect.top, std::max(oldRect.right, newRect.right),
                        oldRect.bottom);
            context.HiliteRect(&band, FWTextHiliteColor(), white);
        }
    } else if (!oldEmpty) {
        InvertHilite(context, mSelStart, mSelEnd);
        mSelStart = start;
        mSelEnd = end;
        DrawCaret(context);
        mAnchor = start;
        mLastCaretTick = FWTickCount();
    } else {
        if (mCaretShown)
            DrawCaret(context);
        mSelStart = start;
        mSelEnd = end;
        if (!newEmpty) {
            InvertHilite(context, start, end);
        } else {
            DrawCaret(context);
            mAnchor = start;
            mLastCaretTick = FWTickCount();
        }
    }
    mSelStart = start;
    mSelEnd = end;
    mCaretShown = true;
}

// Drawing ----------------------------------------------------------------------------------

FWRect CEditTextRec::GetHiliteRect(int32_t start, int32_t end) const
{
    FWRect r = mEditRect;
    if (end != TextLength())
        r.right = int16_t(mEditRect.left + InsertionToPoint(end));
    if (start == end)
        r.left = r.right;
    else if (start != 0)
        r.left = int16_t(mEditRect.left + InsertionToPoint(start));
    r.bottom = int16_t(r.top + mLineHeight);
    return r;
}

void CEditTextRec::InvertHilite(FWDrawContext& context, int32_t start, int32_t end)
{
    const FWRect clipRect = clipToEditRect(context, mEditRect);
    FWClipSaver clip(context, &clipRect);
    const FWRect r = GetHiliteRect(start, end);
    context.HiliteRect(&r, FWTextHiliteColor(), FWArgb32(255, 255, 255, 255));
}

void CEditTextRec::DrawCaret(FWDrawContext& context)
{
    const FWRect clipRect = clipToEditRect(context, mEditRect);
    FWClipSaver clip(context, &clipRect);
    FWPenSaver pen(context);
    FWPenLocSaver location(context);
    FWForeColorSaver fore(context, FWArgb32(255, 0, 0, 0));
    context.SetPenMode(FWDrawContext::kPenXor);
    const int32_t h = mEditRect.left + InsertionToPoint(mSelStart);
    context.MoveTo(h, mEditRect.top);
    context.LineTo(h, mEditRect.top + mLineHeight - 1);
}

void CEditTextRec::DrawText(FWDrawContext& context)
{
    FWFontSaver font(context);
    const FWRect clipRect = clipToEditRect(context, mEditRect);
    FWClipSaver clip(context, &clipRect);
    FWBackColorSaver back(context, FWArgb32(255, 255, 255, 255));
    FWPenLocSaver location(context);
    FWPenSaver pen(context);
    context.PenNormal();
    context.SetFont(&mFont);
    context.EraseRect(&mEditRect);
    context.DrawString(mEditRect.left + 1, mEditRect.top + mAscent, &mText);
    if (!mActive)
        return;
    if (mSelStart != mSelEnd)
        InvertHilite(context, mSelStart, mSelEnd);
    else
        mCaretShown = false;
}

void CEditTextRec::IdleTime()
{
    if (!mActive || mSelStart != mSelEnd || !mCaretAllowed)
        return;
    const uint32_t now = FWTickCount();
    if (mLastCaretTick + FWTextBlinkTime() >= now || !canDraw())
        return;
    FWDrawContext context(mView);
    context.SetFont(&mFont);
    DrawCaret(context);
    mCaretShown = !mCaretShown;
    mLastCaretTick = now;
}

uint32_t CEditTextRec::TicksToCaretBlink() const
{
    if (!mActive || mSelStart != mSelEnd || !mCaretAllowed || !canDraw())
        return FWIdleProcess::kNoIdleWork;
    const uint32_t due = mLastCaretTick + FWTextBlinkTime() + 1;
    const uint32_t now = FWTickCount();
    return due > now ? due - now : 0;
}

void CEditTextRec::HideSelection()
{
    if (!mActive || !canDraw())
        return;
    FWDrawContext context(mView);
    if (mSelStart != mSelEnd)
        InvertHilite(context, mSelStart, mSelEnd);
    else if (mCaretShown)
        DrawCaret(context);
    mCaretShown = false;
}

void CEditTextRec::ShowCaretNow()
{
    if (!mActive || !canDraw() || mSelStart != mSelEnd)
        return;
    FWDrawContext context(mView);
    if (!mCaretShown)
        DrawCaret(context);
    mCaretShown = true;
    mLastCaretTick = FWTickCount();
}

// Geometry ---------------------------------------------------------------------------------

int32_t CEditTextRec::InsertionToPoint(int32_t offset) const
{
    const int32_t n = std::clamp(offset, 0, TextLength());
    return mFont.GetStringWidth(mText.GetCString(), n);
}

int32_t CEditTextRec::PointToInsertion(int32_t x) const
{
    // Widths grow with the offset, so the nearest offset is found by bisection on the widths.
    const int32_t length = TextLength();
    int32_t lo = 0;
    int32_t hi = length;
    while (lo < hi) {
        const int32_t mid = (lo + hi) / 2;
        if (InsertionToPoint(mid) < x)
            lo = mid + 1;
        else
            hi = mid;
    }
    // lo is the first offset at or right of x; its left neighbour may be nearer.
    auto onBoundary = [this, length](int32_t offset) {
        while (offset > 0 && offset < length &&
               FWStringUtils::StringByteType(mText.GetCString(), length, offset) > FWStringUtils::kFirstByte)
            --offset;
        return offset;
    };
    int32_t best = onBoundary(lo);
    const int32_t before = onBoundary(best > 0 ? best - 1 : 0);
    if (before != best && std::abs(InsertionToPoint(before) - x) <= std::abs(InsertionToPoint(best) - x))
        best = before;
    return best;
}

int32_t CEditTextRec::scanForward(int32_t pos, int32_t& end) const
{
    const int32_t length = TextLength();
    int state = 0;
    while (pos <= length) {
        const int cls = pos < length ? ByteClass(uint8_t(mText[uint32_t(pos)])) : ByteClass(0);
        const uint8_t entry = kForwardSelectionTable[state * 12 + cls];
        if (entry & 0x80)
            end = pos;
        state = entry & 0x7F;
        if (state == kStop)
            return pos;
        ++pos;
    }
    return pos;
}

void CEditTextRec::InsertionToWord(int32_t offset, int32_t& start, int32_t& end) const
{
    const int32_t length = TextLength();
    offset = std::clamp(offset, 0, length);
    start = 0;
    if (offset > 5) {
        int state = 0;
        for (int32_t pos = offset; pos >= 0; --pos) {
            const int cls = pos < length ? ByteClass(uint8_t(mText[uint32_t(pos)])) : ByteClass(0);
            const uint8_t entry = kBackwardSelectionTable[state * 12 + cls];
            if (entry & 0x80)
                start = pos;
            state = entry & 0x7F;
            if (state == kStop)
                break;
        }
    }
    end = start;
    int32_t pos = scanForward(start, end);
    // A word that ends before the offset is followed by the next one, until one covers it.
    while (end < offset && pos <= length) {
        start = end;
        pos = scanForward(pos, end);
    }
}

// Keys -------------------------------------------------------------------------------------

int32_t CEditTextRec::previousCharacter(const FWString& text, int32_t offset) const
{
    if (offset <= 0)
        return 0;
    int32_t at = offset - 1;
    while (at > 0 && FWStringUtils::StringByteType(text.GetCString(), int32_t(text.GetCurrLength()), at) >
                         FWStringUtils::kFirstByte)
        --at;
    return at;
}

int32_t CEditTextRec::nextCharacter(const FWString& text, int32_t offset) const
{
    const int32_t length = int32_t(text.GetCurrLength());
    if (offset >= length)
        return length;
    int32_t at = offset + 1;
    while (at < length && FWStringUtils::StringByteType(text.GetCString(), length, at) > FWStringUtils::kFirstByte)
        ++at;
    return at;
}

void CEditTextRec::swapUndoBuffer()
{
    FWDynamicString held(mText);
    mText = mUndoText;
    mUndoText = held;
}

bool CEditTextRec::AcceptKey(FWEvent& event, RELexer* lexer, bool multiToken, const EditTextFilter* filter)
{
    const int c = uint8_t(event.EventCharacter());
    const bool command = (event.mModifiers & kFWCommandKey) != 0;
    const bool shift = event.ShiftKeyDown();
    if (command && c != 'z' && c != 'Z')
        return false;

    int32_t start = mSelStart;
    int32_t end = mSelEnd;
    const int32_t length = TextLength();

    if (!command && isNavigation(c)) {
        switch (c) {
        case 1:
        case 11:
        case 30:
            start = end = 0;
            break;
        case 4:
        case 12:
        case 31:
            start = end = length;
            break;
        case 28:
            if (start == end) {
                if (start > 0) {
                    const int32_t caret = start;
                    start = previousCharacter(mText, start);
                    if (shift)
                        mAnchor = caret;
                    else
                        end = start;
                }
            } else if (shift) {
                if (mAnchor == start)
                    end = previousCharacter(mText, end);
                else if (start > 0)
                    start = previousCharacter(mText, start);
            } else {
                end = start;
            }
            break;
        case 29:
            if (start == end) {
                if (end < length) {
                    const int32_t caret = end;
                    end = nextCharacter(mText, end);
                    if (shift)
                        mAnchor = caret;
                    else
                        start = end;
                }
            } else if (shift) {
                if (mAnchor != end) {
                    if (end < length)
                        end = nextCharacter(mText, end);
                } else {
                    start = nextCharacter(mText, start);
                }
            } else {
                start = end;
            }
            break;
        default:
            break;
        }
        NewSelection(start, end);
        return true;
    }
    if (!command && (c == 3 || c == 9 || c == 10 || c == 13))
        return true;

    FWDynamicString candidate(mText);
    bool changed = false;
    auto groupDeletion = [this] {
        if (!mLastWasDeletion)
            MarkUndo();
        mLastWasDeletion = true;
        mLastWasTyping = false;
    };

    if (command) {
        // Command-Z: the undo text, when it passes, changes places with the current text.
        candidate = mUndoText;
        start = end = int32_t(candidate.GetCurrLength());
        changed = true;
        if (EditText::CheckText(candidate, lexer, multiToken, filter))
            swapUndoBuffer();
    } else if (c == 8) {
        groupDeletion();
        if (start != end) {
            candidate.Erase(uint32_t(start), uint32_t(end));
            end = start;
        } else if (start >= 1) {
            start = previousCharacter(candidate, start);
            candidate.Erase(uint32_t(start), uint32_t(end));
            end = start;
        }
        changed = true;
    } else if (c == 127) {
        groupDeletion();
        if (start != end) {
            candidate.Erase(uint32_t(start), uint32_t(end));
            end = start;
        } else if (start < length) {
            candidate.Erase(uint32_t(start), uint32_t(nextCharacter(candidate, start)));
        }
        changed = true;
    } else if (FWStringUtils::IsPrintable(char(c))) {
        mPendingInput.push_back(char(c));
        const int type = FWStringUtils::StringByteType(mPendingInput.data(), int32_t(mPendingInput.size()),
                                                       int32_t(mPendingInput.size()) - 1);
        if (type == FWStringUtils::kFirstByte) {
            mCaretAllowed = false;
        } else if (type != FWStringUtils::kMiddleByte) {
            FWDynamicString typed;
            typed.Set(uint32_t(mPendingInput.size()), mPendingInput.data());
            candidate.ReplaceInsert(&typed, uint32_t(start), uint32_t(end));
            start = end = start + int32_t(mPendingInput.size());
            mPendingInput.clear();
            changed = true;
        }
        if (!mLastWasTyping)
            MarkUndo();
        mLastWasTyping = true;
        mLastWasDeletion = false;
    }

    if (changed && EditText::CheckText(candidate, lexer, multiToken, filter)) {
        mText = candidate;
        mSelStart = start;
        mSelEnd = end;
        mAnchor = start;
        if (canDraw()) {
            FWDrawContext context(mView);
            DrawText(context);
        }
        mCaretAllowed = true;
    }
    return true;
}

// Mouse ------------------------------------------------------------------------------------

int32_t CEditTextRec::dragOffset(FWPoint where) const
{
    if (where.v < mEditRect.top)
        return 0;
    if (where.v >= mEditRect.bottom)
        return TextLength();
    return PointToInsertion(where.h - mEditRect.left);
}

void CEditTextRec::trackDrag(int32_t clickOffset, int32_t wordStart, int32_t wordEnd, bool byWords)
{
    FWWindow* w = window();
    if (w == nullptr)
        return;
    int32_t lastOffset = clickOffset;
    while (FWIsMouseStillDown()) {
        FWPoint where;
        w->GetMouseLocal(&where);
        mView->WindowToView(where);
        const int32_t offset = dragOffset(where);
        if (offset == lastOffset)
            continue;
        lastOffset = offset;
        if (byWords) {
            int32_t s = 0;
            int32_t e = 0;
            InsertionToWord(offset, s, e);
            if (s >= wordEnd)
                NewSelection(wordStart, e);
            else
                NewSelection(s, wordEnd);
        } else {
            NewSelection(std::min(mAnchor, offset), std::max(mAnchor, offset));
        }
    }
}

void CEditTextRec::AcceptMouseDown(FWPoint where, bool shift)
{
    if (!mActive)
        return;
    const int32_t offset = PointToInsertion(where.h - mEditRect.left);
    const uint32_t now = FWTickCount();
    int32_t wordStart = 0;
    int32_t wordEnd = 0;
    InsertionToWord(offset, wordStart, wordEnd);
    const bool doubleClick = mLastClickTick + FWDoubleTime() > now && wordStart == mLastClickWordStart &&
                             wordEnd == mLastClickWordEnd;
    if (doubleClick) {
        mLastClickTick = 0;
        mAnchor = offset;
        NewSelection(mLastClickWordStart, mLastClickWordEnd);
        trackDrag(offset, mLastClickWordStart, mLastClickWordEnd, true);
        return;
    }
    mLastClickTick = now;
    mLastClickWordStart = wordStart;
    mLastClickWordEnd = wordEnd;
    if (shift) {
        if (offset > mSelEnd || (offset >= mSelStart && offset - mSelStart > mSelEnd - offset)) {
            mAnchor = mSelStart;
            NewSelection(mSelStart, offset);
        } else {
            mAnchor = mSelEnd;
            NewSelection(offset, mSelEnd);
        }
    } else {
        mAnchor = offset;
        NewSelection(offset, offset);
    }
    trackDrag(offset, 0, 0, false);
}
