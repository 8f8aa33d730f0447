#include "device/meter_session.h"

#include "device/com_error.h"
#include "device/fatal_exit.h"
#include "device/frames.h"
#include "device/register_protocol.h"
#include "device/serial_line.h"
#include "platform/clock.h"

#include <QThread>

void settleWait(Clock& clock)
{
    for (int i = 0; i < 10; ++i)
        clock.sleep(100);
}

void endSession(SerialLine& line)
{
    line.ClearDTR();
    line.ClearRTS();
    for (int i = 0; i < SessionFillerCount; ++i)
        line.WriteByte(SessionFiller);
}

bool openWithLines(SerialLine& line, QString* why)
{
    try {
        line.Open();
        line.SetDTR();
        line.SetRTS();
        return true;
    } catch (const ComError& e) {
        if (why)
            *why = e.message();
        return false;
    }
}

namespace {

// Closes an open port with its lines dropped when they still can be: a line that will not drop
// must not keep the user (or the search) on the old port.
void closeWithLinesDown(SerialLine& line)
{
    if (!line.Active())
        return;
    try {
        line.ClearDTR();
        line.ClearRTS();
    } catch (const ComError&) {
    }
    line.Close();
}

}  // namespace

void choosePort(SerialLine& line, const QString& name)
{
    if (name == line.DeviceName())
        return;
    closeWithLinesDown(line);
    line.SetDeviceName(name);
}

SessionEnd RunSession(SerialLine& line, Clock& clock, const QString& portName, const std::function<void()>& exchange)
{
    SessionEnd end;
    choosePort(line, portName);
    if (!openWithLines(line, &end.why)) {
        // A port whose lines would not rise is not kept open for the next session.
        line.Close();
        end.kind = SessionEnd::Kind::CannotOpen;
        return end;
    }
    // However the exchange ends, the lines go down and the port closes: a meter pulled out
    // mid-session must not leave a dead port open for the next one.
    struct Close {
        SerialLine& line;
        ~Close()
        {
            try {
                endSession(line);
            } catch (const ComError&) {
            }
            line.Close();
        }
    } close{line};
    settleWait(clock);
    try {
        exchange();
    } catch (const MeterStoppedAnswering&) {
        end.kind = SessionEnd::Kind::StoppedAnswering;
    }
    return end;
}

std::optional<int> DetectMeter(SerialLine& line, RegisterProtocol& protocol, const QStringList& names,
                               int rememberedIndex, bool usb)
{
    for (int index = static_cast<int>(names.size()) - 1; index >= 0; --index) {
        closeWithLinesDown(line);  // the previous candidate
        line.SetDeviceName(names[index]);
        if (!openWithLines(line))
            continue;
        if (protocol.ProbeDevice(MeterAddress, usb))
            return index;
    }
    line.Close();
    line.SetDeviceName(rememberedIndex >= 0 && rememberedIndex < names.size() ? names[rememberedIndex] : QString());
    return std::nullopt;
}

MeterSession::MeterSession(std::unique_ptr<SerialLine> line, Clock& clock, QObject* parent)
    : QObject(parent),
      line_(std::move(line)),
      clock_(clock),
      fatal_(std::make_unique<ThrowingFatalExit>()),
      thread_(new QThread(this)),
      worker_(new QObject)
{
    protocol_ = std::make_unique<RegisterProtocol>(*line_, clock_, *fatal_);
    thread_->setObjectName(QStringLiteral("meter"));
    worker_->moveToThread(thread_);
    line_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
}

MeterSession::~MeterSession()
{
    // The port is closed where it lives, and handed back to this thread with it.
    QThread* home = thread();
    QMetaObject::invokeMethod(
        worker_,
        [this, home] {
            try {
                line_->Close();
            } catch (const std::exception&) {
                // The program is ending; a port that fails to close is released by the system.
            }
            line_->moveToThread(home);
        },
        Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
}

void MeterSession::post(Work work, std::function<void()> done)
{
    ++pending_;
    QMetaObject::invokeMethod(
        worker_,
        [this, work = std::move(work), done = std::move(done)]() mutable {
            try {
                work(*line_, *protocol_);
            } catch (...) {
                // Work that is posted reports through its own result; nothing may leave the thread.
            }
            QMetaObject::invokeMethod(
                this,
                [this, done = std::move(done)] {
                    --pending_;
                    if (done)
                        done();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void MeterSession::call(const Work& work)
{
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        worker_,
        [&] {
            try {
                work(*line_, *protocol_);
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}
