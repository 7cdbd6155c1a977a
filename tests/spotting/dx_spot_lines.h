#pragma once
// Real DX cluster spot lines (other calls, bands and comments), and the same
// lines again and again with a call and frequency of their own in the same
// columns, as a skimmer feed delivers them.
#include <QString>
#include <iterator>

namespace testing_support {

inline const char* const kDxSpotLines[] = {
    "DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z",
    "DX de CT7AUT:    28074.0  VK2JJM       ft8 tnx 73                     0305Z",
    "DX de N6DW:       3586.4  KE0L         WW RTTY                        0306Z",
    "DX de N9EN/4:    18077.0  OS5Z         op. Marc; tnx QSO!             1359Z",
    "DX de DL3DTH-#:   1816.5  ON7PQ        CW 30 dB 23 WPM CQ             2201Z",
    "DX de KM3T-2-#:  14100.0  CS3B           CW    24 dB  22 WPM  NCDXF B 2259Z",
    "DX de KM3T-2-#:  28263.9  AB8Z/B         CW    15 dB  18 WPM  BEACON  2259Z",
    "DX de W9XG-#:    14057.6  K7GT           CW     7 dB  21 WPM  CQ      2259Z",
    "DX de G0LUJ-#:   14100.1  CS3B           CW    18 dB  20 WPM  NCDXF B 2259Z",
    "DX de W1NT-6-#:  28222.9  N1NSP/B        CW     5 dB  15 WPM  BEACON  2259Z",
    "DX de WE9V-#:    10118.0  N5JCB          CW    15 dB  10 WPM  CQ      2259Z",
    "DX de DJ9IE-#:    7028.0  PT7KM          CW    15 dB  10 WPM  CQ      2259Z",
    "DX de DE1LON-#:  14025.5  EI5JF          CW    13 dB  19 WPM  CQ      2259Z",
    "DX de OH6BG-#:    3516.9  RA1AFT         CW    15 dB  25 WPM  CQ      2259Z",
    "DX de PJ2A-#:    14025.4  IP0TRC         CW    16 dB  31 WPM  CQ      1307Z",
    "DX de K2PO-#:     1823.4  HL5IV          CW     8 dB  22 WPM  CQ      1307Z",
};

// The i-th line of a feed: real line i mod 16, spotting "K" and i in five
// digits at `fromKHz` plus a tenth of a kHz for each of `steps` positions.
inline QString VariedSpotLine(long long i, double fromKHz, int steps) {
    QString line = QString::fromLatin1(kDxSpotLines[i % static_cast<long long>(std::size(kDxSpotLines))]);
    const double kHz = fromKHz + static_cast<double>(i % steps) / 10.0;
    line.replace(15, 9, QStringLiteral("%1").arg(kHz, 9, 'f', 1));
    line.replace(26, 6, QStringLiteral("K%1").arg(i % 100000, 5, 10, QChar(u'0')).left(6));
    return line;
}

}  // namespace testing_support
