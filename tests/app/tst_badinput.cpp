// Bad files for every reader of K40, from the corpus in tests/badinput (made
// by its make.py) and a few made here too large to keep: truncated,
// oversized, wrongly encoded and of hostile lengths. Each gives its message
// (or, where K40 says nothing, its silent refusal), and what was loaded
// before stays as it was.
#include "K40Rig.h"
#include "audio/SdlSoundOutput.h"
#include "audio/SoundDecoder.h"
#include "model/AnnouncementTape.h"
#include "model/SettingsFile.h"
#include "options/TicketPreviewPage.h"
#include "widgets/PluginTicketEngine.h"

#include <QCheckBox>
#include <QListWidget>
#include <QLineEdit>
#include <QtTest>

namespace {

QString corpus(const QString& name) {
    return QStringLiteral(K40_SOURCE_DIR "/tests/badinput/") + name;
}

// A file of size bytes that begins with head, made sparse so that it takes
// no disk.
bool writeLarge(const QString& path, const QByteArray& head, qint64 size) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(head) == head.size() && f.resize(size);
}

// The bytes of a corpus file, or for an empty name a file too large to keep;
// "fifo" puts a FIFO with no writer there, "zero" a link to /dev/zero.
bool place(const QString& name, const QString& path, const QByteArray& head, qint64 size) {
    if (name.isEmpty()) return writeLarge(path, head, size);
    QFile::remove(path);
    if (name == u"fifo") return makeFifo(path);
    if (name == u"zero") return makeEndlessFile(path);
    return QFile::copy(corpus(name), path);
}

// The message a special file in place of path gives: "%1" is path, "%2"
// what the file is.
QString special(const QString& message, const QString& path, const QString& file) {
    return message.arg(path, file == u"fifo" ? u"名前付きパイプ（FIFO）"_qs : u"デバイス"_qs);
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void fareData_data() {
        QTest::addColumn<QString>("file"); // empty: 33 MiB
        QTest::addColumn<QString>("message");
        QTest::newRow("truncated") << u"fares/truncated.hy3"_qs
                                   << u"運賃データファイルが途中で切れています"
                                      u"（レコード数 5 のうち 2 件しかありません）。"_qs;
        QTest::newRow("empty") << u"fares/empty.hy3"_qs
                               << u"指定した系統はデータの数が0(未登録)の可能性があります..."_qs;
        QTest::newRow("count 32767") << u"fares/count-32767.hy3"_qs
                                     << u"運賃データのレコード数 32767 が上限の 301 を超えています。"_qs;
        // A count below 1 leaves no section to start from.
        QTest::newRow("negative count") << u"fares/count-negative.hy3"_qs
                                        << u"指定した区間はデータの数よりも多いです...\r\n"
                                           u"  解決法：正しい区間を入力して下さい."_qs;
        QTest::newRow("name of 65535 bytes") << u"fares/name-length-65535.hy3"_qs
                                             << u"運賃データファイルが途中で切れています"
                                                u"（レコード数 2 のうち 0 件しかありません）。"_qs;
        QTest::newRow("names in UTF-8") << u"fares/utf8-names.hy3"_qs << QString();
        QTest::newRow("33 MiB") << QString()
                                << u"運賃データファイルが大きすぎます"
                                   u"（34603008 バイト、上限 33554432 バイト）。"_qs;
        const QString special = u"「%1」はふつうのファイルではなく、%2です。"_qs;
        QTest::newRow("a FIFO") << u"fifo"_qs << special;
        QTest::newRow("a link to /dev/zero") << u"zero"_qs << special;
    }

    void fareData() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        rig.setRoute(u"3"_qs, u"1"_qs);
        QVERIFY(place(file, rig.path(u"7.hy3"_qs), testRoute(5), 33 * 1024 * 1024));
        rig.messages.shown.clear();
        rig.setRoute(u"7"_qs, u"1"_qs);
        if (message.isEmpty()) {
            // Read as it is: names that were not CP932 are shown as read.
            QVERIFY(rig.messages.shown.isEmpty());
            QCOMPARE(rig.session().state().loadedRows, 3);
            QCOMPARE(rig.session().table().row(1).name,
                     Cp932::decode(QStringLiteral("港").toUtf8()));
            return;
        }
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].text, special(message, rig.path(u"7.hy3"_qs), file));
        // The route before stays: its stops, and stepping within them.
        QCOMPARE(rig.session().state().loadedRows, 5);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(rig.session().table().row(k).name, QStringLiteral("停%1").arg(k));
        rig.console().stepForwardButton->click();
        QCOMPARE(rig.cell(24), u"224"_qs);
    }

    void announcements_data() {
        QTest::addColumn<QString>("file"); // empty: 17 MiB
        QTest::addColumn<bool>("read");
        QTest::newRow("truncated") << u"announcements/truncated.csv"_qs << false;
        QTest::newRow("flag not a number") << u"announcements/flag-not-a-number.csv"_qs << false;
        QTest::newRow("flag of 70000 digits")
            << u"announcements/flag-of-70000-digits.csv"_qs << false;
        QTest::newRow("unquoted comma") << u"announcements/unquoted-comma.csv"_qs << false;
        QTest::newRow("binary") << u"announcements/binary.csv"_qs << false;
        QTest::newRow("UTF-8") << u"announcements/utf8.csv"_qs << true;
        QTest::newRow("17 MiB") << QString() << false;
        QTest::newRow("a FIFO") << u"fifo"_qs << false;
        QTest::newRow("a link to /dev/zero") << u"zero"_qs << false;
    }

    void announcements() {
        // A bad announcement file closes the tape, silently; the rows read
        // before stay.
        QFETCH(QString, file);
        QFETCH(bool, read);
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.writeRoute(7, 5);
        rig.writeTape(3, u"a,0,0\r\nb,0,0\r\n"_qs);
        rig.start();
        rig.setRoute(u"3"_qs, u"1"_qs);
        QVERIFY(rig.app->tape().controlsEnabled());
        QVERIFY(place(file, rig.path(u"7tp.csv"_qs), "a,0,0\r\n", 17 * 1024 * 1024));
        rig.setRoute(u"7"_qs, u"1"_qs);
        QVERIFY(rig.messages.shown.isEmpty());
        QCOMPARE(rig.app->tape().controlsEnabled(), read);
        QCOMPARE(rig.app->tape().count(), 2);
        if (!read) {
            QCOMPARE(rig.app->tape().rows()[0].text, u"a"_qs);
            QCOMPARE(rig.app->tape().rows()[1].text, u"b"_qs);
        }
    }

    void settingsFile_data() {
        QTest::addColumn<QString>("file"); // empty: 5 MiB
        QTest::addColumn<QString>("message");
        const QString short62 = u"エラー Code:62\r\n内容:ファイルにこれ以上データがありません。"_qs;
        QTest::newRow("truncated") << u"settings/truncated.in4"_qs << short62;
        QTest::newRow("empty") << u"settings/empty.in4"_qs << short62;
        QTest::newRow("text of 65535 bytes") << u"settings/text-length-65535.in4"_qs << short62;
        QTest::newRow("garbage") << u"settings/garbage.in4"_qs << short62;
        QTest::newRow("folders in UTF-8") << u"settings/utf8-folders.in4"_qs << QString();
        QTest::newRow("5 MiB") << QString()
                               << u"エラー Code:7\r\n内容:設定ファイルが大きすぎます"
                                  u"（5242880 バイト、上限 4194304 バイト）。"_qs;
        const QString special = u"エラー Code:75\r\n内容:「%1」はふつうのファイルではなく、%2です。"_qs;
        QTest::newRow("a FIFO") << u"fifo"_qs << special;
        QTest::newRow("a link to /dev/zero") << u"zero"_qs << special;
    }

    void settingsFile() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        K40Rig rig;
        rig.start();
        rig.edit([](SettingsRecord& r) { r.fareFolder = u"/kept"_qs; });
        const SettingsRecord before = rig.settings().record();
        QVERIFY(place(file, rig.path(u"K40.in4"_qs), QByteArray(392, '\0'), 5 * 1024 * 1024));
        rig.app->loadSettings();
        if (message.isEmpty()) {
            // Read as it is: the folder names decode as CP932 would.
            QVERIFY(rig.messages.shown.isEmpty());
            QCOMPARE(rig.settings().record().fareFolder,
                     Cp932::decode(QStringLiteral("/データ/バス").toUtf8()));
            return;
        }
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].text, special(message, rig.path(u"K40.in4"_qs), file));
        QCOMPARE(rig.settings().record(), before);
    }

    void ticketPlugins_data() {
        QTest::addColumn<QString>("file"); // empty: over 1 MiB
        QTest::newRow("truncated") << u"plugins/truncated.4SP"_qs;
        QTest::newRow("UTF-16") << u"plugins/utf16.4SP"_qs;
        QTest::newRow("1001 elements") << u"plugins/1001-elements.4SP"_qs;
        QTest::newRow("nested 100000 deep") << u"plugins/nested-100000.4SP"_qs;
        QTest::newRow("version 2") << u"plugins/version-2.4SP"_qs;
        QTest::newRow("over 1 MiB") << QString();
        QTest::newRow("a FIFO") << u"fifo"_qs;
        QTest::newRow("a link to /dev/zero") << u"zero"_qs;
    }

    void ticketPlugins() {
        // Chosen after a good plug-in: the box, and the good one stays whole.
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString bad = dir.filePath(u"bad.4SP"_qs);
        const QString good = QStringLiteral(K40_SOURCE_DIR "/data/plugins/standard.4SP");
        QVERIFY(place(file, bad, readFile(good), TicketPlugin::MaxBytes + 1));
        FakeCompanionDialogs dialogs;
        PluginTicketEngine tickets;
        RecordingMessageBox messages;
        OptionsDialog dialog(&dialogs, &tickets, &messages);
        TicketPreviewPage& page = *dialog.ticketPreviewPage;
        page.usePreview->setChecked(true);
        dialogs.fileAnswer = good;
        page.choosePlugin->click();
        const int properties = page.pluginProperties->count();
        QCOMPARE(properties, 6);
        dialogs.fileAnswer = bad;
        page.choosePlugin->click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, u"指定したファイルはプラグインでないか、内容が不正です"_qs);
        QCOMPARE(page.pluginFile->text(), good);
        QCOMPARE(page.pluginProperties->count(), properties);
        QCOMPARE(dialog.pluginChoices(), QStringList{good});
    }

    void sounds_data() {
        QTest::addColumn<QString>("file"); // empty: over 64 MiB
        QTest::addColumn<int>("result");
        QTest::addColumn<qint64>("lengthMs");
        using R = SoundOutput::Result;
        const int bad = int(R::Unplayable);
        const int badMidi = MidiRenderer::soundFontPath().isEmpty() ? int(R::NoSynthesiser) : bad;
        QTest::newRow("header only") << u"sounds/header-only.wav"_qs << bad << 0ll;
        // A data chunk said to hold 4 GiB plays what it really holds.
        QTest::newRow("data length 4 GiB") << u"sounds/data-length-4-GiB.wav"_qs << int(R::Played)
                                           << 100ll;
        QTest::newRow("9 channels") << u"sounds/9-channels.wav"_qs << bad << 0ll;
        QTest::newRow("384 kHz") << u"sounds/384-kHz.wav"_qs << bad << 0ll;
        QTest::newRow("text as MIDI") << u"sounds/text.mid"_qs << badMidi << 0ll;
        QTest::newRow("truncated MIDI") << u"sounds/truncated.mid"_qs << badMidi << 0ll;
        QTest::newRow("over 64 MiB") << QString() << bad << 0ll;
        QTest::newRow("a FIFO") << u"fifo"_qs << bad << 0ll;
        QTest::newRow("a link to /dev/zero") << u"zero"_qs << bad << 0ll;
    }

    void sounds() {
        // A bad file leaves its channel silent; the sound playing on another
        // channel plays on.
        QFETCH(QString, file);
        QFETCH(int, result);
        QFETCH(qint64, lengthMs);
        QTemporaryDir dir;
        const QString name =
            file.isEmpty() || !file.contains(u'/') ? u"big.wav"_qs : QFileInfo(file).fileName();
        const QString bad = dir.filePath(name);
        QVERIFY(place(file, bad, readFile(corpus(u"sounds/data-length-4-GiB.wav"_qs)),
                      SoundDecoder::MaxWaveBytes + 1));
        const QString chime = QStringLiteral(K40_SOURCE_DIR "/data/sample/announce.wav");
        using C = SoundOutput::Channel;
        const auto format = [](const QString& f) {
            return f.endsWith(u".mid") ? SoundOutput::Format::Midi : SoundOutput::Format::Wave;
        };
        SdlSoundOutput out;
        QCOMPARE(out.play(C::S1, chime, SoundOutput::Format::Wave, SoundOutput::Wait::ForStart),
                 SoundOutput::Result::Played);
        QCOMPARE(int(out.play(C::S2, bad, format(bad), SoundOutput::Wait::ForStart)), result);
        QCOMPARE(out.isOpen(C::S2), result == int(SoundOutput::Result::Played));
        QCOMPARE(out.lengthMs(C::S2), lengthMs);
        QVERIFY(out.isPlaying(C::S1));
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
