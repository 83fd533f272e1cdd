// Reading the X clipboard on a thread of its own. A watching connection learns of new owners
// through XFixes; each read opens a connection with a hidden window that asks the owner for its
// targets, then for the text and the image, each delivered in one property or in pieces (INCR).
// The thread waits on the owner, the watch and a control descriptor at once, so that a new copy
// restarts the read and the program's end stops it at whatever point it has reached. Either
// connection may break while the display stays: it is closed, and opened again a while later.
#include "HostX11Clipboard.h"

#include "HostX11Errors.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
using Part = HostX11ClipboardCopy::Part;

// Bounds of one part: an owner silent for the reader's silence is given up on (only a piece that
// brings bytes restarts that time), and so is one that sends more than kMaxTransferBytes. An owner
// that keeps sending is read to the end however long it takes: nobody waits for it meanwhile. One
// that does not answer what it offers, as a busy program may not, is asked again at once, given
// twice the time each round up to kMostPatience, until it answers or another program copies.
constexpr size_t kMaxTransferBytes = size_t(64) << 20;
constexpr auto kMostPatience = std::chrono::milliseconds(64000);
// A connection that broke or could not be opened is tried again after this.
constexpr auto kReopenTime = std::chrono::milliseconds(1000);
// Xlib's copy of a property is taken this many 32-bit units at a time, so that the bytes of a
// part sent in one property are held once, in the part, as they arrive.
constexpr long kPropertyChunk = 1 << 18;

} // namespace

struct HostX11ClipboardReader::State {
    void (*wake)() = nullptr;
    Clock::duration silence{};
    int control = -1; // an eventfd: the program's requests (stop, read again) wake the thread
    std::atomic<bool> stopping{false};
    std::atomic<bool> watched{false}; // XFixes tells of new copies

    std::mutex mutex; // guards what follows
    HostX11ClipboardCopy copy;
    uint64_t published = 0; // versions of copy published and taken
    uint64_t taken = 0;
    bool reading = true;    // the thread reads at its start
    bool again = false;     // a read was asked for

    std::thread thread;

    void publish(const HostX11ClipboardCopy& now)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            copy = now;
            ++published;
        }
        wake();
    }
    void setReading(bool now)
    {
        std::lock_guard<std::mutex> lock(mutex);
        reading = now;
    }
    void signal() const
    {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(control, &one, sizeof one);
    }
    // Takes the requests made since the last call; true when a read was asked for.
    bool takeRequests()
    {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(control, &count, sizeof count);
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(again, false);
    }
    // Sleeps for the time, or until the program asks for something; true when it asked for a read.
    bool rest(Clock::duration time)
    {
        pollfd fd{control, POLLIN, 0};
        poll(&fd, 1, int(std::chrono::duration_cast<std::chrono::milliseconds>(time).count()));
        return (fd.revents & POLLIN) != 0 && takeRequests();
    }
};

namespace {

using State = HostX11ClipboardReader::State;

// A connection of the reader's own, closed with it.
struct Connection {
    Display* display = nullptr;
    HostX11ReaderLink link;

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { close(); }
    bool open()
    {
        display = XOpenDisplay(nullptr);
        link.failed = link.broken = false;
        if (display != nullptr)
            HostX11AdoptReaderConnection(display, link);
        return display != nullptr;
    }
    void close()
    {
        if (display == nullptr)
            return;
        HostX11ForgetReaderConnection(display);
        XCloseDisplay(display);
        display = nullptr;
    }
    bool broken() const { return link.broken; }
};

// The watching connection; selection notices of XFixes arrive on it as events.
struct Watch : Connection {
    int eventBase = 0;
    bool fixes = false;

    // Whether a notice of a new owner (or of the owner's going) arrived since the last call.
    bool noticed() const
    {
        bool any = false;
        while (!broken() && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            any = any || (fixes && event.type == eventBase + XFixesSelectionNotify);
        }
        return any;
    }
};

bool openWatch(Watch& w)
{
    if (!w.open())
        return false;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    w.fixes = XFixesQueryExtension(w.display, &w.eventBase, &errorBase) &&
              XFixesQueryVersion(w.display, &major, &minor);
    if (w.fixes)
        XFixesSelectSelectionInput(w.display, DefaultRootWindow(w.display), XInternAtom(w.display, "CLIPBOARD", False),
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    XSync(w.display, False);
    return true;
}

// Why a read ended before its end. kBroken: a connection broke, or could not be opened.
enum class Ending { kNone, kSilent, kNewCopy, kStop, kBroken };

struct Session : Connection {
    State& state;
    const Watch& watch;
    Window window = 0;
    Atom clipboard = 0;
    Atom property = 0;
    Atom incr = 0;
    Ending ending = Ending::kNone;

    Session(State& s, const Watch& w) : state(s), watch(w) {}
    bool failed() const { return ending != Ending::kNone || link.failed || broken(); }
};

// Waits for an event of the type to our window until the deadline. False, with the reason in
// s.ending, when none came in time, another program copied meanwhile or the program is ending.
bool waitFor(Session& s, int type, XEvent& event, Clock::time_point deadline)
{
    for (;;) {
        if (s.broken() || s.watch.broken()) {
            s.ending = Ending::kBroken;
            return false;
        }
        XPending(s.display);
        if (XCheckTypedWindowEvent(s.display, s.window, type, &event))
            return true;
        if (s.state.stopping) {
            s.ending = Ending::kStop;
            return false;
        }
        if (s.watch.noticed()) {
            s.ending = Ending::kNewCopy;
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || s.link.failed) {
            s.ending = Ending::kSilent;
            return false;
        }
        pollfd fds[3] = {{ConnectionNumber(s.display), POLLIN, 0},
                         {ConnectionNumber(s.watch.display), POLLIN, 0},
                         {s.state.control, POLLIN, 0}};
        poll(fds, 3, int(std::min<long long>(left, 1000)));
        // A read asked for while one runs is this one.
        if ((fds[2].revents & POLLIN) != 0)
            s.state.takeRequests();
    }
}

enum class Read { kAbsent, kData, kTooLarge };

// Appends the property's bytes and deletes it; kAbsent when it does not exist. *type is its type.
// Its type, format and size are asked first, so that room is made once for what is taken and no
// more is fetched than the room left within kMaxTransferBytes: Xlib hands 32-bit items as longs,
// which may take more bytes than the server's.
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
    size_t left = std::min<size_t>(after / sent, room / unit);
    const bool fits = left * sent == after;
    into.reserve(into.size() + left * unit);
    for (long offset = 0; left > 0; offset += kPropertyChunk) {
        data = nullptr;
        if (XGetWindowProperty(s.display, s.window, s.property, offset, kPropertyChunk, False, AnyPropertyType, type,
                               &format, &count, &after, &data) != Success || *type == None || count == 0) {
            if (data != nullptr)
                XFree(data);
            return Read::kAbsent;
        }
        const size_t items = std::min<size_t>(count, left);
        into.insert(into.end(), data, data + items * unit);
        XFree(data);
        left -= items;
    }
    XDeleteProperty(s.display, s.window, s.property);
    return fits ? Read::kData : Read::kTooLarge;
}

// The pieces of an INCR transfer, up to the empty piece that ends it. Only a piece that brings
// bytes gives the owner its silence again, so notices without data cannot stretch the read.
Read takeIncrements(Session& s, std::vector<uint8_t>& into)
{
    Clock::time_point deadline = Clock::now() + s.state.silence;
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
        deadline = Clock::now() + s.state.silence;
    }
}

// Asks the owner to convert the clipboard to the target and takes the result; the owner has
// patience to answer. Each target has a property of its own (named as the target), so that a late
// answer for one part is never read as another's.
Read convert(Session& s, Atom target, std::vector<uint8_t>& into, Clock::duration patience)
{
    if (s.failed())
        return Read::kAbsent;
    s.property = target;
    XEvent event;
    while (XCheckTypedWindowEvent(s.display, s.window, PropertyNotify, &event)) {
    }
    XDeleteProperty(s.display, s.window, s.property);
    const unsigned long asked = NextRequest(s.display);
    XConvertSelection(s.display, s.clipboard, target, s.property, s.window, CurrentTime);
    // Only an answer the server sent after it took this request is this request's: a notice
    // nobody asked for, or an owner's late answer to the last read, whose window's identifier the
    // server may have given to this one, would else be taken for it.
    const Clock::time_point deadline = Clock::now() + patience;
    do {
        if (!waitFor(s, SelectionNotify, event, deadline))
            return Read::kAbsent;
    } while (event.xselection.serial < asked || event.xselection.target != target ||
             event.xselection.selection != s.clipboard);
    if (event.xselection.property == None)
        return Read::kAbsent;
    Atom type = None;
    const Read read = takeProperty(s, into, &type);
    if (read != Read::kData || type != s.incr)
        return read;
    // Owners often give no size, or a wrong one, for pieces: address space for the largest
    // transfer taken is reserved at once instead. Memory backs it only as the pieces fill it, and
    // the bytes are never moved, so they are never held twice while they arrive.
    into.clear();
    into.reserve(kMaxTransferBytes);
    return takeIncrements(s, into);
}

std::vector<Atom> targetsOf(Session& s, Clock::duration patience)
{
    std::vector<uint8_t> bytes;
    if (convert(s, XInternAtom(s.display, "TARGETS", False), bytes, patience) != Read::kData)
        return {};
    const auto* atoms = reinterpret_cast<const long*>(bytes.data());
    std::vector<Atom> targets;
    for (size_t i = 0; i < bytes.size() / sizeof(long); ++i)
        targets.push_back(Atom(atoms[i]));
    return targets;
}

// False when nobody owns the clipboard, or the display cannot be opened (then with s.ending).
bool openSession(Session& s)
{
    if (!s.open()) {
        s.ending = Ending::kBroken;
        return false;
    }
    s.clipboard = XInternAtom(s.display, "CLIPBOARD", False);
    if (XGetSelectionOwner(s.display, s.clipboard) == None) {
        if (s.broken())
            s.ending = Ending::kBroken;
        return false;
    }
    s.window = XCreateSimpleWindow(s.display, DefaultRootWindow(s.display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(s.display, s.window, PropertyChangeMask);
    s.incr = XInternAtom(s.display, "INCR", False);
    return true;
}

HostX11ClipboardCopy::Bytes shared(std::vector<uint8_t>&& bytes)
{
    return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

// Reads the clipboard as it is now into copy, publishing each part as it comes where the display
// tells of new copies (elsewhere only the whole read, since it is compared with the last one).
// kSilent when the owner did not answer its targets within patience: then it offers nothing yet.
Ending readCopy(State& state, const Watch& watch, HostX11ClipboardCopy& copy, Clock::duration patience)
{
    const bool parts = watch.fixes;
    Session s{state, watch};
    if (!openSession(s)) {
        copy.owned = false;
        copy.text = copy.image = Part::kAbsent;
        return s.ending;
    }
    const std::vector<Atom> targets = targetsOf(s, patience);
    if (s.ending != Ending::kNone) {
        copy.owned = false;
        copy.text = copy.image = Part::kAbsent;
        return s.ending;
    }
    auto offered = [&](const char* name) {
        const Atom atom = XInternAtom(s.display, name, False);
        return std::find(targets.begin(), targets.end(), atom) != targets.end() ? atom : Atom(None);
    };
    Atom text = offered("UTF8_STRING");
    if (text == None)
        text = offered("text/plain;charset=utf-8");
    // An owner that lists no targets may still convert to text.
    if (text == None && targets.empty() && !s.failed())
        text = XInternAtom(s.display, "UTF8_STRING", False);
    copy.owned = !s.failed();
    // Of TIFF and PNG, the one the owner lists first is asked for first; the other when it fails.
    const Atom tiff = XInternAtom(s.display, "image/tiff", False);
    const Atom png = XInternAtom(s.display, "image/png", False);
    std::vector<Atom> images;
    for (const Atom target : targets)
        if ((target == tiff || target == png) && std::find(images.begin(), images.end(), target) == images.end())
            images.push_back(target);
    copy.png = !images.empty() && images.front() == png;
    copy.text = text != None ? Part::kComing : Part::kAbsent;
    copy.image = !images.empty() ? Part::kComing : Part::kAbsent;
    if (parts)
        state.publish(copy);
    // Reads a part; one larger than the bound is cut there when cut, else refused. A part whose
    // owner falls silent is given up alone. False when the read ends before its end (a new copy,
    // the program's end, a broken connection).
    auto readPart = [&](Atom target, bool cut, Part& part, HostX11ClipboardCopy::Bytes& into) {
        std::vector<uint8_t> bytes;
        s.link.failed = false;
        const Read read = convert(s, target, bytes, state.silence);
        const bool taken = read == Read::kData || (cut && read == Read::kTooLarge);
        part = taken ? Part::kHere : Part::kAbsent;
        if (taken)
            into = shared(std::move(bytes));
        if (s.ending == Ending::kSilent)
            s.ending = Ending::kNone;
        return s.ending == Ending::kNone;
    };
    if (text != None && !readPart(text, true, copy.text, copy.utf8))
        return s.ending;
    if (parts && text != None && !images.empty())
        state.publish(copy);
    for (const Atom image : images) {
        copy.png = image == png;
        if (!readPart(image, false, copy.image, copy.imageBytes))
            return s.ending;
        if (copy.image == Part::kHere)
            break;
    }
    return Ending::kNone;
}

void run(State& state)
{
    Watch watch;
    uint64_t serial = 0;
    bool pending = true;  // the first read, at the start
    bool newCopy = false; // the read follows a new copy the watch told of
    bool told = false;    // and that copy is not yet published as on its way
    Clock::duration patience = state.silence; // for the owner's answer to what it offers
    while (!state.stopping) {
        if (watch.broken()) {
            watch.close();
            state.watched = false;
            state.rest(kReopenTime);
        }
        if (watch.display == nullptr) {
            if (!openWatch(watch)) {
                if (serial == 0) { // nothing is offered meanwhile
                    HostX11ClipboardCopy nothing;
                    nothing.serial = ++serial;
                    nothing.text = nothing.image = Part::kAbsent;
                    state.publish(nothing);
                    state.setReading(false);
                }
                state.rest(kReopenTime);
                continue;
            }
            state.watched = watch.fixes;
            pending = true; // what was copied while nothing watched
        }
        if (pending) {
            state.setReading(true);
            HostX11ClipboardCopy copy;
            copy.serial = ++serial;
            copy.newCopy = newCopy;
            // A new owner's copy is on its way from the moment the watch tells of it.
            if (told && watch.fixes) {
                HostX11ClipboardCopy coming = copy;
                coming.owned = true;
                state.publish(coming);
            }
            told = false;
            const Ending ending = readCopy(state, watch, copy, patience);
            if (ending == Ending::kBroken) {
                if (!watch.broken())
                    state.rest(kReopenTime);
                continue;
            }
            // A silent owner offers nothing meanwhile, and is asked again with more patience.
            const bool silent = ending == Ending::kSilent;
            pending = ending == Ending::kNewCopy || silent;
            newCopy = ending == Ending::kNewCopy || (silent && newCopy);
            told = ending == Ending::kNewCopy;
            patience = silent ? std::min<Clock::duration>(patience * 2, std::max<Clock::duration>(kMostPatience, state.silence))
                              : state.silence;
            if (ending == Ending::kNone || silent) {
                state.publish(copy);
                state.setReading(silent);
            }
            continue;
        }
        pollfd fds[2] = {{ConnectionNumber(watch.display), POLLIN, 0}, {state.control, POLLIN, 0}};
        if (XPending(watch.display) == 0)
            poll(fds, 2, -1);
        if ((fds[1].revents & POLLIN) != 0 && state.takeRequests())
            pending = true;
        if (watch.noticed())
            pending = newCopy = told = true;
    }
}

} // namespace

HostX11ClipboardReader::HostX11ClipboardReader(void (*wake)(), std::chrono::milliseconds silence)
    : mState(std::make_unique<State>())
{
    HostX11HandleErrors();
    mState->wake = wake;
    mState->silence = silence;
    mState->control = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    // The end signals are the main thread's: the reader takes none of them.
    sigset_t blocked;
    sigset_t previous;
    sigfillset(&blocked);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    mState->thread = std::thread(run, std::ref(*mState));
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

HostX11ClipboardReader::~HostX11ClipboardReader()
{
    mState->stopping = true;
    mState->signal();
    mState->thread.join();
    close(mState->control);
}

bool HostX11ClipboardReader::Take(HostX11ClipboardCopy& copy)
{
    State& s = *mState;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.published != s.taken) {
        // The bytes go to the taker: the clipboard lends them, and keeps none beside its readers.
        copy = std::move(s.copy);
        s.copy = HostX11ClipboardCopy();
        s.taken = s.published;
        return true;
    }
    if (!s.watched && !s.reading && !s.again) {
        s.again = true;
        s.signal();
    }
    return false;
}

void HostX11ClipboardReader::ReadAgain()
{
    State& s = *mState;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.again = true;
    s.signal();
}
