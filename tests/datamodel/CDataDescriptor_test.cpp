// Subscriber lists and prefix of one element descriptor.
#include "link/CDataDescriptor.h"

#include "tests/datamodel/CRecordingWindow.h"

#include <thread>

#include <gtest/gtest.h>

namespace {

TEST(CDataDescriptor, SubscribingTwiceKeepsOneEntryPerFlag) {
    CDataDescriptor descriptor;
    CRecordingWindow window;
    descriptor.Subscribe(&window, kFlagChanged | kFlagTransferred);
    descriptor.Subscribe(&window, kFlagChanged);
    EXPECT_EQ(descriptor.CopySubscribers(kFlagChanged).size(), 1u);
    EXPECT_EQ(descriptor.CopySubscribers(kFlagTransferred).size(), 1u);
    EXPECT_TRUE(descriptor.CopySubscribers(kFlagLoaded).empty());
    EXPECT_TRUE(descriptor.CopySubscribers(kFlagFlaggedDone).empty());
}

TEST(CDataDescriptor, UnsubscribingRemovesOnlyTheNamedFlags) {
    CDataDescriptor descriptor;
    CRecordingWindow first;
    CRecordingWindow second;
    descriptor.Subscribe(&first, 0xF);
    descriptor.Subscribe(&second, kFlagChanged);
    descriptor.Unsubscribe(&first, kFlagChanged | kFlagLoaded);
    EXPECT_EQ(descriptor.CopySubscribers(kFlagChanged), std::vector<IMessageTarget*>{&second});
    EXPECT_TRUE(descriptor.CopySubscribers(kFlagLoaded).empty());
    EXPECT_EQ(descriptor.CopySubscribers(kFlagTransferred), std::vector<IMessageTarget*>{&first});
    EXPECT_EQ(descriptor.CopySubscribers(kFlagFlaggedDone), std::vector<IMessageTarget*>{&first});
}

TEST(CDataDescriptor, OnlyTheFourFlagsHaveLists) {
    CDataDescriptor descriptor;
    for (int flag : {0, 3, 16, -1}) {
        SCOPED_TRACE(flag);
        EXPECT_EQ(descriptor.GetSubscribers(flag), nullptr);
        EXPECT_TRUE(descriptor.CopySubscribers(flag).empty());
    }
    EXPECT_NE(descriptor.GetSubscribers(kFlagFlaggedDone), nullptr);
}

TEST(CDataDescriptor, APrefixLongerThanFourBytesIsRefused) {
    CDataDescriptor descriptor;
    const BYTE bytes[5] = {1, 2, 3, 4, 5};
    descriptor.SetPrefix(bytes, 2);
    descriptor.SetPrefix(bytes, 5);
    EXPECT_EQ(descriptor.GetPrefixLength(), 2u);
}

// The worker walks the lists while the UI thread changes them.
TEST(CDataDescriptor, ListsCanBeWalkedWhileAnotherThreadChangesThem) {
    CDataDescriptor descriptor;
    CRecordingWindow windows[8];
    std::thread changer([&] {
        for (int round = 0; round < 2000; ++round) {
            CRecordingWindow& window = windows[round % 8];
            descriptor.Subscribe(&window, kFlagTransferred);
            descriptor.Unsubscribe(&window, kFlagTransferred);
        }
    });
    std::size_t most = 0;
    for (int round = 0; round < 2000; ++round) {
        most = std::max(most, descriptor.CopySubscribers(kFlagTransferred).size());
    }
    changer.join();
    EXPECT_LE(most, 1u);
}

}  // namespace
