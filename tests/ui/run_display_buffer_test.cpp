#include "ui/run_display_buffer.h"

#include <QTest>

#include <thread>

namespace talveron {

namespace {

RunCounters Counted(std::int64_t records) {
    RunCounters counters;
    counters.values[RunCounters::kTotalRecords] = records;
    return counters;
}

std::int64_t Records(const RunDisplayBuffer::Changes& changes) {
    return changes.counters->values[RunCounters::kTotalRecords];
}

}  // namespace

class RunDisplayBufferTest : public QObject {
    Q_OBJECT

private slots:
    void publishesOneLineAndTheCountsPerRefresh() {
        RunDisplayBuffer buffer;
        // The counts of a line come before the next line starts: both go out in the same refresh.
        buffer.countersChanged(Counted(5));
        buffer.lineStarted(1, "first");
        buffer.lineStarted(2, "second");  // no refresh asked for since the first
        RunDisplayBuffer::Changes changes = buffer.take();
        QVERIFY(changes.counters.has_value() && changes.line.has_value());
        QCOMPARE(Records(changes), 5);
        QCOMPARE(*changes.line, (std::pair<std::int64_t, std::string>{1, "first"}));
        buffer.lineStarted(3, "third");
        QCOMPARE(buffer.take().line->first, 3);
    }

    void keepsTheLatestCountsAndInformationForTheNextRefresh() {
        RunDisplayBuffer buffer;
        buffer.countersChanged(Counted(1));  // takes the refresh
        buffer.informationChanged("ERROR Information", "one Line:1");
        buffer.countersChanged(Counted(2));
        buffer.informationChanged("WARNING Information", "two Line:2");
        RunDisplayBuffer::Changes changes = buffer.take();
        QCOMPARE(Records(changes), 1);
        QVERIFY(!changes.information.has_value());
        // The next call after the refresh publishes what the run holds by then.
        buffer.countersChanged(Counted(3));
        changes = buffer.take();
        QCOMPARE(Records(changes), 3);
        QCOMPARE(*changes.information,
                 (std::pair<std::string, std::string>{"WARNING Information", "two Line:2"}));
    }

    void publishesProgressAndTimeAtOnceAndOnlyOnce() {
        RunDisplayBuffer buffer;
        buffer.countersChanged(Counted(1));  // takes the refresh
        buffer.progressChanged(10, 3);
        buffer.progressChanged(11, 3);
        buffer.elapsedChanged("0:00:01");
        buffer.phaseChanged(RunPhase::Validating);
        const RunDisplayBuffer::Changes changes = buffer.take();
        QCOMPARE(*changes.progress, (std::pair{11, 3}));
        QCOMPARE(*changes.elapsed, std::string("0:00:01"));
        QCOMPARE(*changes.phase, RunPhase::Validating);
        const RunDisplayBuffer::Changes again = buffer.take();
        QVERIFY(!again.elapsed && !again.progress && !again.phase && !again.counters &&
                !again.information && !again.line);
    }

    void endsOnTheRunsFinalState() {
        RunDisplayBuffer buffer;
        buffer.countersChanged(Counted(40));  // takes the refresh
        buffer.countersChanged(Counted(41));
        buffer.informationChanged("Information", "Generating Summary...");
        buffer.informationChanged("Information", "");
        buffer.phaseChanged(RunPhase::Finished);
        const RunDisplayBuffer::Changes changes = buffer.take();
        QCOMPARE(*changes.phase, RunPhase::Finished);
        QCOMPARE(Records(changes), 41);
        QCOMPARE(changes.information->second, std::string());
    }

    void handsOverBetweenThreads() {
        RunDisplayBuffer buffer;
        constexpr std::int64_t kLines = 200000;
        std::thread run([&buffer] {
            for (std::int64_t line = 1; line <= kLines; ++line) {
                buffer.lineStarted(line, "a record");
                buffer.countersChanged(Counted(line));
            }
            buffer.phaseChanged(RunPhase::Finished);
        });
        std::int64_t lastLine = 0;
        std::int64_t lastCount = 0;
        for (bool finished = false; !finished; std::this_thread::yield()) {
            const RunDisplayBuffer::Changes changes = buffer.take();
            if (changes.line) {
                QVERIFY(changes.line->first > lastLine);  // lines only move forward
                lastLine = changes.line->first;
            }
            if (changes.counters) lastCount = Records(changes);
            finished = changes.phase == RunPhase::Finished;
        }
        run.join();
        QCOMPARE(lastCount, kLines);
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RunDisplayBufferTest)
#include "run_display_buffer_test.moc"
