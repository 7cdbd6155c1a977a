// The station set-up dialog: its load from QSOpref.txt (or from nothing, on a
// first start), each file that fails on its own, the boxes' keys and checks,
// the country type-ahead, and "Done" with its messages, its files and the
// main window it opens.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "entry/county_list.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "mainwindow/main_window.h"
#include "platform/dialogs.h"
#include "setup/folders.h"
#include "setup/station.h"
#include "setup/station_id.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using setup::frmStationID;
using testing_support::Activate;
using testing_support::kInStatePrefs;
using testing_support::LoadStationID;
using testing_support::PrefsWith;
using testing_support::SeedWorkingFolder;
using testing_support::Settle;
using testing_support::TestProgram;
using testing_support::TypeInto;

namespace {

const QString kInvalidCountyTail =
    " is not a valid county abbreviation.  Please enter a valid county abbreviation for your "
    "county.";

// The shared preferences file: its declaration line and its elements.
const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";
using Element = std::pair<QByteArray, QByteArray>;

QByteArray Elements(const std::vector<Element>& elements) {
    QByteArray out;
    for (const auto& [key, value] : elements) out += "<" + key + ">" + value + "</" + key + ">\r\n";
    return out;
}

// The nine keys "Done" writes for the fixture's station, in their order.
const std::vector<Element> kFixtureKeys = {
    {"OWN_CALL", "K9ABC"},     {"OWN_SPC", "WI"},          {"OWN_UTC", "5"},
    {"OWN_COUNTY", "DAN"},     {"OWN_COUNTRY", "USA"},     {"OWN_LONGITUDE", "89.4"},
    {"OWN_LATITUDE", "43.07"}, {"OWN_CONTINENT", "NA"},    {"OWN_ARRL_SECTION", "MIL"},
};

QList<QByteArray> Lines(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

// A working folder seeded from data/ with the fixture's QSOpref.txt and an
// empty log, and the dialog loaded over it.
struct Loaded {
    explicit Loaded(const QByteArray& prefs = kInStatePrefs) {
        SeedWorkingFolder(t);
        if (!prefs.isEmpty()) TestProgram::WriteFile(t.workFile("QSOpref.txt"), prefs);
        TestProgram::WriteFile(t.workFile("log.txt"), "");
    }
    frmStationID& Load() { return LoadStationID(t); }
    QString xmlPath() const { return t.root() + "/xdg/Tavik Software/Shared/SharedUserPreferences.xml"; }

    TestProgram t;
};

// Presses Enter in `box` of the active dialog.
void PressEnter(frmStationID& d, QLineEdit* box) {
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(d.windowHandle(), Qt::Key_Return);
}

}  // namespace

// ---- The dialog's design -----------------------------------------------------

TEST(StationSetup, CaptionsOfTheDialog) {
    Loaded f;
    frmStationID& d = f.Load();
    EXPECT_EQ(d.windowTitle(), " Setup Information");
    EXPECT_EQ(d.Frame2->title(), "Are you in Dudurozuz?");
    EXPECT_EQ(d.Frame3->title(), "Are you operating as a Rover?");
    EXPECT_EQ(d.Option1->text(), "Yes");
    EXPECT_EQ(d.Option2->text(), "No");
    EXPECT_EQ(d.Option4->text(), "Yes");
    EXPECT_EQ(d.Option3->text(), "No");
    EXPECT_EQ(d.Command1->text(), "Done");
    EXPECT_EQ(d.Command2->text(), "&List");
    EXPECT_EQ(d.Text8->maxLength(), 3);
    EXPECT_EQ(d.Text9->maxLength(), 3);
    EXPECT_EQ(d.Text6->maxLength(), 7);
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "Please Enter your Call Sign:"}, {"Label5", "Your State / Province:"},
        {"Label8", "Home County Abbr:"},            {"Label6", "Hours added for UTC:"},
        {"Label2", "Your Country:"},                {"Label3", "Your Longitude:"},
        {"Label4", "Your Latitude:"},               {"Label7", "Your Continent:"},
        {"Label9", "Operating County Abbr:"},
    };
    for (const auto& [name, caption] : labels) {
        platform::Control* label = d.Find(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(qobject_cast<QLabel*>(label->Widget)->text(), caption) << name;
        EXPECT_TRUE(label->Widget->isVisible()) << name;
    }
    for (QLineEdit* hidden : {d.Text10, d.Text11, d.Text12}) EXPECT_FALSE(hidden->isVisible());
    // The party-state choice lies beyond the right edge.
    EXPECT_GE(d.Ctl(d.Frame1).Left, d.ScaleWidth());
    EXPECT_EQ(d.optState[47]->text(), "WI");
    // Tab goes through the boxes in the design's order.
    ASSERT_TRUE(Activate(d));
    d.Text1->setFocus(Qt::OtherFocusReason);
    std::vector<QWidget*> order;
    for (int i = 0; i < 9; ++i) {
        order.push_back(QApplication::focusWidget());
        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
    }
    const std::vector<QWidget*> expected = {d.Text1, d.Text5, d.Text8, d.Text6, d.Text2,
                                            d.Text3, d.Text4, d.Text7, d.Text9};
    EXPECT_EQ(order, expected);
}

// ---- Load --------------------------------------------------------------------

TEST(StationSetupLoad, FillsTheBoxesFromQSOprefAndLoadsTheTablesAndKeyers) {
    Loaded f;
    frmStationID& d = f.Load();
    EXPECT_TRUE(f.t.dialogs.shown.empty());
    EXPECT_EQ(d.Text1->text(), "K9ABC");
    EXPECT_EQ(d.Text5->text(), "WI");
    EXPECT_EQ(d.Text6->text(), "5");
    EXPECT_EQ(d.Text2->text(), "USA");
    EXPECT_EQ(d.Text3->text(), "89.4");
    EXPECT_EQ(d.Text4->text(), "43.07");
    EXPECT_EQ(d.Text7->text(), "NA");
    EXPECT_EQ(d.Text8->text(), "DAN");
    EXPECT_EQ(d.Text9->text(), "MIL");
    EXPECT_EQ(d.Text10->text(), "Pat");
    EXPECT_EQ(d.Text11->text(), "SO");
    EXPECT_EQ(d.Text12->text(), "Madison");
    EXPECT_EQ(f.t->station.CurrentMode, "PH");
    EXPECT_EQ(f.t->station.PartyState, "WI");

    // Only the party state's option is chosen, and bold.
    for (int i = 0; i < setup::kStateOptions; ++i) {
        QRadioButton* option = d.optState[static_cast<std::size_t>(i)];
        EXPECT_EQ(option->isChecked(), i == 47) << i;
        EXPECT_EQ(d.Ctl(option).Font.Bold, i == 47) << i;
    }

    EXPECT_GT(f.t->prefixes.PrefixCount, 1000);
    EXPECT_EQ(f.t->statePositions.rows[50].code.size(), 2);
    EXPECT_GT(f.t->counties.CountyCount, 60);
    // The keyer windows, loaded hidden with the shipped settings.
    ASSERT_TRUE(f.t->PhoneFrmLoaded());
    ASSERT_TRUE(f.t->CWFrmLoaded());
    EXPECT_FALSE(f.t->phoneFrm().isVisible());
    EXPECT_FALSE(f.t->cwFrm().isVisible());
    EXPECT_EQ(f.t->phoneFrm().Text11->text(), "&H378");
    EXPECT_EQ(f.t->cwFrm().Text11->text(), "13");
    EXPECT_EQ(f.t->cwFrm().Text9->text(), "VVV DE ");
}

TEST(StationSetupLoad, TheStoredSideAndRoverChooseTheOptions) {
    struct Case {
        int side;
        int rover;
        QRadioButton* frmStationID::*where;
        QRadioButton* frmStationID::*rove;
        bool roverEnabled;
    };
    const Case cases[] = {
        {0, 0, &frmStationID::Option1, &frmStationID::Option3, true},
        {0, 1, &frmStationID::Option1, &frmStationID::Option4, true},
        {1, 0, &frmStationID::Option2, &frmStationID::Option3, false},
    };
    for (const Case& c : cases) {
        Loaded f(PrefsWith(c.side, c.rover));
        frmStationID& d = f.Load();
        EXPECT_TRUE((d.*c.where)->isChecked()) << c.side << c.rover;
        EXPECT_TRUE((d.*c.rove)->isChecked()) << c.side << c.rover;
        EXPECT_EQ(d.Frame3->isEnabled(), c.roverEnabled) << c.side << c.rover;
        EXPECT_EQ(d.Option4->isEnabled(), c.roverEnabled) << c.side << c.rover;
    }
}

TEST(StationSetupLoad, AFirstStartOpensWithFirstRunSettingsAndNoBox) {
    struct Case {
        int localOffsetSeconds;
        QString hours;
    };
    const Case cases[] = {{-5 * 3600, "5"}, {(5 * 60 + 45) * 60, "-5.75"}};
    for (const Case& c : cases) {
        Loaded f(QByteArray{});
        f.t.clock.localOffsetSeconds = c.localOffsetSeconds;
        frmStationID& d = f.Load();
        EXPECT_TRUE(f.t.dialogs.shown.empty()) << c.hours.toStdString();
        setup::Station expected = setup::FirstRunStation();
        expected.UTCOffsetHours = d.Text6->text().toFloat();
        EXPECT_EQ(f.t->station, expected);
        EXPECT_EQ(d.Text6->text(), c.hours);
        for (QLineEdit* box : {d.Text1, d.Text5, d.Text2, d.Text7, d.Text8, d.Text9})
            EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(d.Text3->text(), "0");
        EXPECT_TRUE(d.Option1->isChecked());
        EXPECT_TRUE(d.Option3->isChecked());
        // Nothing is written until "Done".
        EXPECT_FALSE(QFile::exists(f.t.workFile("QSOpref.txt")));
        EXPECT_GT(f.t->counties.CountyCount, 60);
        EXPECT_TRUE(f.t->CWFrmLoaded());
    }
}

TEST(StationSetupLoad, EachFailingFileIsNamedAndTheRestLoads) {
    struct Case {
        const char* name;
        QString file;  // under the working folder, or the shared folder's arrlpre2.txt
        std::function<void(TestProgram&)> spoil;
    };
    auto remove = [](const QString& name) {
        return [name](TestProgram& t) { ASSERT_TRUE(QFile::remove(t.workFile(name))); };
    };
    auto keepLines = [](const QString& name, int count) {
        return [name, count](TestProgram& t) {
            const QList<QByteArray> lines = Lines(TestProgram::ReadFile(t.workFile(name)));
            QByteArray kept;
            for (int i = 0; i < count; ++i) kept += lines[i] + "\n";
            TestProgram::WriteFile(t.workFile(name), kept);
        };
    };
    const QString sharedPrefixes = "SHARED/arrlpre2.txt";
    const Case cases[] = {
        {"short QSOpref.txt", "QSOpref.txt", keepLines("QSOpref.txt", 20)},
        {"a prefix row that does not read", sharedPrefixes,
         [](TestProgram& t) {
             TestProgram::WriteFile(t->folders.SharedFolder + "/arrlpre2.txt",
                                    "\"K\",\"USA\",\"NA\",west,37.6,291,5,8\r\n");
         }},
        {"no states.txt", "states.txt", remove("states.txt")},
        {"short states.txt", "states.txt", keepLines("states.txt", 30)},
        {"no county2.txt", "county2.txt", remove("county2.txt")},
        {"no wave2.txt", "wave2.txt", remove("wave2.txt")},
        {"short wave2.txt", "wave2.txt", keepLines("wave2.txt", 5)},
    };
    for (const Case& c : cases) {
        Loaded f;
        c.spoil(f.t);
        frmStationID& d = f.Load();
        const QString path = c.file == sharedPrefixes ? f.t->folders.SharedFolder + "/arrlpre2.txt"
                                                      : f.t.workFile(c.file);
        ASSERT_EQ(f.t.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].title, "Error opeining file") << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].text, "Error opening file " + QDir::toNativeSeparators(path))
            << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].style, platform::vbOKOnly) << c.name;

        // The steps after the failing one ran all the same.
        EXPECT_EQ(f.t->counties.CountyCount > 60, c.file != "county2.txt") << c.name;
        EXPECT_TRUE(f.t->CWFrmLoaded()) << c.name;
        EXPECT_EQ(f.t->cwFrm().Text11->text(), "13") << c.name;
        EXPECT_EQ(d.Text1->text(), "K9ABC") << c.name;
        EXPECT_EQ(f.t->station.PartyState, "WI") << c.name;
        EXPECT_TRUE(d.Option1->isChecked()) << c.name;
        EXPECT_TRUE(d.optState[47]->isChecked()) << c.name;
    }
}

TEST(StationSetupLoad, AShortQSOprefKeepsFirstRunValuesBeyondItsEnd) {
    Loaded f;
    const QList<QByteArray> lines = Lines(kInStatePrefs);
    QByteArray first12;
    for (int i = 0; i < 12; ++i) first12 += lines[i] + "\n";
    TestProgram::WriteFile(f.t.workFile("QSOpref.txt"), first12);
    frmStationID& d = f.Load();
    EXPECT_EQ(d.Text3->text(), "89.4");  // item 12 read
    EXPECT_EQ(d.Text4->text(), "0");     // item 13 not
    EXPECT_EQ(f.t->station.FormSizePercent, 100);
    EXPECT_EQ(f.t->station.RigType, "None");
}

// ---- Keys --------------------------------------------------------------------

TEST(StationSetupKeys, TheFiltersOfTheBoxes) {
    struct Case {
        int key;
        int numBerr;
        int cap3;
    };
    const Case cases[] = {
        {'a', 0, 'A'}, {'z', 0, 'Z'}, {'A', 0, 'A'}, {'5', '5', '5'},  {'-', '-', '-'},
        {'.', '.', '.'}, {'/', '/', '/'}, {'0', '0', '0'}, {'9', '9', '9'}, {',', 0, ','},
        {':', 0, ':'}, {' ', 0, ' '}, {8, 8, 8},     {9, 0, 9},         {0xE9, 0, 0xE9},
    };
    for (const Case& c : cases) {
        int numBerr = c.key;
        frmStationID::NumBerr(numBerr);
        EXPECT_EQ(numBerr, c.numBerr) << c.key;
        int cap3 = c.key;
        frmStationID::Cap3(cap3);
        EXPECT_EQ(cap3, c.cap3) << c.key;
    }
}

TEST(StationSetupKeys, TypingIntoTheBoxes) {
    struct Case {
        QLineEdit* frmStationID::*box;
        QString typed;
        QString shown;
    };
    const Case cases[] = {
        {&frmStationID::Text1, "k9abc", "K9ABC"},
        {&frmStationID::Text5, "wi", "WI"},
        {&frmStationID::Text8, "dane", "DAN"},
        {&frmStationID::Text9, "mil", "MIL"},
        {&frmStationID::Text6, "-5.5h", "-5.5"},
        {&frmStationID::Text3, "89.4w", "89.4"},
        {&frmStationID::Text4, "n43", "43"},
        {&frmStationID::Text7, "na", "NA"},
    };
    Loaded f(QByteArray{});
    frmStationID& d = f.Load();
    ASSERT_TRUE(Activate(d));
    for (const Case& c : cases) {
        (d.*c.box)->clear();
        TypeInto(d.*c.box, c.typed);
        EXPECT_EQ((d.*c.box)->text(), c.shown) << c.typed.toStdString();
    }
}

TEST(StationSetupKeys, EnterInAnyBoxButTheCountryRunsDone) {
    using Box = QLineEdit* frmStationID::*;
    const std::pair<Box, bool> boxes[] = {
        {&frmStationID::Text1, true}, {&frmStationID::Text5, true}, {&frmStationID::Text8, true},
        {&frmStationID::Text6, true}, {&frmStationID::Text3, true}, {&frmStationID::Text4, true},
        {&frmStationID::Text7, true}, {&frmStationID::Text9, true}, {&frmStationID::Text2, false},
    };
    Loaded f;
    frmStationID& d = f.Load();
    ASSERT_TRUE(Activate(d));
    d.Text8->clear();  // "Done" refuses, with its message: that shows it ran
    for (const auto& [box, runsDone] : boxes) {
        f.t.dialogs.shown.clear();
        PressEnter(d, d.*box);
        EXPECT_EQ(f.t.dialogs.titles(),
                  runsDone ? std::vector<QString>{"Home County Required"} : std::vector<QString>{})
            << (d.*box)->objectName().toStdString();
    }
}

// ---- Country type-ahead ------------------------------------------------------

class CountryTypeAhead : public testing::Test {
protected:
    void SetUp() override {
        TestProgram::WriteFile(f.t->folders.SharedFolder + "/arrlpre2.txt",
                               "\"CE\",\"Chile\",\"SA\",70.67,-33.45,112,12,14\r\n"
                               "\"CM\",\"Cuba\",\"NA\",82.38,23.13,70,8,11\r\n"
                               "\"K\",\"USA\",\"NA\",91.87,37.6,291,5,8\r\n"
                               "\"VE\",\"Canada\",\"NA\",80,50,1,5,9\r\n"
                               "\"VP2E\",\"Anguilla\",\"NA\",63.1,18.2,12,8,11\r\n");
        d = &f.Load();
        ASSERT_TRUE(Activate(*d));
        d->Text2->clear();
        d->Text3->clear();
        d->Text4->clear();
        d->Text7->clear();
    }
    void Type(const QString& keys) {
        d->Text2->setFocus(Qt::OtherFocusReason);
        for (QChar c : keys) QTest::keyClick(d->windowHandle(), c.toLatin1());
    }

    Loaded f{QByteArray{}};
    frmStationID* d = nullptr;
};

TEST_F(CountryTypeAhead, CompletesFromTheLastMatchingRowAndFillsThePosition) {
    struct Step {
        char key;
        QString text;      // the box after the key
        QString selected;  // the completed rest, selected
        QString longitude, latitude, continent;
    };
    // "C" completes from the last row whose country begins with C (Canada);
    // "u" then from the last that begins with "Cu"; a key without a match
    // goes into the box, replacing the selection.
    const Step steps[] = {
        {'c', "Canada", "anada", "80", "50", "NA"},
        {'u', "Cuba", "ba", "82.38", "23.13", "NA"},
        {'x', "Cux", "", "82.38", "23.13", "NA"},
    };
    for (const Step& s : steps) {
        Type(QString(QChar(s.key)));
        EXPECT_EQ(d->Text2->text(), s.text) << s.key;
        EXPECT_EQ(d->Text2->selectedText(), s.selected) << s.key;
        EXPECT_EQ(d->Text2->cursorPosition(), s.text.size() - s.selected.size()) << s.key;
        EXPECT_EQ(d->Text3->text(), s.longitude) << s.key;
        EXPECT_EQ(d->Text4->text(), s.latitude) << s.key;
        EXPECT_EQ(d->Text7->text(), s.continent) << s.key;
    }
}

TEST_F(CountryTypeAhead, TheTypedPartStaysAsTypedAndBackspaceDeletesTheRest) {
    Type("cH");
    EXPECT_EQ(d->Text2->text(), "CHile");
    EXPECT_EQ(d->Text4->text(), "-33.45");
    EXPECT_EQ(d->Text7->text(), "SA");
    QTest::keyClick(d->windowHandle(), Qt::Key_Backspace);
    EXPECT_EQ(d->Text2->text(), "CH");
    // Enter in the country box does not run "Done".
    d->Text8->clear();
    QTest::keyClick(d->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(f.t.dialogs.shown.empty());
}

TEST_F(CountryTypeAhead, AKeyTypedOverTheWholeTextCompletesFromItsStart) {
    // Tab into the box selects its whole text; the next key replaces it and
    // completes as a first key does, in capitals.
    d->Text2->setText("USA");
    d->Text6->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(d->windowHandle(), Qt::Key_Tab);
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), d->Text2);
    ASSERT_EQ(d->Text2->selectedText(), "USA");
    QTest::keyClick(d->windowHandle(), 'c');
    EXPECT_EQ(d->Text2->text(), "Canada");
    EXPECT_EQ(d->Text2->selectedText(), "anada");
    EXPECT_EQ(d->Text7->text(), "NA");
    EXPECT_EQ(d->Text3->text(), "80");
}

TEST(CountryTypeAheadWithoutTable, ThePlainBoxTakesTheKeys) {
    Loaded f(QByteArray{});
    for (const QString& folder : {f.t->folders.SharedFolder, f.t->folders.DataFolder})
        QFile::remove(folder + "/arrlpre2.txt");
    QFile::remove(f.t.workFile("arrlpre2.txt"));
    frmStationID& d = f.Load();
    EXPECT_EQ(f.t->prefixes.PrefixCount, 0);
    EXPECT_TRUE(f.t.dialogs.shown.empty());
    ASSERT_TRUE(Activate(d));
    TypeInto(d.Text2, "usa");
    EXPECT_EQ(d.Text2->text(), "Usa");
    EXPECT_EQ(d.Text3->text(), "0");
}

// ---- Leaving boxes -----------------------------------------------------------

TEST(StationSetupLeave, TheCountyBoxesCheckTheirAbbreviation) {
    struct Case {
        const char* name;
        QString spc;
        bool home;  // Text8, else Text9
        QString text;
        QString otherBefore;
        bool refused;
        QString otherAfter;
    };
    const Case cases[] = {
        {"home fills operating", "WI", true, "DAN", "", false, "DAN"},
        {"operating fills home", "WI", false, "MIL", "", false, "MIL"},
        {"the other box keeps its text", "WI", true, "DAN", "MIL", false, "MIL"},
        {"letter case ignored", "wi", true, "dan", "", false, "dan"},
        {"empty box", "WI", true, "", "", false, ""},
        {"invalid home", "WI", true, "ZZZ", "", true, ""},
        {"invalid operating", "WI", false, "XX", "DAN", true, "DAN"},
        {"outside the party state nothing is checked", "MN", true, "ZZZ", "", false, ""},
    };
    for (const Case& c : cases) {
        Loaded f;
        frmStationID& d = f.Load();
        ASSERT_TRUE(Activate(d));
        QLineEdit* box = c.home ? d.Text8 : d.Text9;
        QLineEdit* other = c.home ? d.Text9 : d.Text8;
        d.Text5->setText(c.spc);
        other->setText(c.otherBefore);
        box->setFocus(Qt::OtherFocusReason);
        box->setText(c.text);
        // The operator leaves the box with Tab.
        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
        Settle();
        if (c.refused) {
            ASSERT_EQ(f.t.dialogs.shown.size(), 1u) << c.name;
            EXPECT_EQ(f.t.dialogs.shown[0].title, "Valid Abbreviation Required") << c.name;
            EXPECT_EQ(f.t.dialogs.shown[0].text, c.text + kInvalidCountyTail) << c.name;
            EXPECT_EQ(f.t.dialogs.shown[0].style, platform::vbOKOnly | platform::vbInformation)
                << c.name;
            EXPECT_EQ(QApplication::focusWidget(), box) << c.name;
        } else {
            EXPECT_TRUE(f.t.dialogs.shown.empty()) << c.name;
            EXPECT_NE(QApplication::focusWidget(), box) << c.name;
        }
        EXPECT_EQ(other->text(), c.otherAfter) << c.name;
    }
}

TEST(StationSetupLeave, AnEmptyCountyTableRefusesEveryAbbreviation) {
    Loaded f;
    QFile::remove(f.t.workFile("county2.txt"));
    frmStationID& d = f.Load();
    f.t.dialogs.shown.clear();
    d.Text8->setText("DAN");
    EXPECT_FALSE(d.Text8_LostFocus());
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Valid Abbreviation Required"});
}

TEST(StationSetupLeave, TheHoursBoxWantsANumberWithinAnyTimeZone) {
    struct Case {
        QString text;
        bool beep;     // no number: a beep
        bool message;  // a number beyond -14 to 14 hours: a message
    };
    const Case cases[] = {{"-5.5", false, false}, {"5", false, false}, {" 6 ", false, false},
                          {"14", false, false},   {"-14", false, false}, {"", true, false},
                          {"5/2", true, false},   {"-", true, false},   {"14.5", false, true},
                          {"-15", false, true},   {"1e12", false, true}};
    for (const Case& c : cases) {
        Loaded f;
        frmStationID& d = f.Load();
        ASSERT_TRUE(Activate(d));
        d.Text6->setFocus(Qt::OtherFocusReason);
        d.Text6->setText(c.text);
        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
        Settle();
        EXPECT_EQ(f.t.dialogs.beeps, c.beep ? 1 : 0) << c.text.toStdString();
        EXPECT_EQ(QApplication::focusWidget() == d.Text6, c.beep || c.message) << c.text.toStdString();
        if (c.message) {
            ASSERT_EQ(f.t.dialogs.shown.size(), 1u) << c.text.toStdString();
            EXPECT_EQ(f.t.dialogs.shown[0].title, "Invalid UTC Offset");
            EXPECT_EQ(f.t.dialogs.shown[0].text,
                      c.text + " is not a valid UTC offset.  Please enter the hours added to your "
                               "local time for UTC, from -14 to 14.");
        } else {
            EXPECT_TRUE(f.t.dialogs.shown.empty()) << c.text.toStdString();
        }
    }
}

TEST(StationSetupDone, AnOffsetBeyondAnyTimeZoneIsRefused) {
    // Enter in the hours box runs "Done" without the leaving check: "Done"
    // refuses the offset itself, saves nothing and opens no window.
    Loaded f;
    const QByteArray prefs = TestProgram::ReadFile(f.t.workFile("QSOpref.txt"));
    frmStationID& d = f.Load();
    ASSERT_TRUE(Activate(d));
    d.Text6->setText("1000000000000");
    PressEnter(d, d.Text6);
    Settle();
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Invalid UTC Offset"});
    EXPECT_EQ(QApplication::focusWidget(), d.Text6);
    EXPECT_EQ(f.t->mainWindow(), nullptr);
    EXPECT_TRUE(f.t->FrmStationIDLoaded());
    EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")), prefs);
    EXPECT_EQ(f.t->station.UTCOffsetHours, 5);
}

TEST(StationSetupLoad, StoredOffsetsAndBankedTimesBeyondRangeReadAsFirstRun) {
    // The fixture stores an offset of 5 (what the fake clock implies) and
    // 3600 banked seconds; values beyond range read as the first-run ones:
    // the clock's offset, so no question is asked, and no banked time.
    struct Case {
        QByteArray offset, banked;
        float offsetRead, bankedRead;
    };
    const Case cases[] = {
        {"5", "3600", 5, 3600},       {"-14", "0", -14, 0},         {"1E+12", "3600", 5, 3600},
        {"-1000000000000000", "3600", 5, 3600}, {"14.01", "3600", 5, 3600},
        {"5", "1E+30", 5, 0},         {"5", "-60", 5, 0},
    };
    for (const Case& c : cases) {
        QByteArray prefs = kInStatePrefs;
        prefs.replace("\r\n5\r\n89.4\r\n", "\r\n" + c.offset + "\r\n89.4\r\n");
        prefs.replace("\r\n3600\r\n", "\r\n" + c.banked + "\r\n");
        Loaded f(prefs);
        f.t.dialogs.inputAnswers.push_back(std::nullopt);  // keep a stored -14
        frmStationID& d = f.Load();
        EXPECT_EQ(f.t->station.UTCOffsetHours, c.offsetRead) << c.offset.toStdString();
        EXPECT_EQ(f.t->station.BankedOperatingSeconds, c.bankedRead) << c.banked.toStdString();
        EXPECT_EQ(d.Text6->text(), QString::number(c.offsetRead)) << c.offset.toStdString();
        // Only a stored offset in range that differs from the clock's is asked about.
        EXPECT_EQ(f.t.dialogs.shown.size(), c.offsetRead != 5 ? 1u : 0u) << c.offset.toStdString();
    }
}

TEST(StationSetupLeave, ClickingDoneAfterAnInvalidCountyChecksItFirst) {
    Loaded f;
    frmStationID& d = f.Load();
    ASSERT_TRUE(Activate(d));
    d.Text8->setFocus(Qt::OtherFocusReason);
    d.Text8->setText("ZZZ");
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    Settle();
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Valid Abbreviation Required"});
    EXPECT_EQ(f.t->mainWindow(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), d.Text8);
}

TEST(StationSetupDone, EnterOrDoneChecksBothCountyAbbreviations) {
    // The operating county becomes the county sent of every contact: Done
    // checks it (and the home county) however it was reached, as leaving
    // the box does.
    struct Case {
        const char* name;
        QLineEdit* frmStationID::*box;
        QLineEdit* frmStationID::*enterIn;
    };
    const Case cases[] = {
        {"Enter in the home county", &frmStationID::Text8, &frmStationID::Text8},
        {"Enter in the operating county", &frmStationID::Text9, &frmStationID::Text9},
        {"an operating county never visited", &frmStationID::Text9, &frmStationID::Text1},
        {"a home county never visited", &frmStationID::Text8, &frmStationID::Text7},
    };
    for (const Case& c : cases) {
        Loaded f;
        const QByteArray prefs = TestProgram::ReadFile(f.t.workFile("QSOpref.txt"));
        frmStationID& d = f.Load();
        ASSERT_TRUE(Activate(d));
        (d.*c.box)->setText("ZZZ");
        PressEnter(d, d.*c.enterIn);
        Settle();
        ASSERT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Valid Abbreviation Required"}) << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].text, "ZZZ" + kInvalidCountyTail);
        EXPECT_EQ(f.t->mainWindow(), nullptr) << c.name;
        EXPECT_EQ(QApplication::focusWidget(), d.*c.box) << c.name;
        EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")), prefs) << c.name;

        // Mended, it goes on; lower case is as good.
        (d.*c.box)->setText(c.box == &frmStationID::Text8 ? "dan" : "mil");
        f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // "Open existing log?"
        PressEnter(d, d.*c.box);
        Settle();
        ASSERT_NE(f.t->mainWindow(), nullptr) << c.name;
    }
}

// ---- Options -----------------------------------------------------------------

TEST(StationSetupOptions, NoForThePartyStateClearsAndDisablesTheRover) {
    Loaded f(PrefsWith(0, 1));
    frmStationID& d = f.Load();
    ASSERT_TRUE(Activate(d));
    ASSERT_TRUE(d.Option4->isChecked());
    QTest::mouseClick(d.Option2, Qt::LeftButton, {}, QPoint(6, d.Option2->height() / 2));
    EXPECT_TRUE(d.Option3->isChecked());
    EXPECT_FALSE(d.Option4->isChecked());
    EXPECT_FALSE(d.Frame3->isEnabled());
    EXPECT_FALSE(d.Option3->isEnabled());
    EXPECT_FALSE(d.Option4->isEnabled());
    // "Yes" again enables the rover choice and leaves "No" chosen.
    QTest::mouseClick(d.Option1, Qt::LeftButton, {}, QPoint(6, d.Option1->height() / 2));
    EXPECT_TRUE(d.Frame3->isEnabled());
    EXPECT_TRUE(d.Option4->isEnabled());
    EXPECT_TRUE(d.Option3->isChecked());
}

TEST(StationSetupOptions, AStateOptionClickMakesItAloneBold) {
    Loaded f;
    frmStationID& d = f.Load();
    d.optState[3]->click();
    for (int i = 0; i < setup::kStateOptions; ++i)
        EXPECT_EQ(d.Ctl(d.optState[static_cast<std::size_t>(i)]).Font.Bold, i == 3) << i;
    // Nothing reads the choice: the party state stays.
    EXPECT_EQ(f.t->station.PartyState, "WI");
}

// ---- Done --------------------------------------------------------------------

TEST(StationSetupDone, TheCountiesOfAPartyStationAreRequired) {
    struct Case {
        const char* name;
        QString spc, home, operating;
        QString title;  // empty: no message, the main window opens
        QString text;
        QLineEdit* frmStationID::*focus;
    };
    const Case cases[] = {
        {"both empty: home first", "WI", "", "", "Home County Required",
         "Please enter your home county!", &frmStationID::Text8},
        {"operating empty", "WI", "DAN", "", "Operating County Required",
         "Please enter your operating county!", &frmStationID::Text9},
        {"letter case of the state ignored", "wi", "", "MIL", "Home County Required",
         "Please enter your home county!", &frmStationID::Text8},
        {"another state goes on with empty counties", "MN", "", "", "", "", nullptr},
    };
    for (const Case& c : cases) {
        Loaded f;
        frmStationID& d = f.Load();
        d.Text5->setText(c.spc);
        d.Text8->setText(c.home);
        d.Text9->setText(c.operating);
        d.Text1->setFocus(Qt::OtherFocusReason);
        f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // "Open existing log?"
        d.Command1_Click();
        if (c.title.isEmpty()) {
            EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Open existing log?"}) << c.name;
            EXPECT_NE(f.t->mainWindow(), nullptr) << c.name;
            continue;
        }
        ASSERT_EQ(f.t.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].title, c.title) << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].text, c.text) << c.name;
        EXPECT_EQ(f.t.dialogs.shown[0].style, platform::vbOKOnly) << c.name;
        EXPECT_EQ(d.focusWidget(), d.*c.focus) << c.name;
        // Refused: nothing saved, no main window, the dialog stays.
        EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")), kInStatePrefs) << c.name;
        EXPECT_FALSE(QFile::exists(f.xmlPath())) << c.name;
        EXPECT_EQ(f.t->mainWindow(), nullptr) << c.name;
        EXPECT_TRUE(f.t->FrmStationIDLoaded()) << c.name;
    }
}

TEST(StationSetupDone, SavesQSOprefAndTheNineSharedKeysAndOpensInfrm) {
    Loaded f;
    frmStationID& d = f.Load();
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // "Open existing log?"
    // The main window's load closes the dialog first: under the start-up
    // question no set-up dialog is left on the screen.
    bool dialogShownUnderQuestion = true;
    f.t.dialogs.onMessage = [&](const testing_support::ShownBox&) {
        dialogShownUnderQuestion = f.t->FrmStationIDLoaded() && f.t->frmStationID().isVisible();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<frmStationID*>(w)) dialogShownUnderQuestion = true;
    };
    d.Command1_Click();
    f.t.dialogs.onMessage = nullptr;
    EXPECT_FALSE(dialogShownUnderQuestion);
    Settle();

    const QByteArray prefs = TestProgram::ReadFile(f.t.workFile("QSOpref.txt"));
    EXPECT_EQ(Lines(prefs).size(), setup::kQSOPrefValues);
    EXPECT_EQ(prefs, kInStatePrefs);
    EXPECT_EQ(TestProgram::ReadFile(f.xmlPath()), kDeclaration + Elements(kFixtureKeys));

    ASSERT_NE(dynamic_cast<mainwindow::Infrm*>(f.t->mainWindow()), nullptr);
    EXPECT_TRUE(f.t->mainWindow()->isVisible());
    EXPECT_EQ(f.t->mainWindow()->Label2->text(), "K9ABC");
    EXPECT_FALSE(f.t->FrmStationIDLoaded());
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Open existing log?"});
}

TEST(StationSetupDone, TheBoxesBecomeTheStationAndChooseTheMainWindow) {
    struct Case {
        bool outside;
        bool rover;
        bool infrm;
        QByteArray sideLine, roverLine;
    };
    const Case cases[] = {
        {false, false, true, "0", "0"},
        {false, true, true, "0", "1"},
        {true, false, false, "1", "0"},
    };
    for (const Case& c : cases) {
        Loaded f;
        frmStationID& d = f.Load();
        (c.outside ? d.Option2 : d.Option1)->click();
        (c.rover ? d.Option4 : d.Option3)->click();
        d.Text1->setText("w9new");  // taken as it stands
        d.Text5->setText(c.outside ? "MN" : "WI");
        d.Text2->setText("USA ");
        d.Text7->setText("NA");
        d.Text10->setText("Lee");
        f.t.dialogs.msgAnswers.push_back(platform::vbYes);
        d.Command1_Click();

        const QList<QByteArray> lines = Lines(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")));
        ASSERT_EQ(lines.size(), setup::kQSOPrefValues);
        EXPECT_EQ(lines[0], "\"w9new\"\r");
        EXPECT_EQ(lines[1], "\"" + QByteArray(c.outside ? "MN" : "WI") + "\"\r");
        EXPECT_EQ(lines[2], "\"USA \"\r");
        EXPECT_EQ(lines[4], "\"Lee\"\r");
        EXPECT_EQ(lines[19], c.sideLine + "\r");
        EXPECT_EQ(lines[20], c.roverLine + "\r");
        mainwindow::MainWindow* main = f.t->mainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->side() == mainwindow::Side::In, c.infrm);
        EXPECT_EQ(dynamic_cast<mainwindow::Infrm*>(main) != nullptr, c.infrm);
    }
}

TEST(StationSetupDone, BoxesThatHoldNoNumberAreStoredAsZero) {
    Loaded f;
    frmStationID& d = f.Load();
    d.Text6->setText("");
    d.Text3->setText("89/4");
    d.Text4->setText("4e99");  // beyond single precision
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);
    d.Command1_Click();
    for (QLineEdit* box : {d.Text6, d.Text3, d.Text4}) EXPECT_EQ(box->text(), "0");
    const QList<QByteArray> lines = Lines(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")));
    ASSERT_EQ(lines.size(), setup::kQSOPrefValues);
    EXPECT_EQ(lines[10], "0\r");
    EXPECT_EQ(lines[11], "0\r");
    EXPECT_EQ(lines[12], "0\r");
    const QByteArray xml = TestProgram::ReadFile(f.xmlPath());
    for (const char* element :
         {"<OWN_UTC>0</OWN_UTC>", "<OWN_LONGITUDE>0</OWN_LONGITUDE>", "<OWN_LATITUDE>0</OWN_LATITUDE>"})
        EXPECT_TRUE(xml.contains(element)) << element;
}

TEST(StationSetupDone, KeysOfOtherWritersStayAndOursAreUpdatedInPlace) {
    Loaded f;
    TestProgram::WriteFile(f.xmlPath(), kDeclaration + Elements({{"OWN_SPC", "MN"},
                                                                 {"OTHER_PROGRAM", "kept"}}));
    frmStationID& d = f.Load();
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);
    d.Command1_Click();
    // OWN_SPC is updated where it stands; the others follow in their order.
    std::vector<Element> appended = kFixtureKeys;
    std::erase_if(appended, [](const Element& e) { return e.first == "OWN_SPC"; });
    EXPECT_EQ(TestProgram::ReadFile(f.xmlPath()),
              kDeclaration + Elements({{"OWN_SPC", "WI"}, {"OTHER_PROGRAM", "kept"}}) +
                  Elements(appended));
}

TEST(StationSetupDone, AFirstStartGetsAnEmptyLogThatTheStartUpQuestionOpens) {
    struct Case {
        bool firstStart;
        bool logMade;
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        Loaded f(c.firstStart ? QByteArray{} : kInStatePrefs);
        QFile::remove(f.t.workFile("log.txt"));
        frmStationID& d = f.Load();
        d.Text1->setText("K9ABC");
        f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // continue the existing log
        d.Command1_Click();
        EXPECT_EQ(QFile::exists(f.t.workFile("log.txt")), c.logMade) << c.firstStart;
        // Without a log, "Yes" ends the program after the log store's message.
        EXPECT_EQ(f.t.endCalls, c.logMade ? 0 : 1) << c.firstStart;
        if (c.logMade) {
            EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Open existing log?"});
            EXPECT_EQ(f.t->log.QSOCount, 0);
            EXPECT_FALSE(f.t->FrmStationIDLoaded());
        }
    }
}

TEST(StationSetupDone, ThePickListsSideNeverReachesTheFile) {
    Loaded f;
    frmStationID& d = f.Load();
    QTimer::singleShot(0, [&] { testing_support::ClickCounty(f.t->frmCountyList(), "Adams"); });
    d.Command2_Click();
    EXPECT_EQ(f.t->station.StationSide, 2);
    EXPECT_EQ(d.Text8->text(), "ADA");
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);
    d.Command1_Click();
    const QList<QByteArray> lines = Lines(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")));
    ASSERT_EQ(lines.size(), setup::kQSOPrefValues);
    EXPECT_EQ(lines[3], "\"ADA\"\r");
    EXPECT_EQ(lines[19], "0\r");
}

// ---- Closing -----------------------------------------------------------------

TEST(StationSetupClose, TheCloseBoxEndsTheProgramAndWritesNothing) {
    for (const QByteArray& prefs : {QByteArray{}, kInStatePrefs}) {
        Loaded f(prefs);
        frmStationID& d = f.Load();
        d.Text1->setText("K9NEW");
        d.close();
        Settle();
        EXPECT_TRUE(f.t->quitting());
        EXPECT_EQ(QFile::exists(f.t.workFile("QSOpref.txt")), !prefs.isEmpty());
        if (!prefs.isEmpty()) {
            EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")), prefs);
        }
        EXPECT_FALSE(QFile::exists(f.xmlPath()));
        EXPECT_EQ(f.t->mainWindow(), nullptr);
        EXPECT_TRUE(f.t.dialogs.shown.empty());
    }
}
