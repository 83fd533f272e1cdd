// The swatch picker: its pop-up of swatch commands and swatches, and the commands themselves.
#include "SwatchPicker.h"

#include "FWException.h"
#include "FWFileDialog.h"
#include "FWFileType.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWUserMsg.h"
#include "Dependable.h"
#include "FileReference.h"
#include "HostCoreFoundation.h"
#include "HostTypes.h"
#include "Popup.h"

#include <memory>

namespace {

constexpr int kDeleteSwatchID = 5;
constexpr uint32_t kMenuFlags = kUserOpHasChildren;

struct CommandItem {
    const char* text;
    int32_t id;
};
const CommandItem kCommandItems[] = {
    {"New Swatch...", 1},    {"Load Swatch...", 2},   {"Save Swatch...", 3},
    {"Rename Swatch...", 4}, {"Delete Swatch...", 5}, {"Import Color Table...", 6},
};

FWOpItem* makeItem(const FWString& name, int32_t id, uint32_t flags)
{
    return new FWOpItem(name, id, flags, 0, 0, nullptr, nullptr, nullptr, 0, 0);
}

FWFileType swatchFilter()
{
    return FWFileType(kSwatchFileType, FWStr<31>("Swatch Files"));
}

} // namespace

SwatchPicker::SwatchPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 70)
{
    ReadImagesFromDisk(904, FOUR_CHAR_CODE("PICT"));
    RegisterSwatchFileTypes();
    if (gColorSwatches.CountSwatches() == 0)
        LoadDefaultSwatches();
    if (gCurrentSwatchName.GetCurrLength() != 0)
        mSwatch = gColorSwatches.FindSwatchByName(gCurrentSwatchName);
    if (mSwatch == nullptr) {
        mSwatch = gColorSwatches.FindSwatchByIndex(0);
        if (mSwatch != nullptr)
            gCurrentSwatchName = mSwatch->GetSwatchName();
    }
}

SwatchPicker::~SwatchPicker()
{
    // Thrown out of a destructor the failure would end the program; the collection stays in
    // memory for the next try.
    try {
        SaveColorSwatches();
    } catch (FWException& e) {
        FWException::ReportException(e, "save the color swatches");
    } catch (std::exception& e) {
        FWException::ReportException(e.what(), "save the color swatches");
    }
}

void SwatchPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = CSwatchDisplay::GetSwatchDisplayWidth();
    height = CSwatchDisplay::GetSwatchDisplayHeight();
}

void SwatchPicker::PickerViewsRemoved()
{
    mDisplay = nullptr;
    mPopup = nullptr;
}

void SwatchPicker::AddPickerViews(int16_t x, int16_t y)
{
    FWWindow* window = GetPickerWindow();
    if (window == nullptr)
        return;
    auto* display = new CSwatchDisplay(window, this);
    const FWRect frame(x, y, int16_t(x + 149), int16_t(y + 83));
    display->Initialize(&frame, mSwatch);
    AddOneViewToPickerWindow(display);
    mDisplay = display;

    auto* popup = new Popup;
    popup->Init(window, FWRect(int16_t(x + 69), int16_t(y - 24), int16_t(x + 149), int16_t(y - 8)), nullptr, 0, true);
    auto* menu = new FWOpMenu("", 0, kMenuFlags, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const CommandItem& item : kCommandItems)
        menu->AppendChild(makeItem(FWStr<31>(item.text), item.id, 0));
    menu->AppendChild(makeItem(FWStr<31>("-"), 0, kUserOpSeparator | kUserOpDisabled));
    for (long i = 0; i < gColorSwatches.CountSwatches(); ++i)
        menu->AppendChild(makeItem(gColorSwatches.FindSwatchByIndex(i)->GetSwatchName(), 0, 0));
    popup->SetPopupMenu(menu, true);
    AddOneViewToPickerWindow(popup);
    mPopup = popup;
    showCurrentPosition();
    enableDelete();
}

FWOpMenu* SwatchPicker::popupMenu() const
{
    if (mPopup == nullptr || mPopup->GetPopupMenu() == nullptr)
        return nullptr;
    return mPopup->GetPopupMenu()->Root();
}

void SwatchPicker::enableDelete()
{
    if (FWOpMenu* menu = popupMenu())
        menu->EnableItemByID(kDeleteSwatchID, gColorSwatches.CountSwatches() > 1);
}

void SwatchPicker::showCurrentPosition()
{
    if (mPopup == nullptr)
        return;
    // The current swatch's own place: a name can repeat, and the grid shows this swatch.
    const long index = gColorSwatches.FindSwatchIndex(mSwatch);
    mPopup->SetItemSelected(int(kFirstSwatchItem + (index < 0 ? 0 : index)));
    mPopup->Inval();
}

bool SwatchPicker::InterfaceEvent(FWView* view)
{
    if (view == nullptr || view != mPopup)
        return FWColorPicker::InterfaceEvent(view);
    const int position = mPopup->ItemSelected();
    switch (position) {
    case kNewSwatchItem: NewSwatch(); break;
    case kLoadSwatchItem: LoadSwatch(); break;
    case kSaveSwatchItem: SaveSwatch(); break;
    case kRenameSwatchItem: RenameSwatch(); break;
    case kDeleteSwatchItem: DeleteSwatch(); break;
    case kImportColorTableItem: ImportColorTable(); break;
    default: SelectNewSwatch(position - kFirstSwatchItem); break;
    }
    // A command that left the swatch as it was (cancelled, or Save) leaves its name selected.
    if (position >= kNewSwatchItem && position < kSeparatorItem)
        showCurrentPosition();
    return true;
}

void SwatchPicker::GetCurrentColor(FWRgb32& color) const
{
    // Clamped as the colour button shows it, so the colour added is the colour seen.
    color = FWRgb32(FWColorByte(mColor.r), FWColorByte(mColor.g), FWColorByte(mColor.b));
}

void SwatchPicker::NewSwatchColor(FWRgb32 color, const ActionType& action)
{
    mColor.r = float(color.r / 255.0);
    mColor.g = float(color.g / 255.0);
    mColor.b = float(color.b / 255.0);
    DispatchEditedColor(mColor, action);
}

void SwatchPicker::SelectNewSwatch(int index)
{
    CColorSwatch* swatch = gColorSwatches.FindSwatchByIndex(index);
    if (swatch == nullptr)
        return;
    mSwatch = swatch;
    gCurrentSwatchName = swatch->GetSwatchName();
    if (mDisplay != nullptr)
        mDisplay->SetTheSwatch(swatch);
    if (mPopup != nullptr) {
        mPopup->SetItemSelected(index + kFirstSwatchItem);
        mPopup->Inval();
    }
}

void SwatchPicker::appendSwatch(CColorSwatch* swatch)
{
    gColorSwatches.AddSwatch(swatch);
    if (FWOpMenu* menu = popupMenu())
        menu->AppendChild(makeItem(swatch->GetSwatchName(), 0, 0));
    SelectNewSwatch(int(gColorSwatches.CountSwatches() - 1));
    enableDelete();
}

void SwatchPicker::NewSwatch()
{
    FWStr<255> name("");
    SwatchNameValidator validator;
    FWGetTextDlog dialog("Enter a name for the new swatch:", name, &validator);
    const bool accepted = dialog.Execute();
    dialog.SendMessage(Dependable::IsBeingDeleted);
    if (!accepted)
        return;
    const FWStr<31ul> swatchName(name);
    auto* swatch = new CColorSwatch(2, &swatchName);
    (*swatch)[0] = FWRgb32(255, 255, 255);
    (*swatch)[1] = FWRgb32(0, 0, 0);
    appendSwatch(swatch);
}

void SwatchPicker::RenameSwatch()
{
    if (mSwatch == nullptr)
        return;
    FWStr<255> name(mSwatch->GetSwatchName());
    SwatchNameValidator validator;
    FWGetTextDlog dialog("Enter a new name for the swatch:", name, &validator);
    const bool accepted = dialog.Execute();
    dialog.SendMessage(Dependable::IsBeingDeleted);
    if (!accepted || FWStr<31ul>(name) == mSwatch->GetSwatchName())
        return;
    const long index = gColorSwatches.FindSwatchIndex(mSwatch);
    if (FWOpMenu* menu = popupMenu())
        if (FWUserOp* item = menu->MenuItem(int(index + kFirstSwatchItem)))
            item->SetName(name);
    mSwatch->SetSwatchName(FWStr<31ul>(name));
    if (mPopup != nullptr)
        mPopup->SetItemSelected(int(index + kFirstSwatchItem));
}

void SwatchPicker::DeleteSwatch()
{
    if (mSwatch == nullptr || gColorSwatches.CountSwatches() < 2)
        return;
    // The name is an argument: a '%' in it must not be read as a format.
    FWUserMsg message("Are you sure you want to delete swatch \"%s\"?", mSwatch->GetSwatchName().GetCString());
    message.SetOKTitle("Delete");
    message.SetCancelTitle("Cancel");
    const bool accepted = message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
    if (!accepted)
        return;
    long index = gColorSwatches.FindSwatchIndex(mSwatch);
    if (index < 0)
        return;
    if (FWOpMenu* menu = popupMenu())
        menu->RemoveItem(int(index + kFirstSwatchItem));
    mSwatch = nullptr;
    gColorSwatches.RemoveSwatchByIndex(index);
    if (index >= gColorSwatches.CountSwatches())
        index = gColorSwatches.CountSwatches() - 1;
    SelectNewSwatch(int(index));
    enableDelete();
}

void SwatchPicker::LoadSwatch()
{
    const FWStr<31> title("Load Swatch");
    FWFileDialog dialog(&title);
    dialog.AddFilter(swatchFilter());
    if (!dialog.SelectFileForOpen())
        return;
    FileReference file;
    dialog.GetChosenFile(file);
    auto swatch = std::make_unique<CColorSwatch>();
    ReadColorSwatchFile(file, *swatch);
    appendSwatch(swatch.release());
}

void SwatchPicker::SaveSwatch()
{
    if (mSwatch == nullptr)
        return;
    const FWStr<31> title("Save Swatch");
    FWFileDialog dialog(&title);
    // Files here have no types: the extension is what lists the file under "Swatch Files".
    // The swatch's name is system text; file names are UTF-8.
    std::string proposed = mSwatch->GetSwatchName().GetCString();
    if (CFStringRef name = CFStringCreateWithCString(nullptr, proposed.c_str(), kCFStringEncodingMacRoman)) {
        proposed = HostCFStringToUtf8(name);
        CFRelease(name);
    }
    dialog.SetDefaultFileName(FWStr<255>((proposed + ".swch").c_str()));
    dialog.AddFilter(swatchFilter());
    if (!dialog.SelectFileForSave())
        return;
    FileReference file;
    dialog.GetChosenFile(file);
    WriteColorSwatchFile(file, *mSwatch);
    FWFileType::SetFileType(file, kSwatchFileType, sSwatchCreator);
}

void SwatchPicker::ImportColorTable()
{
    const FWStr<31> title("Open Color Table File");
    FWFileDialog dialog(&title);
    dialog.AddFilter(FWFileType(kColorTableFileType, FWStr<31>("Photoshop CLUT Files")));
    if (!dialog.SelectFileForOpen())
        return;
    FileReference file;
    dialog.GetChosenFile(file);
    auto swatch = std::make_unique<CColorSwatch>();
    ReadColorTableFile(file, *swatch);
    appendSwatch(swatch.release());
}

bool SwatchNameValidator::ValidateText(FWString& text)
{
    const char* format = nullptr;
    if (text.GetCurrLength() == 0)
        format = "You must enter a valid name or cancel.";
    else if (text.GetCurrLength() > 31)
        format = "The name \"%s\" is too long.\r\rPlease enter a shorter swatch name.";
    else if (SwatchPicker::gColorSwatches.FindSwatchByName(FWStr<31ul>(text)) != nullptr)
        format = "The name \"%s\" is already in use.\r\rPlease enter a unique swatch name.";
    if (format == nullptr)
        return true;
    FWUserMsg message(format, text.GetCString());
    message.SetPlayBeep(true);
    message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
    return false;
}
