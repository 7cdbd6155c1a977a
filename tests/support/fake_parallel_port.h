#pragma once
// A parallel port that records every write to its control register with the
// time on the fake clock, and can be told to refuse writes. Written from the
// CW keyer's thread too; read by the test while that thread waits or rests.
#include <mutex>
#include <vector>

#include "platform/parallel_port.h"
#include "support/fake_clock.h"

namespace testing_support {

class FakeParallelPort final : public platform::ParallelPort {
public:
    struct Write {
        std::int64_t at;
        int port;  // the control register: base address + 2
        int value;
    };
    explicit FakeParallelPort(const FakeClock& clock) : clock_(clock) {}

    bool WriteControl(std::uint16_t baseAddress, std::uint8_t value, QString* error) override {
        std::lock_guard lock(mutex_);
        if (refuse) {
            if (error) *error = QStringLiteral("refused");
            return false;
        }
        writes.push_back({clock_.monotonic, baseAddress + 2, value});
        return true;
    }

    std::vector<Write> writes;
    bool refuse = false;

private:
    const FakeClock& clock_;
    std::mutex mutex_;
};

}  // namespace testing_support
