// Gathering the screens' changes: a burst makes one answer, a stream is answered at least once a
// while, and a layout already answered is not answered again.
#include "wallpaper/keeping/screen_follower.h"

#include <QSignalSpy>
#include <QTest>

namespace tidepool {

using namespace std::chrono_literals;

class ScreenFollowerTest : public QObject {
    Q_OBJECT

  private slots:
    void aBurstSettlesOnce() {
        ChangeGatherer gatherer(50ms, 1000ms);
        QSignalSpy settled(&gatherer, &ChangeGatherer::settled);
        for (int i = 0; i < 20; ++i)
            gatherer.noteChange();
        QVERIFY(settled.wait(5000));
        QTest::qWait(200);
        QCOMPARE(settled.count(), 1);
    }

    // Changes that never pause are answered at the longest wait, not only once they stop.
    void aStreamIsAnsweredWhileItLasts() {
        ChangeGatherer gatherer(200ms, 300ms);
        QSignalSpy settled(&gatherer, &ChangeGatherer::settled);
        QTimer stream;
        connect(&stream, &QTimer::timeout, &gatherer, &ChangeGatherer::noteChange);
        stream.start(20ms);
        gatherer.noteChange();
        QTRY_VERIFY_WITH_TIMEOUT(settled.count() >= 1, 5000);
        QVERIFY(stream.isActive());
        stream.stop();
    }

    // What a desktop redrawing its own background after an application looks like: a signal,
    // and the same screens as before.
    void theSameLayoutIsNotReportedAgain() {
        std::vector<Screen> now{{"A", 0, 0, 1280, 800, 1}};
        ScreenFollower follower([&now] { return now; }, 10ms, 100ms);
        follower.takeCurrentLayout();
        QSignalSpy changed(&follower, &ScreenFollower::layoutChanged);
        follower.noteChange();
        QTest::qWait(150);
        QCOMPARE(changed.count(), 0);

        now.push_back({"B", 1280, 0, 1024, 768, 2});
        follower.noteChange();
        QVERIFY(changed.wait(5000));
        QCOMPARE(follower.screens(), now);
        follower.noteChange();
        QTest::qWait(150);
        QCOMPARE(changed.count(), 1);
    }
};

} // namespace tidepool

QTEST_GUILESS_MAIN(tidepool::ScreenFollowerTest)
#include "screen_follower_test.moc"
