#pragma once
// Starts the fake appliance on a loopback address for a GUI test that runs
// inside tools/lab/isolated, and stops it again. Waits (bounded) for READY.
//
//   LoopbackAppliance appliance("127.0.0.1");
//   QVERIFY2(appliance.start(), appliance.error().c_str());
//   SimControl sim = appliance.control();
//
// The Windows build, under wine, cannot start a Linux program: there the
// test runs inside tools/with-loopback-appliance, and start() only checks
// that its appliance serves the address asked for.

#include <QProcess>
#include <QStringList>

#ifndef _WIN32
#include <sys/prctl.h>
#endif

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "support/SimControl.h"

class LoopbackAppliance {
public:
    explicit LoopbackAppliance(std::string address, QStringList extraArguments = {})
        : address(std::move(address)), extraArguments(std::move(extraArguments))
    {
    }
    ~LoopbackAppliance() { stop(); }

    bool start(int readyTimeoutMs = 15000)
    {
#ifdef _WIN32
        (void)readyTimeoutMs;
        const char* given = std::getenv("Q70_LOOPBACK_APPLIANCE");
        if (!given || address != given || !extraArguments.isEmpty()) {
            problem = "run the test through ctest: tools/with-loopback-appliance gives the fake appliance, "
                      "on its default settings only";
            return false;
        }
        try {
            control().get("/state/host_name");
        } catch (const std::exception& error) {
            problem = std::string("the fake appliance does not answer: ") + error.what();
            return false;
        }
        return true;
#else
        const char* source = std::getenv("Q70_SOURCE_DIR");
        if (!source) {
            problem = "Q70_SOURCE_DIR is not set (run the test through ctest)";
            return false;
        }
        QStringList arguments{QString::fromUtf8(source) + "/tools/appliance-sim/appliance_sim.py", "--address",
                              QString::fromStdString(address), "--no-discovery"};
        arguments += extraArguments;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Should the test die, the appliance goes with it instead of holding the namespace.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.start("/usr/bin/python3", arguments);
        if (!process.waitForStarted(5000)) {
            problem = "the fake appliance did not start";
            return false;
        }
        QByteArray output;
        while (!output.contains("READY")) {
            if (!process.waitForReadyRead(readyTimeoutMs)) {
                problem = "the fake appliance never printed READY: " + output.toStdString();
                return false;
            }
            output += process.readAllStandardOutput();
        }
        return true;
#endif
    }

    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    SimControl control() const { return SimControl(address + ":8080"); }
    const std::string& error() const { return problem; }

private:
    std::string address;
    QStringList extraArguments;
    QProcess process;
    std::string problem;
};
