// The dialogs and choosers on Qt, driven while they are open.
#include "widgets/DigitSettingsDialog.h"
#include "widgets/QtCompanionDialogs.h"

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

const QString SoundFilter = u"Waveサウンド(*.wav);;MIDIサウンド(*.mid)"_qs;

} // namespace

class TestCompanionDialogs : public QObject {
    Q_OBJECT
private slots:
    void digitOptions();
    void digitOptionsKeepUnknownZeroMode();
    void versionBoxShowsText();
    void dateChooser();
    void chooseColor();
    void fileDialog();
    void folderDialog();
};

void TestCompanionDialogs::digitOptions() {
    QtCompanionDialogs dialogs;
    QString title, count;
    bool givenModeChecked = false;
    QStringList texts;
    whenModal([&](QDialog* d) {
        title = d->windowTitle();
        count = d->findChild<QLabel*>("digitCount")->text();
        givenModeChecked = d->findChild<QRadioButton*>("zeroMode1")->isChecked();
        for (int m = 0; m < 4; ++m)
            texts << d->findChild<QRadioButton*>(QStringLiteral("zeroMode%1").arg(m))->text();
        d->findChild<QRadioButton*>("zeroMode2")->setChecked(true);
        d->findChild<QSpinBox*>("shift")->setValue(1);
        d->findChild<QSpinBox*>("fillZero")->setValue(3);
        d->accept();
    });
    DigitOptions options{1, 0, 0};
    QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
    QCOMPARE(options, (DigitOptions{2, 1, 3}));
    QCOMPARE(title, u"数字表示の設定"_qs);
    QVERIFY(count.contains(u'3'));
    QVERIFY(givenModeChecked);
    QCOMPARE(texts, DigitSettingsDialog::zeroModeDescriptions());
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
    QVERIFY(!dialogs.editDigitOptions(nullptr, 3, options));
    QCOMPARE(options, (DigitOptions{2, 1, 3}));
    QCOMPARE(shownShift, 1);
    QCOMPARE(shownFill, 3);
}

void TestCompanionDialogs::digitOptionsKeepUnknownZeroMode() {
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
    DigitOptions options{7, 9, -2};
    QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
    QCOMPARE(checked, 0);
    // Shift and fill are offered within the digit count.
    QCOMPARE(maxShift, 2);
    QCOMPARE(options, (DigitOptions{7, 2, 0}));
}

void TestCompanionDialogs::versionBoxShowsText() {
    QtCompanionDialogs dialogs;
    QString shown;
    whenModal([&](QDialog* d) {
        shown = d->findChild<QLabel*>("text")->text();
        d->accept();
    });
    const QString text = u"カルテラVer4\n機種：K40"_qs;
    dialogs.showVersion(nullptr, text);
    QCOMPARE(shown, text);
}

void TestCompanionDialogs::dateChooser() {
    FakeClock clock; // today is 5 March 2024
    QtCompanionDialogs dialogs(&clock);
    QDate startedAt;
    whenModal([&](QDialog* d) {
        auto* calendar = d->findChild<QCalendarWidget*>();
        startedAt = calendar->selectedDate();
        calendar->setSelectedDate(QDate(2024, 3, 7));
        d->accept();
    });
    QCOMPARE(dialogs.chooseDate(nullptr), std::optional<QDate>(QDate(2024, 3, 7)));
    QCOMPARE(startedAt, QDate(2024, 3, 5));

    whenModal([](QDialog* d) {
        d->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 3, 1));
        d->reject();
    });
    QCOMPARE(dialogs.chooseDate(nullptr), std::nullopt);
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
    BgrColor colour = 0x72D2F8;
    QVERIFY(dialogs.chooseColor(nullptr, colour, table));
    QCOMPARE(startedAt, QColor(248, 210, 114));
    QCOMPARE(customShown, QColor(255, 0, 0));
    QCOMPARE(colour, BgrColor(0x030201));
    QCOMPARE(table[0], 0x0000FF);
    QCOMPARE(table[1], 0x070809);
    QCOMPARE(table[16], 0x7FEDCBA9);

    whenModal([](QDialog* d) {
        qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(4, 5, 6));
        d->reject();
    });
    QVERIFY(!dialogs.chooseColor(nullptr, colour, table));
    QCOMPARE(colour, BgrColor(0x030201));
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
    QCOMPARE(dialogs.chooseFile(nullptr, SoundFilter, u"サウンドの選択"_qs),
             QDir::toNativeSeparators(path));
    QCOMPARE(title, u"サウンドの選択"_qs);
    QCOMPARE(filters,
             (QStringList{u"Waveサウンド(*.wav)"_qs, u"MIDIサウンド(*.mid)"_qs}));

    whenModal([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.chooseFile(nullptr, SoundFilter, u"サウンドの選択"_qs),
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
    QCOMPARE(dialogs.chooseFolder(nullptr, prompt), QDir::toNativeSeparators(dir.path()));
    QCOMPARE(title, prompt);

    whenModal([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.chooseFolder(nullptr, prompt), QString());
}

QTEST_MAIN(TestCompanionDialogs)
#include "tst_companiondialogs.moc"
