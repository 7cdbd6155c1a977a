// The logger: one QApplication, one program context over the current folder,
// and the start-up road from the logo through the station set-up dialog to
// the main window.
#include <QApplication>
#include <QDir>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/wave_player.h"
#include "program/program.h"
#include "setup/splash.h"

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

    // The logo, the folders and the set-up dialog; the dialog's "Done" opens
    // the main window, and closing either of them ends the run.
    setup::StartUp(program);
    if (program.ended()) return 1;
    if (program.quitting()) return 0;
    return app.exec();
}
