#pragma once

#include <QDialog>

#include <filesystem>
#include <vector>

#include "config/record_layout.h"
#include "ui/field_locator.h"
#include "ui/finding_reader.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace talveron {

class Dialogs;
class ExternalOpener;

/// The "Talveron Errors & Warnings" window: steps through the findings of one results file. For
/// the finding on show it marks the offending field and character in a strip of the record's
/// characters and lists the record's fields in a grid. The file is read afresh for every
/// finding; File > Print prints it and File > View Report opens the report that belongs to it.
class ResultsViewer final : public QDialog {
    Q_OBJECT

public:
    ResultsViewer(std::filesystem::path resultsPath, const LayoutTable& layouts, Dialogs& dialogs,
                  ExternalOpener& opener, QWidget* parent = nullptr);

    /// The number of the finding on show (1-based).
    int current() const { return current_; }
    /// The number of character cells of the strip.
    int cellCount() const { return static_cast<int>(cells_.size()); }

private:
    void buildMenus();
    QWidget* buildStrip();
    QTableWidget* buildGrid(int width);
    QWidget* buildFindingRow();
    QWidget* buildButtons();
    void go(int number);
    void showFinding();
    void showCharacters();
    void fillFieldGrid();
    void print();
    void viewReport();

    std::filesystem::path resultsPath_;
    const LayoutTable& layouts_;
    Dialogs& dialogs_;
    ExternalOpener& opener_;

    int current_ = 1;
    ResultsFinding finding_;
    FieldSpan field_;

    QLabel* charInfo_ = nullptr;
    std::vector<QLabel*> cells_;
    QScrollBar* scroll_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLabel* level_ = nullptr;
    QLabel* currentLabel_ = nullptr;
    QLabel* totalLabel_ = nullptr;
    QLabel* characterLabel_ = nullptr;
    QLabel* lineLabel_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QPushButton* first_ = nullptr;
    QPushButton* last_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace talveron
