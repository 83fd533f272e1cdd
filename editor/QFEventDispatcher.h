// The editor's event dispatcher: the framework's, plus a queue of editor events that it hands to
// the application before each event it dispatches. The one editor event is code 1000: an edit
// window of a document (the data) has closed, so the document may have to go.
#pragma once

#include "FWEventDispatcher.h"

#include <cstddef>
#include <cstdint>
#include <deque>

struct QF_CustomEvent {
    int32_t code = 0;
    int32_t argument = 0;
    void* data = nullptr;
    bool operator==(const QF_CustomEvent& other) const = default;
};

class QFEventDispatcher : public FWEventDispatcher {
public:
    // Replaces the framework's dispatcher as the singleton.
    QFEventDispatcher();
    ~QFEventDispatcher() override;

    // Queues the event unless an equal one is queued already.
    void PostEvent(int32_t code, int32_t argument, void* data);
    // Hands every queued event to the application, oldest first (events posted meanwhile
    // included), then dispatches the event.
    void Dispatch(FWEvent& event) override;

    size_t QueuedCount() const { return mQueue.size(); }

private:
    std::deque<QF_CustomEvent> mQueue;
};
