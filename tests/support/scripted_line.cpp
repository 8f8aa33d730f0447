#include "support/scripted_line.h"

#include "device/com_error.h"
#include "support/virtual_clock.h"

void ScriptedLine::SetDeviceName(const QString& name)
{
    if (name == name_)
        return;
    if (active_)
        throw ComError(ComErrorText::OpenPort);
    name_ = name;
}

void ScriptedLine::Open()
{
    if (active_)
        return;
    log_ << QStringLiteral("Open %1").arg(name_);
    if (openFails_)
        throw ComError(QStringLiteral("No such file or directory"), 2);
    active_ = true;
    received_ = 0;
}

void ScriptedLine::Close()
{
    if (!active_)
        return;
    log_ << QStringLiteral("Close");
    active_ = false;
}

void ScriptedLine::requireOpen() const
{
    if (!active_)
        throw ComError(ComErrorText::ClosedPort);
}

void ScriptedLine::line(const char* op)
{
    requireOpen();
    log_ << QString::fromLatin1(op);
    if (linesFail_)
        throw ComError(QStringLiteral("Input/output error"), 5);
}

void ScriptedLine::lineDown(const char* op)
{
    if (linesDownFail_) {
        requireOpen();
        log_ << QString::fromLatin1(op);
        throw ComError(QStringLiteral("Input/output error"), 5);
    }
    line(op);
}

void ScriptedLine::Read(uint8_t* buf, int count, bool)
{
    requireOpen();
    log_ << QStringLiteral("Read %1").arg(count);
    int got = 0;
    while (got < count && !input_.empty()) {
        buf[got++] = input_.front();
        input_.pop_front();
        ++received_;
    }
    if (got < count) {
        if (clock_)
            clock_->advance(500);
        throw ComError(ComErrorText::Timeout);
    }
}

void ScriptedLine::Write(const uint8_t* buf, int count, bool wait)
{
    requireOpen();
    log_ << QStringLiteral("Write %1%2").arg(count).arg(wait ? "" : " nowait");
    std::vector<uint8_t> chunk(buf, buf + count);
    written_.insert(written_.end(), chunk.begin(), chunk.end());
    if (responder_)
        receive(responder_(chunk));
}

void ScriptedLine::PurgeInput()
{
    if (!active_)
        return;
    log_ << QStringLiteral("PurgeInput");
    received_ += static_cast<qint64>(input_.size());
    input_.clear();
}

void ScriptedLine::PurgeOutput()
{
    if (!active_)
        return;
    log_ << QStringLiteral("PurgeOutput");
}

bool ScriptedLine::AwaitReceived(qint64 total, int quietMs, int)
{
    if (!active_)
        return false;
    log_ << QStringLiteral("AwaitReceived");
    // What the other end sends arrives at once: what is not there now never comes.
    received_ += static_cast<qint64>(input_.size());
    input_.clear();
    if (received_ >= total)
        return true;
    if (clock_)
        clock_->advance(quietMs);
    return false;
}
