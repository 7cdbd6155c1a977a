#include "spotting/packet_spot_frm.h"

namespace spotting {

// The TNC port arrives with the serial port layer.
bool PacketSpotfrm::tncOpen() const { return false; }
void PacketSpotfrm::closeTnc() {}
void PacketSpotfrm::writeTnc(const QByteArray&) {}
void PacketSpotfrm::OpenTNCPort() {}
void PacketSpotfrm::ReadTNCInput() {}

}  // namespace spotting
