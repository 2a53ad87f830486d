#include "model/RouteSession.h"

#include "model/AnnouncementTape.h"
#include "model/AppInfo.h"
#include "model/Clock.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "model/Settings.h"
#include "model/SoundChannels.h"

#include <algorithm>

using FareData::MaxRows;

namespace {
constexpr SoundChannels::Channel KeyChannel = SoundChannels::Channel::S1;
constexpr SoundChannels::Channel StepChannel = SoundChannels::Channel::S2;
} // namespace

RouteSession::RouteSession(const Settings& settings, const SoundChannels& sounds,
                           AnnouncementTape& tape, MessageBoxService& messages, Clock& clock,
                           QObject* parent)
    : QObject(parent), settings_(settings), sounds_(sounds), tape_(tape), messages_(messages),
      clock_(clock) {}

// ---- One command at a time ---------------------------------------------------------

void RouteSession::submit(Command command) {
    pending_.push_back(std::move(command));
    runPending();
}

void RouteSession::runPending() {
    if (running_) return;
    if (!pending_.empty() && !busy_) {
        busy_ = true;
        emit busyChanged(true);
    }
    while (!running_ && !pending_.empty()) {
        Command next = std::move(pending_.front());
        pending_.pop_front();
        running_ = true;
        next(); // ends with finish(), at once or after the lamp test
    }
    if (!running_ && busy_) {
        busy_ = false;
        emit busyChanged(false);
    }
}

void RouteSession::finish() {
    running_ = false;
    runPending();
}

// ---- The keypad -----------------------------------------------------------------------

void RouteSession::pressKey(int key) {
    submit([this, key] {
        // Every key sounds, also one that is then ignored.
        sounds_.play(settings_.record().keySound, KeyChannel, SoundChannels::Play::Async);
        if (key == RouteKey) {
            entry_ = Entry::Route;
            typedRoute_.clear();
        } else if (key == SectionKey) {
            entry_ = Entry::Section;
            typedSection_.clear();
        } else if (key >= 0 && key <= 9) {
            QString& typed = entry_ == Entry::Route ? typedRoute_ : typedSection_;
            if (typed.size() < (entry_ == Entry::Route ? 5 : 3)) typed += QString::number(key);
        }
        emit keypadChanged();
        finish();
    });
}

void RouteSession::playListSound() {
    submit([this] {
        sounds_.play(settings_.record().keySound, KeyChannel, SoundChannels::Play::Async);
        finish();
    });
}

// ---- Setting a route ---------------------------------------------------------------

void RouteSession::setRoute(const QString& routeText, const QString& sectionText) {
    submit([=, this] { startRouteSetting(routeText, sectionText); });
}

void RouteSession::setRouteFromKeypad() {
    // The keypad's texts as they are when the setting runs, after the keys
    // pressed before it.
    submit([this] { startRouteSetting(typedRoute_, typedSection_); });
}

void RouteSession::startRouteSetting(const QString& routeText, const QString& sectionText) {
    const SettingsRecord& r = settings_.record();
    const QString fareFolder = FareData::withTrailingSeparator(r.fareFolder);
    const QString tapeFolder = FareData::withTrailingSeparator(r.announcementFolder);
    sounds_.play(r.routeSetSound, KeyChannel, SoundChannels::Play::Async);

    // A route setting that fails leaves the route before it as it was: its
    // table, its row, its route and section, and its announcements, which
    // are read only once the new fares are.
    const FareData::RouteState before = state_;
    state_.routeText = routeText;
    state_.startSection = FareData::sectionFromText(sectionText);
    const QString routeName = FareData::routeFileName(routeText);
    if (FareData::loadRouteFares(fareFolder, routeName, state_, table_, messages_) !=
        FareData::FareLoadOutcome::Loaded) {
        state_ = before;
        finish();
        return;
    }
    tape_.load(tapeFolder, routeName); // a bad file only closes the tape controls

    Board& b = board();
    state_.savedPrefixMode = b.prefixMode();
    b.setPrefixMode(0);
    b.showStopName(QStringLiteral("系統選別中"));
    b.setPrefixMode(state_.savedPrefixMode);

    stopPaging();
    b.resetCells(true);
    waiting_ = true;
    clock_.after(LampTestMs, this, [this] { endLampTest(); });
}

void RouteSession::endLampTest() {
    Board& b = board();
    for (int i = 1; i <= settings_.record().board.cells(); ++i) b.setCellValue(i, DigitValue(0));
    if (!routeSet_) {
        routeSet_ = true;
        emit controlsChanged();
    }
    const SettingsRecord& r = settings_.record();
    state_.ticketDateText = FareRow::dateModeOf(r) == FareRow::DateMode::Fixed
                                ? r.fixedDate
                                : FareRow::ticketDate(clock_);
    b.setPrefixMode(state_.savedPrefixMode);
    showCurrentRow();
    waiting_ = false;
    finish();
}

// ---- Stepping and the display clear ------------------------------------------------------

void RouteSession::step(Direction direction) {
    submit([this, direction] { stepNow(direction); });
}

void RouteSession::stepNow(Direction direction) {
    FareData::RouteState& st = state_;
    // Stepping stays within the rows the table really holds: a failed route
    // setting may leave a record count (0, negative, or another route's) that
    // does not describe the table, which keeps the previous route.
    const int last = std::min<int>(st.loadedRows, MaxRows);
    if (direction == Direction::Back) {
        if (st.currentRow <= 1) return finish();
        st.currentRow = static_cast<qint16>(std::min<int>(st.currentRow - 1, std::max(last, 1)));
    } else {
        if (st.currentRow >= last) return finish();
        st.currentRow = static_cast<qint16>(st.currentRow + 1);
    }

    const SettingsRecord& r = settings_.record();
    QString sound;
    if (r.stepSoundChoice == StepSoundChoice::Always) {
        sound = r.stepSound;
    } else { // by a data column, also with nothing chosen
        const int column = positionOrNone(r.stepSoundColumn) + 1;
        if (column >= 1 && column <= FareData::ValueCount) {
            const qint16 v = table_.row(st.currentRow).value(column);
            if (v >= 1 && v <= 3) sound = r.stepSoundsByValue[size_t(v - 1)];
        }
    }
    if (!sound.isEmpty())
        sounds_.play(sound, StepChannel,
                     r.stepSoundTiming == SoundTiming::Sync ? SoundChannels::Play::Sync
                                                            : SoundChannels::Play::Async);
    showCurrentRow();
    finish();
}

// ---- The announcement tape ---------------------------------------------------------------

void RouteSession::playTape(Direction direction) {
    submit([this, direction] {
        if (direction == Direction::Forward)
            tape_.next(sounds_, settings_.record());
        else
            tape_.back(sounds_, settings_.record());
        if (tape_.stepFlag(tape_.position()) == 1) return stepNow(direction);
        finish();
    });
}

void RouteSession::stopTape() {
    tape_.stop();
}

void RouteSession::setDisplayCleared(bool cleared) {
    submit([this, cleared] { clearNow(cleared); });
}

void RouteSession::clearNow(bool cleared) {
    if (cleared != cleared_) {
        cleared_ = cleared;
        emit controlsChanged();
    }
    tape_.setDisplayCleared(cleared);
    Board& b = board();
    if (cleared) {
        stopPaging();
        b.showStopName(QString());
        b.resetCells(false);
        b.setClockRunning(false);
    } else {
        b.setClockRunning(true);
        showCurrentRow(); // cells below the start section stay blank
    }
    finish();
}

void RouteSession::showRowAgain() {
    submit([this] {
        if (routeSet_ && !cleared_) showCurrentRow();
        finish();
    });
}

void RouteSession::showStopNameAgain() {
    board().showStopName(QString());
    board().showStopName(table_.row(std::clamp<int>(state_.currentRow, 1, MaxRows)).name);
}

// ---- Showing a row ---------------------------------------------------------------------

void RouteSession::showRow(int row) {
    stopPaging();
    const FareRow::Display d = FareRow::compute(
        row, table_, state_, FareRow::optionsOf(settings_.record(), companyIndex_), clock_);
    Board& b = board();
    for (const FareRow::CellWrite& w : d.writes) b.setCellValue(w.cell, w.value);
    const BoardChoice& board = settings_.record().board;
    if (board.paging && FareRow::pages(table_, row, state_.startSection, board.cells()).size() > 1)
        clock_.after(board.pageSeconds * 1000, this,
                     [this, row, g = pagingGeneration_] { turnPage(row, g); });

    if (preview_) {
        preview_->clear();
        if (d.drawTicket) {
            FareRow::TicketDrawing ticket = d.ticket;
            preview_->draw(ticket);
            table_.row(row).name = ticket.stopName; // the drawing may rewrite it
        }
    }

    if (d.updateSavedPrefixMode) state_.savedPrefixMode = d.prefixModeAfter;
    b.setPrefixMode(d.namePrefixMode);
    b.showStopName(table_.row(row).name);
    b.setPrefixMode(d.prefixModeAfter);
}

void RouteSession::showPage(int row, int first) {
    FareRow::Options o = FareRow::optionsOf(settings_.record(), companyIndex_);
    o.firstTicket = first;
    const FareRow::Display d = FareRow::compute(row, table_, state_, o, clock_);
    Board& b = board();
    // The cells of tickets before the start section show 0, as after the
    // lamp test, not what the page before left in them.
    for (int i = 1; i <= o.cells && first - 1 + i < state_.startSection; ++i)
        b.setCellValue(i, DigitValue(0));
    for (const FareRow::CellWrite& w : d.writes) b.setCellValue(w.cell, w.value);
    b.showTicketPage(first);
    pageFirst_ = first;
}

void RouteSession::turnPage(int row, int generation) {
    const BoardChoice& board = settings_.record().board;
    if (generation != pagingGeneration_ || !board.paging) return;
    const std::vector<int> pages =
        FareRow::pages(table_, row, state_.startSection, board.cells());
    const auto next = std::upper_bound(pages.begin(), pages.end(), pageFirst_);
    try {
        showPage(row, next == pages.end() ? pages.front() : *next);
    } catch (const K40Error&) {
        return stopPaging(); // told when the row was shown
    }
    clock_.after(board.pageSeconds * 1000, this, [this, row, generation] {
        turnPage(row, generation);
    });
}

void RouteSession::stopPaging() {
    ++pagingGeneration_;
    if (pageFirst_ != 1) board().showTicketPage(1);
    pageFirst_ = 1;
}

void RouteSession::showCurrentRow() {
    // A cell or data column that the settings cannot address (a list left
    // without a selection) is told, and the row is not half shown.
    try {
        showRow(state_.currentRow);
    } catch (const K40Error& e) {
        tell(e.description());
    }
}

void RouteSession::tell(const QString& text) {
    messages_.show(text, AppInfo::title(), MsgIcon::None, MsgButtons::Ok);
}
