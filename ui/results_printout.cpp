#include "ui/results_printout.h"

#include <QPainter>
#include <QPrinter>

#include <fstream>
#include <string>
#include <vector>

#include "engine/line_reader.h"
#include "ui/results_print.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

bool ReadPrintedLines(const std::filesystem::path& path, std::vector<QString>& lines) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    LineReader reader(file);
    std::string_view line;
    while (reader.next(line)) lines.push_back(QString::fromStdString(PrintedResultsLine(line)));
    return !reader.failed();
}

}  // namespace

bool PrintResultsFile(const std::filesystem::path& path, QPrinter& printer) {
    std::vector<QString> lines;
    if (!ReadPrintedLines(path, lines)) return false;
    printer.setDocName(QString::fromStdString(path.filename().string()));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font = style::FixedFont(10);
    font.setBold(false);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int pageHeight = printer.height();
    int y = 0;
    for (const QString& line : lines) {
        if (y + lineHeight > pageHeight) {
            printer.newPage();
            y = 0;
        }
        painter.drawText(0, y + painter.fontMetrics().ascent(), line);
        y += lineHeight;
    }
    return painter.end();
}

}  // namespace talveron
