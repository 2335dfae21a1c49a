// SPDX-License-Identifier: GPL-3.0-or-later
// Times SEND on a pseudo-terminal: the gaps between the four writes as they
// arrive at the far end, and the whole transmission against its nominal
// 1,620 ms of pauses.
//
// Reproduce: scripts/bench.sh send [runs]

#include "Dialog.h"
#include "PtyPair.h"
#include "QtSerialPort.h"
#include "QtServices.h"
#include "Transmission.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kestrix;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Notes when the port was opened and closed.
class TimedPort : public SerialPort
{
public:
    explicit TimedPort(SerialPort &port) : m_port(port) {}
    Result<> setPortNumber(int number) override { return m_port.setPortNumber(number); }
    Result<> open() override
    {
        opened = Clock::now();
        return m_port.open();
    }
    bool isOpen() const override { return m_port.isOpen(); }
    Result<> write(const QByteArray &bytes) override { return m_port.write(bytes); }
    Result<> close() override
    {
        auto closing = m_port.close();
        closed = Clock::now();
        return closing;
    }
    Clock::time_point opened, closed;

private:
    SerialPort &m_port;
};

struct Stats
{
    std::vector<double> values;
    void print(const char *name, double nominal) const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        std::printf("%-28s nominal %7.1f  min %8.2f  median %8.2f  max %8.2f  (max over %+.2f)\n",
                    name, nominal, v.front(), v[v.size() / 2], v.back(), v.back() - nominal);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    PtyPair pair;
    if (!pair.start()) {
        std::fprintf(stderr, "no pseudo-terminal could be made\n");
        return 1;
    }
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("KESTRIX_COM1"), pair.programEnd());
    QtSerialPort qtPort(environment);
    TimedPort port(qtPort);
    QtServices services;
    Dialog dialog;
    DialogProgress progress([&dialog] { return &dialog; });

    ConfigFrame frame{};
    DeviceSettings settings = DefaultSettings();
    if (!BuildConfigFrame(settings, frame))
        return 1;
    const BlockHeader header = kBlockHeader;

    Stats headerToBlock, blockToHeader, openToClose, whole;
    for (int run = 0; run < runs; ++run) {
        if (run > 0 && !pair.start()) // a fresh record
            return 1;
        const auto start = Clock::now();
        if (!TransmitConfigFrame(frame, header, QStringLiteral("1"), port, progress, services)) {
            std::fprintf(stderr, "send failed\n");
            return 1;
        }
        const auto end = Clock::now();
        if (!pair.waitFor(134, 2000)) {
            std::fprintf(stderr, "only %lld bytes arrived\n",
                         static_cast<long long>(pair.bytes().size()));
            return 1;
        }
        headerToBlock.values.push_back(ms(pair.arrival(2) - pair.arrival(0)));
        headerToBlock.values.push_back(ms(pair.arrival(69) - pair.arrival(67)));
        blockToHeader.values.push_back(ms(pair.arrival(67) - pair.arrival(2)));
        openToClose.values.push_back(ms(port.closed - port.opened));
        whole.values.push_back(ms(end - start));
    }

    std::printf("SEND on a pseudo-terminal, %d runs, milliseconds\n", runs);
    headerToBlock.print("header -> its block", kPauseAfterHeaderMs);
    blockToHeader.print("block 1 -> header 2", kPauseAfterBlockMs);
    openToClose.print("port open -> closed",
                      kPauseBeforeFirstHeaderMs + 2 * (kPauseAfterHeaderMs + kPauseAfterBlockMs));
    whole.print("whole transmission", kPauseBeforeFirstHeaderMs +
                                          2 * (kPauseAfterHeaderMs + kPauseAfterBlockMs) +
                                          kPauseAfterCloseMs);
    return 0;
}
