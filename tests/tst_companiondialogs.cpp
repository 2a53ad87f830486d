// The companion library's dialogs on Qt: the conversions they make and the
// dialogs themselves, driven while they are open.
#include "platform/QtCompanionDialogs.h"

#include "Fakes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// Runs act on the modal dialog as soon as it is open.
void whenModal(std::function<void(QDialog*)> act, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [act, triesLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            act(dialog);
        } else if (triesLeft > 0) {
            whenModal(act, triesLeft - 1);
        }
    });
}

const QString SoundFilter = u"Waveサウンド(*.wav)\0*.wav\0MIDIサウンド(*.mid)\0*.mid\0\0"_qs;

} // namespace

class TestCompanionDialogs : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void fillSystemTime_data();
    void fillSystemTime();
    void dateOfSystemTime_data();
    void dateOfSystemTime();

    void dlg100();
    void dlg100KeepsUnknownZeroMode();
    void dlg110ShowsText();
    void dlg111();
    void chooseColor();
    void fileDialog();
    void folderDialog();
};

void TestCompanionDialogs::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("sounds") << SoundFilter
                            << u"Waveサウンド(*.wav) (*.wav);;MIDIサウンド(*.mid) (*.mid)"_qs;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("only NULs") << u"\0\0"_qs << QString();
    QTest::newRow("several patterns")
        << u"画像\0*.bmp;*.gif; *.jpg\0\0"_qs << u"画像 (*.bmp *.gif *.jpg)"_qs;
    QTest::newRow("no final NUL") << u"Wave\0*.wav"_qs << u"Wave (*.wav)"_qs;
    QTest::newRow("description without pattern") << u"すべて\0"_qs << u"すべて (*)"_qs;
    QTest::newRow("empty description") << u"\0*.csv\0\0"_qs << u"*.csv (*.csv)"_qs;
}

void TestCompanionDialogs::nameFilters() {
    QFETCH(QString, filter);
    QTEST(QtCompanionDialogs::qtNameFilters(filter), "qt");
}

void TestCompanionDialogs::fillSystemTime_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("dayOfWeek"); // a Thursday is shown by the date dialog
    QTest::newRow("Sunday") << QDate(2024, 3, 10) << 0;
    QTest::newRow("Saturday") << QDate(2024, 3, 9) << 6;
}

void TestCompanionDialogs::fillSystemTime() {
    QFETCH(QDate, date);
    QFETCH(int, dayOfWeek);
    SystemTime t;
    t.wHour = 9;
    t.wMinute = 5;
    t.wMilliseconds = 7;
    QtCompanionDialogs::fillSystemTime(t, date);
    QCOMPARE(t.wYear, qint16(date.year()));
    QCOMPARE(t.wMonth, qint16(date.month()));
    QCOMPARE(t.wDay, qint16(date.day()));
    QCOMPARE(t.wDayOfWeek, qint16(dayOfWeek));
    QCOMPARE(t.wHour, qint16{9});
    QCOMPARE(t.wMinute, qint16{5});
    QCOMPARE(t.wSecond, qint16{0});
    QCOMPARE(t.wMilliseconds, qint16{7});
}

void TestCompanionDialogs::dateOfSystemTime_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QDate>("date"); // a zeroed time is shown by the date dialog
    const QDate today(2024, 3, 5);
    QTest::newRow("a date") << 2023 << 12 << 24 << QDate(2023, 12, 24);
    QTest::newRow("31 February") << 2023 << 2 << 31 << today;
}

void TestCompanionDialogs::dateOfSystemTime() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    SystemTime t;
    t.wYear = static_cast<qint16>(year);
    t.wMonth = static_cast<qint16>(month);
    t.wDay = static_cast<qint16>(day);
    QTEST(QtCompanionDialogs::dateOfSystemTime(t, QDate(2024, 3, 5)), "date");
}

void TestCompanionDialogs::dlg100() {
    QtCompanionDialogs dialogs;
    QString title, keta;
    bool givenModeChecked = false;
    QStringList texts;
    whenModal([&](QDialog* d) {
        title = d->windowTitle();
        keta = d->findChild<QLabel*>("keta")->text();
        givenModeChecked = d->findChild<QRadioButton*>("zeroMode1")->isChecked();
        for (int m = 0; m < 4; ++m)
            texts << d->findChild<QRadioButton*>(QStringLiteral("zeroMode%1").arg(m))->text();
        d->findChild<QRadioButton*>("zeroMode2")->setChecked(true);
        d->findChild<QSpinBox*>("shift")->setValue(1);
        d->findChild<QSpinBox*>("fillZero")->setValue(3);
        d->accept();
    });
    qint16 zeroMode = 1, shift = 0, fillZero = 0;
    QCOMPARE(dialogs.Call_dlg100(nullptr, 3, zeroMode, shift, fillZero), 1);
    QCOMPARE(zeroMode, qint16{2});
    QCOMPARE(shift, qint16{1});
    QCOMPARE(fillZero, qint16{3});
    QCOMPARE(title, u"数字表示の設定"_qs);
    QVERIFY(keta.contains(u'3'));
    QVERIFY(givenModeChecked);
    QCOMPARE(texts, QtCompanionDialogs::zeroModeDescriptions());
    for (int m = 0; m < 4; ++m)
        QVERIFY(texts[m].startsWith(QString::number(m)));

    // Cancelled: the values given are shown and handed back unchanged.
    int shownShift = -1, shownFill = -1;
    whenModal([&](QDialog* d) {
        shownShift = d->findChild<QSpinBox*>("shift")->value();
        shownFill = d->findChild<QSpinBox*>("fillZero")->value();
        d->findChild<QRadioButton*>("zeroMode0")->setChecked(true);
        d->findChild<QSpinBox*>("shift")->setValue(0);
        d->reject();
    });
    QCOMPARE(dialogs.Call_dlg100(nullptr, 3, zeroMode, shift, fillZero), 0);
    QCOMPARE(zeroMode, qint16{2});
    QCOMPARE(shift, qint16{1});
    QCOMPARE(fillZero, qint16{3});
    QCOMPARE(shownShift, 1);
    QCOMPARE(shownFill, 3);
}

void TestCompanionDialogs::dlg100KeepsUnknownZeroMode() {
    QtCompanionDialogs dialogs;
    int checked = -1;
    int maxShift = -1;
    whenModal([&](QDialog* d) {
        checked = 0;
        for (auto* b : d->findChildren<QRadioButton*>())
            checked += b->isChecked() ? 1 : 0;
        maxShift = d->findChild<QSpinBox*>("shift")->maximum();
        d->accept();
    });
    qint16 zeroMode = 7, shift = 9, fillZero = -2;
    QCOMPARE(dialogs.Call_dlg100(nullptr, 3, zeroMode, shift, fillZero), 1);
    QCOMPARE(checked, 0);
    QCOMPARE(zeroMode, qint16{7});
    // Shift and fill are offered within the digit count.
    QCOMPARE(maxShift, 2);
    QCOMPARE(shift, qint16{2});
    QCOMPARE(fillZero, qint16{0});
}

void TestCompanionDialogs::dlg110ShowsText() {
    QtCompanionDialogs dialogs;
    QString shown;
    whenModal([&](QDialog* d) {
        shown = d->findChild<QLabel*>("text")->text();
        d->accept();
    });
    const QString text = u"カルテラVer4\n機種：K40"_qs;
    QCOMPARE(dialogs.Call_dlg110(nullptr, 1, text), 1);
    QCOMPARE(shown, text);
}

void TestCompanionDialogs::dlg111() {
    FakeClock clock; // today is 5 March 2024
    QtCompanionDialogs dialogs(&clock);
    QDate startedAt;
    whenModal([&](QDialog* d) {
        auto* calendar = d->findChild<QCalendarWidget*>();
        startedAt = calendar->selectedDate();
        calendar->setSelectedDate(QDate(2024, 3, 7));
        d->accept();
    });
    SystemTime t;
    QVERIFY(dialogs.Call_dlg111(nullptr, t) != 0);
    QCOMPARE(startedAt, QDate(2024, 3, 5));
    QCOMPARE(t.wYear, qint16{2024});
    QCOMPARE(t.wMonth, qint16{3});
    QCOMPARE(t.wDay, qint16{7});
    QCOMPARE(t.wDayOfWeek, qint16{4});

    // Cancelled, the time is left as it was.
    whenModal([](QDialog* d) {
        d->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 3, 1));
        d->reject();
    });
    QCOMPARE(dialogs.Call_dlg111(nullptr, t), 0);
    QCOMPARE(t.wDay, qint16{7});
}

void TestCompanionDialogs::chooseColor() {
    QtCompanionDialogs dialogs;
    QColor startedAt, customShown;
    whenModal([&](QDialog* d) {
        auto* cd = qobject_cast<QColorDialog*>(d);
        startedAt = cd->currentColor();
        customShown = QColorDialog::customColor(0);
        cd->setCurrentColor(QColor(1, 2, 3));
        QColorDialog::setCustomColor(1, QColor(9, 8, 7));
        cd->accept();
    });
    CustomColorTable table{};
    table[0] = 0x0000FF;
    table[16] = 0x7FEDCBA9;
    qint32 colour = 0x72D2F8;
    QVERIFY(dialogs.Kt3ChooseColor(nullptr, colour, table) != 0);
    QCOMPARE(startedAt, QColor(248, 210, 114));
    QCOMPARE(customShown, QColor(255, 0, 0));
    QCOMPARE(colour, 0x030201);
    QCOMPARE(table[0], 0x0000FF);
    QCOMPARE(table[1], 0x070809);
    QCOMPARE(table[16], 0x7FEDCBA9);

    whenModal([](QDialog* d) {
        qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(4, 5, 6));
        d->reject();
    });
    QCOMPARE(dialogs.Kt3ChooseColor(nullptr, colour, table), 0);
    QCOMPARE(colour, 0x030201);
}

void TestCompanionDialogs::fileDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("chime.wav"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QtCompanionDialogs dialogs;
    QString title;
    QStringList filters;
    whenModal([&](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        title = fd->windowTitle();
        filters = fd->nameFilters();
        fd->setDirectory(dir.path());
        fd->selectFile(path);
        d->accept(); // QFileDialog::accept through the dialog
    });
    QCOMPARE(dialogs.Kt3FileDlg(nullptr, 0, SoundFilter, QString(), u"サウンドの選択"_qs),
             QDir::toNativeSeparators(path));
    QCOMPARE(title, u"サウンドの選択"_qs);
    QCOMPARE(filters,
             (QStringList{u"Waveサウンド(*.wav) (*.wav)"_qs, u"MIDIサウンド(*.mid) (*.mid)"_qs}));

    whenModal([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.Kt3FileDlg(nullptr, 0, SoundFilter, QString(), u"サウンドの選択"_qs),
             QString());
}

void TestCompanionDialogs::folderDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QtCompanionDialogs dialogs;
    QString title;
    whenModal([&](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        title = fd->windowTitle();
        fd->setDirectory(dir.path());
        fd->selectFile(dir.path());
        d->accept(); // QFileDialog::accept through the dialog
    });
    const QString prompt = u"プラグインのフォルダを選択してください"_qs;
    QCOMPARE(dialogs.Kt3FolderDlg(nullptr, prompt), QDir::toNativeSeparators(dir.path()));
    QCOMPARE(title, prompt);

    whenModal([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.Kt3FolderDlg(nullptr, prompt), QString());
}

QTEST_MAIN(TestCompanionDialogs)
#include "tst_companiondialogs.moc"
