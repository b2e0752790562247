#include "ui/results_printout.h"

#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <fstream>
#include <string>

#include "engine/line_reader.h"
#include "ui/display_text.h"
#include "ui/results_print.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

// Continued lines start under the values, after the seven characters of "Level: ".
constexpr int kValueColumn = 7;

}  // namespace

bool PrintResultsFile(const std::filesystem::path& path, QPrinter& printer) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    printer.setDocName(QString::fromStdString(path.filename().string()));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font = style::FixedFont(10);
    font.setBold(false);
    painter.setFont(font);
    const QFontMetricsF metrics = painter.fontMetrics();
    const qreal lineHeight = metrics.lineSpacing();
    const qreal pageWidth = printer.width();
    const qreal pageHeight = printer.height();
    const qreal indent =
        std::min(metrics.horizontalAdvance(QString(kValueColumn, u' ')), pageWidth / 2);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAnywhere);

    LineReader reader(file);
    std::string_view line;
    qreal y = 0;
    while (reader.next(line)) {
        QTextLayout layout(DisplayText(PrintedResultsLine(line)), painter.font(), &printer);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine part = layout.createLine(); part.isValid(); part = layout.createLine()) {
            const qreal x = part.lineNumber() == 0 ? 0 : indent;
            part.setLineWidth(pageWidth - x);
            part.setPosition(QPointF(x, 0));
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            if (y + lineHeight > pageHeight) {
                printer.newPage();
                y = 0;
            }
            layout.lineAt(i).draw(&painter, QPointF(0, y));
            y += lineHeight;
        }
    }
    return painter.end();
}

}  // namespace talveron
