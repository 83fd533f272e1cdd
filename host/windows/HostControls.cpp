// The control trees of windows, their drawing into the window's port, and their part of the
// event handling. Trees are dropped when their window is disposed.
#include "HostControls.h"

#include "HostClock.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

struct HostControl {
    enum class Kind { kRoot, kStaticText, kPushButton };
    Kind kind = Kind::kRoot;
    WindowRef window = nullptr;
    HostControl* parent = nullptr;
    std::vector<std::unique_ptr<HostControl>> children;
    Rect bounds{0, 0, 0, 0};
    ControlID id{0, 0};
    uint32_t commandID = 0;
    std::string text; // Mac Roman
    bool active = true;
    bool pressed = false;
    EventTargetRef target = nullptr;

    ~HostControl() { HostDisposeEventTarget(target); }
};

namespace {

struct WindowControls {
    std::unique_ptr<HostControl> root;
    HostControl* defaultButton = nullptr;
    HostControl* cancelButton = nullptr;
};

std::map<WindowRef, WindowControls>& windows()
{
    static auto* table = new std::map<WindowRef, WindowControls>;
    return *table;
}

std::set<HostControl*>& liveControls()
{
    static auto* set = new std::set<HostControl*>;
    return *set;
}

bool isLive(ControlRef control)
{
    return control != nullptr && liveControls().count(control) != 0;
}

HostControl* newControl(HostControl::Kind kind, WindowRef window, HostControl* parent)
{
    auto* control = new HostControl;
    control->kind = kind;
    control->window = window;
    control->parent = parent;
    control->target = HostNewEventTarget(parent != nullptr ? parent->target : GetWindowEventTarget(window));
    liveControls().insert(control);
    return control;
}

void forget(HostControl* control)
{
    for (auto& child : control->children)
        forget(child.get());
    liveControls().erase(control);
    auto found = windows().find(control->window);
    if (found != windows().end()) {
        if (found->second.defaultButton == control)
            found->second.defaultButton = nullptr;
        if (found->second.cancelButton == control)
            found->second.cancelButton = nullptr;
    }
}

void forgetWindow(WindowRef window)
{
    auto found = windows().find(window);
    if (found == windows().end())
        return;
    std::unique_ptr<HostControl> root = std::move(found->second.root);
    if (root != nullptr)
        forget(root.get());
    windows().erase(window);
}

HostControl* createInRoot(WindowRef window, HostControl::Kind kind, const Rect* bounds, CFStringRef text)
{
    ControlRef root = nullptr;
    if (GetRootControl(window, &root) != noErr && CreateRootControl(window, &root) != noErr)
        return nullptr;
    HostControl* control = newControl(kind, window, root);
    control->bounds = *bounds;
    control->text = HostCFStringToMacRoman(text);
    root->children.emplace_back(control);
    InvalWindowRect(window, bounds);
    return control;
}

// Drawing ---------------------------------------------------------------------------------------

class PortSaver {
public:
    explicit PortSaver(WindowRef window)
    {
        GetPort(&mSaved);
        SetPortWindowPort(window);
    }
    ~PortSaver() { SetPort(mSaved); }

private:
    GrafPtr mSaved = nullptr;
};

constexpr RGBColor kBlack{0, 0, 0};
constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kGrey{0x8000, 0x8000, 0x8000};
constexpr RGBColor kButtonFace{0xEEEE, 0xEEEE, 0xEEEE};

void useControlFont()
{
    TextFont(0);
    TextSize(12);
    TextFace(0);
    TextMode(kModeOr);
}

void drawStaticText(const HostControl& control)
{
    RGBBackColor(&kWhite);
    EraseRect(&control.bounds);
    RGBForeColor(control.active ? &kBlack : &kGrey);
    FontInfo info;
    GetFontInfo(&info);
    int16_t lineHeight = int16_t(info.ascent + info.descent + info.leading);
    int16_t width = int16_t(control.bounds.right - control.bounds.left);
    const char* text = control.text.data();
    int32_t length = int32_t(control.text.size());
    int16_t v = int16_t(control.bounds.top + info.ascent);
    for (int32_t start = 0; start < length && v - info.ascent < control.bounds.bottom;) {
        int32_t end = StyledLineBreak(text, length, start, width);
        if (end <= start)
            end = start + 1;
        int32_t visible = VisibleLength(text + start, end - start);
        MoveTo(control.bounds.left, v);
        DrawText(text, int16_t(start), int16_t(visible));
        start = end;
        v = int16_t(v + lineHeight);
    }
}

void drawPushButton(const HostControl& control, bool isDefault)
{
    Rect r = control.bounds;
    RGBBackColor(&kWhite);
    Rect ring{int16_t(r.top - 4), int16_t(r.left - 4), int16_t(r.bottom + 4), int16_t(r.right + 4)};
    EraseRect(&ring);
    PenNormal();
    RGBForeColor(control.pressed ? &kBlack : &kButtonFace);
    PaintRoundRect(&r, 10, 10);
    RGBForeColor(control.active ? &kBlack : &kGrey);
    FrameRoundRect(&r, 10, 10);
    if (isDefault) {
        PenSize(2, 2);
        FrameRoundRect(&ring, 14, 14);
        PenNormal();
    }
    FontInfo info;
    GetFontInfo(&info);
    int16_t width = TextWidth(control.text.data(), 0, int16_t(control.text.size()));
    int16_t h = int16_t((r.left + r.right - width) / 2);
    int16_t v = int16_t((r.top + r.bottom + info.ascent - info.descent) / 2);
    RGBForeColor(control.pressed ? &kWhite : control.active ? &kBlack : &kGrey);
    MoveTo(h, v);
    DrawText(control.text.data(), 0, int16_t(control.text.size()));
}

void drawTree(const HostControl& control, const WindowControls& owner)
{
    switch (control.kind) {
    case HostControl::Kind::kStaticText:
        drawStaticText(control);
        break;
    case HostControl::Kind::kPushButton:
        drawPushButton(control, &control == owner.defaultButton);
        break;
    case HostControl::Kind::kRoot:
        break;
    }
    for (const auto& child : control.children)
        drawTree(*child, owner);
}

void redraw(ControlRef control)
{
    if (!HostIsLiveWindow(control->window))
        return;
    PortSaver port(control->window);
    useControlFont();
    drawTree(*control, windows()[control->window]);
    QDFlushPortBuffer(GetWindowPort(control->window), nullptr);
}

bool contains(const Rect& r, Point p)
{
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

HostControl* controlAt(HostControl& control, Point p)
{
    for (auto it = control.children.rbegin(); it != control.children.rend(); ++it) {
        HostControl* found = controlAt(**it, p);
        if (found != nullptr)
            return found;
    }
    return control.kind != HostControl::Kind::kRoot && contains(control.bounds, p) ? &control : nullptr;
}

HostControl* findByID(HostControl& control, const ControlID& id)
{
    if (control.kind != HostControl::Kind::kRoot && control.id.signature == id.signature && control.id.id == id.id)
        return &control;
    for (auto& child : control.children) {
        HostControl* found = findByID(*child, id);
        if (found != nullptr)
            return found;
    }
    return nullptr;
}

void collectTexts(const HostControl& control, std::vector<std::string>& texts)
{
    if (control.kind == HostControl::Kind::kStaticText)
        texts.push_back(control.text);
    for (const auto& child : control.children)
        collectTexts(*child, texts);
}

// Shows the button pressed for a moment, then sends its command.
OSStatus pressVisibly(ControlRef button)
{
    button->pressed = true;
    redraw(button);
    Delay(8, nullptr);
    button->pressed = false;
    redraw(button);
    return HostPressButton(button);
}

} // namespace

// --- The control tree -------------------------------------------------------------------------

OSErr CreateRootControl(WindowRef window, ControlRef* outControl)
{
    if (outControl != nullptr)
        *outControl = nullptr;
    if (!HostIsLiveWindow(window))
        return errInvalidWindowRef;
    WindowControls& owner = windows()[window];
    if (owner.root != nullptr)
        return errRootAlreadyExists;
    HostAddWindowGoneObserver(forgetWindow);
    owner.root.reset(newControl(HostControl::Kind::kRoot, window, nullptr));
    Rect frame{0, 0, 0, 0};
    GetWindowBounds(window, kWindowContentRgn, &frame);
    owner.root->bounds = Rect{0, 0, int16_t(frame.bottom - frame.top), int16_t(frame.right - frame.left)};
    if (outControl != nullptr)
        *outControl = owner.root.get();
    return noErr;
}

OSErr GetRootControl(WindowRef window, ControlRef* outControl)
{
    if (outControl == nullptr)
        return paramErr;
    *outControl = nullptr;
    if (!HostIsLiveWindow(window))
        return errInvalidWindowRef;
    auto found = windows().find(window);
    if (found == windows().end() || found->second.root == nullptr)
        return errNoRootControl;
    *outControl = found->second.root.get();
    return noErr;
}

OSErr EmbedControl(ControlRef control, ControlRef container)
{
    if (!isLive(control) || !isLive(container))
        return errInvalidControlRef;
    if (container->kind != HostControl::Kind::kRoot || control->kind == HostControl::Kind::kRoot ||
        container->window != control->window)
        return errControlIsNotEmbedder;
    HostControl* from = control->parent;
    if (from == container)
        return noErr;
    auto it = std::find_if(from->children.begin(), from->children.end(),
                           [&](const std::unique_ptr<HostControl>& c) { return c.get() == control; });
    std::unique_ptr<HostControl> owned = std::move(*it);
    from->children.erase(it);
    control->parent = container;
    HostSetEventTargetParent(control->target, container->target);
    container->children.push_back(std::move(owned));
    return noErr;
}

OSErr CountSubControls(ControlRef control, UInt16* numChildren)
{
    if (numChildren == nullptr)
        return paramErr;
    *numChildren = 0;
    if (!isLive(control))
        return errInvalidControlRef;
    if (control->kind != HostControl::Kind::kRoot)
        return errControlIsNotEmbedder;
    *numChildren = UInt16(std::min<size_t>(control->children.size(), 0xFFFF));
    return noErr;
}

OSErr GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl)
{
    if (outSubControl == nullptr)
        return paramErr;
    *outSubControl = nullptr;
    if (!isLive(control))
        return errInvalidControlRef;
    if (index < 1 || index > control->children.size())
        return paramErr;
    *outSubControl = control->children[index - 1].get();
    return noErr;
}

WindowRef GetControlOwner(ControlRef control)
{
    return isLive(control) ? control->window : nullptr;
}

void DisposeControl(ControlRef control)
{
    if (!isLive(control))
        return;
    if (control->parent == nullptr) {
        forgetWindow(control->window);
        return;
    }
    InvalWindowRect(control->window, &control->bounds);
    forget(control);
    auto& siblings = control->parent->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [&](const std::unique_ptr<HostControl>& c) { return c.get() == control; }));
}

// --- Identity and data --------------------------------------------------------------------

OSStatus SetControlID(ControlRef control, const ControlID* id)
{
    if (!isLive(control) || id == nullptr)
        return errInvalidControlRef;
    control->id = *id;
    return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID* outID)
{
    if (!isLive(control) || outID == nullptr)
        return errInvalidControlRef;
    *outID = control->id;
    return noErr;
}

OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl)
{
    if (outControl == nullptr || id == nullptr)
        return paramErr;
    *outControl = nullptr;
    auto found = windows().find(window);
    if (!HostIsLiveWindow(window) || found == windows().end() || found->second.root == nullptr)
        return errControlNotFound;
    *outControl = findByID(*found->second.root, *id);
    return *outControl != nullptr ? OSStatus(noErr) : OSStatus(errControlNotFound);
}

OSStatus SetControlCommandID(ControlRef control, UInt32 commandID)
{
    if (!isLive(control))
        return errInvalidControlRef;
    control->commandID = commandID;
    return noErr;
}

OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID)
{
    if (!isLive(control) || outCommandID == nullptr)
        return errInvalidControlRef;
    *outCommandID = control->commandID;
    return noErr;
}

OSErr SetControlData(ControlRef control, ControlPartCode part, ResType tagName, Size size, const void* data)
{
    if (!isLive(control))
        return errInvalidControlRef;
    if (tagName != kControlStaticTextTextTag || control->kind == HostControl::Kind::kRoot ||
        (part != kControlNoPart && part != kControlEntireControlPart))
        return errDataNotSupported;
    if (size < 0 || (size > 0 && data == nullptr))
        return paramErr;
    control->text.assign(static_cast<const char*>(data), size_t(size));
    InvalWindowRect(control->window, &control->bounds);
    return noErr;
}

OSErr GetControlData(ControlRef control, ControlPartCode part, ResType tagName, Size bufferSize, void* buffer,
                     Size* actualSize)
{
    if (!isLive(control))
        return errInvalidControlRef;
    if (tagName != kControlStaticTextTextTag || control->kind == HostControl::Kind::kRoot ||
        (part != kControlNoPart && part != kControlEntireControlPart))
        return errDataNotSupported;
    if (bufferSize < 0)
        return paramErr;
    size_t n = std::min(control->text.size(), size_t(bufferSize));
    if (n > 0 && buffer == nullptr)
        return paramErr;
    std::copy_n(control->text.data(), n, static_cast<char*>(buffer));
    if (actualSize != nullptr)
        *actualSize = Size(control->text.size());
    return noErr;
}

void GetControlBounds(ControlRef control, Rect* bounds)
{
    if (isLive(control) && bounds != nullptr)
        *bounds = control->bounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds)
{
    if (!isLive(control) || bounds == nullptr)
        return;
    InvalWindowRect(control->window, &control->bounds);
    control->bounds = *bounds;
    InvalWindowRect(control->window, &control->bounds);
}

void ActivateControl(ControlRef control)
{
    if (isLive(control) && !control->active) {
        control->active = true;
        InvalWindowRect(control->window, &control->bounds);
    }
}

void DeactivateControl(ControlRef control)
{
    if (isLive(control) && control->active) {
        control->active = false;
        InvalWindowRect(control->window, &control->bounds);
    }
}

Boolean IsControlActive(ControlRef control)
{
    return isLive(control) && control->active;
}

// --- Kinds ------------------------------------------------------------------------------------

OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text, const void*,
                                 ControlRef* outControl)
{
    if (outControl == nullptr || bounds == nullptr)
        return paramErr;
    *outControl = createInRoot(window, HostControl::Kind::kStaticText, bounds, text);
    return *outControl != nullptr ? OSStatus(noErr) : OSStatus(errInvalidWindowRef);
}

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title, ControlRef* outControl)
{
    if (outControl == nullptr || bounds == nullptr)
        return paramErr;
    *outControl = createInRoot(window, HostControl::Kind::kPushButton, bounds, title);
    return *outControl != nullptr ? OSStatus(noErr) : OSStatus(errInvalidWindowRef);
}

OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control)
{
    if (!HostIsLiveWindow(window) || (control != nullptr && (!isLive(control) || control->window != window)))
        return paramErr;
    windows()[window].defaultButton = control;
    if (control != nullptr)
        InvalWindowRect(window, &control->bounds);
    return noErr;
}

OSStatus SetWindowCancelButton(WindowRef window, ControlRef control)
{
    if (!HostIsLiveWindow(window) || (control != nullptr && (!isLive(control) || control->window != window)))
        return paramErr;
    windows()[window].cancelButton = control;
    return noErr;
}

OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl)
{
    if (outControl == nullptr)
        return paramErr;
    auto found = windows().find(window);
    *outControl = found != windows().end() ? found->second.defaultButton : nullptr;
    return noErr;
}

OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl)
{
    if (outControl == nullptr)
        return paramErr;
    auto found = windows().find(window);
    *outControl = found != windows().end() ? found->second.cancelButton : nullptr;
    return noErr;
}

// --- Drawing and events -----------------------------------------------------------------------

void DrawControls(WindowRef window)
{
    auto found = windows().find(window);
    if (!HostIsLiveWindow(window) || found == windows().end() || found->second.root == nullptr)
        return;
    redraw(found->second.root.get());
}

ControlPartCode FindControl(Point localPoint, WindowRef window, ControlRef* outControl)
{
    if (outControl != nullptr)
        *outControl = nullptr;
    auto found = windows().find(window);
    if (!HostIsLiveWindow(window) || found == windows().end() || found->second.root == nullptr)
        return kControlNoPart;
    HostControl* control = controlAt(*found->second.root, localPoint);
    if (control == nullptr || !control->active)
        return kControlNoPart;
    if (outControl != nullptr)
        *outControl = control;
    return control->kind == HostControl::Kind::kPushButton ? kControlButtonPart : kControlEntireControlPart;
}

ControlPartCode TrackControl(ControlRef control, Point localPoint, void*)
{
    if (!isLive(control) || control->kind != HostControl::Kind::kPushButton || !control->active)
        return kControlNoPart;
    WindowRef window = control->window;
    bool inside = contains(control->bounds, localPoint);
    control->pressed = inside;
    redraw(control);
    Point mouse = localPoint;
    while (StillDown()) {
        PortSaver port(window);
        GetMouse(&mouse);
        bool now = contains(control->bounds, mouse);
        if (now != inside) {
            inside = now;
            control->pressed = inside;
            redraw(control);
        }
    }
    // The release ends the tracking: it is not an event of its own.
    HostTakeQueuedMouseUp();
    {
        PortSaver port(window);
        GetMouse(&mouse);
    }
    if (!isLive(control))
        return kControlNoPart;
    inside = contains(control->bounds, mouse);
    control->pressed = false;
    redraw(control);
    return inside ? kControlButtonPart : kControlNoPart;
}

bool HostHandleControlEvent(WindowRef window, const EventRecord& event)
{
    if (!HostIsLiveWindow(window))
        return false;
    switch (event.what) {
    case updateEvt:
        if (reinterpret_cast<WindowRef>(event.message) != window)
            return false;
        BeginUpdate(window);
        DrawControls(window);
        EndUpdate(window);
        return true;
    case mouseDown: {
        WindowRef hit = nullptr;
        if (FindWindow(event.where, &hit) != inContent || hit != window)
            return false;
        Point local = event.where;
        {
            PortSaver port(window);
            GlobalToLocal(&local);
        }
        ControlRef control = nullptr;
        if (FindControl(local, window, &control) != kControlButtonPart)
            return false;
        if (TrackControl(control, local, nullptr) == kControlButtonPart && isLive(control))
            HostPressButton(control);
        return true;
    }
    case keyDown:
    case autoKey: {
        uint8_t c = uint8_t(event.message & charCodeMask);
        auto found = windows().find(window);
        if (found == windows().end())
            return false;
        HostControl* button = nullptr;
        if (c == '\r' || c == 3)
            button = found->second.defaultButton;
        else if (c == 27 || (c == '.' && (event.modifiers & cmdKey) != 0))
            button = found->second.cancelButton;
        if (button == nullptr || !button->active)
            return false;
        pressVisibly(button);
        return true;
    }
    default:
        return false;
    }
}

OSStatus HostPressButton(ControlRef control)
{
    if (!isLive(control))
        return errInvalidControlRef;
    return HostSendControlCommand(control, control->commandID);
}

std::vector<std::string> HostStaticTexts(WindowRef window)
{
    std::vector<std::string> texts;
    auto found = windows().find(window);
    if (found != windows().end() && found->second.root != nullptr)
        collectTexts(*found->second.root, texts);
    return texts;
}

EventTargetRef GetControlEventTarget(ControlRef control)
{
    return isLive(control) ? control->target : nullptr;
}
