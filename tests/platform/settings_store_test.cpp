#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/settings_store.h"

TEST(SettingsStore, ValuesSurviveAFreshStoreOverTheSameFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/settings.ini";
    {
        platform::SettingsStore store(path);
        EXPECT_EQ(store.GetSetting("Tavik_Software", "Settings", "UserCWSelection", "0"), "0");
        store.SaveSetting("Tavik_Software", "Settings", "UserCWSelection", "2");
        store.SaveSetting("Tavik_Software", "Settings", "UserAddressLine1", "1 Main St, Apt 2");
    }
    platform::SettingsStore again(path);
    EXPECT_EQ(again.GetSetting("Tavik_Software", "Settings", "UserCWSelection"), "2");
    EXPECT_EQ(again.GetSetting("Tavik_Software", "Settings", "UserAddressLine1"), "1 Main St, Apt 2");
    EXPECT_EQ(again.GetSetting("Tavik_Software", "Other", "UserCWSelection", "x"), "x");
}
