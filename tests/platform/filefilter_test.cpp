// File dialog filters in Qt's form: patterns match whatever the case of the file names.
#include <gtest/gtest.h>

#include "platform/dialogs.h"

TEST(PlatformFileFilter, PatternsAreGivenInBothCases) {
    struct Case {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Harmonics (*.HC)|*.hc", "Harmonics (*.hc *.HC)"},
        {"PDF|*.pdf", "PDF (*.pdf *.PDF)"},
        {"Text (*.txt)|*.txt|All files|*.*", "Text (*.txt *.TXT);;All files (*.*)"},
        {"Tables|*.csv;*.Txt", "Tables (*.csv *.CSV *.Txt *.txt *.TXT)"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::QtFileFilter(c.filter), c.qt) << c.filter;
}
