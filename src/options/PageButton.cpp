#include "options/PageButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PageButton::PageButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

QSize PageButton::sizeHint() const {
    const QFontMetrics fm(font());
    const QRect text = fm.boundingRect(QRect(0, 0, 110, 1000), Qt::TextWordWrap | Qt::AlignCenter,
                                       this->text().simplified());
    return QSize(130, std::max(34, text.height() + 14));
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
    // The full-width blanks of a caption only served to break its line.
    p.drawText(rect().adjusted(8, 4, -8, -4), Qt::AlignCenter | Qt::TextWordWrap,
               text().simplified());
}
