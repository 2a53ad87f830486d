#pragma once
// Options page "整理券プレビュー": whether the console previews the boarding
// ticket, the ticket plug-in that draws it (with what the plug-in can print
// and its remarks), and the date the ticket carries.

#include "options/OptionsPage.h"
#include "widgets/TicketEngine.h"

class QListWidget;
class QPlainTextEdit;

class TicketPreviewPage : public OptionsPage {
    Q_OBJECT
public:
    explicit TicketPreviewPage(OptionsContext& context);


    QCheckBox* usePreview = nullptr; // "整理券プレビュー機能を使用する"
    QGroupBox* pluginFrame = nullptr;
    QLineEdit* pluginFile = nullptr;
    QPushButton* choosePlugin = nullptr;
    QPushButton* clearPlugin = nullptr;
    QListWidget* pluginProperties = nullptr; // what the plug-in can print
    QPlainTextEdit* pluginRemarks = nullptr;
    QGroupBox* dateFrame = nullptr;
    QRadioButton* dateEachPrint = nullptr;  // the system date at every drawing
    QRadioButton* dateAtRouteSet = nullptr; // the system date of the route setting
    QRadioButton* dateFixed = nullptr;      // "右記の日付に固定"
    QLabel* fixedDate = nullptr;            // yyyy/mm/dd
    QPushButton* chooseDate = nullptr;

    // The lines of the property list for a plug-in's information.
    static QStringList propertyLines(const TicketPluginInfo& info);

private:
    void loaded(const SettingsRecord& record) override;
    // Shows what the plug-in at path can print and its remarks; false (and
    // nothing changed) when path is no plug-in.
    bool showPlugin(const QString& path);
    void applyEnablingRules();
};
