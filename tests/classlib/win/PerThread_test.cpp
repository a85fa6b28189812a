// Wrappers lent to a thread (temporary windows, menus and DCs) outlive nothing: threads
// that used them end without damaging the heap, and each thread has wrappers of its own.
#include "classlib/win/CDC.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CWnd.h"

#include <malloc.h>

#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

void UseLentWrappers(HWND window, HMENU menu) {
    CWnd* wrapper = CWnd::FromHandle(window);
    EXPECT_EQ(window, wrapper->GetSafeHwnd());
    EXPECT_EQ(wrapper, CWnd::FromHandle(window));
    EXPECT_NE(nullptr, CMenu::FromHandle(menu));
    CDC* dc = wrapper->GetDC();
    ASSERT_NE(nullptr, dc);
    wrapper->ReleaseDC(dc);
}

// Churns the C runtime's heap so that damage done to freed blocks shows.
bool HeapsHoldAfterChurn() {
    std::vector<void*> blocks;
    for (int round = 0; round < 4000; ++round) {
        blocks.push_back(std::malloc(static_cast<size_t>(16 + round % 200)));
        if (round % 3 == 0) {
            std::free(blocks[blocks.size() / 2]);
            blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(blocks.size() / 2));
        }
    }
    for (void* block : blocks) {
        std::free(block);
    }
    return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE &&
           HeapValidate(reinterpret_cast<HANDLE>(_get_heap_handle()), 0, nullptr) != FALSE;
}

TEST(PerThreadWrappers, ThreadsThatBorrowedWrappersEndWithTheHeapIntact) {
    HMENU menu = CreateMenu();
    ASSERT_NE(nullptr, menu);
    const HWND desktop = GetDesktopWindow();
    for (int wave = 0; wave < 8; ++wave) {
        std::vector<std::thread> threads;
        for (int i = 0; i < 8; ++i) {
            threads.emplace_back(UseLentWrappers, desktop, menu);
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        ASSERT_TRUE(HeapsHoldAfterChurn()) << "wave " << wave;
    }
    DestroyMenu(menu);
}

TEST(PerThreadWrappers, EachThreadGetsItsOwnTemporaryWrapper) {
    const HWND desktop = GetDesktopWindow();
    CWnd* mine = CWnd::FromHandle(desktop);
    CWnd* theirs = nullptr;
    std::thread([&] { theirs = CWnd::FromHandle(desktop); }).join();
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(mine, CWnd::FromHandle(desktop));
}

}  // namespace
