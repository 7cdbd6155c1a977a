#pragma once
// The parallel port as the keyers use it: one byte written to its control
// register (base address + 2). The CW keyer writes 3 for key down and 2 for
// key up; the voice keyer does the same for push-to-talk.
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

class ParallelPort {
public:
    virtual ~ParallelPort() = default;
    // Writes `value` to the control register of the port whose base address
    // is `baseAddress` (the register lies at baseAddress + 2). False, with
    // *error set when given, when there is no such port or the write fails.
    virtual bool WriteControl(std::uint16_t baseAddress, std::uint8_t value,
                              QString* error = nullptr) = 0;
};

// A machine whose parallel ports cannot be reached: every write fails.
class NoParallelPort final : public ParallelPort {
public:
    bool WriteControl(std::uint16_t baseAddress, std::uint8_t value,
                      QString* error = nullptr) override;
};

// The device of the parallel port whose base address is `baseAddress`, as
// the system lists its ports (procRoot/parportN/base-addr): devRoot/parportN.
// std::nullopt when no port has that address.
std::optional<QString> ParallelDeviceFor(std::uint16_t baseAddress,
                                         const QString& procRoot = QStringLiteral("/proc/sys/dev/parport"),
                                         const QString& devRoot = QStringLiteral("/dev"));

// The parallel ports of this machine through Linux ppdev: the port whose base
// address is given is opened and claimed on first use, and its control
// register written with PPWCONTROL. A machine without that port fails each
// write with words for the operator.
std::unique_ptr<ParallelPort> NewSystemParallelPort(
    const QString& procRoot = QStringLiteral("/proc/sys/dev/parport"),
    const QString& devRoot = QStringLiteral("/dev"));

}  // namespace platform
