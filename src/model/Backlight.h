#pragma once
// The backlight of the board: "OFF", "ON1" or "ON2". Each mode has its panel
// picture (the built-in board picture, or a picture file of the user's when
// the pictures are set per mode) and its colour of the ticket numbers.

#include "model/BgrColor.h"
#include "model/SettingsRecord.h"

#include <QString>

enum class Backlight : qint16 { Off = 0, On1 = 1, On2 = 2 };

struct BacklightLook {
    bool userPicture = false; // show pictureFile instead of the built-in picture
    QString pictureFile;
    BgrColor numberColor = 0; // colour of the ticket-number labels
};

// How the board looks in mode under the settings of record.
BacklightLook backlightLook(const SettingsRecord& record, Backlight mode);
