// The virtual meter as a separate process on its own pseudo-terminal, for tests of the
// real serial path.
#pragma once

#include <QProcess>
#include <QStringList>

class MeterSimProcess {
public:
    explicit MeterSimProcess(const QStringList& options = {});
    ~MeterSimProcess();

    QString devicePath() const { return device_; }

private:
    QProcess process_;
    QString device_;
};

// Runs a program to its end; gives exit status, stdout and stderr.
struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};
ProcessResult runProcess(const QString& program, const QStringList& args, int timeoutMs = 60000);
// The same in an environment of its own.
ProcessResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& args,
                         int timeoutMs = 60000);
// This process's environment with KELMORA_DATA_DIR set to dir: the data directory of a program
// the test starts.
QProcessEnvironment environmentWithDataDirectory(const QString& dir);
