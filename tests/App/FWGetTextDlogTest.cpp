// The text-entry dialog run headless: its layout, typing into it, Return, Escape and the
// validator.
#include "FWGetTextDlog.h"

#include "EditText.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "PreorderTraversal.h"
#include "PushButton.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

constexpr uint8_t kReturnKey = 36;
constexpr uint8_t kEscapeKey = 53;

void typeKeys(const char* text)
{
    for (; *text != 0; ++text)
        HostInjectKey(0, uint8_t(*text));
}

template <class V>
V* find(FWWindow& window)
{
    PreorderTraversal<FWView> walk(window.ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        if (auto* found = dynamic_cast<V*>(view))
            return found;
    return nullptr;
}

// Refuses a first number of times, then accepts the text in capitals.
class Capitals : public FWGetTextDlog::Validator {
public:
    explicit Capitals(int refusals) : mRefusals(refusals) {}
    bool ValidateText(FWString& text) override
    {
        ++mAsked;
        if (mRefusals-- > 0)
            return false;
        for (uint32_t i = 0; i < text.GetCurrLength(); ++i)
            text[i] = char(std::toupper(static_cast<unsigned char>(text[i])));
        return true;
    }
    int mRefusals;
    int mAsked = 0;
};

TEST(FWGetTextDlog, LaidOutWithTheFieldFocusedAndAllSelected)
{
    HostDesktopScope desk;
    FWStr<63> text("old");
    FWGetTextDlog dialog(nullptr, text, nullptr);
    dialog.AutoInit();
    dialog.Show();
    EditText* field = dialog.Field();
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(10, field->GetRect().left);
    EXPECT_EQ(310, field->GetRect().right);
    OKButton* ok = find<OKButton>(dialog);
    CancelButton* cancel = find<CancelButton>(dialog);
    ASSERT_NE(nullptr, ok);
    ASSERT_NE(nullptr, cancel);
    EXPECT_EQ(239, ok->GetRect().left);
    EXPECT_EQ(310, ok->GetRect().right);
    EXPECT_EQ(161, cancel->GetRect().left);
    EXPECT_EQ(226, cancel->GetRect().right);
    EXPECT_TRUE(ok->DefaultAccept());
    EXPECT_TRUE(cancel->DefaultCancel());
    EXPECT_EQ(field, dialog.ViewMngr().GetKeyFocus());
    int32_t start = -1;
    int32_t end = -1;
    field->GetSelectionRange(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(3, end);
    dialog.Hide();
}

TEST(FWGetTextDlog, TheContentHoldsTheButtonsWithOrWithoutAPrompt)
{
    HostDesktopScope desk;
    for (const char* prompt : {static_cast<const char*>(nullptr), "Name of the layout:"}) {
        FWStr<63> text("old");
        FWGetTextDlog dialog(prompt, text, nullptr);
        dialog.AutoInit();
        FWRect content;
        dialog.GetContentRect(&content);
        const char* which = prompt != nullptr ? prompt : "no prompt";
        EXPECT_LE(find<OKButton>(dialog)->GetRect().bottom, content.bottom) << which;
        EXPECT_LE(find<CancelButton>(dialog)->GetRect().bottom, content.bottom) << which;
    }
}

TEST(FWGetTextDlog, TypingAndReturnStoreTheTextEscapeKeepsIt)
{
    HostDesktopScope desk;
    FWStr<63> text("old");
    {
        FWGetTextDlog dialog("Name of the layout:", text, nullptr);
        typeKeys("abc");
        HostInjectKey(kReturnKey, 13);
        EXPECT_TRUE(dialog.Execute());
    }
    EXPECT_EQ(std::string("abc"), text.GetCString());
    {
        FWGetTextDlog dialog(nullptr, text, nullptr);
        typeKeys("xyz");
        HostInjectKey(kEscapeKey, 27);
        EXPECT_FALSE(dialog.Execute());
    }
    EXPECT_EQ(std::string("abc"), text.GetCString());
}

TEST(FWGetTextDlog, TheValidatorDecidesWhatIsStored)
{
    HostDesktopScope desk;
    FWStr<63> text("old");
    {
        // A refusal keeps the dialog open with everything selected; the second Return stores
        // the validator's version of the text.
        Capitals capitals(1);
        FWGetTextDlog dialog(nullptr, text, &capitals);
        typeKeys("ab");
        HostInjectKey(kReturnKey, 13);
        HostInjectKey(kReturnKey, 13);
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(2, capitals.mAsked);
    }
    EXPECT_EQ(std::string("AB"), text.GetCString());
    {
        Capitals never(100);
        FWGetTextDlog dialog(nullptr, text, &never);
        typeKeys("q");
        HostInjectKey(kReturnKey, 13);
        EXPECT_FALSE(dialog.Execute());
        int32_t start = -1;
        int32_t end = -1;
        dialog.Field()->GetSelectionRange(start, end);
        EXPECT_EQ(0, start);
        EXPECT_EQ(1, end);
    }
    EXPECT_EQ(std::string("AB"), text.GetCString());
}

} // namespace

// The release of the press that opened the dialog (the double click of an editor) arrives first:
// it belongs to that press and must not take the focus from the field.
TEST(FWGetTextDlog, AReleaseWithoutItsPressKeepsTheFocus)
{
    HostDesktopScope desk;
    FWStr<63> text("old");
    FWGetTextDlog dialog(nullptr, text, nullptr);
    dialog.AutoInit();
    FWPoint corner(3, 3);
    dialog.WindowToGlobal(&corner);
    HostInjectMouseUp(Point{corner.v, corner.h});
    typeKeys("abc");
    HostInjectKey(kReturnKey, 13);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(std::string("abc"), text.GetCString());
}
