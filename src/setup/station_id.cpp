#include "setup/station_id.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

#include "entry/county_list.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "logstore/county_table.h"
#include "logstore/record.h"
#include "platform/key_adapter.h"
#include "platform/option_buttons.h"
#include "platform/sel_start.h"
#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/folders.h"
#include "setup/key_filters.h"
#include "setup/reference_tables.h"
#include "setup/resize.h"
#include "setup/station.h"

namespace setup {

namespace {

const QString kPartyState = QStringLiteral("WI");

// The captions of optState(0) to optState(49).
constexpr std::array<const char*, kStateOptions> kStateCodes = {
    "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "IA", "ID",
    "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS", "MT",
    "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR", "PA", "RI",
    "SC", "SD", "TN", "TX", "UT", "VA", "VT", "WA", "WI", "WV", "WY"};

// The number a box holds as a single-precision value; std::nullopt when the
// text is no number or none that single precision holds.
std::optional<float> singleOf(const QString& text) {
    const std::optional<double> value = logstore::ParseNumber(QStringView(text).trimmed());
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*value);
}

// The rows of the dialog, top to bottom.
constexpr float kRowTop = 120;
constexpr float kRowStep = 375;
constexpr float kLabelLeft = 120;
constexpr float kLabelWidth = 2400;
constexpr float kBoxLeft = 2580;
constexpr float kBoxWidth = 2325;
constexpr float kBoxHeight = 315;

float rowTop(int row) { return kRowTop + kRowStep * static_cast<float>(row); }

}  // namespace

frmStationID::frmStationID(Program& program)
    : program_(program), screen_(platform::ScreenSizeTwips()) {
    setWindowTitle(QStringLiteral(" Setup Information"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    // Its close box ends the program.
    SetDesignClientSize(5025, 5310);
    buildRows();
    buildFrames();
    attachKeys();
    Apply();
}

frmStationID::~frmStationID() = default;

void frmStationID::buildRows() {
    struct Row {
        const char* label;
        const char* labelName;
        QLineEdit** box;
        const char* boxName;
        float width;
    };
    const Row rows[] = {
        {"Please Enter your Call Sign:", "Label1", &Text1, "Text1", kBoxWidth},
        {"Your State / Province:", "Label5", &Text5, "Text5", kBoxWidth},
        {"Home County Abbr:", "Label8", &Text8, "Text8", 735},
        {"Hours added for UTC:", "Label6", &Text6, "Text6", 1095},
        {"Your Country:", "Label2", &Text2, "Text2", kBoxWidth},
        {"Your Longitude:", "Label3", &Text3, "Text3", 1095},
        {"Your Latitude:", "Label4", &Text4, "Text4", 1095},
        {"Your Continent:", "Label7", &Text7, "Text7", 735},
        {"Operating County Abbr:", "Label9", &Text9, "Text9", 735},
    };
    int row = 0;
    for (const Row& r : rows) {
        const float top = rowTop(row++);
        AddLabel(QString::fromLatin1(r.labelName), QString::fromLatin1(r.label), kLabelLeft,
                 top + 45, kLabelWidth, 255);
        *r.box = AddTextBox(QString::fromLatin1(r.boxName), QString(), kBoxLeft, top, r.width,
                            kBoxHeight);
    }
    Text8->setMaxLength(3);
    Text9->setMaxLength(3);
    Text6->setMaxLength(7);
    Command2 = AddCommandButton(QStringLiteral("Command2"), QStringLiteral("&List"), 3435,
                                rowTop(2), 900, kBoxHeight);
    // A click leaves the focus in the home-county box, so its check does not
    // stand between the operator and the list of valid abbreviations.
    Command2->setFocusPolicy(Qt::TabFocus);
    connect(Command2, &QPushButton::clicked, this, &frmStationID::Command2_Click);

    // Values carried through the dialog but not shown.
    const Row hidden[] = {
        {"Your Name:", "Label10", &Text10, "Text10", kBoxWidth},
        {"Your Category:", "Label11", &Text11, "Text11", kBoxWidth},
        {"Your City:", "Label12", &Text12, "Text12", kBoxWidth},
    };
    row = 15;
    for (const Row& r : hidden) {
        const float top = rowTop(row++);
        AddLabel(QString::fromLatin1(r.labelName), QString::fromLatin1(r.label), kLabelLeft,
                 top + 45, kLabelWidth, 255)
            ->hide();
        *r.box = AddTextBox(QString::fromLatin1(r.boxName), QString(), kBoxLeft, top, r.width,
                            kBoxHeight);
        (*r.box)->hide();
    }
}

void frmStationID::buildFrames() {
    // The two questions, one under the other, each frame the dialog's width.
    Frame2 = AddFrame(QStringLiteral("Frame2"), QStringLiteral("Are you in Dudurozuz?"), 120, 3480,
                      4785, 600);
    Option1 = AddOptionButton(QStringLiteral("Option1"), QStringLiteral("Yes"), 240, 270, 1200, 255,
                              Frame2);
    Option2 = AddOptionButton(QStringLiteral("Option2"), QStringLiteral("No"), 1560, 270, 1200, 255,
                              Frame2);
    Frame3 = AddFrame(QStringLiteral("Frame3"), QStringLiteral("Are you operating as a Rover?"),
                      120, 4140, 4785, 600);
    Option4 = AddOptionButton(QStringLiteral("Option4"), QStringLiteral("Yes"), 240, 270, 1200, 255,
                              Frame3);
    Option3 = AddOptionButton(QStringLiteral("Option3"), QStringLiteral("No"), 1560, 270, 1200, 255,
                              Frame3);
    platform::OnSelected(Option1, [this] { Option1_Click(); });
    platform::OnSelected(Option2, [this] { Option2_Click(); });

    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Done"), 1830, 4815, 1365,
                                420);
    connect(Command1, &QPushButton::clicked, this, &frmStationID::Command1_Click);

    Frame1 = AddFrame(QStringLiteral("Frame1"), QStringLiteral("Please select the state QSO party:"),
                      5280, 120, 4800, 2700);
    for (int i = 0; i < kStateOptions; ++i) {
        const float left = 120 + static_cast<float>(i / 10) * 930;
        const float top = 300 + static_cast<float>(i % 10) * 235;
        QRadioButton* option =
            AddOptionButton(QStringLiteral("optState(%1)").arg(i),
                            QString::fromLatin1(kStateCodes[static_cast<std::size_t>(i)]), left, top,
                            870, 225, Frame1);
        optState[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { optState_Click(i); });
    }

    setTabOrder(Text1, Text5);
    setTabOrder(Text5, Text8);
    setTabOrder(Text8, Text6);
    setTabOrder(Text6, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Text7);
    setTabOrder(Text7, Text9);
    setTabOrder(Text9, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option4);
    setTabOrder(Option4, Option3);
    setTabOrder(Option3, Command1);
    setTabOrder(Command1, Command2);
}

void frmStationID::attachKeys() {
    keys_ = new platform::KeyAdapter(this);
    // Enter in any box but the country's runs "Done"; then the box's filter.
    auto attach = [this](QLineEdit* box, void (*filter)(int&)) {
        keys_->Attach(box, {.keyPress = [this, filter](int& KeyAscii) {
                                if (KeyAscii == platform::vbKeyReturn) {
                                    KeyAscii = 0;
                                    Command1_Click();
                                    return;
                                }
                                filter(KeyAscii);
                            }});
    };
    for (QLineEdit* box : {Text1, Text5, Text7, Text9, Text10, Text11, Text12}) attach(box, &Cap3);
    attach(Text8, &Cap);
    for (QLineEdit* box : {Text6, Text3, Text4}) attach(box, &NumBerr);
    keys_->Attach(Text2, {.keyPress = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); }});
    for (QLineEdit* box : {Text6, Text8, Text9}) box->installEventFilter(this);
}

void frmStationID::Cap3(int& KeyAscii) {
    if (KeyAscii != platform::vbKeyTab) Cap(KeyAscii);
}

void frmStationID::NumBerr(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyBack) return;
    if (KeyAscii < '-' || KeyAscii > '9') KeyAscii = 0;
}

// ---- Load ----

template <typename Step>
void frmStationID::loadStep(const QString& file, Step&& step) {
    bool done = false;
    try {
        done = step();
    } catch (const std::exception&) {
        done = false;
    }
    if (!done)
        program_.dialogs().MsgBox("Error opening file " + QDir::toNativeSeparators(file),
                                  platform::vbOKOnly, QStringLiteral("Error opeining file"));
}

void frmStationID::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void frmStationID::Form_Load(QSizeF screenTwips) {
    screen_ = screenTwips;
    ResizeForm(*this, screenTwips);

    // The station settings: first-run values with the offset the clock
    // implies, then whatever QSOpref.txt holds.
    Station& st = program_.station;
    st = FirstRunStation();
    st.UTCOffsetHours = ClockUTCOffset(program_);
    const QString prefFile = program_.WorkPath(QStringLiteral("QSOpref.txt"));
    firstStart_ = !QFileInfo::exists(prefFile);
    if (!firstStart_) loadStep(prefFile, [&] { return LoadQSOPref(program_); });
    st.PartyState = kPartyState;
    CheckUTCOffset(program_);

    const QString prefixFile = PrefixTablePath(program_);
    loadStep(prefixFile, [&] { return LoadPrefixTable(program_); });
    loadStep(program_.WorkPath(QStringLiteral("states.txt")),
             [&] { return LoadStatePositionTable(program_); });

    for (int i = 0; i < kStateOptions; ++i) {
        QRadioButton* option = optState[static_cast<std::size_t>(i)];
        const bool party = option->text() == st.PartyState;
        if (party) {
            option->setChecked(true);
        } else {
            platform::ClearOption(option);
        }
        platform::FontModel font = Ctl(option).Font;
        font.Bold = party;
        SetFont(option, font);
    }
    // Selecting an option runs its click: "No" disables the rover choice.
    (st.StationSide != 0 ? Option2 : Option1)->setChecked(true);
    (st.RoverMode == 1 ? Option4 : Option3)->setChecked(true);

    loadStep(program_.WorkPath(QStringLiteral("county2.txt")),
             [&] { return logstore::LoadCountyTable(program_.counties, program_.logPlace()); });
    loadStep(program_.WorkPath(keyers::kVoiceSettingsFile),
             [&] { return keyers::LoadVoiceSettings(program_); });
    // CW.txt is read whatever wave2.txt gave; its reader passes over its
    // own failures.
    keyers::LoadCWSettings(program_);
    fillBoxes();
}

void frmStationID::fillBoxes() {
    const Station& st = program_.station;
    Text1->setText(st.OwnCall);
    Text5->setText(st.OwnSPC);
    Text6->setText(logstore::FormatSingle(st.UTCOffsetHours));
    Text2->setText(st.OwnCountry);
    Text3->setText(logstore::FormatSingle(st.OwnLongitude));
    Text4->setText(logstore::FormatSingle(st.OwnLatitude));
    Text7->setText(st.OwnContinent);
    Text9->setText(st.OperatingCounty);
    Text8->setText(st.HomeCounty);
    Text10->setText(st.OwnName);
    Text11->setText(st.OwnCategory);
    Text12->setText(st.OwnCity);
}

void frmStationID::Form_Unload() {
    unloading_ = true;
    leftBoxes_.clear();
}

void frmStationID::closeEvent(QCloseEvent* event) {
    event->accept();
    if (unloading_) return;
    // No other window is on the screen: closing the dialog ends the run,
    // with nothing saved.
    unloading_ = true;
    leftBoxes_.clear();
    program_.Quit();
}

// ---- Options ----

void frmStationID::Option1_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Option3, Option4}) w->setEnabled(true);
}

void frmStationID::Option2_Click() {
    Option3->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Option3, Option4})
        w->setEnabled(false);
}

void frmStationID::optState_Click(int Index) {
    for (std::size_t i = 0; i < optState.size(); ++i) {
        platform::FontModel font = Ctl(optState[i]).Font;
        font.Bold = static_cast<int>(i) == Index;
        SetFont(optState[i], font);
    }
}

// ---- Boxes ----

void frmStationID::Text2_KeyPress(int& KeyAscii) {
    // The caret is the start of the selection: a key typed over a selection
    // replaces it (entering the box by Tab selects the whole text).
    const int caret = platform::SelStart(Text2);
    if (caret == 0) Cap3(KeyAscii);
    if (KeyAscii == 0) return;
    const QString typed = Text2->text().left(caret) + QChar(KeyAscii);
    const PrefixTable& prefixes = program_.prefixes;
    for (int i = prefixes.PrefixCount; i >= 1; --i) {
        const PrefixRow& row = prefixes.row(i);
        if (!row.country.startsWith(typed, Qt::CaseInsensitive)) continue;
        const QString rest = row.country.mid(typed.size());
        Text2->setText(typed + rest);
        // The caret after the typed part, the rest selected.
        Text2->setCursorPosition(static_cast<int>(Text2->text().size()));
        Text2->cursorBackward(true, static_cast<int>(rest.size()));
        KeyAscii = 0;
        Text3->setText(logstore::FormatSingle(row.longitude));
        Text4->setText(logstore::FormatSingle(row.latitude));
        Text7->setText(row.continent);
        return;
    }
}

bool frmStationID::partyStation() const {
    return Text5->text().compare(kPartyState, Qt::CaseInsensitive) == 0;
}

bool frmStationID::checkCounty(QLineEdit* box, QLineEdit* other) {
    const QString text = box->text();
    if (!partyStation() || text.isEmpty()) return true;
    const logstore::CountyTable& counties = program_.counties;
    for (int i = 1; i <= counties.CountyCount; ++i) {
        if (counties.CountyAbbrevs[static_cast<std::size_t>(i)].compare(text, Qt::CaseInsensitive) ==
            0) {
            if (other->text().isEmpty()) other->setText(text);
            return true;
        }
    }
    program_.dialogs().MsgBox(text + " is not a valid county abbreviation.  Please enter a valid "
                                     "county abbreviation for your county.",
                              platform::vbOKOnly | platform::vbInformation,
                              QStringLiteral("Valid Abbreviation Required"));
    box->setFocus();
    return false;
}

bool frmStationID::Text8_LostFocus() { return checkCounty(Text8, Text9); }
bool frmStationID::Text9_LostFocus() { return checkCounty(Text9, Text8); }

bool frmStationID::Text6_LostFocus() {
    const std::optional<float> hours = singleOf(Text6->text());
    if (!hours) {
        program_.dialogs().Beep();
        Text6->setFocus();
        return false;
    }
    return offsetInRange();
}

bool frmStationID::offsetInRange() {
    // An offset beyond any time zone would put every logged date out of
    // reach of the contest (or of the calendar).
    const std::optional<float> hours = singleOf(Text6->text());
    if (!hours || UTCOffsetInRange(*hours)) return true;
    program_.dialogs().MsgBox(
        QStringLiteral("%1 is not a valid UTC offset.  Please enter the hours added to your local "
                       "time for UTC, from -14 to 14.")
            .arg(Text6->text()),
        platform::vbOKOnly | platform::vbExclamation, QStringLiteral("Invalid UTC Offset"));
    Text6->setFocus();
    return false;
}

bool frmStationID::leaveCheck(QLineEdit* box) {
    if (box == Text6) return Text6_LostFocus();
    if (box == Text8) return Text8_LostFocus();
    if (box == Text9) return Text9_LostFocus();
    return true;
}

bool frmStationID::runLeaveChecks() {
    while (!leftBoxes_.empty()) {
        QPointer<QLineEdit> box = leftBoxes_.front();
        leftBoxes_.pop_front();
        if (box && !unloading_ && !leaveCheck(box)) {
            leftBoxes_.clear();
            return false;
        }
    }
    return true;
}

bool frmStationID::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !unloading_) {
        // The operator leaves the box: by Tab, a click or a shortcut. Focus
        // moved by the program, or lost to another window, is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
            leftBoxes_.emplace_back(static_cast<QLineEdit*>(watched));
            // The check runs once the key or click that moved the focus is
            // done, so its message never interrupts a click half-way.
            QTimer::singleShot(0, this, [this] { runLeaveChecks(); });
        }
    }
    return platform::Form::eventFilter(watched, event);
}

// ---- Buttons ----

void frmStationID::Command2_Click() {
    program_.station.StationSide = 2;
    entry::ShowCountyList(program_);
    Text8->setFocus();
}

void frmStationID::Command1_Click() {
    if (inDone_ || unloading_) return;
    // A box the operator has just left is checked first.
    if (!runLeaveChecks()) return;
    if (partyStation()) {
        if (Text8->text().isEmpty()) {
            program_.dialogs().MsgBox(QStringLiteral("Please enter your home county!"),
                                      platform::vbOKOnly, QStringLiteral("Home County Required"));
            Text8->setFocus();
            return;
        }
        if (Text9->text().isEmpty()) {
            program_.dialogs().MsgBox(QStringLiteral("Please enter your operating county!"),
                                      platform::vbOKOnly,
                                      QStringLiteral("Operating County Required"));
            Text9->setFocus();
            return;
        }
        // The operating county becomes the county sent of every contact:
        // both abbreviations are checked here, as leaving their boxes does,
        // also when Enter in a box ran Done or a box was never visited.
        if (!Text8_LostFocus() || !Text9_LostFocus()) return;
    }
    inDone_ = true;
    saveAndOpenMainWindow();
    inDone_ = false;
}

void frmStationID::saveAndOpenMainWindow() {
    for (QLineEdit* box : {Text6, Text3, Text4})
        if (!singleOf(box->text())) box->setText(QStringLiteral("0"));
    if (!offsetInRange()) return;

    Station& st = program_.station;
    st.StationSide = Option1->isChecked() ? 0 : 1;
    st.RoverMode = Option4->isChecked() ? 1 : 0;
    st.OwnCall = Text1->text();
    st.OwnSPC = Text5->text();
    st.UTCOffsetHours = singleOf(Text6->text()).value_or(0);
    st.OwnCountry = Text2->text();
    st.OwnLongitude = singleOf(Text3->text()).value_or(0);
    st.OwnLatitude = singleOf(Text4->text()).value_or(0);
    st.OwnContinent = Text7->text();
    st.OperatingCounty = Text9->text();
    st.HomeCounty = Text8->text();
    st.OwnName = Text10->text();
    st.OwnCategory = Text11->text();
    st.OwnCity = Text12->text();
    SaveQSOPref(program_);

    // The shared keys, written once, after the last.
    const std::pair<const char*, QLineEdit*> keys[] = {
        {"OWN_CALL", Text1},      {"OWN_SPC", Text5},       {"OWN_UTC", Text6},
        {"OWN_COUNTY", Text8},    {"OWN_COUNTRY", Text2},   {"OWN_LONGITUDE", Text3},
        {"OWN_LATITUDE", Text4},  {"OWN_CONTINENT", Text7}, {"OWN_ARRL_SECTION", Text9},
    };
    for (std::size_t i = 0; i < std::size(keys); ++i)
        SetSharedPref(program_, QString::fromLatin1(keys[i].first), keys[i].second->text(),
                      i + 1 == std::size(keys));

    // On a first start there is no log yet: an empty one lets the start-up
    // question's "Yes" open it, so the operator can log at once.
    const QString logFile = program_.WorkPath(QStringLiteral("log.txt"));
    if (firstStart_ && !QFileInfo::exists(logFile)) {
        QString error;
        if (!platform::WriteFileAtomically(logFile, QByteArray(), &error))
            program_.ReportWriteFailure(error);
    }

    // The main window's load closes this dialog first (it is deleted once
    // this click is done).
    program_.LoadMainWindow(screen_);
}

}  // namespace setup
