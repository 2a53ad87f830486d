#include "model/Backlight.h"

BacklightLook backlightLook(const SettingsRecord& r, Backlight mode) {
    const auto i = size_t(mode);
    // A picture file of the user's shows only when the pictures are set per mode.
    const bool perMode = r.panelPictures == PanelPictures::PerMode;
    return {perMode && r.modePictures[i] == ModePicture::User, r.modePictureFiles[i],
            r.ticketNumberColors[i]};
}
