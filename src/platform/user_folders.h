#pragma once
// Where per-user data lives. USERPROFILE and APPDATA keep their roles when an
// operator sets them; otherwise the data root is the XDG data home.
#include <QString>

namespace platform {

struct UserFolders {
    QString userProfile;   // USERPROFILE, normally empty on Linux
    QString appData;       // APPDATA, normally empty on Linux
    QString fallbackRoot;  // the root used when there is no profile folder

    // Reads the variables of the running process: the fallback root is APPDATA
    // when set, else $XDG_DATA_HOME, else ~/.local/share.
    static UserFolders FromEnvironment();
};

}  // namespace platform
