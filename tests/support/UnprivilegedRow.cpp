#include "support/UnprivilegedRow.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>

bool UnprivilegedRow::NeedsOtherUser() { return ::geteuid() == 0; }
#else
// Permissions that the administrator ignores are a POSIX matter.
bool UnprivilegedRow::NeedsOtherUser() { return false; }
#endif

namespace {
const char* const FolderVariable = "GRIDFORGE_TEST_SHARED_FOLDER";
}

QString UnprivilegedRow::SharedFolder() { return qEnvironmentVariable(FolderVariable); }

UnprivilegedRow UnprivilegedRow::RunAsNobody(const QList<unsigned>& groups, const QString& shared)
{
    UnprivilegedRow run;
    // A copy of the program in a folder nobody may enter, wherever the build is.
    QTemporaryDir folder;
    const QString program = folder.filePath("tests-as-nobody");
    if (!folder.isValid() || !QFile::copy(QCoreApplication::applicationFilePath(), program) ||
        !QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther) ||
        !QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther)) {
        run.output = "could not copy the test program for the user nobody";
        return run;
    }
    const QString row = QString::fromLatin1(QTest::currentTestFunction()) + ":" +
                        QString::fromUtf8(QTest::currentDataTag());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory("/");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(FolderVariable);
    if (!shared.isEmpty())
        environment.insert(FolderVariable, shared);
    process.setProcessEnvironment(environment);
    QStringList groupOption{"--clear-groups"};
    if (!groups.isEmpty()) {
        QStringList numbers;
        for (const unsigned group : groups)
            numbers << QString::number(group);
        groupOption = QStringList{"--groups=" + numbers.join(',')};
    }
    process.start("setpriv", QStringList{"--reuid=65534", "--regid=65534"} + groupOption +
                                 QStringList{"--", program, row});
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    run.output = QString::fromUtf8(process.readAll());
    const QString passLine = QString("::%1(%2)\n").arg(QString::fromLatin1(QTest::currentTestFunction()),
                                                        QString::fromUtf8(QTest::currentDataTag()));
    run.passed = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
                 run.output.contains(QRegularExpression("^PASS   : \\S+" + QRegularExpression::escape(passLine),
                                                        QRegularExpression::MultilineOption)) &&
                 run.output.contains(" 0 failed, 0 skipped");
    return run;
}
