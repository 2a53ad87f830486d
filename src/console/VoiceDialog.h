#pragma once
// "音声の調節", the voice settings of the announcement tape, owned by the
// console: the voice among those the speech engine found, its speed, pitch
// and volume, and "試聴" to hear a sample sentence as edited. OK leaves the
// edited voice with the engine; キャンセル gives the engine its voice back.

#include "model/SpeechEngine.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

class VoiceDialog : public QDialog {
    Q_OBJECT
public:
    VoiceDialog(SpeechEngine& engine, QWidget* owner);

    // Runs the dialog; true on OK.
    bool edit();
    // The voice as edited.
    VoiceSettings edited() const;

    static QString sampleSentence();

    QComboBox* voiceList = nullptr;
    QDoubleSpinBox* speedBox = nullptr; // times the normal speed
    QSpinBox* pitchBox = nullptr;       // half-tones
    QSpinBox* volumeBox = nullptr;      // dB
    QPushButton* tryButton = nullptr;   // "試聴"

private:
    void tryOut();

    SpeechEngine& engine_;
    VoiceSettings given_;
    bool tried_ = false;
};
