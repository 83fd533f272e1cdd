#include "FWEvent.h"
#include "FWEventHandler.h"

#include <gtest/gtest.h>

namespace {

// Records what reaches it and answers as told; its parent is chosen by the test.
class ChainHandler : public FWEventHandler {
public:
    explicit ChainHandler(bool handles, FWEventHandler* parent = nullptr) : mHandles(handles), mParent(parent) {}
    bool MouseDownEvent(FWEvent&) override
    {
        ++mMouseDowns;
        return mHandles;
    }
    bool InterfaceEvent(FWView*) override
    {
        ++mPlain;
        return true;
    }
    bool InterfaceContextualEvent(FWView*) override
    {
        ++mContextual;
        return false;
    }
    FWEventHandler* GetParent(FWEvent&) override { return mParent; }

    bool mHandles;
    FWEventHandler* mParent;
    int mMouseDowns = 0;
    int mPlain = 0;
    int mContextual = 0;
};

// The delivery loop of the dispatcher: the first handler, then up the chain while declined.
bool deliverMouseDown(FWEventHandler* handler, FWEvent& event)
{
    for (; handler != nullptr; handler = handler->GetParent(event))
        if (handler->MouseDownEvent(event))
            return true;
    return false;
}

} // namespace

TEST(FWEvent, FreshRecordIsAllZero)
{
    FWEvent e;
    EXPECT_EQ(kNullEvent, e.mType);
    EXPECT_EQ(0u, e.mWhen);
    EXPECT_EQ(nullptr, e.mWindow);
    EXPECT_EQ(0, e.mMessage);
    EXPECT_EQ(0, e.mPart);
    EXPECT_EQ(FWPoint(), e.mWhere);
    EXPECT_EQ(FWPoint(), e.mGlobalWhere);
    EXPECT_EQ(FWPoint(), e.mDelta);
    EXPECT_EQ(0, e.mModifiers);

    FWEvent k(kKeyDownEvent, nullptr, kFWShiftKey);
    EXPECT_EQ(kKeyDownEvent, k.mType);
    EXPECT_EQ(kFWShiftKey, k.mModifiers);
    EXPECT_EQ(0, k.mMessage);
}

TEST(FWEvent, ModifierAccessorsAndCharacter)
{
    FWEvent e(kKeyDownEvent, nullptr, kFWShiftKey | kFWControlKey);
    EXPECT_TRUE(e.ShiftKeyDown());
    EXPECT_FALSE(e.OptionKeyDown());
    EXPECT_TRUE(e.ControlKeyDown());
    e.mModifiers = kFWOptionKey | kFWCommandKey;
    EXPECT_FALSE(e.ShiftKeyDown());
    EXPECT_TRUE(e.OptionKeyDown());
    EXPECT_FALSE(e.ControlKeyDown());

    e.mMessage = 0x1234'5661; // key code in the high bytes, character 'a' low
    EXPECT_EQ('a', e.EventCharacter());
    e.mMessage = 0xE9;
    EXPECT_EQ(static_cast<signed char>(0xE9), e.EventCharacter());
}

TEST(FWEventHandler, DefaultsDeclineAndEndTheChain)
{
    FWEventHandler h;
    FWEvent e(kMouseDownEvent, nullptr, 0);
    EXPECT_FALSE(h.MouseDownEvent(e));
    EXPECT_FALSE(h.MouseUpEvent(e));
    EXPECT_FALSE(h.KeyDownEvent(e));
    EXPECT_FALSE(h.AutoKeyEvent(e));
    EXPECT_FALSE(h.KeyUpEvent(e));
    EXPECT_FALSE(h.MouseMoved(FWPoint(1, 2), nullptr));
    EXPECT_FALSE(h.ContextualMouseDownEvent(e));
    EXPECT_FALSE(h.InterfaceAction(nullptr, ActionType(3)));
    EXPECT_FALSE(h.InterfaceEvent(nullptr));
    EXPECT_EQ(&h, h.GetDynamicHandler(e));
    EXPECT_EQ(nullptr, h.GetParent(e));
    EXPECT_FALSE(deliverMouseDown(&h, e));

    FWEventHandler target;
    EXPECT_EQ(nullptr, h.InterfaceTarget());
    h.SetInterfaceTarget(&target);
    EXPECT_EQ(&target, h.InterfaceTarget());
}

TEST(FWEventHandler, EventClimbsTheChainUntilHandled)
{
    ChainHandler top(true);
    ChainHandler middle(false, &top);
    ChainHandler first(false, &middle);
    FWEvent e(kMouseDownEvent, nullptr, 0);
    EXPECT_TRUE(deliverMouseDown(&first, e));
    EXPECT_EQ(1, first.mMouseDowns);
    EXPECT_EQ(1, middle.mMouseDowns);
    EXPECT_EQ(1, top.mMouseDowns);

    top.mHandles = false;
    EXPECT_FALSE(deliverMouseDown(&first, e)); // dropped at the end of the chain
}

TEST(FWEventHandler, ContextualMouseDownFallsBackToMouseDown)
{
    ChainHandler h(true);
    FWEvent e(kMouseDownEvent, nullptr, kFWControlKey);
    EXPECT_TRUE(h.ContextualMouseDownEvent(e));
    EXPECT_EQ(1, h.mMouseDowns);
}

TEST(FWEventHandler, InterfaceEventWithEventPicksTheContextualFormByControlBit)
{
    ChainHandler h(true);
    FWEvent plain(kMouseDownEvent, nullptr, kFWShiftKey);
    FWEvent contextual(kMouseDownEvent, nullptr, kFWControlKey);
    EXPECT_TRUE(h.InterfaceEventWithEvent(nullptr, nullptr));
    EXPECT_TRUE(h.InterfaceEventWithEvent(nullptr, &plain));
    EXPECT_FALSE(h.InterfaceEventWithEvent(nullptr, &contextual));
    EXPECT_EQ(2, h.mPlain);
    EXPECT_EQ(1, h.mContextual);
}
