// A pseudo-terminal whose far end the test drives byte by byte: the program opens
// devicePath() through its serial port, the test writes and reads the other side.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString devicePath() const { return path_; }
    void send(const QByteArray& bytes);
    // What the program has written so far (waits up to timeoutMs for at least `atLeast` bytes).
    QByteArray receive(int atLeast, int timeoutMs = 2000);
    // Drops the far end, as when an adapter is pulled out.
    void hangUp();

private:
    int master_ = -1;
    int keeper_ = -1;
    QString path_;
};
