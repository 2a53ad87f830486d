#include "model/Backlight.h"

BacklightLook backlightLook(const SettingsRecord& r, Backlight mode) {
    const bool perMode = r.PanelManual != 0;
    switch (mode) {
    case Backlight::Off:
        return {perMode && r.PanelOffUser != 0, r.PanelOffFile,
                static_cast<BgrColor>(r.SeiriNumColorOff)};
    case Backlight::On1:
        return {perMode && r.PanelOn1User != 0, r.PanelOn1File,
                static_cast<BgrColor>(r.SeiriNumColorOn1)};
    case Backlight::On2:
        break;
    }
    return {perMode && r.PanelOn2User != 0, r.PanelOn2File,
            static_cast<BgrColor>(r.SeiriNumColorOn2)};
}
