// The pop-up's property dialog: its label, notify flag and item names, which can also be loaded
// from a text file, one item per line.
#include "ControlDialogs.h"

#include "CheckBox.h"
#include "EditText.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWFileDialog.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWStr.h"
#include "Popup.h"
#include "PushButton.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kPopupMenuFlags = 128;
constexpr size_t kLineLength = 255;
// A menu of the pop-up's kind with one item per name, each item's id its index.
template <class Names>
FWOpMenu* newMenu(const Names& names)
{
    auto* menu = new FWOpMenu("", 0, kPopupMenuFlags, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    int32_t index = 0;
    for (const auto& name : names)
        menu->AppendChild(new FWOpItem(FWDynamicString(name.c_str()), index++, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    return menu;
}

// Up to max lines of the file, each cut to its first kLineLength characters. A file ending in a
// line break gives a last, empty line; an empty file gives none. False on a read error.
bool readLines(const char* path, size_t max, std::vector<std::string>& lines)
{
    struct stat info {};
    // Only a regular file is read: a pipe or device could block or never end.
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (file == nullptr)
        return false;
    std::string line;
    bool started = false;
    for (;;) {
        const int c = std::getc(file.get());
        if (c == EOF) {
            if (std::ferror(file.get()))
                return false;
            if (started)
                lines.push_back(line);
            return true;
        }
        started = true;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            if (lines.size() >= max)
                return true;
        } else if (line.size() < kLineLength) {
            line += char(c);
        }
    }
}

} // namespace

PopupDlg::PopupDlg(FWDocument* document, Popup* popup) : BaseDlg(document, kLayoutID, popup, theStandardID)
{
    EditText::GSetLong(this, kCountItem, popup->CountItems(), nullptr);
    EditText::GSetString(this, kLabelItem, &popup->GetLabel(), nullptr);
    if (popup->GetPopupMenu() != nullptr && popup->GetPopupMenu()->Root() != nullptr) {
        int32_t p = 0;
        for (FWUserOp* item = popup->GetPopupMenu()->Root()->FirstChild(); item != nullptr && p < kMaxItems;
             item = item->NextPeer())
            EditText::GSetString(this, ItemField(p++), &item->Name(), nullptr);
    }
    CheckBox::GSetState(this, kNotifyItem, popup->GetNotifyOnEveryClick(), nullptr);
    Show();
}

bool PopupDlg::InterfaceTextEvent(EditText* edit)
{
    if (edit != nullptr && edit->GetTextLength() != 0 && edit->ID() >= ItemField(0) &&
        edit->ID() <= ItemField(kMaxItems - 1)) {
        const int32_t position = edit->ID() - kFirstItem;
        if (position >= EditText::GGetLong(this, kCountItem)) {
            FWDrawContext context(static_cast<FWWindow*>(this));
            EditText::GSetLong(this, kCountItem, position + 1, &context);
        }
    }
    return BaseDlg::InterfaceTextEvent(edit);
}

bool PopupDlg::InterfaceEvent(FWView* view)
{
    if (view != nullptr && view->ID() == kLoadButton && dynamic_cast<PushButton*>(view) != nullptr) {
        loadTextFile();
        return true;
    }
    return FWModalDialog::InterfaceEvent(view);
}

void PopupDlg::loadTextFile()
{
    const FWStr<31> title("Select a text file to load");
    FWFileDialog dialog(&title);
    if (!dialog.SelectFileForOpen())
        return;
    FileReference chosen;
    dialog.GetChosenFile(chosen);
    std::vector<std::string> lines;
    if (!readLines(chosen.PathName().GetCString(), size_t(kMaxItems), lines)) {
        ShowMessage("Error reading file", true);
        return;
    }
    if (lines.empty()) {
        ShowMessage("No one line was read", false);
        return;
    }
    // The loaded items belong to the pop-up at once: they stay even if the dialog is cancelled.
    static_cast<Popup*>(mView)->SetPopupMenu(newMenu(lines), true);
    for (int32_t p = 0; p < kMaxItems; ++p) {
        const FWDynamicString text(size_t(p) < lines.size() ? lines[size_t(p)].c_str() : "");
        EditText::GSetString(this, ItemField(p), &text, nullptr);
    }
    EditText::GSetLong(this, kCountItem, int32_t(lines.size()), nullptr);
    Inval(nullptr);
}

bool PopupDlg::AcceptItems()
{
    int32_t count = 0;
    if (!TypedNumber(this, kCountItem, 0, kMaxItems, "The number of items", count))
        return false;
    auto* popup = static_cast<Popup*>(mView);
    std::vector<std::string> names;
    for (int32_t p = 0; p < count; ++p) {
        FWDynamicString name;
        EditText::GGetString(this, ItemField(p), &name);
        names.emplace_back(name.GetCString(), name.GetCurrLength());
    }
    popup->SetPopupMenu(newMenu(names), true);
    popup->SetNotifyOnEveryClick(CheckBox::GGetState(this, kNotifyItem));
    FWDynamicString label;
    EditText::GGetString(this, kLabelItem, &label);
    popup->SetLabel(&label);
    return true;
}
