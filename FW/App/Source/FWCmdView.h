// The message log: a scrolling list of messages, each with an optional 16 x 16 icon and one or
// more lines of text, newest at the bottom, with up to two one-line input boxes under the last
// message. A new message scrolls the log to its end.
#pragma once

#include "FWDynamicString.h"
#include "FWView.h"

#include <cstdint>
#include <vector>

class EditText;
class ImageBuffer;
class Scroller;

// One message. Copies share the icon image of its id, each holding its own reference.
class CmdLine {
public:
    CmdLine(int32_t iconID, const char* text, int32_t top);
    CmdLine(const CmdLine& other);
    CmdLine& operator=(const CmdLine& other);
    ~CmdLine();

    bool operator<(const CmdLine& other) const { return mTop < other.mTop; }

    int32_t IconID() const { return mIconID; }
    void SetIcon(int32_t iconID);
    const ImageBuffer* Icon() const { return mIcon; }
    FWDynamicString& Text() { return mText; }
    const FWDynamicString& Text() const { return mText; }
    int32_t Top() const { return mTop; }
    // 1 + the number of line-break runs inside the text.
    int32_t Lines() const;
    // 16 for one line, else 12 a line and 1.
    int32_t Height() const;

private:
    void acquire();
    void release();

    int32_t mIconID = 0;
    ImageBuffer* mIcon = nullptr;
    FWDynamicString mText;
    int32_t mTop = 0;
};

class FWCmdView : public FWView {
public:
    FWCmdView();
    ~FWCmdView() override;

    // Binding to a window also binds the scroll bar, so a click in it tracks in that window.
    void Init(FWWindow* window) override;
    void OldRead(SerialStream& stream) override;

    // Messages. A text starts a new message (with the detail as its second line); a detail
    // alone adds a line to the last message. An input shows input box 0 with it; without one
    // the input boxes close, their texts added to the last message.
    void AppendMessage(int32_t icon, const char* text, const char* detail, const char* input);
    // Changes the last message: a new icon, a new text, the detail as its second line (added
    // to a one-line message, replacing the last line otherwise). Appends to an empty log.
    void ReplaceMessage(int32_t icon, const char* text, const char* detail, const char* input);
    const std::vector<CmdLine>& Messages() const { return mLines; }
    // The data's height: the last message's bottom and 3 (0 without a message).
    int32_t DataHeight() const;

    // Input boxes
    void set_edit_text(const char* text, int index);
    void hide_edit_boxes();
    EditText* InputBox(int index) const { return index >= 0 && index < 2 ? mActive[index] : nullptr; }

    // Geometry
    void SetRect(const FWRect& rect) override;
    FWRect ScrollBarRect() const;
    FWRect ContentRect() const;
    Scroller* GetScroller() const { return mScroller; }
    void scroll_by(int32_t change);
    static void scroll_proc(int32_t change, void* view, Scroller* scroller);

    // Events
    bool MouseDownEvent(FWEvent& event) override;
    bool AutoKeyEvent(FWEvent& event) override;
    bool CutEvent(FWEvent& event) override;
    bool CopyEvent(FWEvent& event) override;
    bool PasteEvent(FWEvent& event) override;
    bool ClearEvent(FWEvent& event) override;
    bool SelectAllEvent(FWEvent& event) override;
    bool SelectNoneEvent(FWEvent& event) override;
    bool CanCut() override;
    bool CanCopy() override;
    bool CanPaste() override;
    bool CanClear() override;
    bool CanSelectAll() override;
    bool CanSelectNone() override;

    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "FWCmdView"; }
    const FWString& Viewable_Name() const override;

private:
    void updateScrolling();
    void invalLastRow();
    void show_edit_box(const char* text, int index);
    FWRect editBoxRect(int index) const;
    // The box that takes the edit commands, when shown.
    EditText* editTarget() const;
    void pan(FWPoint start);

    std::vector<CmdLine> mLines;
    Scroller* mScroller;
    EditText* mActive[2] = {nullptr, nullptr};
    int mEditIndex = 0;
    int32_t mLineCount = 0;
    EditText* mCreated[2] = {nullptr, nullptr};
};
