#include "support/meter_sim_process.h"

#include <stdexcept>

MeterSimProcess::MeterSimProcess(const QStringList& options)
{
    process_.setProgram(QStringLiteral(KELMORA_METER_SIM));
    process_.setArguments(options);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    if (!process_.waitForStarted(5000))
        throw std::runtime_error("the virtual meter does not start");
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(5000))
            throw std::runtime_error("the virtual meter names no device");
    device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
}

MeterSimProcess::~MeterSimProcess()
{
    process_.terminate();
    if (!process_.waitForFinished(3000))
        process_.kill();
    process_.waitForFinished(1000);
}

ProcessResult runProcess(const QString& program, const QStringList& args, int timeoutMs)
{
    return runProcess(QProcessEnvironment::systemEnvironment(), program, args, timeoutMs);
}

QProcessEnvironment environmentWithDataDirectory(const QString& dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELMORA_DATA_DIR"), dir);
    return env;
}

ProcessResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& args,
                         int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(program, args);
    ProcessResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
