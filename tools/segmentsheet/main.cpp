// Renders a sheet of digit display cells to a PNG: every style in every size,
// the zero modes against 0, -1, the empty text and a number, zero fill and
// shift, and the lamp test. Usage: segmentsheet [output.png] [zoom]
#include "widgets/SegmentDisplay.h"
#include "widgets/Typefaces.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Sample {
    QString label;
    std::function<void(SegmentDisplay&)> setup;
};

struct Row {
    QString label;
    std::vector<Sample> samples;
};

constexpr int Pad = 8;
constexpr int LabelWidth = 300;
constexpr int ColumnWidth = 210;

QImage renderSheet(const std::vector<Row>& rows) {
    std::vector<std::vector<QImage>> cells;
    int height = Pad;
    for (const Row& row : rows) {
        std::vector<QImage> images;
        int rowHeight = 0;
        for (const Sample& s : row.samples) {
            SegmentDisplay d;
            s.setup(d);
            images.push_back(d.image());
            rowHeight = qMax(rowHeight, d.image().height());
        }
        cells.push_back(images);
        height += rowHeight + 14 + Pad;
    }
    qsizetype columns = 0;
    for (const Row& row : rows)
        columns = qMax(columns, static_cast<qsizetype>(row.samples.size()));
    QImage sheet(LabelWidth + static_cast<int>(columns) * ColumnWidth, height,
                 QImage::Format_RGB32);
    sheet.fill(QColor(48, 48, 48));
    QPainter p(&sheet);
    QFont labelFont(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(11);
    p.setFont(labelFont);
    int y = Pad;
    for (size_t r = 0; r < rows.size(); ++r) {
        int rowHeight = 0;
        for (const QImage& img : cells[r])
            rowHeight = qMax(rowHeight, img.height());
        p.setPen(QColor(230, 230, 230));
        p.drawText(QRect(Pad, y, LabelWidth - Pad, rowHeight + 14), Qt::AlignVCenter,
                   rows[r].label);
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const int x = LabelWidth + static_cast<int>(c) * ColumnWidth;
            p.drawImage(x, y, cells[r][c]);
            p.setPen(QColor(180, 180, 180));
            p.drawText(QRect(x, y + rowHeight, ColumnWidth - 4, 14), Qt::AlignLeft,
                       rows[r].samples[c].label);
        }
        y += rowHeight + 14 + Pad;
    }
    return sheet;
}

Sample cell(const QString& label, qint16 style, qint16 size, qint16 keta, const DigitValue& value,
            qint16 zeroMode = 0, qint16 fillZero = 0, qint16 shift = 0) {
    return {label, [=](SegmentDisplay& d) {
                d.setDigitStyle(style);
                d.setDigitSize(size);
                d.setDigitCount(keta);
                d.setZeroMode(zeroMode);
                d.setFillZero(fillZero);
                d.setShift(shift);
                d.setValue(value);
            }};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("segmentsheet.png");
    const int zoom = argc > 2 ? qMax(1, atoi(argv[2])) : 1;

    std::vector<Row> rows;
    for (qint16 style = 0; style <= 2; ++style) {
        for (qint16 size = 0; size <= 3; ++size) {
            const QSize c = SegmentDisplay::cellSize(size);
            Row row{QStringLiteral("style %1 (%2) size %3, %4x%5")
                        .arg(QString::number(style), Typefaces::digitFamily(style))
                        .arg(size)
                        .arg(c.width())
                        .arg(c.height()),
                    {}};
            row.samples.push_back(
                cell(QStringLiteral("0123456789"), style, size, 10, QStringLiteral("0123456789")));
            row.samples.push_back(cell(QStringLiteral("-5 (3 digits)"), style, size, 3, -5));
            row.samples.push_back({QStringLiteral("lamp test"), [=](SegmentDisplay& d) {
                                       d.setDigitStyle(style);
                                       d.setDigitSize(size);
                                       d.setDigitCount(3);
                                       d.resetDigits(true);
                                   }});
            row.samples.push_back({QStringLiteral("blank"), [=](SegmentDisplay& d) {
                                       d.setDigitStyle(style);
                                       d.setDigitSize(size);
                                       d.setDigitCount(3);
                                       d.resetDigits(false);
                                   }});
            rows.push_back(row);
        }
    }
    const QList<DigitValue> values = {0, -1, QString(), 230};
    const QStringList names = {QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("\"\""),
                               QStringLiteral("230")};
    for (qint16 mode : {0, 1, 2, 3, -1}) {
        Row row{QStringLiteral("fare cell, ZeroMode %1").arg(mode), {}};
        for (int i = 0; i < values.size(); ++i)
            row.samples.push_back(cell(names[i], 1, 2, 3, values[i], mode));
        rows.push_back(row);
    }
    rows.push_back({QStringLiteral("fare cell, fill and shift"),
                    {cell(QStringLiteral("FillZero 3, 5"), 1, 2, 3, 5, 0, 3),
                     cell(QStringLiteral("FillZero 3, -5"), 1, 2, 3, -5, 0, 3),
                     cell(QStringLiteral("Shift 1, 5"), 1, 2, 3, 5, 0, 0, 1),
                     cell(QStringLiteral("Shift 1, 123"), 1, 2, 3, 123, 0, 0, 1),
                     cell(QStringLiteral("1234"), 1, 2, 3, 1234)}});

    QImage sheet = renderSheet(rows);
    if (zoom > 1)
        sheet = sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!sheet.save(out)) {
        std::fprintf(stderr, "segmentsheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
