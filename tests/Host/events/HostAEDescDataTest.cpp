#include "HostAppleEvents.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(HostAEDescData, PlainBytesAreReadBackAndFileDescriptorsCoerce)
{
    ScratchFolder folder;
    WriteBytes(folder / "a.rsc", {1, 2, 3});
    FSRef ref;
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>((folder / "a.rsc").c_str()), &ref, nullptr));

    AEDesc refDesc;
    ASSERT_EQ(noErr, AECreateDesc(typeFSRef, &ref, Size(sizeof ref), &refDesc));
    EXPECT_EQ(Size(sizeof ref), AEGetDescDataSize(&refDesc));
    FSRef back{};
    EXPECT_EQ(noErr, AEGetDescData(&refDesc, &back, Size(sizeof back)));
    EXPECT_STREQ(ref.path, back.path);

    AEDesc specDesc;
    ASSERT_EQ(noErr, AECoerceDesc(&refDesc, typeFSS, &specDesc));
    EXPECT_EQ(typeFSS, specDesc.descriptorType);
    AEDesc again;
    ASSERT_EQ(noErr, AECoerceDesc(&specDesc, typeFSRef, &again));
    std::memset(&back, 0, sizeof back);
    EXPECT_EQ(noErr, AEGetDescData(&again, &back, Size(sizeof back)));
    EXPECT_STREQ(ref.path, back.path);

    AEDesc copy;
    EXPECT_EQ(noErr, AECoerceDesc(&refDesc, typeWildCard, &copy));
    EXPECT_EQ(typeFSRef, copy.descriptorType);
    AEDesc none;
    EXPECT_EQ(errAECoercionFail, AECoerceDesc(&refDesc, typeSInt32, &none));
    EXPECT_EQ(typeNull, none.descriptorType);

    // A damaged descriptor of the right type but the wrong size does not convert.
    AEDesc shortDesc;
    AECreateDesc(typeFSS, "abc", 3, &shortDesc);
    EXPECT_EQ(errAECoercionFail, AECoerceDesc(&shortDesc, typeFSRef, &none));

    AEDescList list;
    AECreateList(nullptr, 0, false, &list);
    EXPECT_EQ(0, AEGetDescDataSize(&list));
    EXPECT_EQ(errAENotAEDesc, AEGetDescData(&list, &back, Size(sizeof back)));

    for (AEDesc* d : {&refDesc, &specDesc, &again, &copy, &shortDesc, &list})
        AEDisposeDesc(d);
}
