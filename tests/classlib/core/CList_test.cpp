#include "classlib/core/CList.h"

#include "classlib/core/CTypedPtrList.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<int> Contents(const CList<int, int>& list) {
    std::vector<int> items;
    for (POSITION position = list.GetHeadPosition(); position != nullptr;) {
        items.push_back(list.GetNext(position));
    }
    return items;
}

std::vector<int> ContentsBackwards(const CList<int, int>& list) {
    std::vector<int> items;
    for (POSITION position = list.GetTailPosition(); position != nullptr;) {
        items.push_back(list.GetPrev(position));
    }
    return items;
}

}  // namespace

TEST(CList, KeepsOrderThroughInsertionsAndRemovals) {
    CList<int, int> list;
    list.AddTail(2);
    list.AddHead(1);
    const POSITION four = list.AddTail(4);
    list.InsertBefore(four, 3);
    list.InsertAfter(four, 5);
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 6);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6}), Contents(list));
    EXPECT_EQ((std::vector<int>{6, 5, 4, 3, 2, 1, 0}), ContentsBackwards(list));

    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(6, list.RemoveTail());
    list.RemoveAt(four);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), Contents(list));
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(1, list.GetHead());
    EXPECT_EQ(5, list.GetTail());
}

TEST(CList, RemovesTheElementJustPassedWhileWalking) {
    CList<int, int> list;
    for (int i = 1; i <= 6; ++i) {
        list.AddTail(i);
    }
    for (POSITION position = list.GetHeadPosition(); position != nullptr;) {
        const POSITION current = position;
        if (list.GetNext(position) % 2 == 0) {
            list.RemoveAt(current);
        }
    }
    EXPECT_EQ((std::vector<int>{1, 3, 5}), Contents(list));
    // Freed nodes are used again.
    list.AddHead(0);
    EXPECT_EQ((std::vector<int>{0, 1, 3, 5}), Contents(list));
}

TEST(CList, FindsByValueAndByIndex) {
    CStringList trace;
    trace.AddTail("a");
    trace.AddTail("b");
    trace.AddTail("a");
    const POSITION first = trace.Find("a");
    ASSERT_NE(nullptr, first);
    const POSITION second = trace.Find("a", first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(nullptr, trace.Find("a", second));
    EXPECT_EQ(nullptr, trace.Find("z"));
    EXPECT_EQ(second, trace.FindIndex(2));
    EXPECT_EQ(nullptr, trace.FindIndex(3));
    EXPECT_EQ(nullptr, trace.FindIndex(-1));
    trace.SetAt(second, "c");
    EXPECT_STREQ("c", trace.GetTail());
}

TEST(CList, MovesAnotherListOrCopiesItself) {
    CList<int, int> queue;
    CList<int, int> incoming;
    queue.AddTail(1);
    incoming.AddTail(2);
    incoming.AddTail(3);
    queue.AddTail(&incoming);
    incoming.RemoveAll();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Contents(queue));
    EXPECT_TRUE(incoming.IsEmpty());
    queue.AddTail(&queue);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), Contents(queue));
    queue.RemoveAll();
    queue.AddTail(7);
    queue.AddHead(&queue);
    EXPECT_EQ((std::vector<int>{7, 7}), Contents(queue));
}

TEST(CList, TypedPointerListHandsOutItsType) {
    struct Request {
        int element;
    };

    Request a{30};
    Request b{31};
    CTypedPtrList<CPtrList, Request*> requests;
    requests.AddTail(&a);
    requests.AddTail(&b);
    POSITION position = requests.GetHeadPosition();
    EXPECT_EQ(30, requests.GetNext(position)->element);
    EXPECT_EQ(31, requests.GetAt(position)->element);
    EXPECT_EQ(30, requests.RemoveHead()->element);
    EXPECT_EQ(1, requests.GetCount());
}
