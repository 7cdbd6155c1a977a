// The logger: one QApplication, one program context over the current folder.
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/wave_player.h"
#include "program/program.h"
#include "setup/folders.h"

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

    // The main window placeholder until the logging windows stand.
    QMainWindow window;
    window.setWindowTitle(program.VersionText);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
