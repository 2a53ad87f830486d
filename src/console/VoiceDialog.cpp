#include "console/VoiceDialog.h"

#include "widgets/QtCompanionDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

VoiceDialog::VoiceDialog(SpeechEngine& engine, QWidget* owner)
    : QDialog(owner), engine_(engine), given_(engine.voice()) {
    setWindowTitle(QStringLiteral("音声の調節"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;

    voiceList = new QComboBox(this);
    const QStringList voices = engine.voices();
    voiceList->addItems(voices);
    // A voice that is gone, or none chosen: the one the engine speaks with.
    voiceList->setCurrentIndex(std::max<int>(0, voices.indexOf(given_.voice)));
    form->addRow(QStringLiteral("声："), voiceList);

    speedBox = new QDoubleSpinBox(this);
    speedBox->setRange(0.5, 2.0);
    speedBox->setSingleStep(0.1);
    speedBox->setDecimals(1);
    speedBox->setSuffix(QStringLiteral(" 倍"));
    speedBox->setValue(given_.speed);
    form->addRow(QStringLiteral("速さ："), speedBox);

    pitchBox = new QSpinBox(this);
    pitchBox->setRange(-12, 12);
    pitchBox->setSuffix(QStringLiteral(" 半音"));
    pitchBox->setValue(static_cast<int>(std::lround(given_.pitch)));
    form->addRow(QStringLiteral("高さ："), pitchBox);

    volumeBox = new QSpinBox(this);
    volumeBox->setRange(-20, 20);
    volumeBox->setSuffix(QStringLiteral(" dB"));
    volumeBox->setValue(static_cast<int>(std::lround(given_.volume)));
    form->addRow(QStringLiteral("音量："), volumeBox);
    layout->addLayout(form);

    tryButton = new QPushButton(QStringLiteral("試聴"), this);
    connect(tryButton, &QPushButton::clicked, this, &VoiceDialog::tryOut);
    layout->addWidget(tryButton, 0, Qt::AlignLeft);
    layout->addWidget(QtCompanionDialogs::okCancel(this));
}

QString VoiceDialog::sampleSentence() {
    return QStringLiteral("次は、市役所前です。お降りの方はお知らせください。");
}

VoiceSettings VoiceDialog::edited() const {
    VoiceSettings v;
    v.voice = voiceList->currentText();
    v.speed = speedBox->value();
    v.pitch = pitchBox->value();
    v.volume = volumeBox->value();
    return v;
}

void VoiceDialog::tryOut() {
    tried_ = true;
    engine_.stop();
    engine_.setVoice(edited());
    engine_.speak(sampleSentence());
}

bool VoiceDialog::edit() {
    const bool ok = exec() == QDialog::Accepted;
    if (tried_) engine_.stop();
    engine_.setVoice(ok ? edited() : given_);
    return ok;
}
