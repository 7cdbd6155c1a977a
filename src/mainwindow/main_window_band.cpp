// Band and mode of the main window: menus, labels and the rig's reports.
#include <QAction>
#include <QTreeWidget>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "mainwindow/main_window.h"
#include "program/program.h"
#include "setup/bands.h"
#include "setup/station.h"

namespace mainwindow {

namespace {

struct BandRange {
    float low, high;  // both excluded
};

// The rig frequency ranges of the bands, in the order of setup::kBandCodes.
constexpr std::array<BandRange, 12> kRanges = {{
    {1.7999f, 2.0001f},     {3.4999f, 4.0001f},     {6.9999f, 7.3001f},
    {13.9999f, 14.3501f},   {20.9999f, 21.4501f},   {27.9999f, 29.7001f},
    {49.9999f, 54.0001f},   {143.9999f, 148.0001f}, {218.9999f, 225.0001f},
    {419.9999f, 450.0001f}, {901.9999f, 928.0001f}, {1239.9999f, 1300.0001f},
}};

int bandIndex(const QString& band) {
    for (std::size_t b = 0; b < setup::kBandCodes.size(); ++b)
        if (band.compare(QLatin1String(setup::kBandCodes[b]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(b);
    return -1;
}

bool sameText(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// "#####.##0": the whole digits without leading zeros, then three decimals.
QString frequencyText(float mhz) {
    QString text = QString::number(static_cast<double>(mhz), 'f', 3);
    if (text.startsWith(QLatin1String("0."))) text.remove(0, 1);
    if (text.startsWith(QLatin1String("-0."))) text.remove(1, 1);
    return text;
}

}  // namespace

void MainWindow::showBand(const QString& band) {
    const int b = bandIndex(band);
    if (b < 0) return;
    bandItems[static_cast<std::size_t>(b)]->setChecked(true);
    Label24->setText(QString::fromLatin1(setup::kBandCodes[static_cast<std::size_t>(b)]));
}

void MainWindow::BandChanged() {
    for (QAction* item : bandItems) item->setChecked(false);
    if (txtDX->isVisible() || lblDX->isVisible()) {
        SetBandMapScale();
        if (lblDX->isVisible()) DisplayBandMapLabels();
    }
    // The entry line's "New" flag follows the band; it is the entry line's
    // own change handler that sets it.
    if (side_ == Side::In && !entry_->txtCall->text().isEmpty()) entry_->txtCntry_Change();
}

void MainWindow::BandCommand(const QString& band) {
    program_.station.CurrentBand = band;
    BandChanged();
    showBand(band);
    setup::SaveQSOPref(program_);
    ReloadLog();
}

void MainWindow::setModeChecks(const QString& mode) {
    mnu160->setChecked(true);
    mnuSSB->setChecked(false);
    if (sameText(mode, "PH")) {
        mnuSSB->setChecked(true);
        mnu160->setChecked(false);
    } else if (sameText(mode, "DG")) {
        mnu160->setChecked(false);
    }
}

void MainWindow::modeCommand(const QString& mode) {
    program_.station.CurrentMode = mode;
    Label30->setText(mode);
    setup::SaveQSOPref(program_);
    ReloadLog();
    mnu160->setChecked(mode == QLatin1String("CW"));
    mnuSSB->setChecked(mode == QLatin1String("PH"));
    if (side_ == Side::Out)
        entry_->setRSTLength();
    else if (!entry_->txtCall->text().isEmpty())
        entry_->txtCntry_Change();
}

void MainWindow::mnu160_Click() { modeCommand(QStringLiteral("CW")); }

void MainWindow::mnuSSB_Click() { modeCommand(QStringLiteral("PH")); }

void MainWindow::Label24_Click() {
    const int b = bandIndex(program_.station.CurrentBand);
    if (b < 0) return;
    const std::size_t next = static_cast<std::size_t>(b + 1) % setup::kBandCodes.size();
    BandCommand(QString::fromLatin1(setup::kBandCodes[next]));
}

void MainWindow::Label30_Click() {
    if (sameText(program_.station.CurrentMode, "CW"))
        mnuSSB_Click();
    else
        mnu160_Click();
}

void MainWindow::BandFreqConversion(float& frequencyValue) {
    QString band;
    for (std::size_t b = 0; b < kRanges.size(); ++b)
        if (frequencyValue > kRanges[b].low && frequencyValue < kRanges[b].high)
            band = QString::fromLatin1(setup::kBandCodes[b]);
    if (!band.isEmpty() && band.compare(program_.station.CurrentBand, Qt::CaseInsensitive) != 0)
        BandCommand(band);
    program_.entry.RigFrequencyText = frequencyText(frequencyValue);
}

void MainWindow::ModeSelection(QString& strMode) {
    if (strMode.isEmpty() || strMode.compare(program_.station.CurrentMode, Qt::CaseInsensitive) == 0)
        return;
    if (sameText(strMode, "PH"))
        mnuSSB_Click();
    else if (sameText(strMode, "CW"))
        mnu160_Click();
}

}  // namespace mainwindow
