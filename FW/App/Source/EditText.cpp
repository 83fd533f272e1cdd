// The one-line edit field: layout, drawing, activation, edit commands, the check of every edit,
// typed access by view id and the stored record.
#include "EditText.h"

#include "CEditTextRec.h"
#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWApp.h"
#include "FWAppColor.h"
#include "FWClipboard.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "RELexer.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <typeinfo>

namespace {

const FWStr<255> kDisplayName("EditText");
SubClassFactory<FWView, EditText> sFactory("EditText");

bool isNavigation(int c)
{
    return c == 1 || c == 4 || c == 11 || c == 12 || (c >= 28 && c <= 31);
}

} // namespace

EditText::EditText()
{
    SetDebugName("EditText");
}

EditText::~EditText()
{
    FWWindow* window = GetWindow();
    if (window != nullptr && FWWindow::IsValidWindow(window))
        window->ForgetTextEvent(this);
    delete mFilter;
    delete mPET;
}

void EditText::Init(FWWindow* window, const FWRect& rect, FWString* title)
{
    FWView::Init(window);
    EnableKeyFocus();
    if (title != nullptr)
        mLabel.mText = *title;
    AllocatePET(false);
    SetRect(rect);
}

void EditText::DefaultState()
{
    SetText("");
}

FWView* EditText::Duplicate(FWPoint offset)
{
    auto* copy = new EditText;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    FWDynamicString title(mLabel.mText);
    copy->Init(GetWindow(), rect, &title);
    copy->Set(mValidate, mType, mAllowExpressions);
    return copy;
}

// Layout -----------------------------------------------------------------------------------

const FWFont& EditText::layoutFont() const
{
    static const FWFont sDefault;
    if (GetWindow() != nullptr)
        return GetWindow()->Font();
    if (FWApp::Exists())
        if (FWWindow* front = FWApp::Instance()->GetFrontWindow())
            return front->Font();
    return sDefault;
}

int32_t EditText::fieldHeight() const
{
    FWFontMetrics metrics;
    layoutFont().GetFontMetrics(metrics);
    return metrics.ascent + metrics.descent + 6;
}

int32_t EditText::titleWidth() const
{
    if (mLabel.mText.GetCurrLength() == 0)
        return 0;
    return layoutFont().GetStringWidth(&mLabel.mText) + 2;
}

void EditText::setTitlePoint()
{
    FWFontMetrics metrics;
    layoutFont().GetFontMetrics(metrics);
    const FWRect view = GetRect();
    mLabel.mPoint = FWPoint(view.left, int16_t(view.top + metrics.ascent + 3));
}

void EditText::SetRect(const FWRect& rect)
{
    FWRect view = rect;
    view.bottom = int16_t(view.top + fieldHeight());
    mEditBounds = view;
    mEditBounds.left = int16_t(mEditBounds.left + titleWidth());
    if (mEditBounds.Width() < 13) {
        mEditBounds.right = int16_t(mEditBounds.left + 13);
        view.right = mEditBounds.right;
    }
    FWView::SetRect(view);
    setTitlePoint();
    mTextRect = mEditBounds;
    mTextRect.Inset(3, 3);
    SetRectPET(mTextRect);
}

void EditText::SetEditBounds(const FWRect& bounds)
{
    mEditBounds = bounds;
    mEditBounds.bottom = int16_t(mEditBounds.top + fieldHeight());
    if (mEditBounds.Width() < 13)
        mEditBounds.right = int16_t(mEditBounds.left + 13);
    FWRect view = mEditBounds;
    view.left = int16_t(view.left - titleWidth());
    FWView::SetRect(view);
    setTitlePoint();
    mTextRect = mEditBounds;
    mTextRect.Inset(3, 3);
    AllocatePET(mInternational);
    SetRectPET(mTextRect);
}

void EditText::SetTitle(const FWString& title)
{
    mLabel.mText = title;
    SetEditBounds(mEditBounds);
}

void EditText::SetInternational(bool international)
{
    if (international == mInternational)
        return;
    mInternational = international;
    // The new record keeps the text and selection of the old one.
    FWDynamicString text;
    int32_t start = 0;
    int32_t end = 0;
    if (mPET != nullptr) {
        text = mPET->Text();
        start = mPET->SelStart();
        end = mPET->SelEnd();
    }
    ReleasePET();
    AllocatePET(international);
    mPET->SetText(text.GetCurrLength(), text.GetCString());
    mPET->NewSelection(start, end);
    SetRectPET(mTextRect);
}

// The editing record -------------------------------------------------------------------------

void EditText::AllocatePET(bool international)
{
    if (mPET == nullptr)
        mPET = new CEditTextRec(this, international);
}

void EditText::ReleasePET()
{
    delete mPET;
    mPET = nullptr;
}

void EditText::SetRectPET(const FWRect& rect)
{
    if (mPET != nullptr)
        mPET->SetEditRect(rect);
}

void EditText::MouseDownPET(FWEvent& event)
{
    if (mPET == nullptr)
        return;
    FWPoint where = event.mWhere;
    WindowToView(where);
    mPET->AcceptMouseDown(where, event.ShiftKeyDown());
}

// State ------------------------------------------------------------------------------------

void EditText::UseIdleTime()
{
    if (Visible() && AllParentsVisible())
        FlashInsertionPoint();
}

uint32_t EditText::TicksToIdleWork() const
{
    return mPET != nullptr ? mPET->TicksToCaretBlink() : kNoIdleWork;
}

void EditText::FlashInsertionPoint()
{
    if (mPET != nullptr)
        mPET->IdleTime();
}

void EditText::SetVisibility(bool visible)
{
    FWView::SetVisibility(visible);
    if (visible)
        return;
    if (mPET != nullptr)
        mPET->SetCaretShown(false);
    if (FWViewMngr* manager = GetViewMngr(); manager != nullptr && manager->GetKeyFocus() == this)
        manager->SetKeyFocus(nullptr);
}

void EditText::ParentVisibilityChanged()
{
    FWView::ParentVisibilityChanged();
    if (Visible() && AllParentsVisible())
        return;
    if (mPET != nullptr)
        mPET->SetCaretShown(false);
    if (FWViewMngr* manager = GetViewMngr(); manager != nullptr && manager->GetKeyFocus() == this)
        manager->SetKeyFocus(nullptr);
}

void EditText::SetGhosted(bool ghosted)
{
    FWView::SetGhosted(ghosted);
    if (!ghosted)
        return;
    if (FWViewMngr* manager = GetViewMngr(); manager != nullptr && manager->GetKeyFocus() == this)
        manager->SetKeyFocus(nullptr);
}

bool EditText::SetCursor()
{
    FWWindow* window = GetWindow();
    bool inText = false;
    if (window != nullptr && window->IsHighlighted()) {
        FWPoint where;
        FWGetMousePosition(where);
        window->GlobalToWindow(&where);
        WindowToView(where);
        inText = mTextRect.PtInRect(where);
    }
    FWSetCursor(inText ? kIBeamCursor : kArrowCursor);
    return true;
}

bool EditText::ActivateEvent(bool activate)
{
    if (mPET == nullptr)
        return false;
    if (!activate && mEventOnLoseFocus)
        SendInterfaceEvent(this);
    FWWindow* window = GetWindow();
    const bool shown = window != nullptr && Visible() && AllParentsVisible();
    if (IsGhosted()) {
        if (shown) {
            FWDrawContext context(window);
            DrawView(context);
        }
        StopIdling();
        return true;
    }
    if (activate && AllParentsVisible())
        SelectText();
    if (mPET->IsActive() != activate) {
        mPET->SetActive(activate);
        if (shown) {
            const bool empty = mPET->SelStart() == mPET->SelEnd();
            if (activate) {
                if (empty) {
                    mPET->SetLastCaretTick(0);
                    FlashInsertionPoint();
                } else {
                    FWDrawContext context(static_cast<FWView*>(this));
                    mPET->InvertHilite(context, mPET->SelStart(), mPET->SelEnd());
                }
            } else if (!empty) {
                FWDrawContext context(static_cast<FWView*>(this));
                UpdateText(context);
            } else if (mPET->CaretShown()) {
                FWDrawContext context(static_cast<FWView*>(this));
                mPET->DrawCaret(context);
            }
        }
        if (!activate)
            mPET->SetCaretShown(false);
    }
    if (activate)
        StartIdling();
    else
        StopIdling();
    return true;
}

// Drawing ----------------------------------------------------------------------------------

void EditText::Draw(FWDrawContext& context) const
{
    if (mLabel.mText.GetCurrLength() != 0)
        context.DrawEmbossedString(mLabel.mPoint.h, mLabel.mPoint.v, &mLabel.mText, IsGhosted(), 0, false);
    FWForeColorSaver fore(context);
    FWPenLocSaver location(context);
    context.InsetRect(&mEditBounds, false);
    FWRect box = mEditBounds;
    box.Inset(1, 1);
    context.SetForeColor(IsGhosted() ? FWGetAppColor(10) : FWArgb32(255, 0, 0, 0));
    context.FrameRect(&box);
    box.Inset(2, 2);
    context.SetForeColor(FWGetAppColor(0));
    context.MoveTo(box.right, box.top);
    context.LineTo(box.left, box.top);
    context.LineTo(box.left, box.bottom);
    context.SetForeColor(FWGetAppColor(1));
    context.MoveTo(box.right, box.top);
    context.LineTo(box.right, box.bottom);
    context.LineTo(box.left, box.bottom);
    context.PaintRect(&box, FWArgb32(255, 255, 255, 255));
    UpdateText(context);
}

void EditText::UpdateText(FWDrawContext& context) const
{
    if (mPET == nullptr)
        return;
    FWForeColorSaver fore(context, IsGhosted() ? FWGetAppColor(10) : FWArgb32(255, 0, 0, 0));
    mPET->DrawText(context);
}

// Keys and mouse -----------------------------------------------------------------------------

bool EditText::KeyEvent(FWEvent& event)
{
    if ((event.mModifiers & kFWCommandKey) != 0) {
        const char c = event.EventCharacter();
        if (!mUndoEnabled || (c != 'z' && c != 'Z'))
            return false;
    }
    if (mPET == nullptr)
        return false;
    return mPET->AcceptKey(event, mLexer, mMultiToken, mFilter);
}

bool EditText::KeyDownEvent(FWEvent& event)
{
    const bool consumed = KeyEvent(event);
    const int c = uint8_t(event.EventCharacter());
    if (consumed) {
        SendValue();
        if (!mEventOnReturnOnly || c == 13 || c == 3)
            SendInterfaceEvent(this);
        if (!isNavigation(c))
            postTextEvent();
    }
    // The window sees every key too (Return presses a dialog's default button). A key the
    // window takes is not offered to it a second time through the handler chain.
    bool windowTook = false;
    if (FWWindow* window = GetWindow())
        windowTook = static_cast<FWEventHandler*>(window)->KeyDownEvent(event);
    return consumed || windowTook;
}

bool EditText::AutoKeyEvent(FWEvent& event)
{
    const bool consumed = KeyEvent(event);
    if (consumed) {
        SendValue();
        if (!mEventOnReturnOnly)
            SendInterfaceEvent(this);
    }
    return consumed;
}

bool EditText::MouseDownEvent(FWEvent& event)
{
    MouseDownPET(event);
    return true;
}

void EditText::postTextEvent()
{
    if (mPostTextEvents && GetWindow() != nullptr)
        GetWindow()->PostTextEvent(this);
}

// Edit commands ----------------------------------------------------------------------------

void EditText::redrawAfterEdit()
{
    if (GetWindow() != nullptr && Visible() && AllParentsVisible()) {
        FWDrawContext context(static_cast<FWView*>(this));
        UpdateText(context);
        mPET->ShowCaretNow();
    }
    postTextEvent();
}

bool EditText::CopyEvent(FWEvent&)
{
    FWDynamicString selected;
    GetSelectedText(&selected);
    FWClipboard* clipboard = FWClipboard::Instance();
    clipboard->ClearClipboard();
    clipboard->AddClipData(new FWClipboardText(selected));
    return true;
}

bool EditText::ClearEvent(FWEvent&)
{
    if (mPET == nullptr || mPET->SelStart() == mPET->SelEnd())
        return true;
    const int32_t start = mPET->SelStart();
    FWDynamicString text(mPET->Text());
    text.Erase(uint32_t(start), uint32_t(mPET->SelEnd()));
    mPET->HideSelection();
    mPET->ReplaceText(text, start);
    redrawAfterEdit();
    return true;
}

bool EditText::CutEvent(FWEvent& event)
{
    CopyEvent(event);
    return ClearEvent(event);
}

bool EditText::pasteCandidate(FWDynamicString& candidate, int32_t& caret) const
{
    if (mPET == nullptr)
        return false;
    auto* clip = static_cast<FWClipboardText*>(FWClipboard::Instance()->GetClipData(&typeid(FWClipboardText)));
    if (clip == nullptr)
        return false;
    candidate = mPET->Text();
    candidate.ReplaceInsert(&clip->Text(), uint32_t(mPET->SelStart()), uint32_t(mPET->SelEnd()));
    caret = mPET->SelStart() + int32_t(clip->Text().GetCurrLength());
    return CheckText(candidate, mLexer, mMultiToken, mFilter);
}

bool EditText::PasteEvent(FWEvent&)
{
    // A copy another program just made pastes once its text came, not the copy before it.
    if (!FWClipboard::Instance()->WaitForPlatformText())
        return true;
    auto* clip = static_cast<FWClipboardText*>(FWClipboard::Instance()->GetClipData(&typeid(FWClipboardText)));
    if (clip == nullptr || clip->Text().GetCurrLength() == 0)
        return true;
    FWDynamicString candidate;
    int32_t caret = 0;
    if (!pasteCandidate(candidate, caret))
        return true;
    mPET->HideSelection();
    mPET->MarkUndo();
    mPET->ReplaceText(candidate, caret);
    redrawAfterEdit();
    return true;
}

bool EditText::SelectAllEvent(FWEvent&)
{
    SelectText();
    return true;
}

bool EditText::SelectNoneEvent(FWEvent&)
{
    const int32_t length = GetTextLength();
    SelectRange(length, length);
    return true;
}

bool EditText::CanCut()
{
    return HasSelection();
}

bool EditText::CanCopy()
{
    return HasSelection();
}

bool EditText::CanClear()
{
    return HasSelection();
}

bool EditText::CanPaste()
{
    FWDynamicString candidate;
    int32_t caret = 0;
    return pasteCandidate(candidate, caret);
}

bool EditText::CanSelectAll()
{
    return GetTextLength() != 0;
}

bool EditText::CanSelectNone()
{
    return GetTextLength() != 0;
}

// Text -------------------------------------------------------------------------------------

void EditText::GetText(FWString* out) const
{
    if (out == nullptr)
        return;
    if (mPET == nullptr)
        out->Set(uint32_t(0), "");
    else
        *out = mPET->Text();
}

int32_t EditText::GetTextLength() const
{
    return mPET != nullptr ? mPET->TextLength() : 0;
}

void EditText::SetText(int32_t length, const char* text)
{
    AllocatePET(mInternational);
    mPET->SetText(uint32_t(std::max<int32_t>(length, 0)), text != nullptr ? text : "");
}

void EditText::SetText(const char* text)
{
    const char* p = text != nullptr ? text : "";
    SetText(int32_t(std::strlen(p)), p);
}

void EditText::SetText(const FWString* text)
{
    if (text != nullptr)
        SetText(int32_t(text->GetCurrLength()), text->GetCString());
}

void EditText::GetSelectionRange(int32_t& start, int32_t& end) const
{
    start = mPET != nullptr ? mPET->SelStart() : 0;
    end = mPET != nullptr ? mPET->SelEnd() : 0;
}

void EditText::SelectRange(int32_t start, int32_t end)
{
    if (mPET == nullptr)
        return;
    const int32_t length = mPET->TextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start > end)
        std::swap(start, end);
    mPET->NewSelection(start, end);
}

void EditText::SelectText()
{
    SelectRange(0, GetTextLength());
}

void EditText::GetTextRange(int32_t start, int32_t end, FWString* out) const
{
    if (out == nullptr)
        return;
    const int32_t length = GetTextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    out->Set(uint32_t(end - start), mPET != nullptr ? mPET->Text().GetCString() + start : "");
}

void EditText::GetSelectedText(FWString* out) const
{
    int32_t start = 0;
    int32_t end = 0;
    GetSelectionRange(start, end);
    GetTextRange(start, end, out);
}

bool EditText::HasSelection(FWString* out) const
{
    int32_t start = 0;
    int32_t end = 0;
    GetSelectionRange(start, end);
    if (start == end)
        return false;
    if (out != nullptr)
        GetTextRange(start, end, out);
    return true;
}

// Typed access -----------------------------------------------------------------------------

int32_t EditText::GetLong() const
{
    FWStr<255> text;
    GetText(&text);
    return text.GetLong();
}

float EditText::GetFloat() const
{
    FWStr<255> text;
    GetText(&text);
    return text.GetReal();
}

void EditText::SetLong(int32_t value)
{
    FWStr<255> text;
    text.Set(value);
    SetText(&text);
}

void EditText::SetFloat(float value)
{
    FWStr<255> text;
    text.Set(double(value), 0, int16_t(FWString::gFloatingPrecision), false);
    SetText(&text);
}

// The check --------------------------------------------------------------------------------

RELexer* EditText::LexerForType(FWString::Type type, bool allowExpression)
{
    // A stored type byte can hold any value; only the six value types have a lexer.
    if (type < FWString::kUnsignedInteger || type > FWString::kExpressionList)
        return nullptr;
    return FWString::GetLexerForType(type, allowExpression);
}

bool EditText::CheckText(const FWString& text, RELexer* lexer, bool multiToken, const EditTextFilter* filter)
{
    if (lexer != nullptr)
        return multiToken ? lexer->AcceptsMultipleTokens(text.GetCString(), text.GetCurrLength())
                          : lexer->AcceptsOneToken(text.GetCString(), text.GetCurrLength());
    if (filter != nullptr)
        return filter->Accepts(text);
    return true;
}

void EditText::Set(bool validate, FWString::Type type, bool allowExpression)
{
    mValidate = validate;
    mType = type;
    mAllowExpressions = allowExpression;
    mLexer = validate ? LexerForType(type, allowExpression) : nullptr;
    mMultiToken = false;
    SetRect(GetRect());
}

void EditText::UseLexer(RELexer* lexer, bool multiToken)
{
    mLexer = lexer;
    mMultiToken = multiToken;
}

void EditText::SetFilter(EditTextFilter* filter)
{
    if (filter == mFilter)
        return;
    delete mFilter;
    mFilter = filter;
}

// Fields by view id ------------------------------------------------------------------------

EditText* EditText::findField(FWWindow* window, int32_t id, FWView* view, const char* message, int line)
{
    if (view == nullptr && window != nullptr)
        view = window->ViewMngr().GetView(id);
    auto* field = dynamic_cast<EditText*>(view);
    if (field == nullptr)
        fw_programmer_message(message, kSourcePath, line);
    return field;
}

void EditText::updateIfShown(FWDrawContext* context)
{
    if (context == nullptr || !Visible() || !AllParentsVisible())
        return;
    InitDrawContext(*context);
    UpdateText(*context);
    FinishDrawContext(*context);
}

int32_t EditText::GGetLong(FWWindow* window, int32_t id, FWView* view)
{
    EditText* field = findField(window, id, view, "Called 'GGetLong' on a non-EditText object.", __LINE__);
    return field != nullptr ? field->GetLong() : 0;
}

float EditText::GGetFloat(FWWindow* window, int32_t id, FWView* view)
{
    EditText* field = findField(window, id, view, "Called 'GGetFloat' on a non-EditText object.", __LINE__);
    return field != nullptr ? field->GetFloat() : 0.0f;
}

void EditText::GGetString(FWWindow* window, int32_t id, FWString* out, FWView* view)
{
    EditText* field = findField(window, id, view, "Called 'GGetString' on a non-EditText object.", __LINE__);
    if (field != nullptr)
        field->GetText(out);
}

void EditText::GSetLong(FWWindow* window, int32_t id, int32_t value, FWDrawContext* context)
{
    EditText* field = findField(window, id, nullptr, "Called 'GSetLong' on a non-EditText object.", __LINE__);
    if (field == nullptr)
        return;
    field->SetLong(value);
    field->updateIfShown(context);
}

void EditText::GSetString(FWWindow* window, int32_t id, const FWString* text, FWDrawContext* context)
{
    EditText* field = findField(window, id, nullptr, "Called 'GSetString' on a non-EditText object.", __LINE__);
    if (field == nullptr)
        return;
    field->SetText(text);
    field->updateIfShown(context);
}

// The layout editor ------------------------------------------------------------------------

bool EditText::DoInterface()
{
    EditTextDlg dialog(nullptr, this);
    return dialog.Execute();
}

void EditText::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mLabel.mText.GetCString());
    std::fprintf(file, "\t\tviewArray[%ld] = new EditText(window, rect, &string);\n", long(index));
}

const FWString& EditText::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* EditText::Viewable_Icon()
{
    return DiskImage::Acquire(2006, FOUR_CHAR_CODE("argb"));
}

// The stored record ------------------------------------------------------------------------
// Version 2: version byte; the view record; edit bounds; title (0-terminated); multi-token,
// validate, allow expressions and type, a byte each; the stored long. The text is not stored.
// Version 1 (read only) also holds the text rect, the title point, and a byte, two rects and a
// double that nothing uses.

void EditText::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("EditText", 2);
    FWView::OldWrite(stream);
    stream.WriteFWRect(mEditBounds);
    stream.WriteString(mLabel.mText);
    stream.WriteByte(mMultiToken ? 1 : 0);
    stream.WriteByte(mValidate ? 1 : 0);
    stream.WriteByte(mAllowExpressions ? 1 : 0);
    stream.WriteByte(int8_t(uint8_t(mType)));
    stream.WriteLong(mStoredLong);
    stream.FinishClass("EditText", this, 0);
}

void EditText::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("EditText");
    FWView::OldRead(stream);
    if (version != 1 && version != 2) {
        FWStoredDataNotice::Report("Unknown 'EditText' version", kSourcePath, __LINE__);
        // The defaults stay, laid out in the stored view rect as version 1 is: edit bounds left
        // at their default would move the field when it is saved and read back.
        SetRect(GetRect());
        stream.FinishClass("EditText", this, 0);
        return;
    }
    FWRect bounds;
    stream.ReadFWRect(bounds);
    if (version == 1) {
        FWRect unusedTextRect;
        stream.ReadFWRect(unusedTextRect);
        mLabel.OldRead(stream);
    } else {
        stream.ReadString(mLabel.mText);
    }
    mMultiToken = stream.ReadByte() != 0;
    mValidate = stream.ReadByte() != 0;
    mAllowExpressions = stream.ReadByte() != 0;
    mType = FWString::Type(uint8_t(stream.ReadByte()));
    if (version == 1) {
        stream.ReadByte();
        FWRect unused;
        stream.ReadFWRect(unused);
        stream.ReadFWRect(unused);
        stream.ReadDouble();
    }
    mStoredLong = stream.ReadLong();

    mEditBounds = bounds;
    mLexer = mValidate ? LexerForType(mType, mAllowExpressions) : nullptr;
    mPostTextEvents = true;
    ReleasePET();
    AllocatePET(mInternational);
    if (version == 2)
        SetEditBounds(bounds);
    else
        SetRect(GetRect());
    stream.FinishClass("EditText", this, 0);
}
