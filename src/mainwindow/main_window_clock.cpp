// Clocks, operating time and the Time On / Time Off button.
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>

#include "mainwindow/main_window.h"
#include "program/program.h"
#include "scoring/worked.h"
#include "setup/station.h"

namespace mainwindow {

QString MainWindow::OperatingTimeText(double seconds) {
    // A total beyond any operating time (from a damaged settings file) shows
    // as none rather than overflowing the conversion.
    const double whole = std::floor(std::fabs(seconds));
    const auto total = setup::OperatingSecondsInRange(whole) ? static_cast<long long>(whole) : 0LL;
    const long long h = total / 3600;
    const long long m = total / 60 - h * 60;
    const long long c = total - (total / 60) * 60;
    // Every digit of the hours shows, at least two.
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QChar('0'))
        .arg(m, 2, 10, QChar('0'))
        .arg(c, 2, 10, QChar('0'));
}

void MainWindow::Timer2_Timer() {
    const QDateTime local = program_.clock().LocalNow();
    const QLocale locale = QLocale::system();
    const QString designator = local.time().hour() < 12 ? locale.amText() : locale.pmText();

    // The UTC time of day: the local time of day moved by the offset in whole
    // minutes, wrapping at midnight.
    const QTime utc = scoring::UtcFromLocal(local, program_.station.UTCOffsetHours).time();
    const int hour12 = local.time().hour() % 12 == 0 ? 12 : local.time().hour() % 12;
    lblCurTime->setText(QStringLiteral("%1:%2:%3")
                            .arg(hour12)
                            .arg(local.time().minute(), 2, 10, QChar('0'))
                            .arg(local.time().second(), 2, 10, QChar('0')));
    Label16->setText(designator);
    lblutctime->setText(utc.toString(QStringLiteral("HH:mm:ss")));

    entry::OperatingTime& op = program_.operating;
    if (!op.LoggedOn) return;
    // Elapsed time comes from the monotonic clock, so setting the PC clock
    // back never takes operating time away.
    const std::int64_t elapsedMs = std::max<std::int64_t>(0, program_.clock().MonotonicMs() - op.TimeOnAtMs);
    op.OperatingSeconds = static_cast<float>(
        std::fabs(static_cast<double>(program_.station.BankedOperatingSeconds) +
                  static_cast<double>(elapsedMs / 1000)));
    lblttrack->setText(OperatingTimeText(op.OperatingSeconds));
}

void MainWindow::Timer1_Timer() { ComputeRates(); }

void MainWindow::ShowOperatingTime() {
    program_.operating.OperatingSeconds = program_.station.BankedOperatingSeconds;
    lblttrack->setText(OperatingTimeText(program_.operating.OperatingSeconds));
}

void MainWindow::cmdLogOn_Click() {
    entry::OperatingTime& op = program_.operating;
    if (!op.LoggedOn) {
        op.TimeOnAtMs = program_.clock().MonotonicMs();
        op.LoggedOn = true;
        cmdLogOn->setText(QStringLiteral("&Log \"Time Off\""));
        entry_->lblDialog->setText(QStringLiteral(" "));
    } else {
        op.LoggedOn = false;
        cmdLogOn->setText(QStringLiteral("&Log \"Time On\""));
        program_.station.BankedOperatingSeconds = static_cast<float>(op.OperatingSeconds);
        // The offset applies in minutes here too, as it does to logged contacts.
        const QDateTime utc =
            scoring::UtcFromLocal(program_.clock().LocalNow(), program_.station.UTCOffsetHours);
        // The operator's locale (the system's, unless one was set for the
        // program) gives the short date.
        entry_->lblDialog->setText(QStringLiteral("Logged Off at ") +
                           QLocale().toString(utc.date(), QLocale::ShortFormat) + " " +
                           utc.toString(QStringLiteral("HH:mm:ss")));
        setup::SaveQSOPref(program_);
    }
    entry_->txtCall->setFocus();
}

}  // namespace mainwindow
