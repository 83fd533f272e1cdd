#include "ClipboardOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// One transfer in pieces: the next piece goes once the reader deleted the last and the gap passed.
struct Transfer {
    Window requestor = 0;
    Atom property = 0;
    Atom type = 0;
    const std::vector<uint8_t>* bytes = nullptr;
    size_t sent = 0;
    size_t pieces = 0;
    bool deleted = false;
    Clock::time_point due;
};

} // namespace

ClipboardOwner::ClipboardOwner(const std::string& display, std::vector<Offer> offers, Pace pace)
    : mOffers(std::move(offers)), mPace(pace), mThread([this, display] { serve(display); })
{
    Take();
}

ClipboardOwner::ClipboardOwner(const std::string& display, std::vector<Offer> offers)
    : ClipboardOwner(display, std::move(offers), Pace())
{
}

ClipboardOwner::~ClipboardOwner()
{
    mStop = true;
    mThread.join();
}

void ClipboardOwner::Take()
{
    for (const int wanted = ++mTakes; mTaken < wanted;)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void ClipboardOwner::serve(std::string name)
{
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr)
        return;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom incr = XInternAtom(display, "INCR", False);
    std::vector<Transfer> transfers;
    std::optional<XSelectionRequestEvent> delayed;
    Clock::time_point due;
    bool cut = mPace.cut;
    while (!mStop) {
        if (mTaken < mTakes) {
            XSetSelectionOwner(display, clipboard, window, CurrentTime);
            XSync(display, False);
            transfers.clear();
            ++mTaken;
        }
        for (Transfer& t : transfers) {
            if (t.bytes == nullptr || !t.deleted || (Clock::now() < t.due && !hurry) || t.pieces >= mPace.stopAfter || silent)
                continue;
            const size_t count = std::min(mPace.piece, t.bytes->size() - t.sent);
            XChangeProperty(display, t.requestor, t.property, t.type, 8, PropModeReplace, t.bytes->data() + t.sent,
                            int(count));
            t.sent += count;
            ++t.pieces;
            t.deleted = false;
            if (count == 0) { // the empty piece ends the transfer
                ++served;
                t.bytes = nullptr;
            }
            XFlush(display);
        }
        std::erase_if(transfers, [](const Transfer& t) { return t.bytes == nullptr; });
        XEvent event;
        if (delayed && Clock::now() >= due) {
            event.xselectionrequest = *std::exchange(delayed, std::nullopt);
        } else if (XPending(display) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        } else {
            XNextEvent(display, &event);
            if (event.type == SelectionRequest && mPace.delay.count() > 0) {
                ++requests;
                delayed = event.xselectionrequest;
                due = Clock::now() + mPace.delay;
                continue;
            }
        }
        if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
            for (Transfer& t : transfers) {
                if (t.requestor == event.xproperty.window && t.property == event.xproperty.atom) {
                    t.deleted = true;
                    t.due = Clock::now() + (t.pieces == 0 ? std::chrono::milliseconds(0) : mPace.gap);
                }
            }
            continue;
        }
        const XSelectionRequestEvent& r = event.xselectionrequest;
        if (event.type != SelectionRequest)
            continue;
        if ((mPace.delay.count() == 0 && ++requests <= mPace.unanswered) || silent)
            continue;
        if (r.target != targets && std::exchange(cut, false)) {
            XKillClient(display, r.requestor);
            XFlush(display);
            continue;
        }
        // A window of a reader that went may come back with a new reader: its transfers end.
        std::erase_if(transfers, [&](const Transfer& t) { return t.requestor == r.requestor; });
        XSelectionEvent reply{SelectionNotify, 0, True, display, r.requestor, r.selection, r.target, None, r.time};
        const auto offer = std::find_if(mOffers.begin(), mOffers.end(), [&](const Offer& o) {
            return XInternAtom(display, o.target.c_str(), False) == r.target;
        });
        if (offer != mOffers.end() && offer->answer == Answer::kIgnore)
            continue;
        if (offer != mOffers.end() && offer->answer == Answer::kRefuse) {
        } else if (r.target == targets) {
            std::vector<long> atoms{long(targets)};
            for (const Offer& o : mOffers)
                atoms.push_back(long(XInternAtom(display, o.target.c_str(), False)));
            XChangeProperty(display, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
            reply.property = r.property;
        } else if (offer != mOffers.end() && mPace.piece == 0) {
            XChangeProperty(display, r.requestor, r.property, r.target, 8, PropModeReplace, offer->bytes.data(),
                            int(offer->bytes.size()));
            reply.property = r.property;
            ++served;
        } else if (offer != mOffers.end()) {
            // INCR: a lower bound of the size, then the pieces as the reader deletes each.
            XSelectInput(display, r.requestor, PropertyChangeMask);
            const long size = long(offer->bytes.size());
            XChangeProperty(display, r.requestor, r.property, incr, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&size), 1);
            transfers.push_back(Transfer{r.requestor, r.property, r.target, &offer->bytes, 0, 0, false, {}});
            reply.property = r.property;
        }
        for (int i = r.target == targets && mPace.twice ? 2 : 1; i > 0; --i)
            XSendEvent(display, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        if (r.target == targets && mPace.stray) {
            XSelectionEvent stray = reply;
            stray.target = XInternAtom(display, mOffers.front().target.c_str(), False);
            stray.property = None;
            XSendEvent(display, r.requestor, False, 0, reinterpret_cast<XEvent*>(&stray));
        }
        XFlush(display);
    }
    XCloseDisplay(display);
}
