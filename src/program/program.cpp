#include "program/program.h"

#include <QCoreApplication>
#include <QDir>

#include "entry/contact_edit_dialog.h"
#include "entry/county_change.h"
#include "entry/county_list.h"
#include "mainwindow/form1.h"
#include "mainwindow/main_window.h"
#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "keyers/winkey_frm.h"
#include "rig/rig_control_frm.h"
#include "setup/color_dialog.h"
#include "setup/help_page.h"
#include "setup/station_id.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spectrum_map.h"

Program::Program(const QString& workingFolder, Services services)
    : services_(std::move(services)) {
    folders.WorkingFolder = QDir(workingFolder).absolutePath();
    VersionText = QStringLiteral(OSTREL_VERSION);
    winKey = std::make_unique<keyers::WinKeyLayer>(*this);
}

Program::~Program() = default;

mainwindow::MainWindow& Program::OpenMainWindow() {
    if (!mainWindow_) {
        if (station.StationSide == 0)
            mainWindow_ = std::make_unique<mainwindow::Infrm>(*this);
        else
            mainWindow_ = std::make_unique<mainwindow::Outfrm>(*this);
    }
    return *mainWindow_;
}

void Program::LoadMainWindow(QSizeF screenTwips) { OpenMainWindow().Form_Load(screenTwips); }

Form1& Program::form1() {
    return form1_.Get([this] { return std::make_unique<mainwindow::MainWindowProxy>(*this); });
}

void Program::UnloadForm1() { form1_.Unload(); }

std::unique_ptr<platform::SerialPort> Program::NewSerialPort() {
    if (serialPortFactory) return serialPortFactory();
    return platform::NewSystemSerialPort(folders.WorkingFolder);
}

QString Program::WorkPath(const QString& fileName) const {
    return folders.WorkingFolder + "/" + fileName;
}

void Program::EndProgram() {
    ended_ = true;
    if (services_.endProgram) services_.endProgram();
}

void Program::Quit() {
    quitting_ = true;
    QCoreApplication::quit();
}

void Program::ReportWriteFailure(const QString& systemText) {
    logstore::ReportWriteFailure(dialogs(), systemText);
}

logstore::LogPlace Program::logPlace() {
    return logstore::LogPlace{.WorkingFolder = folders.WorkingFolder,
                              .BackupFolder = folders.BackupFolder(),
                              .PartyState = station.PartyState,
                              .dialogs = dialogs(),
                              .clock = clock(),
                              .endProgram = [this] { EndProgram(); }};
}

bool Program::LoadLog() {
    tally.ClearForLoad();
    return logstore::LoadLog(log, logPlace());
}

bool Program::StartNewLog() {
    const logstore::LogPlace place = logPlace();
    if (!logstore::ConfirmNewLog(place)) return false;
    operating.OperatingSeconds = 0;
    station.BankedOperatingSeconds = 0;
    if (!logstore::EraseLog(log, place)) return false;
    setup::SaveQSOPref(*this);
    LoadLog();
    return true;
}

spotting::PacketSpotfrm& Program::packetSpotfrm() {
    return packetSpotfrm_.Get([this] { return std::make_unique<spotting::PacketSpotfrm>(*this); });
}
void Program::UnloadPacketSpotfrm() { packetSpotfrm_.Unload(); }

spotting::SpectrumMap& Program::spectrumMap() {
    return spectrumMap_.Get([this] { return std::make_unique<spotting::SpectrumMap>(*this); });
}
void Program::UnloadSpectrumMap() { spectrumMap_.Unload(); }
void Program::TuneToSpot(float mhz) {
    if (ChangeFrequency)
        ChangeFrequency(mhz);
    else
        rigControlfrm().ChangeFrequency(mhz);
}
bool Program::SpectrumMapVisible() const {
    return spectrumMap_.IsLoaded() && spectrumMap_.get()->isVisible();
}

keyers::BlindFrm& Program::blindFrm() {
    return blindFrm_.Get([this] { return std::make_unique<keyers::BlindFrm>(*this); });
}
void Program::UnloadBlindFrm() { blindFrm_.Unload(); }

keyers::CWFrm& Program::cwFrm() {
    return cwFrm_.Get([this] { return std::make_unique<keyers::CWFrm>(*this); });
}
void Program::UnloadCWFrm() { cwFrm_.Unload(); }

rig::RigControlfrm& Program::rigControlfrm() {
    return rigControlfrm_.Get([this] { return std::make_unique<rig::RigControlfrm>(*this); });
}
void Program::UnloadRigControlfrm() { rigControlfrm_.Unload(); }

keyers::PhoneFrm& Program::phoneFrm() {
    return phoneFrm_.Get([this] { return std::make_unique<keyers::PhoneFrm>(*this); });
}
void Program::UnloadPhoneFrm() { phoneFrm_.Unload(); }

setup::frmStationID& Program::frmStationID() {
    return frmStationID_.Get([this] { return std::make_unique<setup::frmStationID>(*this); });
}
void Program::UnloadFrmStationID() { frmStationID_.Unload(); }

entry::frmCountyList& Program::frmCountyList() {
    return frmCountyList_.Get([this] { return std::make_unique<entry::frmCountyList>(*this); });
}
void Program::UnloadFrmCountyList() { frmCountyList_.Unload(); }

entry::ContactEditDialog& Program::contactEditDialog() {
    return contactEditDialog_.Get([this]() -> std::unique_ptr<entry::ContactEditDialog> {
        const bool outside = mainWindow_ ? mainWindow_->side() == mainwindow::Side::Out
                                         : station.StationSide == 1;
        if (outside) return std::make_unique<entry::EditNoRstNoPtsOut>(*this);
        return std::make_unique<entry::WIEditInfrm>(*this);
    });
}
void Program::UnloadContactEditDialog() { contactEditDialog_.Unload(); }

entry::frmCountyChange& Program::frmCountyChange() {
    return frmCountyChange_.Get([this] { return std::make_unique<entry::frmCountyChange>(*this); });
}
void Program::UnloadFrmCountyChange() { frmCountyChange_.Unload(); }

setup::Form5& Program::form5() {
    return form5_.Get([this] { return std::make_unique<setup::Form5>(*this); });
}
void Program::UnloadForm5() { form5_.Unload(); }

setup::Form6& Program::form6() {
    return form6_.Get([this] { return std::make_unique<setup::Form6>(*this); });
}
void Program::UnloadForm6() { form6_.Unload(); }
