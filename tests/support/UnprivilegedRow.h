#pragma once

#include <QList>
#include <QString>

// Rows about files a user may not read or write mean nothing to root, which
// reads and writes them anyway. When the tests run as root, RunAsNobody runs
// the current row of the current test program again as the unprivileged user
// "nobody" (user and group 65534, no other groups) and tells whether it passed
// there; otherwise it runs nothing and the row goes on as it is. The run can
// be given further groups (numbers that need not be named in /etc/group) and
// a folder where root has prepared files of other users for it.
struct UnprivilegedRow {
    static bool NeedsOtherUser();
    bool passed = false;
    QString output;  // what the program printed, to show when the row failed
    static UnprivilegedRow RunAsNobody(const QList<unsigned>& groups = {}, const QString& shared = {});
    // In a run of RunAsNobody: the folder it was given; empty anywhere else.
    static QString SharedFolder();
};
