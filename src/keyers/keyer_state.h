#pragma once
// The program-wide values of the keyers and voice aids.
#include <QString>
#include <cstdint>

namespace keyers {

struct KeyerState {
    // Characters waiting to be sent in CW.
    QString CWBuffer;
    // 1 while the software keyer drains CWBuffer.
    std::uint8_t CWSending = 0;
    // The CW keying interface: 0 none, 1 RTS, 2 DTR, 3 parallel port,
    // 5 WinKeyer (4 is not used). Mirrors the keying option of CWFrm.
    std::uint8_t CWKeyingLine = 0;
};

}  // namespace keyers
