#include "ui/run_closing.h"

#include <QTest>

namespace talveron {

namespace {

using enum ClosingOffer;

RunOutcome Outcome(RunStatus status) {
    RunOutcome outcome;
    outcome.status = status;
    outcome.paths = DeriveRunPaths("/data/load.dat");
    return outcome;
}

// The closing of a run with the results file (GRF) and the report (GDR) switched on or off.
RunClosing Close(const RunOutcome& outcome, bool grf = true, bool gdr = true) {
    OptionSettings options = OptionSettings::Defaults();
    options.set(OptionKey::GRF, grf ? -1 : 0);
    options.set(OptionKey::GDR, gdr ? -1 : 0);
    return PlanRunClosing(outcome, options);
}

}  // namespace

class RunClosingTest : public QObject {
    Q_OBJECT

private slots:
    void refusedRunsSayOnlyWhy() {
        const std::pair<RunStatus, OperatorMessage> cases[] = {
            {RunStatus::TooSmall, {"/data/load.dat", "File is too small!", MessageIcon::None, {}}},
            {RunStatus::Unreadable,
             {"Talveron", "Error Reading Load File!", MessageIcon::None, "the problem"}},
            {RunStatus::Refused, {"Talveron", "the problem", MessageIcon::Warning, {}}},
            {RunStatus::TooLarge, {"Talveron", "the problem", MessageIcon::Warning, {}}},
        };
        for (const auto& [status, message] : cases) {
            // Even with both files asked for, a run that never started asks nothing more.
            RunOutcome outcome = Outcome(status);
            outcome.problem = "the problem";
            const RunClosing closing = Close(outcome);
            QVERIFY2(closing.offer == None && !closing.retitle, message.text.c_str());
            QCOMPARE(closing.messages, std::vector{message});
        }
    }

    void offersWhatTheRunWrote() {
        using enum RunStatus;
        // Findings, results written, report written, GRF, GDR: the offer.
        const std::tuple<const char*, RunStatus, int, bool, bool, bool, bool, ClosingOffer>
            cases[] = {
                {"findings written", Validated, 3, true, true, true, true, ViewResults},
                {"no findings", Validated, 0, true, true, true, true, ViewReport},
                {"report written, but off", Validated, 0, false, true, true, false, Done},
                {"results file off", Validated, 3, true, true, false, true, ViewReport},
                {"results not written", Validated, 3, false, true, true, true, ViewReport},
                {"report on but not written", Validated, 0, false, false, true, true, Done},
                {"cancelled with findings", Cancelled, 2, true, false, true, true, ViewResults},
            };
        for (const auto& [name, status, findings, results, report, grf, gdr, offer] : cases) {
            RunOutcome outcome = Outcome(status);
            outcome.findingCount = findings;
            outcome.resultsWritten = results;
            outcome.reportWritten = report;
            const RunClosing closing = Close(outcome, grf, gdr);
            QVERIFY2(closing.offer == offer && closing.retitle && closing.messages.empty(), name);
        }
    }

    void reportsWhatWentWrongBeforeTheOffer() {
        // The automatic cancel first, then each file that could not be written; neither is offered.
        RunOutcome outcome = Outcome(RunStatus::StoppedByLimit);
        outcome.cancelReason = "Total # of allowable errors was exceeded!";
        outcome.findingCount = 4;
        outcome.resultsStatus = Status::Error(Status::Code::WriteFailed, "results reason");
        outcome.reportStatus = Status::Error(Status::Code::WriteFailed, "report reason");
        const RunClosing closing = Close(outcome);
        QCOMPARE(closing.messages,
                 (std::vector<OperatorMessage>{
                     {"Validation Cancelled Automatically",
                      "Total # of allowable errors was exceeded!",
                      MessageIcon::Warning,
                      {}},
                     {"Results File Not Written", "results reason", MessageIcon::Warning, {}},
                     {"Summary Report Not Written", "report reason", MessageIcon::Warning, {}}}));
        QCOMPARE(closing.offer, Done);
        QVERIFY(closing.retitle);
    }

    void asksWithTheRunsTitles() {
        for (const auto& [offer, text, icon] :
             {std::tuple{ViewResults, "View encountered errors/warnings?", MessageIcon::Question},
              {ViewReport, "View Distribution Summary Report?", MessageIcon::Question},
              {Done, "Done!", MessageIcon::Information}}) {
            QCOMPARE(OfferMessage(offer),
                     (OperatorMessage{"MORVA Validation Complete", text, icon, {}}));
        }
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RunClosingTest)
#include "run_closing_test.moc"
