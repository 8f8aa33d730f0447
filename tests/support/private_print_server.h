// A print server of the test's own: cupsd on a socket in a temporary directory, with one PDF
// printer ("KelmoraPDF", the default) whose jobs go through CUPS's own filters (page ranges
// included) into a file. The machine's printers and print server are never seen or used.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

#include <vector>

class PrivatePrintServer {
public:
    static constexpr const char* kPrinter = "KelmoraPDF";

    // Starts cupsd and adds the printer; ok() says whether it worked, error() why not.
    PrivatePrintServer();
    // Ends cupsd.
    ~PrivatePrintServer();
    PrivatePrintServer(const PrivatePrintServer&) = delete;
    PrivatePrintServer& operator=(const PrivatePrintServer&) = delete;

    bool ok() const { return ok_; }
    QString error() const;
    // The socket clients reach it on (CUPS_SERVER).
    QString socket() const;

    struct Job {
        int id = 0;
        QString name;  // the job's name in the queue
        int pages = 0;
    };
    // The jobs that have ended, in order; waits up to timeoutMs for at least count of them.
    std::vector<Job> endedJobs(std::size_t count, int timeoutMs = 60000) const;
    // What the printer wrote for the last job that ended.
    QString lastOutput() const;

private:
    QTemporaryDir dir_;
    pid_t pid_ = -1;
    bool ok_ = false;
    QString problem_;
};
