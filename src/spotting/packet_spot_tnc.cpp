// The packet TNC source: the serial port the TNC hangs on, read by the poll.
#include <QLabel>
#include <QTimer>

#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "program/program.h"
#include "spotting/packet_spot_frm.h"

namespace spotting {

bool PacketSpotfrm::tncOpen() const { return comComm1 && comComm1->IsOpen(); }

void PacketSpotfrm::closeTnc() {
    if (tncOpen()) comComm1->Close();
}

void PacketSpotfrm::writeTnc(const QByteArray& bytes) {
    QString error;
    if (tncOpen()) comComm1->Output(bytes, &error);
}

void PacketSpotfrm::OpenTNCPort() {
    if (!comComm1) comComm1 = program_.NewSerialPort();
    platform::SerialPort& port = *comComm1;
    closeTnc();
    port.SetPortNumber(SpotCommPort);
    port.SetSettings(SpotCommSettings);
    port.SetDtr(false);
    port.SetRts(false);
    switch (SpotHandshake) {
    case 1: port.SetHandshaking(platform::Handshaking::None); break;
    case 2: port.SetHandshaking(platform::Handshaking::XonXoff); break;
    case 3:
        port.SetHandshaking(platform::Handshaking::RtsCts);
        port.SetRts(true);
        break;
    case 4:
        port.SetHandshaking(platform::Handshaking::RtsCtsXonXoff);
        port.SetRts(true);
        break;
    default: break;
    }
    QString error;
    if (!port.Open(&error)) {
        program_.dialogs().Beep();
        appendMonitor(QStringLiteral("** Unable to open TNC Serial Port **\r\n\r\n"));
        program_.dialogs().MsgBox(
            QStringLiteral("The comm port that you selected for DX Spotting is either in use, "
                           "invalid or the settings that you have selected are invalid.  Please "
                           "select another combination or choose None for your DX Spot selection."),
            platform::vbOKOnly, QStringLiteral("Invalid Comm Settings."));
        // The operator is to see the window with the failure in it.
        if (!isVisible()) show();
        closeSource();
        Timer1->stop();
        return;
    }
    if (SpotPower.compare(QStringLiteral("R"), Qt::CaseInsensitive) == 0)
        port.SetRts(true);
    else if (SpotPower.compare(QStringLiteral("D"), Qt::CaseInsensitive) == 0)
        port.SetDtr(true);
    Timer1->start();
    Label4->show();
    appendMonitor(QStringLiteral("** TNC Serial Port Open **\r\n\r\n"));
}

void PacketSpotfrm::ReadTNCInput() {
    if (!tncOpen()) return;
    const QByteArray bytes = comComm1->Input();
    if (bytes.isEmpty()) return;
    feed.ReceiveTnc(platform::DecodeAnsi(bytes));
    showMonitor();
}

}  // namespace spotting
