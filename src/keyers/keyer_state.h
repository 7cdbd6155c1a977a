#pragma once
// Program-wide state of the transmit keyers that the main windows read.
#include <QString>
#include <cstdint>

namespace keyers {

struct KeyerState {
    // Characters waiting to be sent in CW.
    QString CWBuffer;
    // 1 while the software keyer drains CWBuffer.
    std::uint8_t CWSending = 0;
};

}  // namespace keyers
