#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "setup/folders.h"
#include "support/file_size_limit.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {
bool isDir(const QString& path) { return QFileInfo(path).isDir(); }
}  // namespace

TEST(DataFolders, WithoutAProfileTheUserDataRootHoldsEverything) {
    TestProgram t;
    QDir(t.root()).rmdir("xdg");  // the root itself is made when missing
    setup::PrepareFolders(t.program());
    const QString maker = t.root() + "/xdg/Tavik Software";
    EXPECT_EQ(t->folders.DataFolder, maker + "/Dudurozuz");
    EXPECT_EQ(t->folders.SharedFolder, maker + "/Shared");
    EXPECT_TRUE(isDir(maker + "/Dudurozuz/BACKUP"));
    EXPECT_TRUE(isDir(maker + "/Shared"));
    EXPECT_EQ(t->sharedPrefs.PrefsXmlPath, maker + "/Shared/SharedUserPreferences.xml");
    EXPECT_EQ(t->sharedPrefs.PrefsXmlText, setup::kXmlDeclaration);
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(DataFolders, ProfileFoldersAreChosenInTheirOrder) {
    struct Case {
        const char* name;
        QStringList existing;  // folders made before the search, under the temporary root
        QString root;          // the expected maker folder
    };
    const Case cases[] = {
        {"visible My Documents", {"p/My Documents", "p/Documents"}, "p/My Documents/Tavik Software"},
        // A missing My Documents is made silently and then used.
        {"My Documents made", {"p"}, "p/My Documents/Tavik Software"},
        // A name differing only in case counts as present and is used as spelled.
        {"case ignored", {"p/my documents/tavik software"}, "p/my documents/tavik software"},
    };
    for (const Case& c : cases) {
        TestProgram t({"p", "a"});
        for (const QString& f : c.existing) QDir(t.root()).mkpath(f);
        const QString root = setup::FindDataFolder(t.program(), setup::kMakerFolder, "/Dudurozuz");
        EXPECT_EQ(root, t.root() + "/" + c.root) << c.name;
        EXPECT_TRUE(isDir(root + "/Dudurozuz")) << c.name;
        EXPECT_TRUE(t.dialogs.shown.empty()) << c.name;
    }
}

TEST(DataFolders, ProfileWithoutDocumentFoldersUsesBothProfileAndAppData) {
    TestProgram t({"p", "a"});
    QDir(t.root()).mkpath("a");
    // The profile's My Documents cannot be made: a file stands in its parent's place.
    TestProgram::WriteFile(t.root() + "/p", "not a folder");
    const QString root = setup::FindDataFolder(t.program(), setup::kMakerFolder, "/Shared");
    EXPECT_EQ(root, t.root() + "/a/Tavik Software");
    EXPECT_TRUE(isDir(root + "/Shared"));
    // The profile's pair could not be made either; each failure was reported.
    std::vector<QString> titles = t.dialogs.titles();
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[0], "Unable to create directory.");
    EXPECT_TRUE(t.dialogs.shown[0].text.endsWith("  " + t.root() + "/p/Tavik Software"));
}

TEST(DataFolders, ProfileWithoutAppDataStaysInTheUserDataRoot) {
    TestProgram t({"p", ""});
    TestProgram::WriteFile(t.root() + "/p", "not a folder");
    const QString root = setup::FindDataFolder(t.program(), setup::kMakerFolder, "/Shared");
    EXPECT_EQ(root, t.root() + "/xdg/Tavik Software");
    EXPECT_TRUE(isDir(root + "/Shared"));
}

TEST(DataFolders, MakeDirectoryReportsAsAsked) {
    TestProgram t;
    EXPECT_FALSE(setup::MakeDirectory(t.program(), "", false));
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to Create Directory");
    EXPECT_EQ(t.dialogs.shown[0].text, "Invalid Path");

    EXPECT_FALSE(setup::MakeDirectory(t.program(), t.root() + "/no/such", false));
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_FALSE(setup::MakeDirectory(t.program(), t.root() + "/no/such", true));
    ASSERT_EQ(t.dialogs.shown.size(), 2u);
    EXPECT_EQ(t.dialogs.shown[1].title, "Unable to create directory.");
    EXPECT_EQ(t.dialogs.shown[1].text, "No such file or directory  " + t.root() + "/no/such");
    EXPECT_TRUE(setup::MakeDirectory(t.program(), t.root() + "/new", true));
    EXPECT_TRUE(isDir(t.root() + "/new"));
}

TEST(SharedPrefs, KeysAreUpdatedInPlaceAndOthersKeptByteForByte) {
    TestProgram t;
    const QString path = t->folders.SharedFolder + "/SharedUserPreferences.xml";
    setup::LoadSharedPrefs(t.program(), path);
    setup::SetSharedPref(t.program(), "own_spc", "WI", false);
    EXPECT_FALSE(QFileInfo::exists(path));
    ASSERT_TRUE(setup::SetSharedPref(t.program(), "OWN_COUNTRY", "USA", true));
    const QByteArray three =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_SPC>WI</OWN_SPC>\r\n"
        "<OWN_COUNTRY>USA</OWN_COUNTRY>\r\n";
    EXPECT_EQ(TestProgram::ReadFile(path), three);

    // Another program's keys, one of them in lower case, stay where they are.
    const QByteArray shared =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OTHER_KEY>x &lt; y</OTHER_KEY>\r\n"
        "<OWN_CALL>K1ABC</OWN_CALL>\r\n<own_county>dan</own_county>\r\n<LAST>1</LAST>\r\n";
    TestProgram::WriteFile(path, shared);
    setup::LoadSharedPrefs(t.program(), path);
    ASSERT_TRUE(setup::SaveSharedPrefs(t.program(), path));
    EXPECT_EQ(TestProgram::ReadFile(path), shared);  // loaded and saved unchanged

    setup::SetSharedPref(t.program(), "OWN_CALL", "", false);
    setup::SetSharedPref(t.program(), "OWN_COUNTY", "A<B&C", false);
    ASSERT_TRUE(setup::SetSharedPref(t.program(), "OWN_CALL", "N0CALL", true));
    EXPECT_EQ(TestProgram::ReadFile(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OTHER_KEY>x &lt; y</OTHER_KEY>\r\n"
              "<OWN_CALL>N0CALL</OWN_CALL>\r\n<own_county>dan</own_county>\r\n<LAST>1</LAST>\r\n"
              "<OWN_COUNTY>A<B&C</OWN_COUNTY>\r\n");
}

TEST(SharedPrefs, OddStoresAreMendedNotBroken) {
    TestProgram t;
    const QString path = t->folders.SharedFolder + "/SharedUserPreferences.xml";
    // Written by another program without a final line end, with an unclosed key.
    TestProgram::WriteFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<OWN_CALL>K1ABC\n<X>1</X>");
    setup::LoadSharedPrefs(t.program(), path);
    ASSERT_TRUE(setup::SetSharedPref(t.program(), "OWN_CALL", "N0CALL", true));
    EXPECT_EQ(TestProgram::ReadFile(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<OWN_CALL>N0CALL</OWN_CALL>\n<X>1</X>\r\n");

    // An unclosed element with another after it on its line: only its own
    // value is replaced, the other element stays, and a closing tag of the
    // same key on a later line is left alone.
    const struct {
        const char* stored;
        const char* saved;
    } lines[] = {
        {"<OWN_SPC>IL<OWN_CALL>K1ABC</OWN_CALL>\r\n<Y>2</Y>",
         "<OWN_SPC>WI</OWN_SPC><OWN_CALL>K1ABC</OWN_CALL>\r\n<Y>2</Y>\r\n"},
        {"<OWN_SPC>IL\r\n<Y>2</Y><OWN_SPC>x</OWN_SPC>",
         "<OWN_SPC>WI</OWN_SPC>\r\n<Y>2</Y><OWN_SPC>x</OWN_SPC>\r\n"},
        {"<OWN_SPC>\r\n</OWN_SPC>", "<OWN_SPC>WI</OWN_SPC>\r\n</OWN_SPC>\r\n"},
    };
    for (const auto& line : lines) {
        const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";
        TestProgram::WriteFile(path, declaration + line.stored + "\r\n");
        setup::LoadSharedPrefs(t.program(), path);
        ASSERT_TRUE(setup::SetSharedPref(t.program(), "OWN_SPC", "WI", true));
        EXPECT_EQ(TestProgram::ReadFile(path), declaration + line.saved) << line.stored;
    }

    // A failed save says so and keeps the old file.
    const QByteArray before = TestProgram::ReadFile(path);
    {
        testing_support::FileSizeLimit full(10);
        EXPECT_FALSE(setup::SetSharedPref(t.program(), "OWN_SPC", "WI", true));
    }
    EXPECT_EQ(TestProgram::ReadFile(path), before);
    EXPECT_EQ(t.dialogs.titles(), std::vector<QString>{"Unable to write file."});
}

TEST(CallFileStem, LeadingCapitalsAndDigits) {
    const std::pair<QString, QString> cases[] = {
        {"W9ABC/P", "W9ABC"}, {"N0CALL", "N0CALL"}, {"", "YourCall"},
        {"w9abc", "YourCall"}, {"W9-ABC", "W9"},    {"VE3/W9ABC", "VE3"},
    };
    for (const auto& [call, stem] : cases) EXPECT_EQ(setup::CallFileStem(call), stem) << call.toStdString();
}
