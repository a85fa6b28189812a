// Which translated formats may stand in for the program's.
#include "shell/FormatConversions.h"

#include <gtest/gtest.h>

TEST(FormatConversions, TranslationMustAskForTheSameArgumentKinds) {
    const struct {
        const char* name;
        const char* text;
        const char* reference;
        bool same;
    } rows[] = {
        {"no conversions", "Sprache \xE4ndern", "Change language", true},
        {"reworded, same int", "VERBUNDEN mit COM%d", "CONNECTED to COM%d", true},
        {"width, flags and another int conversion", "COM%-03x", "COM%d", true},
        {"other floating conversion with precision", "%g ms", "%.2f ms", true},
        {"percent signs take nothing", "Schreiben: %d %%.", "Writing: %d%%.", true},
        {"text for an int", "LINKED to %s", "CONNECTED to COM%d", false},
        {"missing argument", "Fertig.", "Finished. (%d%%)", false},
        {"extra argument", "%d %d", "%d", false},
        {"arguments swapped", "%s %d", "%d %s", false},
        {"star width takes an int", "%*d", "%d", false},
        {"star width on both", "%*d", "%5d", false},
        {"long for int", "%ld", "%d", false},
        {"64-bit forms agree", "%I64u", "%lld", true},
        {"char is an int", "[%c]", "[%d]", true},
        {"write-back is never accepted", "%n%d", "%n%d", false},
        {"unknown conversion", "%k", "%k", false},
        {"format cut after the percent sign", "Reading: %", "Reading: %d", false},
        {"cut in the middle of a conversion", "%.2", "%.2f", false},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HaveSameConversions(row.text, row.reference), row.same);
    }
}
