// The one text form of a diagnostic, as the scenario program and the tool print it.
#include "report/diagnostic.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Diagnostic, TextFormShowsTheFileOnlyWithALineAndThePositionOnlyWhereTheErrorRecordsOne) {
    Diagnostic trapped = makeError(25, 4000, {"t.txt", 3, 9, 13});
    trapped.detail = "99999999999 does not fit its field, which holds -2147483648 to 2147483647";
    struct Case {
        const char* what;
        Diagnostic d;
        const char* fileShown;
        const char* text;
    } cases[] = {
        {"error with position", makeError(16, 2600, {"t.txt", 5, 1, 7}), "src/t.txt",
         "src/t.txt:5: error 16: signal on a cell already taken (at 2600 m)"},
        {"error that records no position", makeError(3, 2600, {"l.txt", 4, 1, 3}), "l.txt",
         "l.txt:4: error 3: first signal-repetition position not a multiple of 50"},
        {"error of no source line", makeError(12, 950, {}), "",
         "error 12: no free cell in a window before a slow-order start (at 950 m)"},
        {"file without a line", makeError(101, 0, {"l.txt", 0, 0, 0}), "l.txt",
         "error 101: line source file missing"},
        {"error 25 with what stopped the reading", trapped, "t.txt",
         "t.txt:3: error 25: reading stopped: 99999999999 does not fit its field, which holds "
         "-2147483648 to 2147483647"},
        {"warning",
         makeWarning(kNumberTextWarning, {"l.txt", 7, 12, 14}, "number text \"abc\" read as 0"),
         "l.txt", "l.txt:7: warning: number text \"abc\" read as 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(diagnosticText(c.d, c.fileShown), c.text) << c.what;
}

TEST(Diagnostic, ToolFormAddsTheColumnTheNameAndTheRelatedRecord) {
    const Diagnostic numberText =
        makeWarning(kNumberTextWarning, {"l.txt", 7, 12, 14}, "number text \"abc\" read as 0");
    Diagnostic carried = makeError(16, 2600, {"t.txt", 5, 1, 7});
    carried.related = {"l.txt", 9, 3, 5};
    Diagnostic noted = makeError(3, 0, {"l.txt", 4, 0, 0});
    noted.afterFirst = true;
    noted.related = {"t.txt", 2, 6, 8};
    noted.relatedMessage = "the slow order";
    const Diagnostic control = makeWarning(kNumberTextWarning, {},
                                           "a\x01"
                                           "b\xE0");
    struct Case {
        const char* what;
        Diagnostic d;
        const char* fileShown;
        const char* relatedShown;
        const char* text;
    } cases[] = {
        {"warning", numberText, "src/l.txt", "",
         "src/l.txt:7:12: warning: number text \"abc\" read as 0 [number-text]"},
        {"carried error", carried, "T", "L",
         "T:5:1: error 16: signal on a cell already taken (at 2600 m); raised by L:9 and "
         "carried into this file, which stops here"},
        {"carried error without the related file shown", carried, "T", "",
         "T:5:1: error 16: signal on a cell already taken (at 2600 m)"},
        {"later error with a note", noted, "l.txt", "t.txt",
         "l.txt:4: error 3: first signal-repetition position not a multiple of 50 (found after "
         "the first error)\nt.txt:2:6: note: the slow order"},
        {"control byte escaped, accented letter in UTF-8", control, "", "",
         "warning: a\\x01b\xC3\xA0 [number-text]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(diagnosticText(c.d, c.fileShown, TextForm::Tool, c.relatedShown), c.text)
            << c.what;
}

TEST(Diagnostic, StampingErrorTextIsTheProgramsOwnMessage) {
    EXPECT_EQ(stampingErrorText("1251"), " Errore n. 1251");
}

}  // namespace
}  // namespace scenario
