#include "support/setup_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "entry/county_list.h"
#include "setup/folders.h"
#include "setup/station_id.h"

namespace testing_support {

void SeedWorkingFolder(TestProgram& t) {
    const QDir data(QStringLiteral(OSTREL_DATA_DIR));
    for (const QString& name : data.entryList(QDir::Files)) {
        if (QFile::exists(t.workFile(name))) continue;
        ASSERT_TRUE(QFile::copy(data.filePath(name), t.workFile(name))) << name.toStdString();
    }
}

const QByteArray kInStatePrefs = PrefsWith(0, 0);

QByteArray PrefsWith(int stationSide, int roverMode) {
    return QByteArray(
               "\"K9ABC\"\r\n\"WI\"\r\n\"USA\"\r\n\"DAN\"\r\n\"Pat\"\r\n\"SO\"\r\n\"MIL\"\r\n"
               "\"Madison\"\r\n\"PH\"\r\n\"40\"\r\n5\r\n89.4\r\n43.07\r\n\"NA\"\r\n80\r\n255\r\n"
               "0\r\n3600\r\n\"WI\"\r\n") +
           QByteArray::number(stationSide) + "\r\n" + QByteArray::number(roverMode) +
           "\r\n0\r\n\"None\"\r\n0\r\n1\r\n";
}

setup::frmStationID& LoadStationID(TestProgram& t) {
    setup::PrepareFolders(t.program());
    setup::frmStationID& dialog = t->frmStationID();
    dialog.Form_Load(QSizeF(9600, 7200));
    dialog.show();
    return dialog;
}

bool Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void TypeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    for (QChar c : text) QTest::keyClick(box->window()->windowHandle(), c.toLatin1());
}

void TypeKeys(QWidget& window, const QString& keys) {
    for (QChar c : keys) {
        if (c == u' ')
            QTest::keyClick(window.windowHandle(), Qt::Key_Space);
        else if (c == u'\n')
            QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        else if (c == u'\x1b')
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
        else
            QTest::keyClick(window.windowHandle(), c.toLatin1());
        Settle();
    }
}

void ClickCounty(entry::frmCountyList& list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list.ListView1->findItems(name, Qt::MatchExactly, 0);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list.ListView1->scrollToItem(found.front());
    const QRect row = list.ListView1->visualItemRect(found.front());
    QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, {}, row.center());
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace testing_support
