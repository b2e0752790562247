#pragma once

#include <QDialog>
#include <QPrinter>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/external_opener.h"

namespace talveron::testing {

/// Answers every dialog from a script and records, in order, what the operator would have seen.
class ScriptedDialogs final : public Dialogs {
public:
    /// One line per interaction: "message: <title> | <text>", "ask: ...",
    /// "offer: <title> | <text> | <action>", "choose: <title>", "save: <title>",
    /// "modal: <object name>".
    std::vector<QString> log;
    std::vector<OperatorMessage> messages;  ///< messages and questions, in order
    std::vector<FileChoice> choices;
    std::vector<SaveChoice> saves;
    std::deque<QString> files;  ///< answers of the file dialogs; none left = cancelled
    std::deque<bool> answers;   ///< answers of the questions and offers; none left = Cancel
    std::function<void(QDialog&)> onModal;  ///< runs while a modal window is "open"
    QString printFile;                      ///< printers print to this PDF; empty = print cancelled

    void showMessage(QWidget*, const OperatorMessage& message) override {
        record(QStringLiteral("message"), message);
    }
    bool ask(QWidget*, const OperatorMessage& question) override {
        record(QStringLiteral("ask"), question);
        return answer();
    }
    bool offer(QWidget*, const OperatorOffer& offer) override {
        record(QStringLiteral("offer"), offer.question);
        log.back() += QStringLiteral(" | ") + QString::fromStdString(offer.action);
        return answer();
    }
    QString chooseOpenFile(QWidget*, const FileChoice& choice) override {
        choices.push_back(choice);
        log.push_back(QStringLiteral("choose: ") + choice.title);
        if (files.empty()) return {};
        QString file = files.front();
        files.pop_front();
        return file;
    }
    SavedFile chooseSaveFile(QWidget*, const SaveChoice& choice) override {
        saves.push_back(choice);
        log.push_back(QStringLiteral("save: ") + choice.title);
        if (files.empty()) return {};
        SavedFile saved{files.front(), choice.checked};
        files.pop_front();
        return saved;
    }
    void showModal(QDialog& dialog) override {
        log.push_back(QStringLiteral("modal: ") + dialog.objectName());
        dialog.show();
        if (onModal) onModal(dialog);
    }
    bool preparePrinter(QWidget*, QPrinter& printer) override {
        if (printFile.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile);
        return true;
    }

    /// The log lines that start with `prefix`.
    std::vector<QString> logOf(const QString& prefix) const {
        std::vector<QString> lines;
        for (const QString& line : log) {
            if (line.startsWith(prefix)) lines.push_back(line);
        }
        return lines;
    }

private:
    bool answer() {
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void record(const QString& kind, const OperatorMessage& message) {
        messages.push_back(message);
        log.push_back(kind + QStringLiteral(": ") + QString::fromStdString(message.title) +
                      QStringLiteral(" | ") + QString::fromStdString(message.text));
    }
};

/// Records what would have been handed to the desktop's opener.
class RecordingOpener final : public ExternalOpener {
public:
    std::vector<std::filesystem::path> textFiles;
    std::vector<std::filesystem::path> webPages;
    std::string failure;  ///< returned by openTextFile; empty = success
    bool present = true;  ///< what available() says

    bool available() const override { return present; }
    std::string openTextFile(const std::filesystem::path& path) override {
        textFiles.push_back(path);
        return failure;
    }
    std::string openWebPage(const std::filesystem::path& path) override {
        webPages.push_back(path);
        return failure;
    }
};

}  // namespace talveron::testing
