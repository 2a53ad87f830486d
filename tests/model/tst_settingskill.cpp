// Killing K40 while it saves its settings: the settings file is always the
// previous one or the new one, whole, never a mix or a stump.
#include "model/K40Error.h"
#include "model/SettingsFile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsKill : public QObject {
    Q_OBJECT
private slots:
    void killedMidSaveLeavesAWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"K40.in4"_qs);
        QRandomGenerator random(4040);
        int a = 0, b = 0;
        for (int round = 0; round < 60; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(SETTINGS_WRITER), {path});
            QVERIFY(writer.waitForReadyRead(10000));
            QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
            QThread::usleep(random.bounded(20000)); // somewhere in the saves
            writer.kill();                          // SIGKILL: no clean-up at all
            QVERIFY(writer.waitForFinished(10000));
            SettingsRecord r;
            try {
                r = SettingsFile::read(path).record;
            } catch (const K40Error& e) {
                QFAIL(qPrintable(QStringLiteral("round %1: ").arg(round) + e.description()));
            }
            const QChar c = r.fareFolder.isEmpty() ? QChar() : r.fareFolder[0];
            QVERIFY2(c == u'A' || c == u'B', qPrintable(QStringLiteral("round %1").arg(round)));
            const QString text(20000, c);
            QVERIFY(r.fareFolder == text && r.announcementFolder == text && r.modePictureFiles[0] == text &&
                    r.stepSound == text && r.fixedDate == QString(10, c));
            (c == u'A' ? a : b)++;
        }
        // Both records were found: the kills fell at different moments.
        QCOMPARE_GT(a, 0);
        QCOMPARE_GT(b, 0);
    }
};

QTEST_GUILESS_MAIN(TestSettingsKill)
#include "tst_settingskill.moc"
