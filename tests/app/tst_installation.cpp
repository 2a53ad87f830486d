// Where K40 keeps its settings and finds its data, run from its build folder
// and installed, and where its windows stand on a screen smaller than the one
// their positions were stored on.
#include "K40Rig.h"
#include "app/WindowPlacement.h"
#include "model/SettingsFile.h"
#include "model/VoiceSettingsFile.h"

#include <QtTest>

namespace {

// A window manager without frames on screens of the test's choosing.
class ScreensOfTest : public WindowPlacement {
public:
    explicit ScreensOfTest(QList<QRect> areas) : areas_(std::move(areas)) {}
    QPoint framePosition(const QWidget& w) const override { return w.pos(); }
    void moveFrameTo(QWidget& w, const QPoint& p) override { w.move(p); }
    QSize frameSize(const QWidget& w) const override { return w.size(); }
    QRect screenArea() const override { return areas_.value(0); }
    QList<QRect> usableAreas() const override { return areas_; }

private:
    QList<QRect> areas_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// Makes the installed layout <root>/bin/K40, <root>/share/k40 under root.
void makeInstalledLayout(const QString& root) {
    QDir(root).mkpath(QStringLiteral("bin"));
    QDir(root).mkpath(QStringLiteral("share/k40/sample"));
    QDir(root).mkpath(QStringLiteral("share/k40/plugins"));
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void settingsLocation_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<bool>("sharedData");
        QTest::addColumn<bool>("xdgSet");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("voices");
        QTest::addColumn<QString>("data");
        QTest::newRow("build folder") << "build/K40" << false << true << "build/K40.in4"
                                      << "build/voices" << "build";
        // A copy in a folder named bin without the data beside it is not installed.
        QTest::newRow("bin without share/k40") << "bin/K40" << false << true << "bin/K40.in4"
                                               << "bin/voices" << "bin";
        QTest::newRow("installed") << "bin/K40" << true << true << "config/K40/K40.in4"
                                   << "xdgdata/K40/voices" << "share/k40";
        QTest::newRow("installed, no XDG variables")
            << "bin/K40" << true << false << "home/.config/K40/K40.in4"
            << "home/.local/share/K40/voices" << "share/k40";
        QTest::newRow("installed under another name") << "bin/K41" << true << true
                                                      << "config/K41/K41.in4"
                                                      << "xdgdata/K41/voices" << "share/k40";
    }
    void settingsLocation() {
        QFETCH(QString, executable);
        QFETCH(bool, sharedData);
        QFETCH(bool, xdgSet);
        QFETCH(QString, settings);
        QFETCH(QString, voices);
        QFETCH(QString, data);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        if (sharedData) makeInstalledLayout(root);
        ScopedEnv home("HOME", (root + QStringLiteral("home")).toUtf8());
        ScopedEnv config("XDG_CONFIG_HOME",
                         xdgSet ? (root + QStringLiteral("config")).toUtf8() : QByteArray());
        ScopedEnv share("XDG_DATA_HOME",
                        xdgSet ? (root + QStringLiteral("xdgdata")).toUtf8() : QByteArray());
        AppInfo::setExecutablePath(root + executable);
        QCOMPARE(AppInfo::isInstalled(), sharedData);
        QCOMPARE(SettingsFile::path(), root + settings);
        QCOMPARE(QFileInfo(VoiceSettingsFile::path()).absolutePath(),
                 QFileInfo(root + settings).absolutePath());
        QCOMPARE(AppInfo::userVoicesDir(), root + voices);
        QCOMPARE(AppInfo::dataDir(), root + data);
        AppInfo::setExecutablePath(QString());
    }

    void installedFirstStartRidesTheSamplesAndSavesInTheConfigFolder() {
        K40Rig rig;
        const QString root = rig.dir.path();
        makeInstalledLayout(root);
        ScopedEnv config("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
        AppInfo::setExecutablePath(root + QStringLiteral("/bin/K40"));
        const QString data = root + QStringLiteral("/share/k40");
        writeFile(data + QStringLiteral("/sample/12.hy3"), testRoute(5));
        const QString plugin = data + QStringLiteral("/plugins/standard.4SP");
        rig.tickets.validPaths << plugin;
        rig.clock.current = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
        rig.make();
        rig.start();
        QVERIFY(rig.messages.shown.isEmpty());
        const SettingsRecord& r = rig.settings().record();
        QCOMPARE(r.fareFolder, data + QStringLiteral("/sample"));
        QCOMPARE(r.announcementFolder, data + QStringLiteral("/sample"));
        QCOMPARE(r.stepSoundsByValue[0], data + QStringLiteral("/sample/step1.wav"));
        QCOMPARE(r.ticketPlugin, plugin);
        QCOMPARE(r.fixedDate, u"2026/12/07"_qs);
        QVERIFY(r.previewOpen);
        QVERIFY(rig.tickets.calls.contains(QStringLiteral("info:") + plugin));

        // The sample route is there to be set.
        rig.setRoute(u"12"_qs, u"1"_qs);
        QCOMPARE(rig.session().state().loadedRows, 5);
        QVERIFY(rig.messages.shown.isEmpty());

        rig.messages.answers << MsgAnswer::Yes;
        QVERIFY(rig.app->requestExit());
        const QString saved = root + QStringLiteral("/config/K40/K40.in4");
        QVERIFY(QFileInfo::exists(saved));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/bin/K40.in4")));
        SettingsRecord back;
        back = SettingsCodec::decode(readFile(saved)).record;
        QCOMPARE(back.fareFolder, r.fareFolder);

        // The second start reads what the first saved, not the samples again.
        back.fareFolder = root;
        writeFile(saved, SettingsCodec::encode(back));
        rig.make();
        rig.start();
        QCOMPARE(rig.settings().record().fareFolder, root);
    }

    void fittedPosition_data() {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("expected");
        const QList<QRect> one{{0, 0, 1024, 768}};
        const QList<QRect> two{{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
        QTest::newRow("on the screen") << one << QRect(100, 100, 600, 300) << QPoint(100, 100);
        QTest::newRow("touching the corner") << one << QRect(424, 468, 600, 300) << QPoint(424, 468);
        QTest::newRow("past the right edge") << one << QRect(900, 100, 600, 300) << QPoint(424, 100);
        QTest::newRow("past the bottom right")
            << one << QRect(1200, 900, 600, 300) << QPoint(424, 468);
        QTest::newRow("above and left") << one << QRect(-50, -20, 600, 300) << QPoint(0, 0);
        QTest::newRow("wider than the screen")
            << one << QRect(300, 100, 1100, 300) << QPoint(0, 100);
        QTest::newRow("larger than the screen")
            << one << QRect(300, 600, 1100, 900) << QPoint(0, 0);
        QTest::newRow("below a top panel")
            << QList<QRect>{{0, 28, 1024, 740}} << QRect(10, 0, 600, 300) << QPoint(10, 28);
        QTest::newRow("on the second screen")
            << two << QRect(1500, 600, 600, 300) << QPoint(1500, 600);
        QTest::newRow("mostly on the second screen")
            << two << QRect(900, 100, 600, 300) << QPoint(1024, 100);
        QTest::newRow("mostly on the first screen")
            << two << QRect(700, 100, 600, 300) << QPoint(424, 100);
        QTest::newRow("off every screen: the primary one")
            << two << QRect(3000, 2000, 600, 300) << QPoint(424, 468);
        QTest::newRow("no screen known") << QList<QRect>{} << QRect(3000, 2000, 600, 300)
                                         << QPoint(3000, 2000);
    }
    void fittedPosition() {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, frame);
        QFETCH(QPoint, expected);
        QCOMPARE(ScreensOfTest(screens).fittedPosition(frame), expected);
    }

    void smallScreenShowsBothWindowsWhole_data() {
        QTest::addColumn<QRect>("screen");
        QTest::newRow("640 x 480") << QRect(0, 0, 640, 480);
        QTest::newRow("800 x 600 below a panel") << QRect(0, 32, 800, 568);
    }
    void smallScreenShowsBothWindowsWhole() {
        QFETCH(QRect, screen);
        K40Rig rig;
        // Positions stored on a screen of 1920 x 1080.
        SettingsRecord stored;
        stored.consoleLeft = 1400 * 15;
        stored.consoleTop = 700 * 15;
        stored.boardLeft = 1300 * 15;
        stored.boardTop = 760 * 15;
        writeFile(rig.path(u"K40.in4"_qs), SettingsCodec::encode(stored));
        ScreensOfTest small({screen});
        rig.services.windows = &small;
        rig.make();
        rig.start();
        for (QWidget* w : {static_cast<QWidget*>(&rig.console()), static_cast<QWidget*>(&rig.board())}) {
            // Both windows are smaller than either screen: each fits whole.
            const QRect frame(small.framePosition(*w), small.frameSize(*w));
            QVERIFY2(screen.contains(frame), qPrintable(QDebug::toString(frame)));
        }
    }
};

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
