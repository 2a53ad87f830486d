#pragma once
// Options page "運賃データと放送用データ": the folders of the fare data
// files (*.hy3) and of the announcement files (*tp.csv).

#include "options/OptionsPage.h"

class FoldersPage : public OptionsPage {
    Q_OBJECT
public:
    explicit FoldersPage(OptionsContext& context);


    PathRow fareFolder;
    PathRow tapeFolder;
    QPushButton* openFareFolder = nullptr; // "上記運賃データの場所をエクスプローラで開く"
    QPushButton* openTapeFolder = nullptr;

private:
    // Opens path in the desktop's file manager; an existing folder that
    // cannot be opened is told.
    void openFolder(const QString& path);
};
