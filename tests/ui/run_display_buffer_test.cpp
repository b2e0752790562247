#include "ui/run_display_buffer.h"

#include <QTest>

#include <thread>

namespace talveron {

class RunDisplayBufferTest : public QObject {
    Q_OBJECT

private slots:
    void publishesOneLinePerRefresh();
    void keepsTheLatestCountsAndInformationForTheNextRefresh();
    void publishesTheLineAndTheCountsOfOneRefresh();
    void publishesProgressAndTimeAtOnce();
    void endsOnTheRunsFinalState();
    void takesNothingTwice();
    void handsOverBetweenThreads();
};

namespace {

RunCounters Counted(std::int64_t records) {
    RunCounters counters;
    counters.values[RunCounters::kTotalRecords] = records;
    return counters;
}

}  // namespace

void RunDisplayBufferTest::publishesOneLinePerRefresh() {
    RunDisplayBuffer buffer;
    buffer.lineStarted(1, "first");
    buffer.lineStarted(2, "second");  // no refresh asked for since the first
    RunDisplayBuffer::Changes changes = buffer.take();
    QVERIFY(changes.line.has_value());
    QCOMPARE(changes.line->first, 1);
    QCOMPARE(changes.line->second, std::string("first"));
    buffer.lineStarted(3, "third");
    changes = buffer.take();
    QCOMPARE(changes.line->first, 3);
}

void RunDisplayBufferTest::keepsTheLatestCountsAndInformationForTheNextRefresh() {
    RunDisplayBuffer buffer;
    buffer.countersChanged(Counted(1));  // takes the refresh
    buffer.informationChanged("ERROR Information", "one Line:1");
    buffer.countersChanged(Counted(2));
    buffer.informationChanged("WARNING Information", "two Line:2");
    RunDisplayBuffer::Changes changes = buffer.take();
    QCOMPARE(changes.counters->values[RunCounters::kTotalRecords], 1);
    QVERIFY(!changes.information.has_value());
    // The next call after the refresh publishes what the run holds by then.
    buffer.countersChanged(Counted(3));
    changes = buffer.take();
    QCOMPARE(changes.counters->values[RunCounters::kTotalRecords], 3);
    QCOMPARE(changes.information->first, std::string("WARNING Information"));
    QCOMPARE(changes.information->second, std::string("two Line:2"));
}

void RunDisplayBufferTest::publishesTheLineAndTheCountsOfOneRefresh() {
    // The counts of one line are published before the next line starts: the line must still
    // be published in the same refresh.
    RunDisplayBuffer buffer;
    buffer.countersChanged(Counted(5));
    buffer.lineStarted(6, "six");
    const RunDisplayBuffer::Changes changes = buffer.take();
    QVERIFY(changes.counters.has_value() && changes.line.has_value());
    QCOMPARE(changes.counters->values[RunCounters::kTotalRecords], 5);
    QCOMPARE(changes.line->first, 6);
}

void RunDisplayBufferTest::publishesProgressAndTimeAtOnce() {
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
}

void RunDisplayBufferTest::endsOnTheRunsFinalState() {
    RunDisplayBuffer buffer;
    buffer.countersChanged(Counted(40));  // takes the refresh
    buffer.countersChanged(Counted(41));
    buffer.informationChanged("Information", "Generating Summary...");
    buffer.informationChanged("Information", "");
    buffer.phaseChanged(RunPhase::Finished);
    const RunDisplayBuffer::Changes changes = buffer.take();
    QCOMPARE(*changes.phase, RunPhase::Finished);
    QCOMPARE(changes.counters->values[RunCounters::kTotalRecords], 41);
    QCOMPARE(changes.information->second, std::string());
}

void RunDisplayBufferTest::takesNothingTwice() {
    RunDisplayBuffer buffer;
    buffer.elapsedChanged("0:00:02");
    QVERIFY(buffer.take().elapsed.has_value());
    const RunDisplayBuffer::Changes again = buffer.take();
    QVERIFY(!again.elapsed && !again.progress && !again.phase && !again.counters &&
            !again.information && !again.line);
}

void RunDisplayBufferTest::handsOverBetweenThreads() {
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
    bool finished = false;
    while (!finished) {
        const RunDisplayBuffer::Changes changes = buffer.take();
        if (changes.line) {
            QVERIFY(changes.line->first > lastLine);  // lines only move forward
            lastLine = changes.line->first;
        }
        if (changes.counters) lastCount = changes.counters->values[RunCounters::kTotalRecords];
        finished = changes.phase == RunPhase::Finished;
        std::this_thread::yield();
    }
    run.join();
    QCOMPARE(lastCount, kLines);
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RunDisplayBufferTest)
#include "run_display_buffer_test.moc"
