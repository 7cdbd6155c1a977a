#include "platform/user_folders.h"

#include <QDir>
#include <QProcessEnvironment>

namespace platform {

UserFolders UserFolders::FromEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    UserFolders f;
    f.userProfile = env.value("USERPROFILE");
    f.appData = env.value("APPDATA");
    if (!f.appData.isEmpty()) {
        f.fallbackRoot = f.appData;
    } else if (!env.value("XDG_DATA_HOME").isEmpty()) {
        f.fallbackRoot = env.value("XDG_DATA_HOME");
    } else {
        f.fallbackRoot = QDir::homePath() + "/.local/share";
    }
    return f;
}

}  // namespace platform
