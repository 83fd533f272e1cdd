#include "FWDragData.h"
#include "FWDragReceiver.h"
#include "FWDragReceiverRegistry.h"
#include "HostTypes.h"
#include "ImageBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TextScrap : public FWDragScrap {
public:
    TextScrap(uint32_t type, std::string text, int* deaths = nullptr)
        : mType(type), mText(std::move(text)), mDeaths(deaths) {}
    ~TextScrap() override
    {
        if (mDeaths != nullptr)
            ++*mDeaths;
    }
    uint32_t Type() const override { return mType; }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = mText.data();
        size = int(mText.size());
    }

private:
    uint32_t mType;
    std::string mText;
    int* mDeaths;
};

std::string bytesOf(const FWDragScrap* scrap)
{
    const void* data = nullptr;
    int size = 0;
    scrap->RetrieveData(data, size);
    return std::string(static_cast<const char*>(data), size_t(size));
}

constexpr uint32_t kText = FOUR_CHAR_CODE("TEXT");
constexpr uint32_t kColor = FOUR_CHAR_CODE("clr ");

const FWWindow* windowA = reinterpret_cast<const FWWindow*>(0x1000);
const FWWindow* windowB = reinterpret_cast<const FWWindow*>(0x2000);

} // namespace

TEST(FWDragData, OneScrapPerTypeTheNewestLast)
{
    int deaths = 0;
    auto* data = new FWDragData;
    data->AddScrap(new TextScrap(kText, "one", &deaths));
    data->AddScrap(new TextScrap(kColor, "red", &deaths));
    data->AddScrap(new TextScrap(kText, "two", &deaths));
    EXPECT_EQ(1, deaths);
    ASSERT_EQ(2u, data->Size());
    EXPECT_EQ(kColor, (*data->Begin())->Type());
    EXPECT_EQ("two", bytesOf(*(data->Begin() + 1)));
    EXPECT_EQ("two", bytesOf(data->FindScrap(kText)));
    EXPECT_FALSE(data->HasType(FOUR_CHAR_CODE("PICT")));
    delete data;
    EXPECT_EQ(3, deaths);
}

TEST(FWDragData, ImageIsAnOwnCopy)
{
    const FWRect rect(2, 3, 6, 5);
    ImageBuffer source(&rect, kImageBufferDepth32);
    auto* first = reinterpret_cast<uint32_t*>(source.BaseAddr());
    first[0] = 0xFF445566;
    FWDragData data;
    data.SetImage(&source);
    first[0] = 0;
    ASSERT_NE(nullptr, data.Image());
    EXPECT_EQ(rect, data.Image()->GetRect());
    EXPECT_EQ(0xFF445566u, *reinterpret_cast<const uint32_t*>(data.Image()->BaseAddr()));
    data.SetImage(nullptr);
    EXPECT_EQ(nullptr, data.Image());
}

TEST(FWDragReceiverRegistry, FirstRegisteredWinsAndKeepsItsPlace)
{
    FWDragReceiver first;
    FWDragReceiver second;
    FWDragReceiverRegistry::Register(&first, windowA, FWRect(0, 0, 50, 50));
    FWDragReceiverRegistry::Register(&second, windowA, FWRect(20, 20, 80, 80));
    EXPECT_EQ(&first, FWDragReceiverRegistry::FindReceiver(FWPoint(30, 30), windowA));
    EXPECT_EQ(&second, FWDragReceiverRegistry::FindReceiver(FWPoint(60, 60), windowA));
    // Edges are outside; other windows see nothing.
    EXPECT_EQ(nullptr, FWDragReceiverRegistry::FindReceiver(FWPoint(50, 10), windowA));
    EXPECT_EQ(nullptr, FWDragReceiverRegistry::FindReceiver(FWPoint(30, 30), windowB));
    EXPECT_FALSE(FWDragReceiverRegistry::WindowHasReceivers(windowB));

    FWDragReceiverRegistry::Register(&first, windowA, FWRect(10, 10, 90, 90));
    EXPECT_EQ(&first, FWDragReceiverRegistry::FindReceiver(FWPoint(60, 60), windowA));
    FWDragReceiverRegistry::Register(&first, windowB, FWRect(10, 10, 90, 90));
    EXPECT_EQ(&second, FWDragReceiverRegistry::FindReceiver(FWPoint(60, 60), windowA));
    EXPECT_TRUE(FWDragReceiverRegistry::WindowHasReceivers(windowB));

    FWDragReceiverRegistry::Unregister(&first);
    FWDragReceiverRegistry::Unregister(&second);
    EXPECT_FALSE(FWDragReceiverRegistry::WindowHasReceivers(windowA));
    EXPECT_FALSE(FWDragReceiverRegistry::WindowHasReceivers(windowB));
}
