// The logo window: its timers with and without splash.jpg, a click on its
// picture, its place on the screen; and one real-clock run of each timing.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

#include "platform/modal.h"
#include "setup/folders.h"
#include "setup/splash.h"
#include "support/test_program.h"

using setup::frmTavikLogo;
using testing_support::TestProgram;

namespace {

enum class Splash { None, Picture, NotAPicture };

QString splashPath(TestProgram& t) { return t->folders.SharedFolder + "/splash.jpg"; }

void writeSplash(TestProgram& t, Splash splash) {
    if (splash == Splash::Picture) {
        QImage picture(640, 360, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(splashPath(t), "JPG"));
    } else if (splash == Splash::NotAPicture) {
        TestProgram::WriteFile(splashPath(t), "not a JPEG at all");
    }
}

}  // namespace

TEST(LogoWindow, TimersAndPictureWithAndWithoutSplashJpg) {
    struct Case {
        const char* name;
        Splash splash;
        bool picture;       // splash.jpg replaced the logo
        int closeMs;        // Timer1
        bool markTimerRuns; // Timer2
        QSize shown;        // the picture's size in pixels
    };
    const Case cases[] = {
        {"no splash.jpg", Splash::None, false, 1900, true, QSize(1000, 563)},
        {"splash.jpg", Splash::Picture, true, 2700, false, QSize(640, 360)},
        // A file that is no picture is passed over.
        {"unreadable splash.jpg", Splash::NotAPicture, false, 1900, true, QSize(1000, 563)},
    };
    for (const Case& c : cases) {
        TestProgram t;
        writeSplash(t, c.splash);
        frmTavikLogo logo(t.program());
        logo.Form_Load(QSizeF(9600, 7200));
        EXPECT_EQ(logo.ShowsSplashPicture(), c.picture) << c.name;
        EXPECT_EQ(logo.Image1->pixmap().size(), c.shown) << c.name;
        EXPECT_TRUE(logo.Timer1->isActive()) << c.name;
        EXPECT_EQ(logo.Timer1->interval(), c.closeMs) << c.name;
        EXPECT_EQ(logo.Timer2->isActive(), c.markTimerRuns) << c.name;
        EXPECT_EQ(logo.Timer2->interval(), 1100) << c.name;
        EXPECT_TRUE(logo.Image2->isHidden()) << c.name;
        EXPECT_EQ(logo.Image2->pixmap().size(), QSize(316, 85)) << c.name;
        EXPECT_TRUE(t.dialogs.shown.empty()) << c.name;
    }
}

TEST(LogoWindow, TheMarkTickShowsTheMarkAndTheCloseTickUnloads) {
    TestProgram t;
    frmTavikLogo logo(t.program());
    logo.Form_Load(QSizeF(9600, 7200));
    logo.show();
    logo.Timer2_Timer();
    EXPECT_FALSE(logo.Image2->isHidden());
    EXPECT_TRUE(logo.Timer2->isActive());  // later ticks change nothing
    logo.Timer2_Timer();
    EXPECT_TRUE(logo.isVisible());
    logo.Timer1_Timer();
    EXPECT_FALSE(logo.isVisible());
    EXPECT_FALSE(logo.Timer1->isActive());
    EXPECT_FALSE(logo.Timer2->isActive());
}

TEST(LogoWindow, SitsAboveTheMiddleOfTheScreenAtItsDesignSize) {
    for (const QSizeF screen : {QSizeF(9600, 7200), QSizeF(19200, 14400)}) {
        TestProgram t;
        frmTavikLogo logo(t.program());
        logo.Form_Load(screen);
        EXPECT_FLOAT_EQ(logo.Width, 14355);
        EXPECT_FLOAT_EQ(logo.Height, 7920);
        EXPECT_FLOAT_EQ(logo.Left, static_cast<float>((screen.width() - 14355) / 2));
        EXPECT_FLOAT_EQ(logo.Top, static_cast<float>((screen.height() - 7920) / 2 - 170));
        // The picture runs over the window's edges.
        const platform::Control& image = logo.Ctl(logo.Image1);
        EXPECT_FLOAT_EQ(image.Left, -480);
        EXPECT_FLOAT_EQ(image.Top, -240);
        EXPECT_FLOAT_EQ(image.Width, 15060);
        EXPECT_FLOAT_EQ(image.Height, 8505);
        EXPECT_TRUE(logo.windowFlags() & Qt::FramelessWindowHint);
    }
}

TEST(LogoWindow, ItsLoadMakesTheSharedFolderWhenMissing) {
    TestProgram t;
    QDir(t->folders.SharedFolder).removeRecursively();
    frmTavikLogo logo(t.program());
    logo.Form_Load(QSizeF(9600, 7200));
    EXPECT_TRUE(QFileInfo(t->folders.SharedFolder).isDir());
}

TEST(LogoWindow, AClickOnThePictureClosesItAtOnce) {
    TestProgram t;
    frmTavikLogo logo(t.program());
    logo.Form_Load(QSizeF(9600, 7200));
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, [&] {
        // A click on the mark does nothing; one on the picture closes.
        logo.Image2->show();
        QTest::mouseClick(logo.Image2, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_TRUE(logo.isVisible());
        QTest::mouseClick(logo.Image1, Qt::LeftButton, {}, QPoint(100, 100));
    });
    platform::ShowModal(logo);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_LT(clock.elapsed(), 1900);
}

// Real time: the mark appears no sooner than 1.1 s and the window closes no
// sooner than 1.9 s (2.7 s with splash.jpg, where no mark appears). Late is
// allowed, so a slow machine does not fail it.
TEST(LogoWindow, RealClockTimings) {
    struct Case {
        Splash splash;
        std::optional<int> markMs;
        int closeMs;
    };
    for (const Case& c : {Case{Splash::None, 1100, 1900}, Case{Splash::Picture, std::nullopt, 2700}}) {
        TestProgram t;
        writeSplash(t, c.splash);
        frmTavikLogo logo(t.program());
        QElapsedTimer clock;
        std::optional<qint64> markedAt;
        QObject::connect(logo.Timer2, &QTimer::timeout, [&] {
            if (!markedAt) markedAt = clock.elapsed();
        });
        // A window that never closes is closed after 20 s and fails.
        QTimer::singleShot(20000, &logo, [&] { logo.hide(); });
        clock.start();
        logo.Form_Load(QSizeF(9600, 7200));
        platform::ShowModal(logo);
        const qint64 closedAt = clock.elapsed();
        EXPECT_GE(closedAt, c.closeMs);
        EXPECT_LT(closedAt, 20000);
        EXPECT_EQ(markedAt.has_value(), c.markMs.has_value());
        if (markedAt && c.markMs) {
            EXPECT_GE(*markedAt, *c.markMs);
            EXPECT_LT(*markedAt, closedAt);
        }
        EXPECT_EQ(logo.Image2->isHidden(), !c.markMs.has_value());
    }
}
