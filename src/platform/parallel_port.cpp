#include "platform/parallel_port.h"

namespace platform {

bool NoParallelPort::WriteControl(std::uint16_t baseAddress, std::uint8_t, QString* error) {
    if (error)
        *error = QStringLiteral("No parallel port at address %1.").arg(baseAddress, 0, 16);
    return false;
}

std::unique_ptr<ParallelPort> NewSystemParallelPort() { return std::make_unique<NoParallelPort>(); }

}  // namespace platform
