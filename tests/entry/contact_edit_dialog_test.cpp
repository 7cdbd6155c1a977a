// The contact edit dialogs of both station sides, opened from the main
// window's recent-contacts list as the operator opens them: what they refuse,
// duplicates and Delete Dupe, and what an accepted edit does to log.txt.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <optional>
#include <gtest/gtest.h>

#include "entry/contact_edit_dialog.h"
#include "mainwindow/main_window.h"
#include "support/file_size_limit.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using entry::ContactEditDialog;
using testing_support::Contact;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

using Script = std::function<void(ContactEditDialog&)>;

// A loaded main window of one side over a log of the given contacts.
class EditFixture {
public:
    EditFixture(int side, const QByteArray& log) : f(side) {
        f.WriteLog(log);
        w = &f.Load();
        f.t.dialogs.shown.clear();
        f.t.dialogs.beeps = 0;
        original = logFile();
    }

    // Selects the list row (0 the newest contact) and presses "Edit Contact";
    // `script` runs while the dialog shows, and a dialog still open after it
    // is closed by its window frame, which writes nothing.
    void edit(int row, const Script& script) {
        w->ListView1->setCurrentIndex(w->ListView1->model()->index(row, 0));
        QTimer::singleShot(0, [this, script] {
            ContactEditDialog& d = f.program().contactEditDialog();
            EXPECT_TRUE(d.isVisible() && d.isModal());
            testing_support::Activate(d);
            script(d);
            if (d.isVisible()) d.close();
        });
        w->cmdEdit_Click();
        testing_support::Settle();
        EXPECT_FALSE(f.program().ContactEditDialogLoaded());
    }

    QByteArray logFile() { return TestProgram::ReadFile(f.t.workFile("log.txt")); }
    QList<QByteArray> logLines() {
        QList<QByteArray> lines = logFile().split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }

    MainWindowFixture f;
    mainwindow::MainWindow* w = nullptr;
    QByteArray original;
};

// Gives `box` the text and presses a key there, as the operator does.
void typeThenPress(QLineEdit* box, const QString& text, Qt::Key key) {
    box->setFocus();
    box->setText(text);
    QTest::keyClick(box->window()->windowHandle(), key);
    testing_support::Settle();
}

QByteArray inStateLog() {
    return Contact("K9AA", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN") +
           Contact("K9BB", "WI", "Dane", "2013/04/07", "18:01:00", "CW", "40", "DAN") +
           Contact("W1XYZ", "MA", "", "2013/04/07", "18:02:00", "PH", "20", "DAN");
}

QByteArray outStateLog() {
    return Contact("K9AA", "", "Dane", "2013/04/07", "18:00:00", "CW", "40") +
           Contact("K9BB", "", "Dane", "2013/04/07", "18:01:00", "CW", "40") +
           Contact("K9CC", "", "Adams", "2013/04/07", "18:02:00", "PH", "20");
}

}  // namespace

TEST(ContactEdit, LoadsTheContactIntoItsBoxes) {
    EditFixture in(0, inStateLog());
    in.edit(1, [](ContactEditDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Edit Contact Entry");
        EXPECT_EQ(d.side(), entry::EditSide::In);
        EXPECT_EQ(d.txtEditCall->text(), "K9BB");
        EXPECT_EQ(d.txtEditSec->text(), "Dane");
        EXPECT_EQ(d.txtEditPre->text(), "WI");
        EXPECT_EQ(d.txtEditDate->text(), "2013/04/07");
        EXPECT_EQ(d.txtEditTime->text(), "18:01:00");
        EXPECT_EQ(d.txtEditBnd->text(), "CW");
        EXPECT_EQ(d.Text1->text(), "40");
        EXPECT_EQ(d.Text3->text(), "DAN");
        EXPECT_FALSE(d.cmdDeleteDupe->isVisible());
        EXPECT_FALSE(d.txtEditNum->isVisible());
        EXPECT_EQ(d.focusWidget(), d.txtEditCall);
    });
    EditFixture out(1, outStateLog());
    out.edit(0, [](ContactEditDialog& d) {
        EXPECT_EQ(d.side(), entry::EditSide::Out);
        EXPECT_EQ(d.txtEditCall->text(), "K9CC");
        EXPECT_EQ(d.txtEditPre->text(), "Adams");
        EXPECT_EQ(d.txtEditSec, nullptr);
        EXPECT_EQ(d.Text3, nullptr);
    });
}

TEST(ContactEdit, RefusedTextsShowTheirMarkerAndLeaveTheLogAlone) {
    // Done, and Enter in the box itself, check every box again: a text the
    // box's own check refuses is never written.
    struct Case {
        int side;
        const char* box;
        const char* text;
        const char* marker;
    };
    const Case cases[] = {
        {0, "Text1", "30", "Label6"},        {1, "Text1", "30", "Label6"},
        {0, "txtEditBnd", "RY", "Label3"},   {1, "txtEditBnd", "RY", "Label3"},
        {0, "txtEditSec", "Nowhere", "Label7"}, {1, "txtEditPre", "", "Label2"},
        {0, "Text3", "XYZ", "Label9"},       {0, "Text3", "", "Label9"},
        {0, "txtEditPre", "QU", "Label2"},
    };
    for (const Case& c : cases) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            EditFixture e(c.side, c.side == 0 ? inStateLog() : outStateLog());
            e.edit(1, [&](ContactEditDialog& d) {
                auto* box = d.findChild<QLineEdit*>(c.box);
                auto* marker = d.findChild<QLabel*>(c.marker);
                ASSERT_TRUE(box && marker) << c.box;
                typeThenPress(box, c.text, key);
                if (key == Qt::Key_Tab) d.cmdDone->click();
                testing_support::Settle();
                EXPECT_TRUE(d.isVisible()) << c.box << " " << c.text;
                EXPECT_TRUE(marker->isVisible()) << c.box << " " << c.text;
                EXPECT_EQ(marker->text(), "   Invalid!");
                EXPECT_GE(e.f.t.dialogs.beeps, 1);
                EXPECT_TRUE(e.f.t.dialogs.shown.empty());
            });
            EXPECT_EQ(e.logFile(), e.original) << c.box << " " << c.text;
        }
    }
}

TEST(ContactEdit, LeavingABoxChecksIt) {
    EditFixture e(0, inStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        // A mode the contest does not know keeps the focus.
        typeThenPress(d.txtEditBnd, "RY", Qt::Key_Tab);
        EXPECT_TRUE(d.Label3->isVisible());
        EXPECT_EQ(d.focusWidget(), d.txtEditBnd);
        // A band it does not know is marked, and the focus moves on.
        typeThenPress(d.txtEditBnd, "DG", Qt::Key_Tab);
        EXPECT_FALSE(d.Label3->isVisible());
        typeThenPress(d.Text1, "30", Qt::Key_Tab);
        EXPECT_TRUE(d.Label6->isVisible());
        EXPECT_EQ(d.focusWidget(), d.Text3);
        // The county sent takes a name or an abbreviation, in any case.
        for (const char* sent : {"milwaukee", "mil", "Dane"}) {
            typeThenPress(d.Text3, sent, Qt::Key_Tab);
            EXPECT_FALSE(d.Label9->isVisible()) << sent;
        }
        // An empty county received passes in this window.
        typeThenPress(d.txtEditSec, "", Qt::Key_Tab);
        EXPECT_FALSE(d.Label7->isVisible());
        EXPECT_EQ(d.focusWidget(), d.txtEditPre);
        // A date month first is refused with its message.
        typeThenPress(d.txtEditDate, "4/7/2013", Qt::Key_Tab);
        ASSERT_EQ(e.f.t.dialogs.shown.size(), 1u);
        EXPECT_EQ(e.f.t.dialogs.shown[0].title, "Invalid Date Format!");
        EXPECT_EQ(e.f.t.dialogs.shown[0].text, "You have entered an invalid date format!");
        EXPECT_EQ(d.focusWidget(), d.txtEditDate);
    });
}

TEST(ContactEdit, DoneChecksTheTimeBeforeTheDate) {
    EditFixture e(1, outStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditTime->setText("25:00");
        d.txtEditDate->setText("2013/13/01");
        d.cmdDone->click();
        ASSERT_EQ(e.f.t.dialogs.shown.size(), 1u);
        EXPECT_EQ(e.f.t.dialogs.shown[0].title, "Invalid Time Format!");
        EXPECT_EQ(d.focusWidget(), d.txtEditTime);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(e.logFile(), e.original);
}

TEST(ContactEdit, AValidEditRewritesOnlyItsLine) {
    // Date and time are stored in the log's one form whatever was typed.
    EditFixture in(0, inStateLog());
    in.edit(1, [](ContactEditDialog& d) {
        d.txtEditCall->setText("K9BZ");
        d.txtEditSec->setText("Milwaukee");
        d.txtEditPre->setText("il");
        d.txtEditDate->setText("2013/4/8");
        d.txtEditTime->setText("8:05");
        d.Text1->setText("20");
        d.Text3->setText("Milwaukee");
        typeThenPress(d.txtEditCall, "K9BZ", Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    QList<QByteArray> before = in.original.split('\n');
    QList<QByteArray> after = in.logFile().split('\n');
    ASSERT_EQ(before.size(), after.size());
    for (int n : {0, 2}) EXPECT_EQ(after[n], before[n]) << n;
    EXPECT_EQ(QByteArray(after[1] + '\n'),
              Contact("K9BZ", "IL", "Milwaukee", "2013/04/08", "08:05:00", "CW", "20", "Milwaukee"));
    EXPECT_EQ(in.f.program().log.row(2).QSOCall, "K9BZ");

    EditFixture out(1, outStateLog());
    out.edit(1, [](ContactEditDialog& d) {
        d.txtEditPre->setText("  Adams ");
        d.txtEditBnd->setText("PH");
        d.cmdDone->click();
        EXPECT_FALSE(d.isVisible());
    });
    before = out.original.split('\n');
    after = out.logFile().split('\n');
    ASSERT_EQ(before.size(), after.size());
    for (int n : {0, 2}) EXPECT_EQ(after[n], before[n]) << n;
    EXPECT_EQ(QByteArray(after[1] + '\n'),
              Contact("K9BB", "", "Adams", "2013/04/07", "18:01:00", "PH", "40"));
}

TEST(ContactEdit, AnEditThatCannotBeSavedKeepsTheOldLog) {
    EditFixture e(0, inStateLog());
    std::optional<testing_support::FileSizeLimit> diskFull;
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditCall->setText("K9BZ");
        diskFull.emplace(100);
        d.cmdDone->click();
        EXPECT_FALSE(d.isVisible());
    });
    diskFull.reset();
    EXPECT_EQ(e.logFile(), e.original);
    ASSERT_EQ(e.f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(e.f.t.dialogs.shown[0].title, "Unable to write file.");
    // The reload reads the log as it stands on disk.
    EXPECT_EQ(e.f.program().log.row(2).QSOCall, "K9BB");
    EXPECT_EQ(e.f.RecentColumn(1), QStringList({"W1XYZ", "K9BB", "K9AA"}));
}

TEST(ContactEdit, AnEditThatMakesADuplicateOffersDeleteDupe) {
    for (int side : {0, 1}) {
        // Two other contacts duplicate the edited one: a beep for each.
        QByteArray log = side == 0 ? inStateLog() : outStateLog();
        log += side == 0 ? Contact("K9AA", "WI", "Dane", "2013/04/07", "18:03:00", "CW", "40", "Dane")
                         : Contact("K9AA", "", "Dane", "2013/04/07", "18:03:00", "CW", "40");
        EditFixture e(side, log);
        e.f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // "Are you sure?"
        // Record 2 (K9BB), the third row of the list, becomes K9AA; out of
        // the party state the blanks around the call go before the test.
        e.edit(2, [&](ContactEditDialog& d) {
            EXPECT_EQ(d.txtEditCall->text(), "K9BB");
            d.txtEditCall->setText(side == 0 ? "k9aa" : " K9AA ");
            d.cmdDone->click();
            EXPECT_EQ(e.f.t.dialogs.beeps, 2) << side;
            EXPECT_TRUE(d.Label1->isVisible());
            EXPECT_EQ(d.Label1->text(), "  Dupe!");
            EXPECT_TRUE(d.cmdDeleteDupe->isVisible());
            EXPECT_EQ(d.cmdDeleteDupe->text().simplified(), "Delete Dupe");
            EXPECT_TRUE(d.isVisible());
            d.cmdDeleteDupe->click();
        });
        ASSERT_EQ(e.f.t.dialogs.shown.size(), 1u);
        EXPECT_EQ(e.f.t.dialogs.shown[0].text, "Are you sure?");
        // The contact under edit is gone and the later ones moved up.
        const QList<QByteArray> lines = e.logLines();
        ASSERT_EQ(lines.size(), 3) << side;
        EXPECT_TRUE(lines[1].startsWith("\"" + QByteArray(side == 0 ? "W1XYZ" : "K9CC")));
        EXPECT_EQ(e.f.program().log.QSOCount, 3);
        EXPECT_EQ(e.f.RecentColumn(0), QStringList({"3", "2", "1"}));
        EXPECT_EQ(e.f.RecentColumn(1), QStringList({"K9AA", side == 0 ? "W1XYZ" : "K9CC", "K9AA"}));
    }
}

TEST(ContactEdit, DeleteDupeAnsweredNoKeepsTheLog) {
    EditFixture e(0, inStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditCall->setText("K9AA");
        d.cmdDone->click();
        d.cmdDeleteDupe->click();
    });
    EXPECT_EQ(e.logFile(), e.original);
    EXPECT_EQ(e.f.program().log.QSOCount, 3);
}

TEST(ContactEdit, ChangingTheCallAfterADupeStillChecksTheCode) {
    EditFixture e(0, inStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditCall->setText("K9AA");
        d.cmdDone->click();
        EXPECT_TRUE(d.Label1->isVisible());
        d.txtEditCall->setText("K9ZZ");
        d.txtEditPre->setText("QU");
        d.cmdDone->click();
        EXPECT_FALSE(d.Label1->isVisible());
        EXPECT_TRUE(d.Label2->isVisible());
        EXPECT_TRUE(d.cmdDeleteDupe->isVisible());
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(e.logFile(), e.original);
}

TEST(ContactEdit, CountyBoxesCompleteFromTheCountyTable) {
    EditFixture e(0, inStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditSec->setFocus();
        d.txtEditSec->setCursorPosition(0);
        QTest::keyClick(d.windowHandle(), 'f');
        EXPECT_EQ(d.txtEditSec->text(), "Forest");
        EXPECT_EQ(d.txtEditSec->selectedText(), "orest");
        // A name of several words typed in lower case gets its capitals.
        d.txtEditSec->setCursorPosition(0);
        for (char c : std::string("green l")) QTest::keyClick(d.windowHandle(), c);
        EXPECT_EQ(d.txtEditSec->text(), "Green Lake");
        // Keys the boxes do not take.
        d.txtEditDate->setFocus();
        d.txtEditDate->clear();
        for (char c : std::string("2013-a/4")) QTest::keyClick(d.windowHandle(), c);
        EXPECT_EQ(d.txtEditDate->text(), "2013/4");
        d.txtEditCall->setFocus();
        d.txtEditCall->clear();
        for (char c : std::string("k9\"x")) QTest::keyClick(d.windowHandle(), c);
        EXPECT_EQ(d.txtEditCall->text(), "K9X");
    });
}

TEST(ContactEdit, ARightClickOnTheListEditsTheRowUnderThePointer) {
    EditFixture e(0, inStateLog());
    QTreeView* list = e.w->ListView1;
    const QRect row = list->visualRect(list->model()->index(2, 1));
    bool opened = false;
    QTimer::singleShot(0, [&] {
        ContactEditDialog& d = e.f.program().contactEditDialog();
        opened = d.isVisible();
        EXPECT_EQ(d.txtEditCall->text(), "K9AA");
        d.close();
    });
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row.center());
    testing_support::Settle();
    EXPECT_TRUE(opened);
    EXPECT_EQ(e.logFile(), e.original);
    // A left click offers both buttons.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_FALSE(e.w->cmdEdit->isHidden());
    EXPECT_FALSE(e.w->cmdDelete->isHidden());
}

TEST(ContactEdit, AStoredValueTheCountyTableDoesNotKnowDoesNotStopAnEdit) {
    // A county sent stored unchecked (a set-up left by Enter) or a county
    // the table no longer holds: only the boxes the operator changes are
    // checked again, so the rest of the contact can still be corrected.
    struct Case {
        int side;
        QByteArray contact;
        QByteArray saved;
    };
    const Case cases[] = {
        {0, Contact("K9BB", "WI", "Dane", "2013/04/07", "18:01:00", "CW", "40", "ZZZ"),
         Contact("K9BZ", "WI", "Dane", "2013/04/07", "18:01:00", "CW", "40", "ZZZ")},
        {0, Contact("K9BB", "WI", "Nowhere", "2013/04/07", "18:01:00", "RY", "30", "DAN"),
         Contact("K9BZ", "WI", "Nowhere", "2013/04/07", "18:01:00", "RY", "30", "DAN")},
        {1, Contact("K9BB", "", "Nowhere", "2013/04/07", "18:01:00", "CW", "40"),
         Contact("K9BZ", "", "Nowhere", "2013/04/07", "18:01:00", "CW", "40")},
    };
    for (const Case& c : cases) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            const QByteArray first = c.side == 0
                                         ? Contact("K9AA", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN")
                                         : Contact("K9AA", "", "Dane", "2013/04/07", "18:00:00", "CW", "40");
            EditFixture e(c.side, first + c.contact);
            e.edit(0, [&](ContactEditDialog& d) {
                if (key == Qt::Key_Tab) {
                    // The operator walks through every box and leaves each
                    // as it was: no marker, and the focus moves on.
                    d.txtEditCall->setFocus();
                    while (d.focusWidget() != d.cmdDone) {
                        QWidget* before = d.focusWidget();
                        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
                        testing_support::Settle();
                        ASSERT_NE(d.focusWidget(), before) << before->objectName().toStdString();
                    }
                    for (QLabel* marker : {d.Label2, d.Label3, d.Label6, d.Label7, d.Label9}) {
                        if (!marker) continue;
                        EXPECT_FALSE(marker->isVisible()) << marker->objectName().toStdString();
                    }
                }
                typeThenPress(d.txtEditCall, "K9BZ", Qt::Key_Return);
                EXPECT_FALSE(d.isVisible()) << c.contact.toStdString();
            });
            EXPECT_EQ(e.logLines().value(1) + '\n', c.saved) << c.contact.toStdString();
            EXPECT_EQ(e.f.t.dialogs.beeps, 0);
        }
    }
}

TEST(ContactEdit, EscAndTheCloseBoxLeaveWithoutSaving) {
    for (int side : {0, 1}) {
        for (bool esc : {true, false}) {
            EditFixture e(side, side == 0 ? inStateLog() : outStateLog());
            e.edit(1, [&](ContactEditDialog& d) {
                EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowCloseButtonHint));
                d.txtEditCall->setText("K9ZZ");
                // Even after a Done that refused a box.
                typeThenPress(d.Text1, "30", Qt::Key_Return);
                EXPECT_TRUE(d.isVisible());
                if (esc) {
                    // From a box, or from the Done button.
                    if (side == 1) d.cmdDone->setFocus();
                    QTest::keyClick(d.windowHandle(), Qt::Key_Escape);
                    testing_support::Settle();
                    EXPECT_FALSE(d.isVisible());
                }
                // Otherwise the close box, as EditFixture::edit closes it.
            });
            EXPECT_EQ(e.logFile(), e.original) << side << esc;
            EXPECT_EQ(e.f.program().log.row(2).QSOCall, "K9BB");
        }
    }
}

TEST(ContactEdit, AFailedDoneLeavesTheOperatorsTextAsTyped) {
    // Blanks around the call and the county go from what is saved, not from
    // the boxes while a check still refuses the edit.
    EditFixture e(1, outStateLog());
    e.edit(1, [&](ContactEditDialog& d) {
        d.txtEditCall->setText(" K9BZ ");
        d.txtEditPre->setText(" Adams ");
        d.txtEditTime->setText("25:00");
        d.cmdDone->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.txtEditCall->text(), " K9BZ ");
        EXPECT_EQ(d.txtEditPre->text(), " Adams ");
        d.txtEditTime->setText("18:01:00");
        d.cmdDone->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(e.logLines().value(1) + '\n', Contact("K9BZ", "", "Adams", "2013/04/07", "18:01:00", "CW", "40"));
}
