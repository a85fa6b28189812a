#include "classlib/core/CArray.h"

#include "classlib/core/CTypedPtrArray.h"

#include <gtest/gtest.h>

TEST(CArray, InsertsAndRemovesAtEitherEnd) {
    CUIntArray ports;
    ports.Add(3);
    ports.InsertAt(0, 1);
    ports.InsertAt(ports.GetSize(), 5);
    ports.InsertAt(1, 2, 1);
    ports.InsertAt(3, 4);
    ASSERT_EQ(5, ports.GetSize());
    for (INT_PTR i = 0; i < ports.GetSize(); ++i) {
        EXPECT_EQ(static_cast<UINT>(i + 1), ports[i]);
    }
    ports.RemoveAt(0);
    ports.RemoveAt(ports.GetUpperBound());
    ports.RemoveAt(1, 1);
    ASSERT_EQ(2, ports.GetSize());
    EXPECT_EQ(2u, ports[0]);
    EXPECT_EQ(4u, ports[1]);
    ports.RemoveAt(0, 2);
    EXPECT_TRUE(ports.IsEmpty());
    EXPECT_EQ(-1, ports.GetUpperBound());
}

TEST(CArray, GrowsWithZerosWhenInsertingOrSettingPastTheEnd) {
    CByteArray bytes;
    bytes.Add(9);
    bytes.InsertAt(4, 7, 2);
    const BYTE expected[] = {9, 0, 0, 0, 7, 7};
    ASSERT_EQ(6, bytes.GetSize());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i], bytes[i]);
    }
    bytes.SetAtGrow(8, 1);
    EXPECT_EQ(9, bytes.GetSize());
    EXPECT_EQ(0, bytes[7]);
    EXPECT_EQ(1, bytes[8]);
    bytes.SetSize(2);
    EXPECT_EQ(2, bytes.GetSize());
    bytes.SetSize(4);
    EXPECT_EQ(0, bytes[3]);
}

TEST(CArray, CopiesItsOwnElementsSafely) {
    CStringArray names;
    names.Add("first");
    for (int i = 1; i < 40; ++i) {
        // Each Add may move the storage that names[0] lives in.
        names.Add(names[0]);
    }
    EXPECT_EQ(40, names.GetSize());
    EXPECT_STREQ("first", names[39]);
    names.InsertAt(0, names[39], 3);
    EXPECT_STREQ("first", names[2]);
    names.Append(names);
    EXPECT_EQ(86, names.GetSize());
    CStringArray copy;
    copy.Copy(names);
    EXPECT_EQ(86, copy.GetSize());
}

TEST(CArray, TypedPointerArrayHandsOutItsType) {
    struct Page {
        int id;
    };

    Page first{1};
    Page second{2};
    CTypedPtrArray<CPtrArray, Page*> pages;
    pages.Add(&first);
    pages.Add(&second);
    EXPECT_EQ(2, pages.GetAt(1)->id);
    pages[0] = &second;
    EXPECT_EQ(2, pages[0]->id);
}
