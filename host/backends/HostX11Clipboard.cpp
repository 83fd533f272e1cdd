// Reading the X clipboard: a connection of its own with a hidden window that asks the selection's
// owner for its targets, then for the text and the image, each delivered in one property or in
// pieces (INCR) for large data. An owner that stops answering ends the whole read. A second
// connection, kept while the display is open, learns of new owners through XFixes, so that an
// unchanged clipboard is not read again.
#include "HostX11Clipboard.h"

#include "HostPasteboard.h"
#include "HostX11Errors.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

// Bounds of one read: an owner silent for kAnswerTime is given up on, and so is one that sends
// without end (beyond kMaxTransferBytes). An owner that keeps sending is read to the end however
// long the whole takes: a busy machine may take many seconds over a large image.
constexpr size_t kMaxTransferBytes = size_t(64) << 20;
constexpr auto kAnswerTime = std::chrono::seconds(1);
// Longest sleep between two looks at the signal hook.
constexpr int kWaitSlice = 50;

struct Session {
    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0;
    Atom property = 0;
    Atom incr = 0;
    bool silent = false;           // the owner did not answer in time
    void (*duringWait)() = nullptr;

    ~Session()
    {
        if (display == nullptr)
            return;
        if (window != 0)
            XDestroyWindow(display, window);
        XCloseDisplay(display);
        HostX11SetReaderConnection(nullptr);
    }
    bool failed() const { return silent || HostX11ReaderFailed(); }
};

// Waits for an event of the type to our window until the deadline; false, marking the owner
// silent, when none came.
bool waitFor(Session& s, int type, XEvent& event, Clock::time_point deadline)
{
    for (;;) {
        XPending(s.display);
        if (XCheckTypedWindowEvent(s.display, s.window, type, &event))
            return true;
        if (s.duringWait != nullptr)
            s.duringWait();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || HostX11ReaderFailed()) {
            s.silent = true;
            return false;
        }
        pollfd pfd{ConnectionNumber(s.display), POLLIN, 0};
        poll(&pfd, 1, int(std::min<long long>(left, kWaitSlice)));
    }
}

enum class Read { kAbsent, kData, kTooLarge };

// Appends the property's bytes (deleting it); kAbsent when it does not exist. *type is its type.
// Its type and format are asked first, so that no more is fetched than the room left within
// kMaxTransferBytes: Xlib hands 32-bit items as longs, which may take more bytes than the server's.
Read takeProperty(Session& s, std::vector<uint8_t>& into, Atom* type)
{
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(s.display, s.window, s.property, 0, 0, False, AnyPropertyType, type, &format, &count,
                           &after, &data) != Success)
        return Read::kAbsent;
    if (data != nullptr)
        XFree(data);
    if (*type == None)
        return Read::kAbsent;
    // The bytes of an item as the server counts them (after), and as Xlib hands them over.
    const size_t sent = size_t(std::max(format, 8) / 8);
    const size_t unit = format == 32 ? sizeof(long) : sent;
    const size_t room = kMaxTransferBytes - std::min(kMaxTransferBytes, into.size());
    const size_t items = std::min<size_t>(after / sent, room / unit);
    data = nullptr;
    if (XGetWindowProperty(s.display, s.window, s.property, 0, long((items * sent + 3) / 4), True, AnyPropertyType,
                           type, &format, &count, &after, &data) != Success)
        return Read::kAbsent;
    if (*type == None) {
        if (data != nullptr)
            XFree(data);
        return Read::kAbsent;
    }
    const size_t bytes = size_t(count) * (format == 32 ? sizeof(long) : size_t(format / 8));
    const bool fits = after == 0 && bytes <= room;
    if (data != nullptr) {
        into.insert(into.end(), data, data + std::min(bytes, room));
        XFree(data);
    }
    return fits ? Read::kData : Read::kTooLarge;
}

// The pieces of an INCR transfer, up to the empty piece that ends it. Only a piece that brings
// bytes gives the owner kAnswerTime more, so notices without data cannot stretch the read.
Read takeIncrements(Session& s, std::vector<uint8_t>& into)
{
    Clock::time_point deadline = Clock::now() + kAnswerTime;
    for (;;) {
        XEvent event;
        if (!waitFor(s, PropertyNotify, event, deadline))
            return Read::kAbsent;
        if (event.xproperty.atom != s.property || event.xproperty.state != PropertyNewValue)
            continue;
        Atom type = None;
        const size_t before = into.size();
        const Read read = takeProperty(s, into, &type);
        if (read == Read::kAbsent)
            continue; // a notice about a property already taken
        if (read == Read::kTooLarge)
            return read;
        if (into.size() == before)
            return Read::kData;
        deadline = Clock::now() + kAnswerTime;
    }
}

// Asks the owner to convert the clipboard to the target and takes the result.
Read convert(Session& s, Atom target, std::vector<uint8_t>& into)
{
    if (s.failed())
        return Read::kAbsent;
    XEvent event;
    while (XCheckTypedWindowEvent(s.display, s.window, PropertyNotify, &event)) {
    }
    XDeleteProperty(s.display, s.window, s.property);
    XConvertSelection(s.display, s.clipboard, target, s.property, s.window, CurrentTime);
    if (!waitFor(s, SelectionNotify, event, Clock::now() + kAnswerTime) || event.xselection.property == None)
        return Read::kAbsent;
    Atom type = None;
    const Read read = takeProperty(s, into, &type);
    if (read != Read::kData || type != s.incr)
        return read;
    // The INCR property holds a lower bound of the size: room for it is made at once, so the
    // pieces do not regrow the bytes (and hold two copies) as they come.
    unsigned long expected = 0; // a 32-bit item, which Xlib hands over as a long
    if (into.size() >= sizeof expected)
        std::memcpy(&expected, into.data(), sizeof expected);
    into.clear();
    into.reserve(std::min(size_t(expected), kMaxTransferBytes));
    return takeIncrements(s, into);
}

std::vector<Atom> targetsOf(Session& s)
{
    std::vector<uint8_t> bytes;
    if (convert(s, XInternAtom(s.display, "TARGETS", False), bytes) != Read::kData)
        return {};
    const auto* atoms = reinterpret_cast<const long*>(bytes.data());
    std::vector<Atom> targets;
    for (size_t i = 0; i < bytes.size() / sizeof(long); ++i)
        targets.push_back(Atom(atoms[i]));
    return targets;
}

bool openSession(Session& s)
{
    HostX11HandleErrors();
    s.display = XOpenDisplay(nullptr);
    if (s.display == nullptr)
        return false;
    HostX11SetReaderConnection(s.display);
    s.clipboard = XInternAtom(s.display, "CLIPBOARD", False);
    if (XGetSelectionOwner(s.display, s.clipboard) == None)
        return false;
    s.window = XCreateSimpleWindow(s.display, DefaultRootWindow(s.display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(s.display, s.window, PropertyChangeMask);
    s.property = XInternAtom(s.display, "HOST_CLIPBOARD", False);
    s.incr = XInternAtom(s.display, "INCR", False);
    return true;
}

} // namespace

bool HostX11ReadClipboard(HostX11ClipboardContents& contents, void (*duringWait)())
{
    Session s;
    s.duringWait = duringWait;
    if (!openSession(s))
        return false;
    const std::vector<Atom> targets = targetsOf(s);
    auto offered = [&](const char* name) {
        const Atom atom = XInternAtom(s.display, name, False);
        return std::find(targets.begin(), targets.end(), atom) != targets.end() ? atom : Atom(None);
    };
    Atom text = offered("UTF8_STRING");
    if (text == None)
        text = offered("text/plain;charset=utf-8");
    // An owner that lists no targets may still convert to text; one that did not answer is not
    // asked again.
    if (text == None && targets.empty() && !s.failed())
        text = XInternAtom(s.display, "UTF8_STRING", False);
    if (text != None) {
        std::vector<uint8_t> bytes;
        const Read read = convert(s, text, bytes);
        contents.hasText = read != Read::kAbsent;
        contents.utf8.assign(bytes.begin(), bytes.end());
    }
    auto takeImage = [&](Atom target, std::vector<uint8_t>& bytes) {
        const bool whole = convert(s, target, bytes) == Read::kData;
        if (!whole)
            bytes.clear();
        return whole;
    };
    if (const Atom tiff = offered("image/tiff"); tiff != None)
        contents.hasTIFF = takeImage(tiff, contents.tiff);
    else if (const Atom png = offered("image/png"); png != None)
        contents.hasPNG = takeImage(png, contents.png);
    return !s.failed();
}

namespace {

// The watching connection; selection notices of XFixes arrive on it as events.
struct Watch {
    Display* display = nullptr;
    bool fixes = false;
    int eventBase = 0;
};

Watch& watch()
{
    static Watch theWatch;
    return theWatch;
}

} // namespace

bool HostX11ClipboardChanged()
{
    Watch& w = watch();
    if (w.display == nullptr) {
        HostX11HandleErrors();
        w.display = XOpenDisplay(nullptr);
        if (w.display == nullptr)
            return true;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        w.fixes = XFixesQueryExtension(w.display, &w.eventBase, &errorBase) &&
                  XFixesQueryVersion(w.display, &major, &minor);
        if (w.fixes)
            XFixesSelectSelectionInput(w.display, DefaultRootWindow(w.display),
                                       XInternAtom(w.display, "CLIPBOARD", False),
                                       XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                           XFixesSelectionClientCloseNotifyMask);
        XSync(w.display, False);
        return true;
    }
    if (!w.fixes)
        return true;
    // After the round trip every notice the server sent before it is in the queue.
    XSync(w.display, False);
    bool changed = false;
    while (XPending(w.display) > 0) {
        XEvent event;
        XNextEvent(w.display, &event);
        changed = changed || event.type == w.eventBase + XFixesSelectionNotify;
    }
    // A new owner is a new copy even when it offers the bytes read last time.
    if (changed)
        HostClipboardNoteNewCopy();
    return changed;
}

void HostX11StopWatchingClipboard()
{
    Watch& w = watch();
    if (w.display != nullptr)
        XCloseDisplay(w.display);
    w = Watch{};
}
