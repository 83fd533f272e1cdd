// The one-line text field of the framework's dialogs. It takes the key focus, blinks its caret
// on idle time, and can be bound to a value type: every edit is checked by that type's standard
// lexer (or a filter) before it is kept. Its editing record (CEditTextRec) does the key and
// mouse work; the field lays itself out, draws its box and title, and stores its record.
#pragma once

#include "FWArgb32.h"
#include "FWFont.h"
#include "FWIdleProcess.h"
#include "FWString.h"
#include "FWView.h"

#include <cstdint>

class CEditTextRec;
class RELexer;

// Accepts or refuses a candidate text of a field that has no lexer.
class EditTextFilter {
public:
    virtual ~EditTextFilter() = default;
    virtual bool Accepts(const FWString& text) const = 0;
};

class EditText : public FWIdleProcess, public FWView {
public:
    EditText();
    ~EditText() override;

    void UseIdleTime() override;
    // The caret's next blink.
    uint32_t TicksToIdleWork() const override;
    // Binds to the window, takes the key focus role, copies the title and lays out over rect.
    void Init(FWWindow* window, const FWRect& rect, FWString* title);
    using FWView::Init;
    void DefaultState() override;
    FWView* Duplicate(FWPoint offset) override;

    // Layout: the height is fixed by the font (ascent + descent + 6). SetRect takes the whole
    // view, title included; SetEditBounds the box alone.
    void SetRect(const FWRect& rect) override;
    void SetEditBounds(const FWRect& bounds);
    FWRect GetEditRect() const { return mEditBounds; }
    FWRect GetTextRect() const { return mTextRect; }
    const FWDynamicString& GetTitle() const { return mLabel.mText; }
    void SetTitle(const FWString& title);
    FWPoint GetTitlePoint() const { return mLabel.mPoint; }
    void SetInternational(bool international);

    // State
    void SetVisibility(bool visible) override;
    void ParentVisibilityChanged() override;
    bool SetCursor() override;
    void SetGhosted(bool ghosted) override;

    // Drawing
    void Draw(FWDrawContext& context) const override;
    void UpdateText(FWDrawContext& context) const;
    void FlashInsertionPoint();

    // The layout editor
    EditType FilterEditType(EditType type) override { return WidthOnlyEditType(type); }
    bool DoInterface() override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "EditText"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

    // Events
    bool MouseDownEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;
    bool AutoKeyEvent(FWEvent& event) override;
    bool ActivateEvent(bool activate) override;
    bool KeyEvent(FWEvent& event);

    // Edit commands
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

    // Text: the setters neither check nor draw.
    void GetText(FWString* out) const;
    int32_t GetTextLength() const;
    void SetText(int32_t length, const char* text);
    void SetText(const char* text);
    void SetText(const FWString* text);
    void GetSelectionRange(int32_t& start, int32_t& end) const;
    // Offsets past the end are taken as the length.
    void SelectRange(int32_t start, int32_t end);
    void SelectText();
    void GetTextRange(int32_t start, int32_t end, FWString* out) const;
    void GetSelectedText(FWString* out) const;
    bool HasSelection(FWString* out = nullptr) const;

    // Typed access
    int32_t GetLong() const;
    float GetFloat() const;
    void SetLong(int32_t value);
    void SetFloat(float value);

    // The check of every edit
    void Set(bool validate, FWString::Type type, bool allowExpression);
    void UseLexer(RELexer* lexer, bool multiToken);
    // Takes ownership; replaces (and deletes) an earlier filter.
    void SetFilter(EditTextFilter* filter);
    FWString::Type FilterType() const { return mType; }
    bool Validates() const { return mValidate; }
    bool AllowsExpressions() const { return mAllowExpressions; }
    RELexer* Lexer() const { return mLexer; }
    bool MultiToken() const { return mMultiToken; }
    static bool CheckText(const FWString& text, RELexer* lexer, bool multiToken, const EditTextFilter* filter);
    // The standard lexer of a value type; none for a type outside 0-5.
    static RELexer* LexerForType(FWString::Type type, bool allowExpression);

    // Behaviour flags
    bool PostTextEvents() const { return mPostTextEvents; }
    void SetPostTextEvents(bool post) { mPostTextEvents = post; }
    void EventOnReturnOnly() { mEventOnReturnOnly = true; }
    void EventOnLoseFocus() { mEventOnLoseFocus = true; }
    void SetTextColor(FWArgb32 color) { mTextColor = color; }
    void EnableTextUndo() { mUndoEnabled = true; }
    int32_t StoredLong() const { return mStoredLong; }

    // Fields of a window by view id. A view that is not an EditText gives a programmer message
    // and the default. The setters never check, and draw only with a context and when visible.
    static int32_t GGetLong(FWWindow* window, int32_t id, FWView* view = nullptr);
    static float GGetFloat(FWWindow* window, int32_t id, FWView* view = nullptr);
    static void GGetString(FWWindow* window, int32_t id, FWString* out, FWView* view = nullptr);
    static void GSetLong(FWWindow* window, int32_t id, int32_t value, FWDrawContext* context);
    static void GSetString(FWWindow* window, int32_t id, const FWString* text, FWDrawContext* context);

    // The editing record
    void AllocatePET(bool international);
    void ReleasePET();
    void SetRectPET(const FWRect& rect);
    void MouseDownPET(FWEvent& event);
    CEditTextRec* PET() const { return mPET; }

private:
    static constexpr const char* kSourcePath = "FW/App/Source/EditText";

    int32_t fieldHeight() const;
    int32_t titleWidth() const;
    const FWFont& layoutFont() const;
    void setTitlePoint();
    void postTextEvent();
    void redrawAfterEdit();
    bool pasteCandidate(FWDynamicString& candidate, int32_t& caret) const;
    static EditText* findField(FWWindow* window, int32_t id, FWView* view, const char* message, int line);
    void updateIfShown(FWDrawContext* context);

    CEditTextRec* mPET = nullptr;
    FWRect mEditBounds;
    bool mPostTextEvents = true;
    bool mEventOnReturnOnly = false;
    bool mEventOnLoseFocus = false;
    FWArgb32 mTextColor{255, 0, 0, 0};
    FWRect mTextRect;
    Label mLabel;
    RELexer* mLexer = nullptr;
    bool mMultiToken = false;
    bool mValidate = false;
    bool mAllowExpressions = false;
    // Kept as read, so a type outside 0-5 from a stored layout saves back unchanged.
    FWString::Type mType = FWString::kUnsignedInteger;
    EditTextFilter* mFilter = nullptr;
    int32_t mStoredLong = 4;
    bool mUndoEnabled = false;
    bool mInternational = false;
};
