#pragma once

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <vector>

#include "config/record_layout.h"
#include "ui/background_task.h"
#include "ui/field_locator.h"
#include "ui/finding_reader.h"
#include "ui/finding_search.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace talveron {

class CharacterStrip;
class Dialogs;
class ExternalOpener;
class FindingSource;
class ResultsIndex;

/// The "Talveron Errors & Warnings" window: steps through the findings of one results file. For
/// the finding on show it marks the offending field and character in a strip of the record's
/// characters and lists the record's fields in a grid. The file is indexed once when the window
/// opens (on a thread of its own when it is big, with a progress dialog that can cancel the
/// opening); each step then reads only the finding's own section. File > Print prints the file
/// and File > View Report shows the report that belongs to it in a report window of the viewer's
/// own, as the main window shows reports. Given the findings that are new since the last run, it
/// marks them and Step > Only New Findings steps through them alone. The window can be resized:
/// the strip then shows as many characters as fit.
class ResultsViewer final : public QDialog {
    Q_OBJECT

public:
    ResultsViewer(std::filesystem::path resultsPath, const LayoutTable& layouts, Dialogs& dialogs,
                  ExternalOpener& opener, QWidget* parent = nullptr);
    ~ResultsViewer() override;

    /// The number of the finding on show (1-based).
    std::int64_t current() const { return current_; }
    /// The number of character cells of the strip.
    int cellCount() const;
    /// The file is indexed and no search is going on: the window steps.
    bool ready() const;
    /// The numbers of the findings new since the file's last run, ascending: they are marked,
    /// and Step > Only New Findings is offered when there is one.
    void setNewFindings(std::vector<std::int64_t> numbers);

signals:
    /// A finding has been shown (also the first, once the file is indexed).
    void findingShown();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    QTableWidget* buildGrid();
    QWidget* buildFindingRow();
    QWidget* buildButtons();
    bool fitToWidth();
    void sizeNameColumn();
    void openResults();
    void showResults(std::shared_ptr<std::istream> file, std::shared_ptr<const ResultsIndex> index);
    void go(std::int64_t number);
    /// The finding a step leads to from `number`: the next (`direction` 1) or the previous (-1),
    /// among the new findings only when so asked; nullopt at the end.
    std::optional<std::int64_t> stepFrom(std::int64_t number, int direction) const;
    /// The first (`direction` -1) or the last (1) finding the steps reach.
    std::int64_t endOf(int direction) const;
    void goTo();
    void findNext(FindingMatch match);
    void showFinding();
    void scrollStrip();
    void showCharacters();
    void fillFieldGrid();
    void placeGridSelection();
    void print();
    void viewReport();

    std::filesystem::path resultsPath_;
    const LayoutTable& layouts_;
    Dialogs& dialogs_;
    ExternalOpener& opener_;

    BackgroundTask task_;
    std::shared_ptr<std::istream> file_;
    std::shared_ptr<const ResultsIndex> index_;
    std::unique_ptr<FindingSource> source_;
    std::int64_t current_ = 1;
    std::vector<std::int64_t> newFindings_;
    ResultsFinding finding_;
    FieldSpan field_;

    QLabel* charInfo_ = nullptr;
    CharacterStrip* strip_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLabel* level_ = nullptr;
    QLabel* newMark_ = nullptr;
    QAction* newOnly_ = nullptr;
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
