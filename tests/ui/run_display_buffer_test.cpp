#include "ui/run_display_buffer.h"

#include <QTest>

namespace talveron {

namespace {

RunCounters Counted(std::int64_t records) {
    RunCounters counters;
    counters.values[RunCounters::kTotalRecords] = records;
    return counters;
}

std::int64_t Records(const RunDisplayBuffer::Changes& changes) {
    return changes.counters ? changes.counters->values[RunCounters::kTotalRecords] : -1;
}

}  // namespace

class RunDisplayBufferTest : public QObject {
    Q_OBJECT

private slots:
    void publishesPerLineStateOncePerRefresh() {
        RunDisplayBuffer buffer;
        // The counts of a line come before the next line starts: both go out in one refresh;
        // later calls wait for the next refresh and then publish what the run holds by then.
        buffer.countersChanged(Counted(5));
        buffer.lineStarted(1, "first");
        buffer.lineStarted(2, "second");
        buffer.countersChanged(Counted(6));
        buffer.informationChanged("ERROR Information", "one Line:1");
        RunDisplayBuffer::Changes changes = buffer.take();
        QCOMPARE(Records(changes), 5);
        QCOMPARE(*changes.line, (std::pair<std::int64_t, std::string>{1, "first"}));
        QVERIFY(!changes.information.has_value());
        buffer.informationChanged("WARNING Information", "two Line:2");
        buffer.lineStarted(3, "third");
        changes = buffer.take();
        QCOMPARE(Records(changes), 6);
        QCOMPARE(changes.information->first, std::string("WARNING Information"));
        QCOMPARE(changes.line->first, 3);
    }

    void publishesProgressTimeAndPhaseAtOnceAndOnlyOnce() {
        RunDisplayBuffer buffer;
        buffer.countersChanged(Counted(40));  // takes the refresh
        buffer.countersChanged(Counted(41));
        buffer.progressChanged(10, 3);
        buffer.progressChanged(11, 3);
        buffer.elapsedChanged("0:00:01");
        buffer.phaseChanged(RunPhase::Finished);  // and the run's final state with it
        const RunDisplayBuffer::Changes changes = buffer.take();
        QCOMPARE(*changes.progress, (std::pair{11, 3}));
        QCOMPARE(*changes.elapsed, std::string("0:00:01"));
        QCOMPARE(*changes.phase, RunPhase::Finished);
        QCOMPARE(Records(changes), 41);
        const RunDisplayBuffer::Changes again = buffer.take();
        QVERIFY(!again.elapsed && !again.progress && !again.phase && !again.counters &&
                !again.information && !again.line);
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RunDisplayBufferTest)
#include "run_display_buffer_test.moc"
