#pragma once
// The settings of a first start on the shipped samples: the folders point at
// the sample route, the sounds are the sample chimes, the strip is amber
// with its "次は" prefix, and the ticket preview is open with the given
// plug-in, so that the first run is seen and heard.

#include "model/SettingsRecord.h"

#include <QDate>

namespace StarterSettings {

// The data columns the starter settings read besides the fares: the step
// chime (1 to 3) and the column an information cell may show. They lie above
// the fares of any route of up to 120 stops (a route of n stops has its fares
// in v1..v(n-1)), so an imported long route never has fares there.
constexpr int StepChimeColumn = 121;
constexpr int InfoColumn = 122;

// routeFolder holds the fare data and announcements, soundFolder the sample
// chimes (route.wav, key.wav, step1..3.wav, announce.wav, melody.mid);
// plugin may be empty (no ticket preview). today is the fixed ticket date.
SettingsRecord record(const QString& routeFolder, const QString& soundFolder,
                      const QString& plugin, const QDate& today);

} // namespace StarterSettings
