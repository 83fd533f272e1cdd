// The editing record of a one-line edit field: the live text, the selection and its anchor,
// the caret and its blinking, the single-level undo text, and all key and mouse editing. Every
// edit is made on a copy of the text and kept only when the field's check accepts the copy.
#pragma once

#include "FWDynamicString.h"
#include "FWFont.h"
#include "FWRect.h"

#include <cstdint>
#include <vector>

class EditTextFilter;
class FWDrawContext;
class FWView;
class FWWindow;
class RELexer;
struct FWEvent;

class CEditTextRec {
public:
    // The record draws for view, in the view's parent coordinates inside the view's window.
    CEditTextRec(FWView* view, bool international);

    // Text and selection
    const FWDynamicString& Text() const { return mText; }
    // Replaces the text unchecked and undrawn; a selection past the end is cut to it.
    void SetText(uint32_t length, const char* text);
    // Replaces the text and puts the caret at an offset, drawing nothing; for edit commands
    // that have hidden the selection first.
    void ReplaceText(const FWString& text, int32_t caret);
    int32_t TextLength() const { return int32_t(mText.GetCurrLength()); }
    int32_t SelStart() const { return mSelStart; }
    int32_t SelEnd() const { return mSelEnd; }
    int32_t Anchor() const { return mAnchor; }
    // Moves the selection; an active record moves its highlight or caret on screen.
    void NewSelection(int32_t start, int32_t end);
    const FWDynamicString& UndoText() const { return mUndoText; }

    // State
    bool IsActive() const { return mActive; }
    void SetActive(bool active) { mActive = active; }
    bool CaretShown() const { return mCaretShown; }
    void SetCaretShown(bool shown) { mCaretShown = shown; }
    void SetLastCaretTick(uint32_t tick) { mLastCaretTick = tick; }
    const FWFont& Font() const { return mFont; }
    int32_t LineHeight() const { return mLineHeight; }
    int32_t Ascent() const { return mAscent; }
    FWRect EditRect() const { return mEditRect; }
    void SetEditRect(const FWRect& rect) { mEditRect = rect; }

    // Drawing, in the view's parent coordinates. DrawText keeps the context's state.
    void DrawText(FWDrawContext& context);
    // Exclusive-or: drawing the caret twice restores the pixels.
    void DrawCaret(FWDrawContext& context);
    void InvertHilite(FWDrawContext& context, int32_t start, int32_t end);
    FWRect GetHiliteRect(int32_t start, int32_t end) const;
    // Blinks the caret when its time has come.
    void IdleTime();
    // Ticks until IdleTime next blinks the caret; FWIdleProcess::kNoIdleWork when it does not
    // blink (inactive, a selection, no caret allowed, nowhere to draw).
    uint32_t TicksToCaretBlink() const;
    // Removes the caret or the highlight from the screen, whichever shows.
    void HideSelection();
    // Shows the caret at once after an edit command.
    void ShowCaretNow();

    // Geometry of the text: pixel offset of a byte offset, and the nearest byte offset to x.
    int32_t InsertionToPoint(int32_t offset) const;
    int32_t PointToInsertion(int32_t x) const;
    // The word around a byte offset, by the word-break tables.
    void InsertionToWord(int32_t offset, int32_t& start, int32_t& end) const;

    // Editing. AcceptKey answers whether the key was consumed.
    bool AcceptKey(FWEvent& event, RELexer* lexer, bool multiToken, const EditTextFilter* filter);
    void AcceptMouseDown(FWPoint where, bool shift);
    // The undo text becomes the current text.
    void MarkUndo() { mUndoText = mText; }

    // Byte classes of the word-break tables (12 classes).
    static int ByteClass(unsigned char byte);

private:
    FWWindow* window() const;
    bool canDraw() const;
    int32_t previousCharacter(const FWString& text, int32_t offset) const;
    int32_t nextCharacter(const FWString& text, int32_t offset) const;
    // One forward scan from pos; returns where it stopped, updating end at each boundary.
    int32_t scanForward(int32_t pos, int32_t& end) const;
    int32_t dragOffset(FWPoint where) const;
    void trackDrag(int32_t clickOffset, int32_t wordStart, int32_t wordEnd, bool byWords);
    void swapUndoBuffer();

    bool mLastWasDeletion = false;
    bool mLastWasTyping = false;
    FWDynamicString mUndoText;
    FWDynamicString mText;
    int32_t mSelStart = 0;
    int32_t mSelEnd = 0;
    int32_t mAnchor = 0;
    bool mActive = false;
    bool mCaretShown = false;
    uint32_t mLastCaretTick = 0;
    FWFont mFont;
    int32_t mLineHeight = 0;
    int32_t mAscent = 0;
    FWRect mEditRect{0, 0, 10, 10};
    FWView* mView = nullptr;
    uint32_t mLastClickTick = 0;
    int32_t mLastClickWordStart = 0;
    int32_t mLastClickWordEnd = 0;
    std::vector<char> mPendingInput;
    bool mCaretAllowed = true;
};
