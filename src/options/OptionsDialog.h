#pragma once
// The options dialog "オプション": six pages that edit every setting, chosen
// by the column of page buttons, and OK. The dialog edits a copy of the
// settings record and hands it back when it closes. There is no Cancel: what
// is changed in the dialog stays, so closing the window keeps the edits as OK
// does, and Esc does nothing.

#include "options/OptionsPage.h"

#include <QDialog>
#include <array>

class DigitsPage;
class FoldersPage;
class PanelPage;
class QRadioButton;
class QStackedWidget;
class SoundsPage;
class StopNamePage;
class TicketPreviewPage;
struct SettingsRecord;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(CompanionDialogs* dialogs, TicketEngine* tickets, MessageBoxService* messages,
                  QWidget* parent = nullptr);
    ~OptionsDialog() override;

    std::array<QRadioButton*, 6> pageButtons{};
    FoldersPage* foldersPage = nullptr;
    PanelPage* panelPage = nullptr;
    DigitsPage* digitsPage = nullptr;
    StopNamePage* stopNamePage = nullptr;
    SoundsPage* soundsPage = nullptr;
    TicketPreviewPage* ticketPreviewPage = nullptr;
    QPushButton* okButton = nullptr;

    // Shows record in the pages and waits for the user; returns with record
    // edited when the dialog is closed by OK or by its window.
    void edit(SettingsRecord& record);
    // The ticket plug-ins chosen during the last edit, in order.
    const QStringList& pluginChoices() const { return context_.pluginChoices; }

    // Opens a folder in the desktop's file manager; tests replace it.
    void setFolderOpener(std::function<bool(const QString&)> open);

    // Shows page i, as a click on its page button does.
    void showPage(int i);
    std::array<OptionsPage*, 6> pages() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    OptionsContext context_;
    QStackedWidget* stack_ = nullptr;
};
