// The console under a real X server and window manager, which frames a window only
// after it is shown: through three starts and exits it comes back where it was, frame
// and all, and the settings keep the frame's position. Run by windowmanager.sh.
#include "../app/K40Rig.h"

class TestWindowManager : public QObject {
    Q_OBJECT
private slots:
    void windowsComeBackWhereTheyWere() {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X server with a window manager");
        K40Rig rig;
        QtWindowPlacement placement;
        QList<QPoint> frames;
        QList<qint32> storedTops;
        for (int run = 0; run < 3; ++run) {
            rig.make();
            rig.start();
            ConsoleWindow& console = rig.console();
            // The window manager frames the console a moment after it is shown.
            QTRY_VERIFY_WITH_TIMEOUT(console.frameGeometry().top() < console.geometry().top(),
                                     NoTimeLimit);
            if (run == 0) {
                placement.moveFrameTo(console, QPoint(40, 300));
                QTRY_COMPARE_WITH_TIMEOUT(placement.framePosition(console), QPoint(40, 300),
                                          NoTimeLimit);
            }
            QTest::qWait(300); // anything the window manager still does
            frames << placement.framePosition(console);
            QVERIFY(rig.app->requestExit());
            storedTops << SettingsFile::read(SettingsFile::path()).record.consoleTop;
        }
        QCOMPARE(frames, (QList<QPoint>{{40, 300}, {40, 300}, {40, 300}}));
        QCOMPARE(storedTops, (QList<qint32>{4500, 4500, 4500}));
    }
};

QTEST_MAIN(TestWindowManager)
#include "tst_windowmanager.moc"
