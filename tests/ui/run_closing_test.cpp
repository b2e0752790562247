#include "ui/run_closing.h"

#include <QTest>

namespace talveron {

class RunClosingTest : public QObject {
    Q_OBJECT

private slots:
    void refusedRunsSayOnlyWhy_data();
    void refusedRunsSayOnlyWhy();
    void offersWhatTheRunWrote_data();
    void offersWhatTheRunWrote();
    void reportsTheCancelReasonFirst();
    void reportsFilesThatCouldNotBeWritten();
    void asksWithTheRunsTitles();
};

namespace {

RunOutcome Outcome(RunStatus status) {
    RunOutcome outcome;
    outcome.status = status;
    outcome.paths = DeriveRunPaths("/data/load.dat");
    return outcome;
}

OptionSettings Options(bool grf, bool gdr) {
    OptionSettings options = OptionSettings::Defaults();
    options.set(OptionKey::GRF, grf ? -1 : 0);
    options.set(OptionKey::GDR, gdr ? -1 : 0);
    return options;
}

}  // namespace

void RunClosingTest::refusedRunsSayOnlyWhy_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::newRow("too small") << static_cast<int>(RunStatus::TooSmall)
                               << QStringLiteral("/data/load.dat")
                               << QStringLiteral("File is too small!")
                               << static_cast<int>(MessageIcon::None);
    QTest::newRow("unreadable") << static_cast<int>(RunStatus::Unreadable)
                                << QStringLiteral("Talveron")
                                << QStringLiteral("Error Reading Load File!")
                                << static_cast<int>(MessageIcon::None);
    QTest::newRow("refused") << static_cast<int>(RunStatus::Refused) << QStringLiteral("Talveron")
                             << QStringLiteral("the problem")
                             << static_cast<int>(MessageIcon::Warning);
}

void RunClosingTest::refusedRunsSayOnlyWhy() {
    QFETCH(int, status);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, icon);
    RunOutcome outcome = Outcome(static_cast<RunStatus>(status));
    outcome.problem = "the problem";
    // Even with a report asked for, a run that never started asks nothing more.
    const RunClosing closing = PlanRunClosing(outcome, Options(true, true));
    QCOMPARE(closing.offer, ClosingOffer::None);
    QVERIFY(!closing.retitle);
    QCOMPARE(closing.messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(closing.messages[0].title), title);
    QCOMPARE(QString::fromStdString(closing.messages[0].text), text);
    QCOMPARE(static_cast<int>(closing.messages[0].icon), icon);
}

void RunClosingTest::offersWhatTheRunWrote_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("findings");
    QTest::addColumn<bool>("resultsWritten");
    QTest::addColumn<bool>("reportWritten");
    QTest::addColumn<bool>("grf");
    QTest::addColumn<bool>("gdr");
    QTest::addColumn<int>("offer");
    const int validated = static_cast<int>(RunStatus::Validated);
    const int cancelled = static_cast<int>(RunStatus::Cancelled);
    const int results = static_cast<int>(ClosingOffer::ViewResults);
    const int report = static_cast<int>(ClosingOffer::ViewReport);
    const int done = static_cast<int>(ClosingOffer::Done);
    QTest::newRow("findings written") << validated << 3 << true << true << true << true << results;
    QTest::newRow("no findings, report written")
        << validated << 0 << false << true << true << true << report;
    QTest::newRow("no findings, no report")
        << validated << 0 << false << false << true << false << done;
    QTest::newRow("results file off") << validated << 3 << true << true << false << true << report;
    QTest::newRow("results not written")
        << validated << 3 << false << true << true << true << report;
    QTest::newRow("cancelled: no report this run")
        << cancelled << 0 << false << false << true << true << done;
    QTest::newRow("cancelled with findings")
        << cancelled << 2 << true << false << true << true << results;
    QTest::newRow("report on but not written")
        << validated << 0 << false << false << true << true << done;
}

void RunClosingTest::offersWhatTheRunWrote() {
    QFETCH(int, status);
    QFETCH(int, findings);
    QFETCH(bool, resultsWritten);
    QFETCH(bool, reportWritten);
    QFETCH(bool, grf);
    QFETCH(bool, gdr);
    QFETCH(int, offer);
    RunOutcome outcome = Outcome(static_cast<RunStatus>(status));
    outcome.findingCount = findings;
    outcome.resultsWritten = resultsWritten;
    outcome.reportWritten = reportWritten;
    const RunClosing closing = PlanRunClosing(outcome, Options(grf, gdr));
    QCOMPARE(static_cast<int>(closing.offer), offer);
    QVERIFY(closing.retitle);
    QVERIFY(closing.messages.empty());
}

void RunClosingTest::reportsTheCancelReasonFirst() {
    RunOutcome outcome = Outcome(RunStatus::StoppedByLimit);
    outcome.cancelReason = "Total # of allowable errors was exceeded!";
    outcome.resultsStatus =
        Status::Error(Status::Code::WriteFailed, "Cannot write \"x.err\": disk full");
    const RunClosing closing = PlanRunClosing(outcome, Options(true, true));
    QCOMPARE(closing.messages.size(), std::size_t{2});
    QCOMPARE(closing.messages[0], (OperatorMessage{"Validation Cancelled Automatically",
                                                   "Total # of allowable errors was exceeded!",
                                                   MessageIcon::Warning,
                                                   {}}));
    QCOMPARE(closing.messages[1].text, std::string("Cannot write \"x.err\": disk full"));
    QCOMPARE(closing.offer, ClosingOffer::Done);
}

void RunClosingTest::reportsFilesThatCouldNotBeWritten() {
    RunOutcome outcome = Outcome(RunStatus::Validated);
    outcome.findingCount = 4;
    outcome.resultsStatus = Status::Error(Status::Code::WriteFailed, "results reason");
    outcome.reportStatus = Status::Error(Status::Code::WriteFailed, "report reason");
    const RunClosing closing = PlanRunClosing(outcome, Options(true, true));
    QCOMPARE(closing.messages.size(), std::size_t{2});
    QCOMPARE(closing.messages[0].title, std::string("Results File Not Written"));
    QCOMPARE(closing.messages[0].text, std::string("results reason"));
    QCOMPARE(closing.messages[1].title, std::string("Summary Report Not Written"));
    QCOMPARE(closing.messages[1].text, std::string("report reason"));
    // Neither file is offered: there is nothing to show.
    QCOMPARE(closing.offer, ClosingOffer::Done);
}

void RunClosingTest::asksWithTheRunsTitles() {
    QCOMPARE(OfferMessage(ClosingOffer::ViewResults),
             (OperatorMessage{"MORVA Validation Complete",
                              "View encountered errors/warnings?",
                              MessageIcon::Question,
                              {}}));
    QCOMPARE(OfferMessage(ClosingOffer::ViewReport),
             (OperatorMessage{"MORVA Validation Complete",
                              "View Distribution Summary Report?",
                              MessageIcon::Question,
                              {}}));
    QCOMPARE(OfferMessage(ClosingOffer::Done),
             (OperatorMessage{"MORVA Validation Complete", "Done!", MessageIcon::Information, {}}));
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RunClosingTest)
#include "run_closing_test.moc"
