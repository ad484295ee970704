#pragma once

#include <QString>

// Rows about files a user may not read or write mean nothing to root, which
// reads and writes them anyway. When the tests run as root, RunAsNobody runs
// the current row of the current test program again as the unprivileged user
// "nobody" (user and group 65534, no other groups) and tells whether it passed
// there; otherwise it runs nothing and the row goes on as it is.
struct UnprivilegedRow {
    static bool NeedsOtherUser();
    bool passed = false;
    QString output;  // what the program printed, to show when the row failed
    static UnprivilegedRow RunAsNobody();
};
