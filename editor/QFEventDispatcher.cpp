#include "QFEventDispatcher.h"

#include "QuillformApp.h"

#include <algorithm>

QFEventDispatcher::QFEventDispatcher()
{
    FWEventDispatcher::Destroy();
    sAppEventDispatcher = this;
}

QFEventDispatcher::~QFEventDispatcher()
{
    if (sAppEventDispatcher == this)
        sAppEventDispatcher = nullptr;
}

void QFEventDispatcher::PostEvent(int32_t code, int32_t argument, void* data)
{
    const QF_CustomEvent event{code, argument, data};
    if (std::find(mQueue.begin(), mQueue.end(), event) == mQueue.end())
        mQueue.push_back(event);
}

void QFEventDispatcher::Dispatch(FWEvent& event)
{
    while (!mQueue.empty()) {
        const QF_CustomEvent next = mQueue.front();
        mQueue.pop_front();
        if (FWApp::Exists())
            QuillformApp::Instance()->ProcessCustomEvent(next.code, next.argument, next.data);
    }
    FWEventDispatcher::Dispatch(event);
}
