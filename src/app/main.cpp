// The logger: one QApplication, one program context over the current folder.
#include <QApplication>
#include <QDir>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "platform/wave_player.h"
#include "program/program.h"
#include "setup/folders.h"
#include "setup/reference_tables.h"
#include "setup/station.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ostrel");

    platform::QtDialogs dialogs;
    platform::SystemClock clock;
    platform::SettingsStore settings(platform::SettingsStore::DefaultPath());
    platform::QtSoundOutput sound;
    Program program(QDir::currentPath(),
                    Program::Services{dialogs, clock, settings, sound,
                                      platform::UserFolders::FromEnvironment(),
                                      [] { std::exit(1); }});
    setup::PrepareFolders(program);

    // The station settings and reference tables, then the main window of the
    // stored station side.
    program.station = setup::FirstRunStation();
    if (setup::LoadQSOPref(program)) {
        program.station.PartyState = QStringLiteral("WI");
        setup::CheckUTCOffset(program);
    }
    setup::LoadPrefixTable(program);
    setup::LoadStatePositionTable(program);
    logstore::LoadCountyTable(program);
    program.OpenMainWindow().Form_Load();
    if (program.ended()) return 1;
    return app.exec();
}
