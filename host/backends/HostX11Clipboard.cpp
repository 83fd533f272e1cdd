// Reading the X clipboard on a thread of its own. A watching connection learns of new owners
// through XFixes; each read opens a connection with a hidden window that asks the owner for its
// targets, then for the text and the image, each delivered in one property or in pieces (INCR).
// The thread waits on the owner, the watch and a control descriptor at once, so that a new copy
// restarts the read and the program's end stops it at whatever point it has reached.
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

// Bounds of one part: an owner silent for kAnswerTime is given up on (only a piece that brings
// bytes restarts that time), and so is one that sends more than kMaxTransferBytes. An owner that
// keeps sending is read to the end however long it takes: nobody waits for it meanwhile. One that
// does not answer what it offers, as a busy program may not, is asked again at once, given twice
// the time each round up to kMostPatience, until it answers or another program copies.
constexpr size_t kMaxTransferBytes = size_t(64) << 20;
constexpr auto kAnswerTime = std::chrono::milliseconds(1000);
constexpr auto kMostPatience = std::chrono::milliseconds(64000);

} // namespace

struct HostX11ClipboardReader::State {
    void (*wake)() = nullptr;
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
};

namespace {

using State = HostX11ClipboardReader::State;

// The watching connection; selection notices of XFixes arrive on it as events.
struct Watch {
    Display* display = nullptr;
    int eventBase = 0;
    bool fixes = false;

    ~Watch()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }
    // Whether a notice of a new owner (or of the owner's going) arrived since the last call.
    bool noticed() const
    {
        bool any = false;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            any = any || (fixes && event.type == eventBase + XFixesSelectionNotify);
        }
        return any;
    }
};

bool openWatch(Watch& w)
{
    w.display = XOpenDisplay(nullptr);
    if (w.display == nullptr)
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

// Why a read ended before its end.
enum class Ending { kNone, kSilent, kNewCopy, kStop };

struct Session {
    State& state;
    const Watch& watch;
    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0;
    Atom property = 0;
    Atom incr = 0;
    Ending ending = Ending::kNone;

    ~Session()
    {
        if (display == nullptr)
            return;
        if (window != 0)
            XDestroyWindow(display, window);
        XCloseDisplay(display);
        HostX11SetReaderConnection(nullptr);
    }
    bool failed() const { return ending != Ending::kNone || HostX11ReaderFailed(); }
};

// Waits for an event of the type to our window until the deadline. False, with the reason in
// s.ending, when none came in time, another program copied meanwhile or the program is ending.
bool waitFor(Session& s, int type, XEvent& event, Clock::time_point deadline)
{
    for (;;) {
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
        if (left <= 0 || HostX11ReaderFailed()) {
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

// Asks the owner to convert the clipboard to the target and takes the result; the owner has
// patience to answer.
Read convert(Session& s, Atom target, std::vector<uint8_t>& into, Clock::duration patience = kAnswerTime)
{
    if (s.failed())
        return Read::kAbsent;
    XEvent event;
    while (XCheckTypedWindowEvent(s.display, s.window, PropertyNotify, &event)) {
    }
    XDeleteProperty(s.display, s.window, s.property);
    XConvertSelection(s.display, s.clipboard, target, s.property, s.window, CurrentTime);
    // Answers to earlier requests are passed over: an owner's late answer to the last read, whose
    // window's identifier the server may have given to this one, would else be taken for this
    // answer, and its property read before this one's was written.
    const Clock::time_point deadline = Clock::now() + patience;
    do {
        if (!waitFor(s, SelectionNotify, event, deadline))
            return Read::kAbsent;
    } while (event.xselection.target != target || event.xselection.selection != s.clipboard);
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

// False when the display cannot be opened or nobody owns the clipboard.
bool openSession(Session& s)
{
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
        return Ending::kNone;
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
    Atom image = offered("image/tiff");
    copy.png = image == None;
    if (image == None)
        image = offered("image/png");
    copy.text = text != None ? Part::kComing : Part::kAbsent;
    copy.image = image != None ? Part::kComing : Part::kAbsent;
    if (parts)
        state.publish(copy);
    // Reads a part; one larger than the bound is cut there when cut, else refused. False when the
    // read ends before its end (a new copy, the program's end).
    auto readPart = [&](Atom target, bool cut, Part& part, HostX11ClipboardCopy::Bytes& into) {
        std::vector<uint8_t> bytes;
        const Read read = convert(s, target, bytes);
        const bool taken = read == Read::kData || (cut && read == Read::kTooLarge);
        part = taken ? Part::kHere : Part::kAbsent;
        if (taken)
            into = shared(std::move(bytes));
        return s.ending != Ending::kNewCopy && s.ending != Ending::kStop;
    };
    if (text != None && !readPart(text, true, copy.text, copy.utf8))
        return s.ending;
    if (parts && text != None && image != None)
        state.publish(copy);
    if (image != None && !readPart(image, false, copy.image, copy.imageBytes))
        return s.ending;
    return Ending::kNone;
}

void run(State& state)
{
    Watch watch;
    uint64_t serial = 0;
    bool pending = true; // the first read, at the start
    bool newCopy = false;
    Clock::duration patience = kAnswerTime; // for the owner's answer to what it offers
    if (!openWatch(watch)) {
        HostX11ClipboardCopy nothing;
        nothing.serial = ++serial;
        nothing.text = nothing.image = Part::kAbsent;
        state.publish(nothing);
        state.setReading(false);
        return;
    }
    state.watched = watch.fixes;
    while (!state.stopping) {
        if (pending) {
            state.setReading(true);
            HostX11ClipboardCopy copy;
            copy.serial = ++serial;
            copy.newCopy = newCopy;
            const Ending ending = readCopy(state, watch, copy, patience);
            // A silent owner offers nothing meanwhile, and is asked again with more patience.
            const bool silent = ending == Ending::kSilent;
            pending = ending == Ending::kNewCopy || silent;
            newCopy = ending == Ending::kNewCopy || (silent && newCopy);
            patience = silent ? std::min<Clock::duration>(patience * 2, kMostPatience) : kAnswerTime;
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
            pending = newCopy = true;
    }
}

} // namespace

HostX11ClipboardReader::HostX11ClipboardReader(void (*wake)()) : mState(std::make_unique<State>())
{
    HostX11HandleErrors();
    mState->wake = wake;
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
