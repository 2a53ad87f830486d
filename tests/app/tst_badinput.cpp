// Bad files for every reader of K40, from the corpus in tests/badinput (made by its
// make.py) and a few made here too large to keep. Each gives its message (or its
// silent refusal, where K40 says nothing), and what was loaded before stays.
#include "K40Rig.h"
#include "audio/SdlSoundOutput.h"
#include "audio/SoundDecoder.h"
#include "model/AnnouncementTape.h"
#include "options/TicketPreviewPage.h"
#include "widgets/PluginTicketEngine.h"

static QString corpus(const QString& name) {
    return QStringLiteral(K40_SOURCE_DIR "/tests/badinput/") + name;
}

// A corpus file at path; for no name size bytes that begin with head, sparse so that
// they take no disk; for "fifo" a FIFO with no writer, for "zero" a link to /dev/zero.
static bool place(const QString& name, const QString& path, const QByteArray& head, qint64 size) {
    QFile::remove(path);
    if (QFile f(path); name.isEmpty())
        return f.open(QIODevice::WriteOnly) && f.write(head) == head.size() && f.resize(size);
    if (name == u"fifo") return makeFifo(path);
    if (name == u"zero") return makeEndlessFile(path);
    return QFile::copy(corpus(name), path);
}

// The message a special file at path gives: "%1" is path, "%2" what the file is.
static QString special(const QString& message, const QString& path, const QString& file) {
    return message.arg(path, file == u"fifo" ? u"名前付きパイプ（FIFO）"_qs : u"デバイス"_qs);
}

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    // Each reader, a bad file for it (as place() takes it) and what it gives: the message,
    // none for a silent refusal, "read" for a file taken as it is; for a sound, the
    // milliseconds it plays, if it does.
    void badFiles_data() {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("gives");
        const auto row = [](const char* reader, const QString& file, const QString& gives) {
            QTest::addRow("%s: %s", reader, file.isEmpty() ? "too large" : qPrintable(file))
                << QString::fromLatin1(reader) << file << gives;
        };
        const QString cut = u"運賃データファイルが途中で切れています（レコード数 %1 のうち %2 件しかありません）。"_qs;
        row("fares", u"fares/truncated.hy3"_qs, cut.arg(5).arg(2));
        row("fares", u"fares/empty.hy3"_qs, u"指定した系統はデータの数が0(未登録)の可能性があります..."_qs);
        row("fares", u"fares/count-32767.hy3"_qs, u"運賃データのレコード数 32767 が上限の 301 を超えています。"_qs);
        // A count below 1 leaves no section to start from.
        row("fares", u"fares/count-negative.hy3"_qs,
            u"指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい."_qs);
        row("fares", u"fares/name-length-65535.hy3"_qs, cut.arg(2).arg(0));
        row("fares", u"fares/utf8-names.hy3"_qs, u"read"_qs);
        for (const char* name :
             {"truncated", "flag-not-a-number", "flag-of-70000-digits", "unquoted-comma", "binary"})
            row("tape", u"announcements/%1.csv"_qs.arg(QLatin1String(name)), QString());
        row("tape", u"announcements/utf8.csv"_qs, u"read"_qs);
        for (const char* name : {"truncated", "empty", "text-length-65535", "garbage"})
            row("settings", u"settings/%1.in4"_qs.arg(QLatin1String(name)),
                u"エラー Code:62\r\n内容:ファイルにこれ以上データがありません。"_qs);
        row("settings", u"settings/utf8-folders.in4"_qs, u"read"_qs);
        const QString noPlugin = u"指定したファイルはプラグインでないか、内容が不正です"_qs;
        for (const char* name :
             {"truncated", "utf16", "1001-elements", "nested-100000", "version-2"})
            row("plug-in", u"plugins/%1.4SP"_qs.arg(QLatin1String(name)), noPlugin);
        for (const char* name :
             {"header-only.wav", "9-channels.wav", "384-kHz.wav", "text.mid", "truncated.mid"})
            row("sound", u"sounds/"_qs + QLatin1String(name), QString());
        // A data chunk said to hold 4 GiB plays what it really holds.
        row("sound", u"sounds/data-length-4-GiB.wav"_qs, u"100"_qs);
        const QString notAFile = u"「%1」はふつうのファイルではなく、%2です。"_qs;
        for (
            const auto& [reader, tooLarge, special] :
            {std::tuple{
                 "fares",
                 u"運賃データファイルが大きすぎます（34603008 バイト、上限 33554432 バイト）。"_qs,
                 notAFile},
             {"tape", QString(), QString()},
             {"settings",
              u"エラー Code:7\r\n内容:設定ファイルが大きすぎます（5242880 バイト、上限 4194304 バイト）。"_qs,
              u"エラー Code:75\r\n内容:"_qs + notAFile},
             {"plug-in", noPlugin, noPlugin},
             {"sound", QString(), QString()}}) {
            row(reader, QString(), tooLarge);
            row(reader, u"fifo"_qs, special);
            row(reader, u"zero"_qs, special);
        }
    }

    void badFiles() {
        QFETCH(QString, reader);
        QFETCH(QString, file);
        QFETCH(QString, gives);
        if (reader == u"plug-in") return plugin(file, gives);
        if (reader == u"sound") return sound(file, gives);
        // Loaded before: route 3 with its announcements, and the options.
        const bool fares = reader == u"fares", settings = reader == u"settings",
                   read = gives == u"read";
        K40Rig rig;
        rig.writeRoute(7, 5), rig.writeTape(3, u"a,0,0\r\nb,0,0\r\n"_qs);
        settings ? rig.start() : rig.startOn(3, 5, u"1"_qs);
        QVERIFY(settings || rig.app->tape().controlsEnabled());
        const SettingsRecord before = rig.settings().record();
        const QString path = rig.path(fares      ? u"7.hy3"_qs
                                      : settings ? u"K40.in4"_qs
                                                 : u"7tp.csv"_qs);
        QVERIFY(place(file, path,
                      fares      ? testRoute(5)
                      : settings ? QByteArray(392, '\0')
                                 : "a,0,0\r\n",
                      (fares      ? 33
                       : settings ? 5
                                  : 17) *
                          1024 * 1024));
        rig.messages.shown.clear();
        settings ? rig.app->loadSettings() : rig.setRoute(u"7"_qs, u"1"_qs);
        QCOMPARE(said(rig.messages),
                 read || gives.isEmpty() ? QStringList() : QStringList{special(gives, path, file)});
        if (settings && read) { // the folder names decode as CP932 would
            QCOMPARE(rig.settings().record().fareFolder,
                     Cp932::decode(QStringLiteral("/データ/バス").toUtf8()));
        } else if (settings) QCOMPARE(rig.settings().record(), before);
        else if (!fares) { // the tape closes, silently; the rows read before stay
            QCOMPARE(rig.app->tape().controlsEnabled(), read);
            QCOMPARE(rig.app->tape().count(), 2);
            const auto& rows = rig.app->tape().rows();
            if (!read)
                QCOMPARE(QStringList({rows[0].text, rows[1].text}),
                         QStringList({u"a"_qs, u"b"_qs}));
        } else if (read) { // names that were not CP932 are shown as read
            QCOMPARE(rig.session().state().loadedRows, 3);
            QCOMPARE(rig.session().table().row(1).name,
                     Cp932::decode(QStringLiteral("港").toUtf8()));
        } else { // the route before stays: its stops, and stepping within them
            QCOMPARE(rig.session().state().loadedRows, 5);
            for (int k = 1; k <= 5; ++k)
                QCOMPARE(rig.session().table().row(k).name, QStringLiteral("停%1").arg(k));
            rig.console().stepForwardButton->click();
            QCOMPARE(rig.cell(24), u"224"_qs);
        }
    }

private:
    // Chosen after a good plug-in: the box, and the good one stays whole.
    void plugin(const QString& file, const QString& message) {
        QTemporaryDir dir;
        const QString bad = dir.filePath(u"bad.4SP"_qs);
        const QString good = QStringLiteral(K40_SOURCE_DIR "/data/plugins/standard.4SP");
        QVERIFY(place(file, bad, readFile(good), TicketPlugin::MaxBytes + 1));
        FakeCompanionDialogs dialogs;
        PluginTicketEngine tickets;
        RecordingMessageBox messages;
        OptionsDialog dialog(&dialogs, &tickets, &messages);
        TicketPreviewPage& page = *dialog.ticketPreviewPage;
        page.usePreview->setChecked(true), dialogs.fileAnswer = good;
        page.choosePlugin->click();
        QCOMPARE(page.pluginProperties->count(), 6);
        dialogs.fileAnswer = bad;
        page.choosePlugin->click();
        QCOMPARE(said(messages), QStringList{message});
        QCOMPARE(page.pluginFile->text(), good);
        QCOMPARE(page.pluginProperties->count(), 6);
        QCOMPARE(dialog.pluginChoices(), QStringList{good});
    }

    // A bad file leaves its channel silent; the sound on another channel plays on.
    void sound(const QString& file, const QString& playsMs) {
        QTemporaryDir dir;
        const QString bad =
            dir.filePath(file.contains(u'/') ? QFileInfo(file).fileName() : u"big.wav"_qs);
        QVERIFY(place(file, bad, readFile(corpus(u"sounds/data-length-4-GiB.wav"_qs)),
                      SoundDecoder::MaxWaveBytes + 1));
        const QString chime = QStringLiteral(K40_SOURCE_DIR "/data/sample/announce.wav");
        using C = SoundOutput::Channel;
        using F = SoundOutput::Format;
        using R = SoundOutput::Result;
        const bool midi = bad.endsWith(u".mid");
        const R result = !playsMs.isEmpty()                               ? R::Played
                         : midi && MidiRenderer::soundFontPath().isEmpty() ? R::NoSynthesiser
                                                                          : R::Unplayable;
        SdlSoundOutput out;
        QCOMPARE(out.play(C::S1, chime, F::Wave, SoundOutput::Wait::ForStart), R::Played);
        QCOMPARE(out.play(C::S2, bad, midi ? F::Midi : F::Wave, SoundOutput::Wait::ForStart),
                 result);
        QCOMPARE(out.isOpen(C::S2), result == R::Played);
        QCOMPARE(out.lengthMs(C::S2), playsMs.toLongLong());
        QVERIFY(out.isPlaying(C::S1));
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
