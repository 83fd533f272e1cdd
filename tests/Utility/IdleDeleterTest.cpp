#include "DeletePtr.h"
#include "IdleDeleter.h"
#include "SafeDeletePtr.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string sDeleted;

class Doomed {
public:
    explicit Doomed(char name, Doomed* queueOnDelete = nullptr) : mName(name), mQueue(queueOnDelete) {}
    virtual ~Doomed()
    {
        sDeleted += mName;
        if (mQueue != nullptr)
            DeletePtrLater(mQueue);
    }
    char mName;
    Doomed* mQueue;
};

class Derived : public Doomed {
public:
    Derived() : Doomed('d') {}
    ~Derived() override { sDeleted += 'D'; }
};

class IdleDeleterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FlushDeletes();
        sDeleted.clear();
    }
};

} // namespace

TEST_F(IdleDeleterTest, QueuedObjectsAreDeletedInOrderAtIdleTime)
{
    DeletePtrLater(new Doomed('a'));
    DeletePtrLater<Doomed>(new Derived);
    DeletePtrLater(new Doomed('b'));
    EXPECT_TRUE(IdleDeleter::gIdleDeleter.IsIdling());
    EXPECT_EQ("", sDeleted);
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("aDdb", sDeleted); // through the virtual destructor
    EXPECT_FALSE(IdleDeleter::gIdleDeleter.IsIdling());
}

TEST_F(IdleDeleterTest, FlushDeletesNowAndAnEmptyFlushOnlyStopsIdling)
{
    DeletePtrLater(new Doomed('x'));
    FlushDeletes();
    EXPECT_EQ("x", sDeleted);
    FlushDeletes();
    EXPECT_EQ("x", sDeleted);
    EXPECT_FALSE(IdleDeleter::gIdleDeleter.IsIdling());
}

TEST_F(IdleDeleterTest, NullIsQueuedAndDeletesNothing)
{
    DeletePtrLater<Doomed>(nullptr);
    EXPECT_TRUE(IdleDeleter::gIdleDeleter.IsIdling());
    FlushDeletes();
    EXPECT_EQ("", sDeleted);
}

TEST_F(IdleDeleterTest, EntryQueuedDuringAPassIsDeletedInThatPassAfterTheOthers)
{
    Doomed* late = new Doomed('c');
    DeletePtrLater(new Doomed('a', late));
    DeletePtrLater(new Doomed('b'));
    FlushDeletes();
    EXPECT_EQ("abc", sDeleted);
    EXPECT_FALSE(IdleDeleter::gIdleDeleter.IsIdling());
}

TEST_F(IdleDeleterTest, SafeDeletePtrDeletesAndClears)
{
    Doomed* p = new Derived;
    SafeDeletePtr(p);
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ("Dd", sDeleted);
    SafeDeletePtr(p);
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ("Dd", sDeleted);
}
