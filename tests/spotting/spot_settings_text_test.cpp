// PackSpot.txt keeps a host name that Windows-1252 cannot hold whole.
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "spotting/spotting_fixture.h"

using testing_support::SpottingFixture;

TEST(SpottingWindow, AHostNameOfAnyScriptSurvivesDoneAndAReload) {
    SpottingFixture f;
    spotting::PacketSpotfrm& w = f.window();
    const QString host = QStringLiteral("\u043a\u043b\u0430\u0441\u0442\u0435\u0440.example");
    w.txtTelnetHost->setText(host);
    w.txtTelnetPort->setText(QStringLiteral("73\u00e9"));
    w.cmdDone_Click();  // the source is "None": nothing opens
    const QByteArray file = testing_support::TestProgram::ReadFile(f.t().workFile("PackSpot.txt"));
    EXPECT_FALSE(file.contains('?'));
    EXPECT_TRUE(file.contains("\"73\xe9\"\r\n"));
    f.program().UnloadPacketSpotfrm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    spotting::PacketSpotfrm& again = f.window();
    EXPECT_EQ(again.txtTelnetHost->text(), host);
    EXPECT_EQ(again.txtTelnetPort->text(), QStringLiteral("73\u00e9"));
}
