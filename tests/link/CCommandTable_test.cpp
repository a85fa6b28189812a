// The command table's rows that the worker rewrites while the user-interface thread
// queues requests from them: a reader sees one whole row or the other, never a mix.
#include "link/CCommandTable.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

TEST(CCommandTable, AReaderSeesWholeRowsWhileAnotherThreadRewritesThem) {
    CCommandTable table;
    const CommandRow longForm{0xC1, -2, 26};
    const CommandRow shortForm{51, 7, 22};
    table.Set(30, shortForm);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        while (!done) {
            table.Set(30, longForm);
            table.Set(30, shortForm);
        }
    });
    int mixed = 0;
    for (int i = 0; i < 2000000 && mixed == 0; ++i) {
        const CommandRow row = table.Get(30);
        const bool isLong = row.code == longForm.code && row.requestLength == longForm.requestLength &&
                            row.replyLength == longForm.replyLength;
        const bool isShort = row.code == shortForm.code && row.requestLength == shortForm.requestLength &&
                             row.replyLength == shortForm.replyLength;
        mixed += isLong || isShort ? 0 : 1;
    }
    done = true;
    worker.join();
    EXPECT_EQ(0, mixed);
}
