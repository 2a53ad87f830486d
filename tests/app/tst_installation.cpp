// Where K40 keeps its settings and finds its data, run from its build folder and
// installed, and where a window whose frame is partly off the screens is put.
#include "K40Rig.h"
#include "model/VoiceSettingsFile.h"

// Sets an environment variable (unsets it, for a null value) for the life of the object.
struct ScopedEnv {
    const char* name;
    bool had = qEnvironmentVariableIsSet(name);
    QByteArray old = qgetenv(name);
    ScopedEnv(const char* n, const QByteArray& v) : name(n) {
        v.isNull() ? qunsetenv(n) : qputenv(n, v);
    }
    ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
};

// Makes the installed layout <root>/bin/K40, <root>/share/k40 under root.
static void makeInstalledLayout(const QString& root) {
    for (const char* sub : {"bin", "share/k40/sample", "share/k40/plugins"}) QDir(root).mkpath(sub);
}

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
                                      << "build/voices"
                                      << "build";
        // A copy in a folder named bin without the data beside it is not installed.
        QTest::newRow("bin without share/k40") << "bin/K40" << false << true << "bin/K40.in4"
                                               << "bin/voices"
                                               << "bin";
        QTest::newRow("installed") << "bin/K40" << true << true << "config/K40/K40.in4"
                                   << "xdgdata/K40/voices"
                                   << "share/k40";
        QTest::newRow("installed, no XDG variables")
            << "bin/K40" << true << false << "home/.config/K40/K40.in4"
            << "home/.local/share/K40/voices"
            << "share/k40";
        QTest::newRow("installed under another name")
            << "bin/K41" << true << true << "config/K41/K41.in4"
            << "xdgdata/K41/voices"
            << "share/k40";
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
        const auto under = [&](const char* sub) { return (root + QLatin1String(sub)).toUtf8(); };
        ScopedEnv home("HOME", under("home"));
        ScopedEnv config("XDG_CONFIG_HOME", xdgSet ? under("config") : QByteArray());
        ScopedEnv share("XDG_DATA_HOME", xdgSet ? under("xdgdata") : QByteArray());
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
        const QString sample = data + QStringLiteral("/sample");
        QCOMPARE(
            QStringList({r.fareFolder, r.announcementFolder, r.stepSoundsByValue[0], r.ticketPlugin,
                         r.fixedDate}),
            QStringList({sample, sample, sample + u"/step1.wav"_qs, plugin, u"2026/12/07"_qs}));
        QVERIFY(r.previewOpen && rig.tickets.calls.contains(QStringLiteral("info:") + plugin));
        // The sample route is there to be set.
        rig.setRoute(u"12"_qs, u"1"_qs);
        QCOMPARE(rig.session().state().loadedRows, 5);
        QVERIFY(rig.messages.shown.isEmpty());
        QVERIFY(rig.app->requestExit());
        const QString saved = root + QStringLiteral("/config/K40/K40.in4");
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/bin/K40.in4")));
        SettingsRecord back = SettingsCodec::decode(readFile(saved)).record;
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
        const auto row = [](const char* name, const QList<QRect>& screens, QRect frame,
                            QPoint expected) {
            QTest::newRow(name) << screens << frame << expected;
        };
        row("on the screen", one, {100, 100, 600, 300}, {100, 100});
        row("touching the corner", one, {424, 468, 600, 300}, {424, 468});
        row("past the right edge", one, {900, 100, 600, 300}, {424, 100});
        row("past the bottom right", one, {1200, 900, 600, 300}, {424, 468});
        row("above and left", one, {-50, -20, 600, 300}, {0, 0});
        row("wider than the screen", one, {300, 100, 1100, 300}, {0, 100});
        row("larger than the screen", one, {300, 600, 1100, 900}, {0, 0});
        row("below a top panel", {{0, 28, 1024, 740}}, {10, 0, 600, 300}, {10, 28});
        row("on the second screen", two, {1500, 600, 600, 300}, {1500, 600});
        row("mostly on the second screen", two, {900, 100, 600, 300}, {1024, 100});
        row("mostly on the first screen", two, {700, 100, 600, 300}, {424, 100});
        row("off every screen: the primary one", two, {3000, 2000, 600, 300}, {424, 468});
        row("no screen known", {}, {3000, 2000, 600, 300}, {3000, 2000});
    }
    void fittedPosition() {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, frame);
        QTEST(FakeWindows{screens}.fittedPosition(frame), "expected");
    }
};

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
