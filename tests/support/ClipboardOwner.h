// Another program owning an X display's clipboard, on a connection and a thread of its own, for
// tests of the clipboard's reading: it offers texts and images under their targets, whole or in
// pieces (INCR) sent some time apart, and may fall silent.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class ClipboardOwner {
public:
    enum class Answer : uint8_t { kSend, kRefuse, kIgnore };
    struct Offer {
        std::string target; // such as "UTF8_STRING" or "image/png"
        std::vector<uint8_t> bytes;
        Answer answer = Answer::kSend; // or refused, or never answered
    };
    struct Pace {
        size_t piece = 0;                    // bytes a piece; 0 sends each offer whole
        std::chrono::milliseconds gap{0};    // between two pieces
        size_t stopAfter = SIZE_MAX;         // pieces sent of a transfer before it falls silent
        int unanswered = 0;                  // first requests left unanswered, as a busy owner does
        bool twice = false;                  // targets answered twice, as when a late answer comes
        std::chrono::milliseconds delay{0};  // before an answer; a newer request drops one not answered
        bool stray = false;                  // after its targets, a notice of its text nobody asked for
        bool cut = false;                    // the first request for a part breaks the asker's connection
    };

    // Takes the clipboard of the display (such as ":3") at once.
    ClipboardOwner(const std::string& display, std::vector<Offer> offers, Pace pace);
    ClipboardOwner(const std::string& display, std::vector<Offer> offers);
    ~ClipboardOwner();
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

    // Takes the clipboard anew, as a new copy of the same offers does; returns once it owns it.
    void Take();

    std::atomic<bool> silent{false};  // requests are left unanswered
    std::atomic<bool> hurry{false};   // the pieces left go without their gaps
    std::atomic<int> requests{0};     // conversions asked for, answered or not
    std::atomic<int> served{0};       // offers whose last piece was sent

private:
    void serve(std::string display);

    std::vector<Offer> mOffers;
    Pace mPace;
    std::atomic<bool> mStop{false};
    std::atomic<int> mTakes{0};
    std::atomic<int> mTaken{0};
    std::thread mThread;
};
