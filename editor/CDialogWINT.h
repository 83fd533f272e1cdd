// The list of a document's layouts: a modal dialog (layout 123 of the program's resources) from
// which the user opens a layout, or adds, duplicates, renames and deletes layouts. Each command
// changes the file at once; the list mirrors the document's map after every command.
#pragma once

#include "FWDialog.h"
#include "FWStr.h"

#include <cstdint>
#include <optional>

class CQF_Document;
class ListBox;

class CDialogWINT : public FWModalDialog {
public:
    static constexpr int32_t kLayoutID = 123;
    // The attributes dialog: edit text 6 the layout id, 7 its name.
    static constexpr int32_t kAttributesLayoutID = 124;
    static constexpr int32_t kAttributesID = 6;
    static constexpr int32_t kAttributesName = 7;
    enum : int32_t { kList = 1, kOpen = 2, kRename = 3, kDuplicate = 4, kDelete = 5, kClose = 6, kNew = 7 };

    explicit CDialogWINT(CQF_Document* document);
    ~CDialogWINT() override;

    // Runs the dialog of the document; the id of the layout to open, nothing for none. Any id a
    // file stores can be chosen, -1 included.
    static std::optional<int32_t> Exec(CQF_Document* document);

    bool InterfaceEvent(FWView* view) override;

    ListBox* List() const { return mList; }
    std::optional<int32_t> ChosenID() const { return mChosenID; }

    void InterfaceFillList();
    void InterfaceButtons();
    void SelectItemWithID(int32_t id);

private:
    // Asks for a layout's id and name; true when both were accepted (the values are then set).
    bool AskAttributes(int32_t& id, FWStr<255>& name, const char* title);
    void DoNew();
    void DoDuplicate();
    void DoRename();
    void DoDelete();
    // The id of the first selected row, nothing for none.
    std::optional<int32_t> firstSelectedID();

    CQF_Document* mDocument;
    ListBox* mList = nullptr;
    std::optional<int32_t> mChosenID;
};
