#include "options/PageButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PageButton::PageButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

QStringList PageButton::lines() const {
    QStringList out;
    for (const QString& part : text().split(QChar(0x3000), Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty()) out << part.trimmed();
    return out;
}

QSize PageButton::sizeHint() const {
    // As wide as the longest line in bold, the weight of the chosen button.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    int width = 0;
    for (const QString& line : lines()) width = std::max(width, fm.horizontalAdvance(line));
    return QSize(width + 20, std::max(34, int(lines().size()) * fm.lineSpacing() + 14));
}

void PageButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    option.state |= isChecked() ? QStyle::State_Sunken | QStyle::State_On : QStyle::State_Raised;
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                             QPalette::ButtonText));
    QFont f = font();
    f.setBold(isChecked());
    p.setFont(f);
    p.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter, lines().join(u'\n'));
}
