// The open-file dialog: its folder walking and filtering, its drawing and event handling inside
// the host's modal loop, and its headless answers.
#include "HostNavDialogs.h"

#include "HostControls.h"
#include "HostMacRoman.h"
#include "HostModalLoop.h"
#include "HostPathNames.h"
#include "HostRegion.h"
#include "HostScreen.h"
#include "HostSound.h"
#include "HostSystemSettings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Layout of the window, in its local coordinates.
constexpr int16_t kWidth = 600;
constexpr int16_t kHeight = 420;
constexpr int16_t kStripHeight = 22;
constexpr int16_t kMargin = 16;
constexpr int16_t kRowHeight = 18;
constexpr int16_t kScrollBarWidth = 12;
constexpr Rect kMessageBox{30, kMargin, 56, kWidth - kMargin};
constexpr Rect kFolderList{62, kMargin, kHeight - 60, 200};
constexpr Rect kItemList{62, 212, kHeight - 60, kWidth - kMargin};
// Save dialogs: the name field's row above the lists, which start lower by kNameRowHeight.
constexpr int16_t kNameRowHeight = 30;
constexpr Rect kNameField{62, 90, 84, kWidth - kMargin};
constexpr int16_t kNameLabelLeft = kMargin;
// A file name holds at most this many bytes (Mac Roman in the field, UTF-8 on disk).
constexpr size_t kMostNameBytes = 255;
constexpr Rect kTypePopup{kHeight - 44, kMargin, kHeight - 22, 260};
constexpr Rect kOpenButton{kHeight - 44, kWidth - kMargin - 84, kHeight - 22, kWidth - kMargin};
constexpr Rect kCancelButton{kHeight - 44, kWidth - kMargin - 84 - 14 - 84, kHeight - 22, kWidth - kMargin - 84 - 14};
// A folder with more items than this shows the first ones only.
constexpr size_t kMostItems = 65536;
// The scroll bar's thumb is never shorter than this, however long the list.
constexpr int16_t kLeastThumb = 16;
// Rows the item list moves per notch of the mouse wheel.
constexpr int kWheelRows = 3;
// Letters typed within this many ticks of each other make one prefix to look for.
constexpr uint32_t kTypeAheadTicks = 60;

// Character codes of the navigation keys.
constexpr uint8_t kHomeChar = 1;
constexpr uint8_t kEndChar = 4;
constexpr uint8_t kPageUpChar = 11;
constexpr uint8_t kPageDownChar = 12;

struct Entry {
    std::string name;  // the file system's bytes (UTF-8 by rule)
    std::string shown; // the name as shown, system text
    bool isFolder;
};

std::deque<HostNavAnswer>& presetAnswers()
{
    static auto* answers = new std::deque<HostNavAnswer>;
    return *answers;
}

HostNavShown& lastShown()
{
    static auto* shown = new HostNavShown;
    return *shown;
}

std::string utf8Of(CFStringRef string)
{
    return string != nullptr ? HostCFStringToUtf8(string) : std::string();
}

std::string utf8OfMacRoman(const std::string& text)
{
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingMacRoman);
    if (string == nullptr)
        return {};
    std::string converted = HostCFStringToUtf8(string);
    CFRelease(string);
    return converted;
}

std::string macRomanOfUtf8(const std::string& text)
{
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
    if (string == nullptr)
        return text;
    std::string converted = HostCFStringToMacRoman(string);
    CFRelease(string);
    return converted;
}

// A file name as every list, field and message of the dialog shows it (system text).
std::string shownName(const std::string& name)
{
    return HostFileNameToMacRoman(name.c_str());
}

// The same in UTF-8, for the messages and the record of what was shown.
std::string shownNameUtf8(const std::string& name)
{
    return utf8OfMacRoman(shownName(name));
}

// A path in UTF-8 for the log, its names read as they are shown (HostFileNameCharacters).
std::string loggedPath(const std::string& path)
{
    std::string utf8;
    for (char32_t c : HostFileNameCharacters(path))
        HostAppendUtf8(utf8, c);
    return utf8;
}

bool contains(const Rect& r, Point p)
{
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

int visibleRows(const Rect& list)
{
    return (list.bottom - list.top - 4) / kRowHeight;
}

// The first row shown at most, with the last row at the bottom.
int mostFirstRow(size_t total, int rows)
{
    return std::max(0, int(total) - rows);
}

// The scroll bar, inside the list's right edge.
Rect scrollBarOf(const Rect& list)
{
    return Rect{int16_t(list.top + 1), int16_t(list.right - kScrollBarWidth), int16_t(list.bottom - 1),
                int16_t(list.right - 1)};
}

// The thumb: as long as the bar in the proportion of the rows shown (at least kLeastThumb), and
// placed along the rest of the bar in the proportion of the first row shown to the most.
Rect thumbOf(const Rect& bar, int first, size_t total, int rows)
{
    const int height = bar.bottom - bar.top;
    const int length = std::min(height, std::max<int>(kLeastThumb, height * rows / std::max(int(total), 1)));
    const int most = mostFirstRow(total, rows);
    Rect thumb = bar;
    thumb.top = int16_t(bar.top + (most > 0 ? (height - length) * first / most : 0));
    thumb.bottom = int16_t(thumb.top + length);
    return thumb;
}

// The first row shown when the thumb's top lies offset pixels below the bar's top (the nearest).
int firstRowAtThumb(const Rect& bar, int offset, size_t total, int rows)
{
    const Rect thumb = thumbOf(bar, 0, total, rows);
    const int travel = (bar.bottom - bar.top) - (thumb.bottom - thumb.top);
    const int most = mostFirstRow(total, rows);
    if (travel <= 0)
        return 0;
    return (std::clamp(offset, 0, travel) * most + travel / 2) / travel;
}

bool isFolderPath(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string defaultFolder()
{
    char buffer[kHostPathCapacity];
    if (getcwd(buffer, sizeof buffer) != nullptr)
        return buffer;
    return "/";
}

} // namespace

struct HostNavDialog {
    NavDialogCreationOptions options{};
    NavEventUPP eventProc = nullptr;
    NavObjectFilterUPP filterProc = nullptr;
    void* userData = nullptr;
    WindowRef window = nullptr;

    std::string folder;
    std::vector<Entry> entries;            // what the filter let through
    std::set<size_t> selected;
    size_t anchor = 0;
    int itemScroll = 0;
    int folderScroll = 0;
    CFIndex typeIndex = 0;
    uint32_t lastClickTicks = 0;
    size_t lastClickRow = SIZE_MAX;
    std::string typed;          // open dialogs: the letters typed lately (Mac Roman)
    uint32_t lastTypedTicks = 0;

    // Save dialogs.
    bool save = false;
    OSType fileType = 0;
    OSType creator = 0;
    bool replacing = false;
    std::string pendingReplace; // the existing file a user was asked about (save again: yes)
    std::string name;           // the name field's text, Mac Roman
    std::string nameFile;       // the file name the field was set to show (its bytes)
    std::string nameFileShown;  // and the text it showed for it
    size_t nameAnchor = 0;      // the field's selection runs from the anchor to the caret
    size_t nameCaret = 0;
    int16_t nameScroll = 0;     // pixels of the text scrolled out at the left
    std::string refusal;        // why Save refused the name, in the message line until it changes

    Rect folderList = kFolderList;
    Rect itemList = kItemList;

    NavUserAction action = kNavUserActionNone;
    std::vector<std::string> chosen;
    bool running = false;
    bool disposeRequested = false;

    ~HostNavDialog();
    bool AllowsMultiple() const { return (options.optionFlags & kNavAllowMultipleFiles) != 0; }
    bool HasTypePopup() const
    {
        return options.popupExtension != nullptr && CFArrayGetCount(options.popupExtension) > 0 &&
               (options.optionFlags & kNavNoTypePopup) == 0;
    }
    std::vector<std::string> TypeNames() const;
    std::vector<std::string> Ancestors() const;

    bool Filter(const std::string& path, bool isFolder);
    void Load(const std::string& newFolder);
    void Open();
    void Cancel();
    // Save dialogs: names the new file path, asking before replacing an existing one.
    void SaveAs(const std::string& path, bool replaceAnswer);
    void Finish(NavUserAction userAction, std::vector<std::string> paths);
    void SelectType(CFIndex index, bool tellCaller);
    void MoveSelection(int delta, bool extend);
    void SelectRow(size_t row, bool extend);
    void ClickItem(size_t row, const EventRecord& event);
    void ScrollToSelection();
    // Shows the item list from that row on (kept within the list); true when it moved.
    bool ScrollItemsTo(int first);
    // A press in the scroll bar: a page toward it on the track, else the thumb follows the mouse.
    void ClickInScrollBar(Point local);
    void DragThumb(int grab);
    bool HandleKey(const EventRecord& event);
    // Open dialogs: selects the first item whose name starts with the letters typed lately.
    bool TypeAhead(uint8_t c, const EventRecord& event);
    void Send(NavEventCallbackMessage message, const void* eventData = nullptr);
    void Record();

    // The name field of save dialogs, set to show a file name (a listed file's or the proposed).
    void SetName(const std::string& fileName);
    // The name to save under: the file name the field was set to while it still shows it (its
    // bytes kept), else the text typed as UTF-8; or empty (with the reason in *why) when it
    // cannot name a file in the folder shown.
    std::string NameToSave(std::string* why) const;
    void Refuse(const std::string& why);
    bool TypeInName(uint8_t c, EventModifiers modifiers);
    void ClickInName(int16_t h, bool extend);
    void NameChanged();

    void Draw();
    void DrawFolderList();
    void DrawItemList();
    // Draws the item list at once, for the thumb that moves while the button is held.
    void RedrawItemList();
    void DrawTypePopup();
    void DrawNameField();
};

namespace {

std::set<HostNavDialog*>& liveDialogs()
{
    static auto* dialogs = new std::set<HostNavDialog*>;
    return *dialogs;
}

// A dialog whose window was disposed by someone else forgets it.
void windowGone(WindowRef window)
{
    for (HostNavDialog* dialog : liveDialogs())
        if (dialog->window == window)
            dialog->window = nullptr;
}

void retain(CFTypeRef object)
{
    if (object != nullptr)
        CFRetain(object);
}

void release(CFTypeRef object)
{
    if (object != nullptr)
        CFRelease(object);
}

std::vector<CFTypeRef> texts(const NavDialogCreationOptions& o)
{
    return {o.clientName, o.windowTitle, o.actionButtonLabel, o.cancelButtonLabel, o.saveFileName, o.message,
            o.popupExtension};
}

} // namespace

HostNavDialog::~HostNavDialog()
{
    liveDialogs().erase(this);
    if (window != nullptr)
        DisposeWindow(window);
    for (CFTypeRef text : texts(options))
        release(text);
}

std::vector<std::string> HostNavDialog::TypeNames() const
{
    std::vector<std::string> names;
    if (options.popupExtension == nullptr)
        return names;
    for (CFIndex i = 0, n = CFArrayGetCount(options.popupExtension); i < n; ++i) {
        CFTypeRef value = CFArrayGetValueAtIndex(options.popupExtension, i);
        names.push_back(CFGetTypeID(value) == CFStringGetTypeID() ? utf8Of(static_cast<CFStringRef>(value))
                                                                   : std::string());
    }
    return names;
}

// "/", then each folder down to the current one.
std::vector<std::string> HostNavDialog::Ancestors() const
{
    std::vector<std::string> paths{"/"};
    for (size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        std::string part = folder.substr(0, slash);
        if (part.size() > 1)
            paths.push_back(part);
        if (slash == std::string::npos)
            break;
    }
    return paths;
}

bool HostNavDialog::Filter(const std::string& path, bool isFolder)
{
    if (filterProc == nullptr)
        return true;
    FSRef ref;
    if (!HostStorePath(path, ref.path))
        return false;
    AEDesc item;
    if (AECreateDesc(typeFSRef, &ref, Size(sizeof ref), &item) != noErr)
        return false;
    NavFileOrFolderInfo info{0, isFolder, true};
    bool shown = filterProc(&item, &info, userData, kNavFilteringBrowserList);
    AEDisposeDesc(&item);
    return shown;
}

void HostNavDialog::Load(const std::string& newFolder)
{
    folder = newFolder;
    entries.clear();
    selected.clear();
    anchor = 0;
    itemScroll = 0;
    typed.clear();
    bool showInvisible = (options.optionFlags & kNavAllowInvisibleFiles) != 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* item = readdir(dir)) {
            std::string name = item->d_name;
            if (name == "." || name == ".." || (name[0] == '.' && !showInvisible))
                continue;
            std::string path = HostJoinPath(folder, name);
            // Only folders and regular files are listed: a FIFO, socket or device cannot be
            // opened or replaced as a document.
            struct stat info;
            if (stat(path.c_str(), &info) != 0 || !(S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)))
                continue;
            bool isFolder = S_ISDIR(info.st_mode);
            if (Filter(path, isFolder))
                entries.push_back(Entry{name, shownName(name), isFolder});
            if (entries.size() >= kMostItems)
                break;
        }
        closedir(dir);
    }
    // In the order of the names shown, as type-ahead looks for them.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = strcasecmp(a.shown.c_str(), b.shown.c_str());
        return order < 0 || (order == 0 && a.name < b.name);
    });
    int rows = visibleRows(folderList);
    int ancestors = int(Ancestors().size());
    folderScroll = std::max(0, ancestors - rows);
    if (window != nullptr) {
        InvalWindowRect(window, &folderList);
        InvalWindowRect(window, &itemList);
    }
}

void HostNavDialog::Send(NavEventCallbackMessage message, const void* eventData)
{
    if (eventProc == nullptr)
        return;
    NavCBRec record{};
    record.version = 0;
    record.context = this;
    record.window = window;
    record.eventData = eventData;
    record.userAction = action;
    eventProc(message, &record, userData);
}

void HostNavDialog::Finish(NavUserAction userAction, std::vector<std::string> paths)
{
    action = userAction;
    chosen = std::move(paths);
    std::string line = userAction == kNavUserActionOpen     ? "nav-answer\topen"
                       : userAction == kNavUserActionSaveAs ? "nav-answer\tsave"
                                                            : "nav-answer\tcancel";
    for (const std::string& path : chosen)
        line += "\t" + loggedPath(path);
    HostLogLine(line);
    QuitAppModalLoopForWindow(window);
}

void HostNavDialog::Open()
{
    if (save && (selected.empty() || !entries[*selected.begin()].isFolder)) {
        // The name in the field, in the folder shown; a name that cannot be saved under keeps
        // the dialog open and says why.
        std::string why;
        const std::string fileName = NameToSave(&why);
        if (fileName.empty()) {
            Refuse(why);
            return;
        }
        const std::string path = HostJoinPath(folder, fileName);
        struct stat info;
        if (::stat(path.c_str(), &info) == 0) {
            // A folder is not replaced by a file.
            if (S_ISDIR(info.st_mode)) {
                Refuse("\"" + shownNameUtf8(fileName) + "\" is a folder. Choose another name.");
                return;
            }
            if (pendingReplace != path) {
                // The question is asked in the message line; saving again answers yes.
                pendingReplace = path;
                lastShown().replaceAsked = shownNameUtf8(fileName);
                InvalWindowRect(window, &kMessageBox);
                return;
            }
        }
        SaveAs(path, true);
        return;
    }
    if (selected.empty())
        return;
    if (selected.size() == 1 && entries[*selected.begin()].isFolder) {
        Load(HostJoinPath(folder, entries[*selected.begin()].name));
        return;
    }
    std::vector<std::string> paths;
    for (size_t row : selected)
        if (!entries[row].isFolder)
            paths.push_back(HostJoinPath(folder, entries[row].name));
    if (!paths.empty())
        Finish(kNavUserActionOpen, std::move(paths));
}

void HostNavDialog::SaveAs(const std::string& path, bool replaceAnswer)
{
    struct stat info;
    replacing = ::stat(path.c_str(), &info) == 0;
    if (replacing) {
        lastShown().replaceAsked = shownNameUtf8(HostNameOfPath(path));
        HostLogLine("nav-replace\t" + lastShown().replaceAsked);
        if (!replaceAnswer || S_ISDIR(info.st_mode)) {
            Cancel();
            return;
        }
    }
    Finish(kNavUserActionSaveAs, {path});
}

void HostNavDialog::Cancel()
{
    Finish(kNavUserActionCancel, {});
}

void HostNavDialog::SelectType(CFIndex index, bool tellCaller)
{
    std::vector<std::string> names = TypeNames();
    if (index < 0 || size_t(index) >= names.size())
        return;
    typeIndex = index;
    if (tellCaller) {
        NavMenuItemSpec item{};
        item.menuCreator = kNavMenuItemSpecCreatorExtension;
        item.menuType = OSType(index);
        std::string name = macRomanOfUtf8(names[size_t(index)]).substr(0, 255);
        item.menuItemName[0] = uint8_t(name.size());
        std::memcpy(item.menuItemName + 1, name.data(), name.size());
        Send(kNavCBPopupMenuSelect, &item);
    }
    Load(folder);
    if (window != nullptr)
        InvalWindowRect(window, &kTypePopup);
}

void HostNavDialog::ScrollToSelection()
{
    if (selected.empty())
        return;
    int row = int(anchor);
    int rows = visibleRows(itemList);
    if (row < itemScroll)
        itemScroll = row;
    else if (row >= itemScroll + rows)
        itemScroll = row - rows + 1;
}

void HostNavDialog::MoveSelection(int delta, bool extend)
{
    if (entries.empty())
        return;
    int row = selected.empty() ? (delta > 0 ? 0 : int(entries.size()) - 1) : int(anchor) + delta;
    SelectRow(size_t(std::clamp(row, 0, int(entries.size()) - 1)), extend);
}

void HostNavDialog::SelectRow(size_t row, bool extend)
{
    if (!extend || !AllowsMultiple())
        selected.clear();
    selected.insert(row);
    anchor = row;
    ScrollToSelection();
    InvalWindowRect(window, &itemList);
    if (save && !entries[row].isFolder)
        SetName(entries[row].name);
}

bool HostNavDialog::ScrollItemsTo(int first)
{
    first = std::clamp(first, 0, mostFirstRow(entries.size(), visibleRows(itemList)));
    if (first == itemScroll)
        return false;
    itemScroll = first;
    InvalWindowRect(window, &itemList);
    return true;
}

void HostNavDialog::ClickInScrollBar(Point local)
{
    const int rows = visibleRows(itemList);
    const Rect thumb = thumbOf(scrollBarOf(itemList), itemScroll, entries.size(), rows);
    if (local.v < thumb.top)
        ScrollItemsTo(itemScroll - rows);
    else if (local.v >= thumb.bottom)
        ScrollItemsTo(itemScroll + rows);
    else
        DragThumb(local.v - thumb.top);
}

// The thumb's top follows the mouse, grab pixels above it, until the button is released.
void HostNavDialog::DragThumb(int grab)
{
    const Rect bar = scrollBarOf(itemList);
    const int rows = visibleRows(itemList);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    Point mouse;
    while (StillDown()) {
        GetMouse(&mouse);
        if (ScrollItemsTo(firstRowAtThumb(bar, mouse.v - grab - bar.top, entries.size(), rows)))
            RedrawItemList();
    }
    // The release ends the drag: it is no event of its own.
    HostTakeQueuedMouseUp();
    GetMouse(&mouse);
    ScrollItemsTo(firstRowAtThumb(bar, mouse.v - grab - bar.top, entries.size(), rows));
    SetPort(saved);
}

bool HostNavDialog::HandleKey(const EventRecord& event)
{
    const uint8_t c = uint8_t(event.message & charCodeMask);
    const bool extend = (event.modifiers & shiftKey) != 0;
    if (c == 30 && (event.modifiers & cmdKey) != 0) {
        std::vector<std::string> paths = Ancestors();
        if (paths.size() > 1)
            Load(paths[paths.size() - 2]);
        return true;
    }
    if (c == 30 || c == 31) {
        MoveSelection(c == 30 ? -1 : 1, extend);
        return true;
    }
    if (c == kPageUpChar || c == kPageDownChar) {
        const int rows = visibleRows(itemList);
        MoveSelection(c == kPageUpChar ? -rows : rows, false);
        return true;
    }
    // Save dialogs: the rest is the name field's (Home and End move its caret).
    if (save)
        return TypeInName(c, event.modifiers);
    if (c == kHomeChar || c == kEndChar) {
        if (!entries.empty())
            SelectRow(c == kHomeChar ? 0 : entries.size() - 1, false);
        return true;
    }
    return TypeAhead(c, event);
}

bool HostNavDialog::TypeAhead(uint8_t c, const EventRecord& event)
{
    if ((event.modifiers & cmdKey) != 0 || c < 32 || c == 127)
        return false;
    if (event.when - lastTypedTicks > kTypeAheadTicks)
        typed.clear();
    lastTypedTicks = event.when;
    typed.push_back(char(c));
    // The items are sorted by strcasecmp of the names shown, so those starting with the letters
    // typed (in any case) follow one another from the first not below them.
    const std::string& prefix = typed;
    const auto found = std::lower_bound(entries.begin(), entries.end(), prefix, [](const Entry& e, const std::string& p) {
        return strcasecmp(e.shown.c_str(), p.c_str()) < 0;
    });
    if (found != entries.end() && strncasecmp(found->shown.c_str(), prefix.c_str(), prefix.size()) == 0)
        SelectRow(size_t(found - entries.begin()), false);
    return true;
}

void HostNavDialog::ClickItem(size_t row, const EventRecord& event)
{
    bool doubleClick = row == lastClickRow && event.when - lastClickTicks <= GetDblTime();
    lastClickRow = row;
    lastClickTicks = event.when;
    if (AllowsMultiple() && (event.modifiers & cmdKey) != 0) {
        if (!selected.erase(row))
            selected.insert(row);
        anchor = row;
    } else if (AllowsMultiple() && (event.modifiers & shiftKey) != 0 && !selected.empty()) {
        for (size_t r = std::min(row, anchor); r <= std::max(row, anchor); ++r)
            selected.insert(r);
    } else {
        selected = {row};
        anchor = row;
    }
    InvalWindowRect(window, &itemList);
    if (save && !entries[row].isFolder)
        SetName(entries[row].name);
    if (doubleClick) {
        lastClickRow = SIZE_MAX;
        selected = {row};
        Open();
    }
}

void HostNavDialog::SetName(const std::string& fileName)
{
    nameFile = fileName;
    name = shownName(fileName).substr(0, kMostNameBytes);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return uint8_t(c) < 32; }), name.end());
    nameFileShown = name;
    nameAnchor = 0;
    nameCaret = name.size();
    nameScroll = 0;
    refusal.clear();
    if (window != nullptr) {
        InvalWindowRect(window, &kNameField);
        InvalWindowRect(window, &kMessageBox);
    }
}

std::string HostNavDialog::NameToSave(std::string* why) const
{
    if (name.empty()) {
        *why = "Type a name to save under.";
        return {};
    }
    // A "/" would name a file in another folder, which is no file a user can see here.
    if (name.find('/') != std::string::npos) {
        *why = "A name cannot hold \"/\". Choose another name.";
        return {};
    }
    if (name == "." || name == "..") {
        *why = "\"" + name + "\" names a folder. Choose another name.";
        return {};
    }
    // The field holds system text: a file name it still shows as it was set is taken whole, with
    // the bytes the field could only show as Latin-1 or stand-ins.
    if (!nameFile.empty() && name == nameFileShown && nameFile.size() <= kMostNameBytes)
        return nameFile;
    const std::string utf8 = utf8OfMacRoman(name);
    // Longer names are more than a file system takes.
    if (utf8.size() > kMostNameBytes) {
        *why = "The name is too long. Choose a shorter one.";
        return {};
    }
    if (utf8.empty())
        *why = "The name cannot be used. Choose another name.";
    return utf8;
}

void HostNavDialog::Refuse(const std::string& why)
{
    refusal = why;
    lastShown().refusal = why;
    HostLogLine("nav-refused\t" + why);
    SysBeep(1);
    InvalWindowRect(window, &kMessageBox);
}

// Typing replaces the selection of the field; Return, Escape and other control keys are left to
// the buttons, command keys to the menus.
bool HostNavDialog::TypeInName(uint8_t c, EventModifiers modifiers)
{
    if ((modifiers & cmdKey) != 0)
        return false;
    size_t from = std::min(nameAnchor, nameCaret);
    size_t to = std::max(nameAnchor, nameCaret);
    if (c == kHomeChar || c == kEndChar) {
        nameCaret = c == kHomeChar ? 0 : name.size();
        if ((modifiers & shiftKey) == 0)
            nameAnchor = nameCaret;
        InvalWindowRect(window, &kNameField);
        return true;
    }
    if (c == 28 || c == 29) {
        if ((modifiers & shiftKey) != 0) {
            nameCaret = c == 28 ? (nameCaret > 0 ? nameCaret - 1 : 0) : std::min(nameCaret + 1, name.size());
        } else {
            if (from == to)
                nameCaret = c == 28 ? (from > 0 ? from - 1 : 0) : std::min(to + 1, name.size());
            else
                nameCaret = c == 28 ? from : to;
            nameAnchor = nameCaret;
        }
        InvalWindowRect(window, &kNameField);
        return true;
    }
    if (c == 8 || c == 127) {
        if (from == to && c == 8 && from > 0)
            --from;
        if (from == to && c == 127 && to < name.size())
            ++to;
    } else if (c < 32) {
        return false;
    } else if (name.size() - (to - from) >= kMostNameBytes) {
        SysBeep(1);
        return true;
    }
    name.erase(from, to - from);
    if (c != 8 && c != 127)
        name.insert(from++, 1, char(c));
    nameAnchor = nameCaret = from;
    NameChanged();
    return true;
}

void HostNavDialog::ClickInName(int16_t h, bool extend)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    TextFont(0);
    TextSize(12);
    TextFace(0);
    // The caret goes to the character boundary nearest the click.
    const int x = h - (kNameField.left + 4) + nameScroll;
    size_t caret = 0;
    for (size_t i = 1; i <= name.size(); ++i) {
        const int left = TextWidth(name.data(), 0, int16_t(i - 1));
        const int right = TextWidth(name.data(), 0, int16_t(i));
        if (x < (left + right) / 2)
            break;
        caret = i;
    }
    SetPort(saved);
    nameCaret = caret;
    if (!extend)
        nameAnchor = caret;
    InvalWindowRect(window, &kNameField);
}

// An edited name is no longer the selected file's, nor the one asked about.
void HostNavDialog::NameChanged()
{
    if (!selected.empty()) {
        selected.clear();
        InvalWindowRect(window, &itemList);
    }
    if (!pendingReplace.empty() || !refusal.empty()) {
        pendingReplace.clear();
        refusal.clear();
        InvalWindowRect(window, &kMessageBox);
    }
    InvalWindowRect(window, &kNameField);
}

void HostNavDialog::Record()
{
    HostNavShown& shown = lastShown();
    shown.message = utf8Of(options.message);
    shown.allowsMultipleFiles = AllowsMultiple();
    shown.startFolder = folder;
    shown.typeNames = TypeNames();
    shown.startTypeIndex = int(typeIndex);
    shown.save = save;
    shown.saveFileName = utf8Of(options.saveFileName);
    shown.fileType = fileType;
    shown.creator = creator;
    shown.replaceAsked.clear();
    shown.refusal.clear();
    shown.entries.clear();
    for (const Entry& entry : entries)
        shown.entries.push_back(utf8OfMacRoman(entry.isFolder ? entry.shown + "/" : entry.shown));
    HostLogLine("nav-folder\t" + loggedPath(folder));
    for (const std::string& entry : shown.entries)
        HostLogLine("nav-entry\t" + entry);
}

// --- Drawing ------------------------------------------------------------------------------------

namespace {

constexpr RGBColor kBlack{0, 0, 0};
constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kStrip{0xDDDD, 0xDDDD, 0xDDDD};
constexpr RGBColor kSelection{0x3333, 0x6666, 0xCCCC};
constexpr RGBColor kScrollThumb{0xAAAA, 0xAAAA, 0xAAAA};
constexpr RGBColor kTextSelection{0xB4B4, 0xD5D5, 0xFEFE};

void drawTextIn(const std::string& macRoman, int16_t h, int16_t v, int16_t width)
{
    std::vector<char> text(macRoman.begin(), macRoman.end());
    int16_t length = int16_t(std::min<size_t>(text.size(), 255));
    if (length > 0)
        TruncText(width, text.data(), &length);
    MoveTo(h, v);
    DrawText(text.data(), 0, length);
}

void drawScrollBar(const Rect& list, int first, size_t total)
{
    const int rows = visibleRows(list);
    if (total <= size_t(rows))
        return;
    const Rect thumb = thumbOf(scrollBarOf(list), first, total, rows);
    RGBForeColor(&kScrollThumb);
    PaintRect(&thumb);
}

// The font and pen every part of the dialog is drawn with.
void useDialogPen()
{
    TextFont(0);
    TextSize(12);
    TextFace(0);
    TextMode(kModeOr);
    PenNormal();
}

} // namespace

void HostNavDialog::DrawFolderList()
{
    RGBBackColor(&kWhite);
    EraseRect(&folderList);
    RGBForeColor(&kBlack);
    FrameRect(&folderList);
    std::vector<std::string> paths = Ancestors();
    int rows = visibleRows(folderList);
    for (int i = 0; i < rows && folderScroll + i < int(paths.size()); ++i) {
        size_t depth = size_t(folderScroll + i);
        int16_t top = int16_t(folderList.top + 2 + i * kRowHeight);
        Rect row{top, int16_t(folderList.left + 1), int16_t(top + kRowHeight), int16_t(folderList.right - 1)};
        bool current = depth + 1 == paths.size();
        if (current) {
            RGBForeColor(&kSelection);
            PaintRect(&row);
        }
        RGBForeColor(current ? &kWhite : &kBlack);
        std::string name = depth == 0 ? std::string("/") : HostNameOfPath(paths[depth]);
        int16_t indent = int16_t(6 + std::min<size_t>(depth, 12) * 8);
        drawTextIn(shownName(name), int16_t(row.left + indent), int16_t(top + 13),
                   int16_t(row.right - row.left - indent - 4));
    }
}

void HostNavDialog::DrawItemList()
{
    RGBBackColor(&kWhite);
    EraseRect(&itemList);
    RGBForeColor(&kBlack);
    FrameRect(&itemList);
    int rows = visibleRows(itemList);
    int16_t width = int16_t(itemList.right - itemList.left - kScrollBarWidth - 10);
    for (int i = 0; i < rows && itemScroll + i < int(entries.size()); ++i) {
        size_t index = size_t(itemScroll + i);
        int16_t top = int16_t(itemList.top + 2 + i * kRowHeight);
        Rect row{top, int16_t(itemList.left + 1), int16_t(top + kRowHeight),
                 int16_t(itemList.right - kScrollBarWidth - 2)};
        bool isSelected = selected.count(index) != 0;
        if (isSelected) {
            RGBForeColor(&kSelection);
            PaintRect(&row);
        }
        RGBForeColor(isSelected ? &kWhite : &kBlack);
        const Entry& entry = entries[index];
        drawTextIn(entry.isFolder ? entry.shown + "/" : entry.shown, int16_t(row.left + 6),
                   int16_t(top + 13), width);
    }
    drawScrollBar(itemList, itemScroll, entries.size());
}

void HostNavDialog::RedrawItemList()
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    useDialogPen();
    DrawItemList();
    QDFlushPortBuffer(GetWindowPort(window), nullptr);
    SetPort(saved);
}

void HostNavDialog::DrawTypePopup()
{
    if (!HasTypePopup())
        return;
    RGBBackColor(&kWhite);
    EraseRect(&kTypePopup);
    RGBForeColor(&kBlack);
    FrameRoundRect(&kTypePopup, 6, 6);
    std::vector<std::string> names = TypeNames();
    std::string label = "Show: " + (size_t(typeIndex) < names.size() ? names[size_t(typeIndex)] : std::string());
    drawTextIn(macRomanOfUtf8(label), int16_t(kTypePopup.left + 8), int16_t(kTypePopup.top + 15),
               int16_t(kTypePopup.right - kTypePopup.left - 16));
}

void HostNavDialog::DrawNameField()
{
    if (!save)
        return;
    RGBBackColor(&kWhite);
    const Rect labelBox{kNameField.top, kNameLabelLeft, kNameField.bottom, int16_t(kNameField.left - 1)};
    EraseRect(&labelBox);
    RGBForeColor(&kBlack);
    drawTextIn("Save As:", kNameLabelLeft, int16_t(kNameField.top + 16), int16_t(labelBox.right - labelBox.left));
    EraseRect(&kNameField);
    FrameRect(&kNameField);

    // Scrolled so that the caret shows.
    const int16_t visible = int16_t(kNameField.right - kNameField.left - 8);
    const int16_t caretX = TextWidth(name.data(), 0, int16_t(nameCaret));
    if (caretX - nameScroll > visible)
        nameScroll = int16_t(caretX - visible);
    if (caretX < nameScroll)
        nameScroll = caretX;
    const int16_t textLeft = int16_t(kNameField.left + 4 - nameScroll);

    RgnHandle savedClip = NewRgn();
    GetClip(savedClip);
    const Rect inside{int16_t(kNameField.top + 1), int16_t(kNameField.left + 1), int16_t(kNameField.bottom - 1),
                      int16_t(kNameField.right - 1)};
    ClipRect(&inside);
    const size_t from = std::min(nameAnchor, nameCaret);
    const size_t to = std::max(nameAnchor, nameCaret);
    if (from != to) {
        const Rect highlight{int16_t(kNameField.top + 3), int16_t(textLeft + TextWidth(name.data(), 0, int16_t(from))),
                             int16_t(kNameField.bottom - 3), int16_t(textLeft + TextWidth(name.data(), 0, int16_t(to)))};
        RGBForeColor(&kTextSelection);
        PaintRect(&highlight);
        RGBForeColor(&kBlack);
    }
    MoveTo(textLeft, int16_t(kNameField.top + 16));
    DrawText(name.data(), 0, int16_t(name.size()));
    if (from == to) {
        MoveTo(int16_t(textLeft + caretX), int16_t(kNameField.top + 4));
        LineTo(int16_t(textLeft + caretX), int16_t(kNameField.bottom - 5));
    }
    SetClip(savedClip);
    DisposeRgn(savedClip);
}

void HostNavDialog::Draw()
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    useDialogPen();
    Rect bounds{0, 0, kHeight, kWidth};
    Rect strip{0, 0, kStripHeight, kWidth};
    RGBForeColor(&kStrip);
    PaintRect(&strip);
    RGBForeColor(&kBlack);
    FrameRect(&bounds);
    MoveTo(0, kStripHeight - 1);
    LineTo(kWidth - 1, kStripHeight - 1);
    Str255 title;
    GetWTitle(window, title);
    TextFace(kHostFaceBold);
    MoveTo(int16_t((kWidth - StringWidth(title)) / 2), 16);
    DrawString(title);
    TextFace(0);
    RGBBackColor(&kWhite);
    EraseRect(&kMessageBox);
    RGBForeColor(&kBlack);
    const std::string shownMessage = !pendingReplace.empty()
                                         ? "\"" + shownNameUtf8(HostNameOfPath(pendingReplace)) +
                                               "\" already exists. Save again to replace it."
                                     : !refusal.empty() ? refusal
                                                        : utf8Of(options.message);
    drawTextIn(macRomanOfUtf8(shownMessage), kMessageBox.left, int16_t(kMessageBox.top + 16),
               int16_t(kMessageBox.right - kMessageBox.left));
    DrawFolderList();
    DrawItemList();
    DrawTypePopup();
    DrawNameField();
    SetPort(saved);
}

// --- Events -------------------------------------------------------------------------------------

namespace {

HostNavDialog* dialogOf(void* context)
{
    return static_cast<HostNavDialog*>(context);
}

bool handleEvent(WindowRef window, const EventRecord& event, void* context)
{
    HostNavDialog& dialog = *dialogOf(context);
    switch (event.what) {
    case updateEvt:
        if (reinterpret_cast<WindowRef>(event.message) != window)
            return false;
        BeginUpdate(window);
        dialog.Draw();
        DrawControls(window);
        EndUpdate(window);
        return true;
    case mouseDown: {
        Point local = event.where;
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(window);
        GlobalToLocal(&local);
        SetPort(saved);
        if (dialog.save && contains(kNameField, local)) {
            dialog.ClickInName(local.h, (event.modifiers & shiftKey) != 0);
            return true;
        }
        if (contains(dialog.folderList, local)) {
            int row = (local.v - dialog.folderList.top - 2) / kRowHeight + dialog.folderScroll;
            std::vector<std::string> paths = dialog.Ancestors();
            if (row >= 0 && size_t(row) < paths.size())
                dialog.Load(paths[size_t(row)]);
            return true;
        }
        if (contains(dialog.itemList, local)) {
            const bool scrolls = dialog.entries.size() > size_t(visibleRows(dialog.itemList));
            if (local.h >= dialog.itemList.right - kScrollBarWidth - 1) {
                if (scrolls)
                    dialog.ClickInScrollBar(local);
                return true;
            }
            int row = (local.v - dialog.itemList.top - 2) / kRowHeight + dialog.itemScroll;
            if (row >= 0 && size_t(row) < dialog.entries.size())
                dialog.ClickItem(size_t(row), event);
            return true;
        }
        if (dialog.HasTypePopup() && contains(kTypePopup, local)) {
            CFIndex count = CFArrayGetCount(dialog.options.popupExtension);
            CFIndex step = (event.modifiers & shiftKey) != 0 ? count - 1 : 1;
            dialog.SelectType((dialog.typeIndex + step) % count, true);
            return true;
        }
        return false;
    }
    case keyDown:
    case autoKey:
        return dialog.HandleKey(event);
    case osEvt:
        // The wheel scrolls the item list wherever the mouse is: the dialog is modal.
        if (((event.message & osEvtMessageMask) >> 24) != kHostMouseWheelMessage)
            return false;
        dialog.ScrollItemsTo(dialog.itemScroll - kWheelRows * HostWheelNotches(event));
        return true;
    default:
        return false;
    }
}

bool applyPreset(WindowRef, void* context)
{
    HostNavDialog& dialog = *dialogOf(context);
    HostNavAnswer answer;
    if (!presetAnswers().empty()) {
        answer = presetAnswers().front();
        presetAnswers().pop_front();
    } else if (const char* text = std::getenv("FW_HOST_NAV_ANSWER")) {
        std::string value = text;
        answer.cancel = value == "cancel";
        for (size_t start = 0; !answer.cancel && start < value.size();) {
            size_t newline = value.find('\n', start);
            std::string path = value.substr(start, newline == std::string::npos ? std::string::npos : newline - start);
            if (!path.empty())
                answer.paths.push_back(path);
            if (newline == std::string::npos)
                break;
            start = newline + 1;
        }
    } else {
        return false;
    }
    // Only what a user could choose: existing files, one of them unless several are allowed.
    std::vector<std::string> paths;
    for (const std::string& path : answer.paths) {
        FSRef ref;
        Boolean isFolder = false;
        if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &isFolder) == noErr && !isFolder)
            paths.push_back(ref.path);
        if (!dialog.AllowsMultiple() && !paths.empty())
            break;
    }
    if (answer.typeIndex >= 0)
        dialog.SelectType(CFIndex(answer.typeIndex), true);
    if (dialog.save) {
        if (answer.cancel || answer.paths.empty() || answer.paths[0].empty() || answer.paths[0][0] != '/')
            dialog.Cancel();
        else
            dialog.SaveAs(answer.paths[0], answer.replace);
        return true;
    }
    if (answer.cancel || paths.empty())
        dialog.Cancel();
    else
        dialog.Finish(kNavUserActionOpen, std::move(paths));
    return true;
}

void unattended(WindowRef, void* context)
{
    dialogOf(context)->Cancel();
}

std::vector<std::string> shownTexts(WindowRef, void* context)
{
    return {dialogOf(context)->options.message != nullptr ? HostCFStringToMacRoman(dialogOf(context)->options.message)
                                                           : std::string()};
}

OSStatus commandHandler(EventHandlerCallRef, EventRef event, void* userData)
{
    HICommandExtended command{};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command) !=
        noErr)
        return eventNotHandledErr;
    HostNavDialog& dialog = *static_cast<HostNavDialog*>(userData);
    if (command.commandID == kHICommandOpen) {
        dialog.Open();
        return noErr;
    }
    if (command.commandID == kHICommandCancel) {
        dialog.Cancel();
        return noErr;
    }
    return eventNotHandledErr;
}

OSStatus buildWindow(HostNavDialog& dialog)
{
    Rect screen = HostScreenBounds();
    Rect menuBar = HostMenuBarBounds();
    int16_t left = int16_t(screen.left + (screen.right - screen.left - kWidth) / 2);
    int16_t top = int16_t(menuBar.bottom + std::max(0, (screen.bottom - menuBar.bottom - kHeight) / 3));
    if (dialog.options.location.h >= 0 && dialog.options.location.v >= 0) {
        left = dialog.options.location.h;
        top = dialog.options.location.v;
    }
    Rect bounds{top, left, int16_t(top + kHeight), int16_t(left + kWidth)};
    WindowRef window = nullptr;
    OSStatus err = CreateNewWindow(kHostModalWindowClass, 0, &bounds, &window);
    if (err != noErr)
        return err;
    std::string title = dialog.options.windowTitle != nullptr ? HostCFStringToMacRoman(dialog.options.windowTitle)
                                                              : std::string(dialog.save ? "Save" : "Open");
    Str255 pascal;
    pascal[0] = uint8_t(std::min<size_t>(title.size(), 255));
    std::memcpy(pascal + 1, title.data(), pascal[0]);
    SetWTitle(window, pascal);

    ControlRef open = nullptr;
    ControlRef cancel = nullptr;
    CFStringRef openTitle = dialog.options.actionButtonLabel != nullptr ? dialog.options.actionButtonLabel
                           : dialog.save                             ? CFSTR("Save")
                                                                     : CFSTR("Open");
    CFStringRef cancelTitle =
        dialog.options.cancelButtonLabel != nullptr ? dialog.options.cancelButtonLabel : CFSTR("Cancel");
    err = CreatePushButtonControl(window, &kOpenButton, openTitle, &open);
    if (err == noErr)
        err = CreatePushButtonControl(window, &kCancelButton, cancelTitle, &cancel);
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    if (err == noErr)
        err = InstallEventHandler(GetWindowEventTarget(window), commandHandler, 1, commands, &dialog, nullptr);
    if (err != noErr) {
        DisposeWindow(window);
        return err;
    }
    SetControlCommandID(open, kHICommandOpen);
    SetControlCommandID(cancel, kHICommandCancel);
    SetWindowDefaultButton(window, open);
    SetWindowCancelButton(window, cancel);
    HostModalHooks hooks;
    hooks.handleEvent = handleEvent;
    hooks.applyPreset = applyPreset;
    hooks.unattended = unattended;
    hooks.shownTexts = shownTexts;
    hooks.context = &dialog;
    HostSetModalHooks(window, hooks);
    dialog.window = window;
    liveDialogs().insert(&dialog);
    HostAddWindowGoneObserver(windowGone);
    return noErr;
}

} // namespace

// --- The calls ------------------------------------------------------------------------------

NavEventUPP NewNavEventUPP(NavEventProcPtr proc)
{
    return proc;
}

void DisposeNavEventUPP(NavEventUPP)
{
}

NavObjectFilterUPP NewNavObjectFilterUPP(NavObjectFilterProcPtr proc)
{
    return proc;
}

void DisposeNavObjectFilterUPP(NavObjectFilterUPP)
{
}

OSStatus NavGetDefaultDialogCreationOptions(NavDialogCreationOptions* outOptions)
{
    if (outOptions == nullptr)
        return paramErr;
    *outOptions = NavDialogCreationOptions{};
    outOptions->optionFlags = kNavDefaultNavDlogOptions;
    outOptions->location = Point{-1, -1};
    outOptions->modality = kWindowModalityAppModal;
    return noErr;
}

namespace {

// A dialog with the given options (the defaults when none), holding its own references to the
// options' texts.
HostNavDialog* newDialog(const NavDialogCreationOptions* options)
{
    auto* dialog = new HostNavDialog;
    if (options != nullptr)
        dialog->options = *options;
    else
        NavGetDefaultDialogCreationOptions(&dialog->options);
    for (CFTypeRef text : texts(dialog->options))
        retain(text);
    return dialog;
}

// Builds the dialog's window and hands the dialog out; a dialog whose window fails is deleted.
OSStatus finishDialog(HostNavDialog* dialog, NavDialogRef* outDialog)
{
    OSStatus err = buildWindow(*dialog);
    if (err != noErr) {
        delete dialog;
        return err;
    }
    *outDialog = dialog;
    return noErr;
}

} // namespace

OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions* options, NavTypeListHandle, NavEventUPP eventProc,
                                NavPreviewUPP, NavObjectFilterUPP filterProc, void* callBackUD, NavDialogRef* outDialog)
{
    if (outDialog == nullptr)
        return paramErr;
    *outDialog = nullptr;
    auto* dialog = newDialog(options);
    dialog->eventProc = eventProc;
    dialog->filterProc = filterProc;
    dialog->userData = callBackUD;
    return finishDialog(dialog, outDialog);
}

OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions* options, OSType fileType, OSType creator,
                                NavEventUPP eventProc, void* callBackUD, NavDialogRef* outDialog)
{
    if (outDialog == nullptr)
        return paramErr;
    *outDialog = nullptr;
    auto* dialog = newDialog(options);
    dialog->save = true;
    dialog->folderList.top += kNameRowHeight;
    dialog->itemList.top += kNameRowHeight;
    dialog->fileType = fileType;
    dialog->creator = creator;
    dialog->eventProc = eventProc;
    dialog->userData = callBackUD;
    return finishDialog(dialog, outDialog);
}

OSStatus NavDialogRun(NavDialogRef dialog)
{
    if (dialog == nullptr || dialog->window == nullptr || dialog->running)
        return paramErr;
    dialog->running = true;
    dialog->action = kNavUserActionNone;
    dialog->chosen.clear();
    dialog->pendingReplace.clear();
    dialog->SetName(HostCFStringToFileName(dialog->options.saveFileName));
    dialog->Load(defaultFolder());
    dialog->Send(kNavCBStart);
    dialog->Record();
    ShowWindow(dialog->window);
    SelectWindow(dialog->window);
    RunAppModalLoopForWindow(dialog->window);
    HideWindow(dialog->window);
    if (dialog->action != kNavUserActionNone)
        dialog->Send(kNavCBUserAction);
    dialog->Send(kNavCBTerminate);
    dialog->running = false;
    if (dialog->disposeRequested)
        delete dialog;
    return noErr;
}

NavUserAction NavDialogGetUserAction(NavDialogRef dialog)
{
    return dialog != nullptr ? dialog->action : kNavUserActionNone;
}

OSStatus NavDialogGetReply(NavDialogRef dialog, NavReplyRecord* outReply)
{
    if (dialog == nullptr || outReply == nullptr)
        return paramErr;
    *outReply = NavReplyRecord{};
    OSErr err = AECreateList(nullptr, 0, false, &outReply->selection);
    if (err != noErr)
        return err;
    if (dialog->action == kNavUserActionSaveAs && !dialog->chosen.empty()) {
        const std::string& path = dialog->chosen.front();
        const size_t slash = path.find_last_of('/');
        const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        FSRef ref;
        err = FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr);
        if (err == noErr)
            err = AEPutPtr(&outReply->selection, 0, typeFSRef, &ref, Size(sizeof ref));
        // The name keeps its bytes (HostCFStringToFileName), shown as any file name is.
        outReply->saveFileName = HostCFStringCreateWithFileName(path.substr(slash + 1).c_str());
        if (err != noErr || outReply->saveFileName == nullptr) {
            NavDisposeReply(outReply);
            return err != noErr ? err : OSStatus(paramErr);
        }
        outReply->replacing = dialog->replacing;
        outReply->validRecord = true;
        return noErr;
    }
    if (dialog->action != kNavUserActionOpen)
        return noErr;
    for (const std::string& path : dialog->chosen) {
        FSRef ref;
        err = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr);
        if (err == noErr)
            err = AEPutPtr(&outReply->selection, 0, typeFSRef, &ref, Size(sizeof ref));
        if (err != noErr) {
            NavDisposeReply(outReply);
            return err;
        }
    }
    outReply->validRecord = true;
    return noErr;
}

OSStatus NavDisposeReply(NavReplyRecord* reply)
{
    if (reply == nullptr)
        return paramErr;
    AEDisposeDesc(&reply->selection);
    CFRelease(reply->saveFileName);
    reply->saveFileName = nullptr;
    reply->validRecord = false;
    return noErr;
}

void NavDialogDispose(NavDialogRef dialog)
{
    if (dialog == nullptr)
        return;
    if (dialog->running)
        dialog->disposeRequested = true;
    else
        delete dialog;
}

OSStatus NavCustomControl(NavDialogRef dialog, NavCustomControlMessage selector, void* parms)
{
    if (dialog == nullptr)
        return paramErr;
    switch (selector) {
    case kNavCtlSetLocation: {
        const auto* desc = static_cast<const AEDesc*>(parms);
        AEDesc ref;
        if (desc == nullptr || AECoerceDesc(desc, typeFSRef, &ref) != noErr)
            return kNavCustomControlMessageFailedErr;
        FSRef folder;
        bool ok = AEGetDescDataSize(&ref) == Size(sizeof folder) && AEGetDescData(&ref, &folder, Size(sizeof folder)) == noErr;
        AEDisposeDesc(&ref);
        if (!ok)
            return kNavCustomControlMessageFailedErr;
        folder.path[sizeof folder.path - 1] = 0;
        if (folder.path[0] != '/' || !isFolderPath(folder.path))
            return kNavCustomControlMessageFailedErr;
        dialog->Load(folder.path);
        return noErr;
    }
    case kNavCtlGetLocation: {
        auto* desc = static_cast<AEDesc*>(parms);
        FSRef folder;
        if (desc == nullptr || !HostStorePath(dialog->folder, folder.path))
            return kNavCustomControlMessageFailedErr;
        return AECreateDesc(typeFSRef, &folder, Size(sizeof folder), desc);
    }
    case kNavCtlSelectCustomType: {
        const auto* item = static_cast<const NavMenuItemSpec*>(parms);
        if (item == nullptr || item->menuCreator != kNavMenuItemSpecCreatorExtension)
            return kNavCustomControlMessageFailedErr;
        CFIndex index = CFIndex(item->menuType);
        if (item->menuItemName[0] != 0) {
            const std::string name(reinterpret_cast<const char*>(item->menuItemName + 1), item->menuItemName[0]);
            const std::vector<std::string> names = dialog->TypeNames();
            index = CFIndex(names.size());
            for (size_t i = 0; i < names.size(); ++i)
                if (macRomanOfUtf8(names[i]).substr(0, 255) == name) {
                    index = CFIndex(i);
                    break;
                }
        }
        if (index >= CFArrayGetCount(dialog->options.popupExtension))
            return kNavCustomControlMessageFailedErr;
        dialog->SelectType(index, false);
        return noErr;
    }
    default:
        return kNavInvalidCustomControlMessageErr;
    }
}

WindowRef NavDialogGetWindow(NavDialogRef dialog)
{
    return dialog != nullptr ? dialog->window : nullptr;
}

void HostNavPresetAnswer(const HostNavAnswer& answer)
{
    presetAnswers().push_back(answer);
}

void HostNavClearPresetAnswers()
{
    presetAnswers().clear();
}

const HostNavShown& HostNavLastShown()
{
    return lastShown();
}
