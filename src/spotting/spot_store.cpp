#include "spotting/spot_store.h"

#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "platform/same_text.h"
#include "scoring/worked.h"
#include "spotting/spot_line.h"

namespace spotting {

std::int64_t DXSpotStore::AgeSeconds(int slot, const platform::Clock& clock) const {
    if (slot < 0 || slot >= kSpotSlots) return 0;
    const std::int64_t ms = clock.MonotonicMs() - DXSpotStamp[static_cast<std::size_t>(slot)];
    return ms > 0 ? ms / 1000 : 0;
}

void DXSpotStore::RemoveSpot(int slot) {
    if (slot < 0 || slot >= kSpotSlots) return;
    DXSpotFreq[static_cast<std::size_t>(slot)] = 0;
}

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A text that reads as a number (blanks around it allowed).
bool IsNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

}  // namespace

QString SpotLabelText(const QString& call) {
    const qsizetype n = call.size();
    if (n < 3) return {};
    qsizetype slash = 0;      // 1-based position of the last "/", 0 for none
    qsizetype lastDigit = 0;  // 1-based position of the last digit, 0 for none
    for (qsizetype i = 0; i < n; ++i) {
        if (call[i] == u'/') slash = i + 1;
        if (IsDigit(call[i])) lastDigit = i + 1;
    }
    const qsizetype cut = lastDigit > 0 ? lastDigit : n;
    if (slash == 0) return call.left(cut);
    if (static_cast<double>(slash) < static_cast<double>(n) / 2.0 + 1.0)
        return call.left(slash - 1);
    const QString part = call.mid(slash, cut);  // from position slash + 1
    if (!IsNumber(part)) return part;
    qsizetype firstDigit = 0;
    while (firstDigit < n && !IsDigit(call[firstDigit])) ++firstDigit;
    return call.left(firstDigit) + part;
}

std::optional<double> SpotFrequencyKHz(const QString& frequencyText) {
    bool ok = false;
    const double kHz = frequencyText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(kHz)) return std::nullopt;
    // The store keeps MHz in single precision: a value beyond it is refused
    // here, before anything is shifted.
    if (std::fabs(kHz / 1000.0) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return kHz;
}

void StoreSpot(DXSpotStore& store, const QString& call, double mhz,
               const platform::Clock& clock, float utcOffsetHours) {
    for (std::size_t i = 1; i <= kNewestSlot; ++i) {
        store.DXSpotCall[i - 1] = std::move(store.DXSpotCall[i]);
        store.DXSpotFreq[i - 1] = store.DXSpotFreq[i];
        store.DXSpotTime[i - 1] = std::move(store.DXSpotTime[i]);
        store.DXSpotStamp[i - 1] = store.DXSpotStamp[i];
        store.DXSpotLabel[i - 1] = std::move(store.DXSpotLabel[i]);
    }
    store.DXSpotCall[kNewestSlot] = call;
    store.DXSpotFreq[kNewestSlot] = static_cast<float>(mhz);
    store.DXSpotTime[kNewestSlot] = scoring::UtcFromLocal(clock.LocalNow(), utcOffsetHours);
    store.DXSpotStamp[kNewestSlot] = clock.MonotonicMs();
    store.DXSpotLabel[kNewestSlot] = SpotLabelText(call);
    // One live spot per call: the nearest older slot of the call is cleared;
    // any earlier one was cleared when that one arrived. Slot 0 is leaving
    // the store and is not searched.
    for (std::size_t i = kNewestSlot - 1; i >= 1; --i) {
        if (platform::SameText(store.DXSpotCall[i], call)) {
            store.DXSpotFreq[i] = 0;
            break;
        }
    }
}

QString SpotFrequencyCell(double mhz) {
    // Fifteen significant digits as a plain decimal: 14025.0 kHz shows 14.025
    // and 7064.6 kHz shows 7.0646.
    QString text = QString::number(mhz, 'g', 15);
    if (!text.contains(u'e')) return text;
    text = QString::number(mhz, 'f', 15);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text;
}

SpotRow MakeSpotRow(const QString& call, double mhz, QStringView record,
                    const QString& country) {
    SpotRow row;
    row.cells[0] = call;
    row.cells[1] = SpotFrequencyCell(mhz);
    row.cells[2] = country;
    // cells[3], "Status", stays empty.
    row.cells[4] = TrimSpaces(Columns(record, 1, 11)).toString() + QStringLiteral("  ") +
                   TrimSpaces(Columns(record, 35, 25)).toString();
    row.cells[5] = TrimSpaces(Columns(record, 62, 5)).toString();
    row.cells[6] = Columns(record, 68, 4).toString();
    row.cells[7] = TrimSpaces(Columns(record, 73, 4)).toString();
    return row;
}

}  // namespace spotting
