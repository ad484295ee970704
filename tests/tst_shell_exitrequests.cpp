#include "document/MapModule.h"
#include "shell/ExitRequests.h"

#include <QCloseEvent>
#include <QDialog>
#include <QtTest>

// How a request from outside (a signal, the session's end) treats the frame:
// the map window's question itself is the frame's business, stood in for here
// by a frame that accepts or refuses its close.

namespace {

class StandInFrame : public QWidget {
public:
    bool accepts = true;
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closeRequests;
        event->setAccepted(accepts);
    }
};

}  // namespace

class TestExitRequests : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { MapModule::ResetDocument(); }

    void requests_data()
    {
        QTest::addColumn<bool>("session");     // the session's end, else a signal
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("modal");       // another modal window is open
        QTest::addColumn<bool>("canAsk");      // the session lets a question come
        QTest::addColumn<bool>("answerYes");   // the frame lets itself close
        QTest::addColumn<int>("closeRequests");
        QTest::addColumn<bool>("ends");
        QTest::newRow("signal, unchanged map") << false << false << false << true << true << 1 << true;
        QTest::newRow("signal, changed map, Yes") << false << true << false << true << true << 1 << true;
        QTest::newRow("signal, changed map, No") << false << true << false << true << false << 1 << false;
        QTest::newRow("signal, unchanged map under a dialog") << false << false << true << true << true << 0 << true;
        QTest::newRow("signal, changed map under a dialog waits") << false << true << true << true << true << 0 << false;
        QTest::newRow("session, unchanged map") << true << false << false << true << true << 0 << true;
        QTest::newRow("session, changed map, Yes") << true << true << false << true << true << 1 << true;
        QTest::newRow("session, changed map, No") << true << true << false << true << false << 1 << false;
        QTest::newRow("session, changed map, no question allowed") << true << true << false << false << true << 0
                                                                   << false;
        QTest::newRow("session, changed map under a dialog") << true << true << true << true << true << 0 << false;
    }
    void requests()
    {
        QFETCH(bool, session);
        QFETCH(bool, changed);
        QFETCH(bool, modal);
        QFETCH(bool, canAsk);
        QFETCH(bool, answerYes);
        QFETCH(int, closeRequests);
        QFETCH(bool, ends);
        StandInFrame frame;
        frame.accepts = answerYes;
        frame.show();
        QDialog dialog;
        if (modal) {
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
            QVERIFY(QApplication::activeModalWidget() == &dialog);
        }
        MapModule::MapChanged = changed ? MapModule::True : MapModule::False;
        ExitRequests requests(frame);

        bool ended = false;
        if (session)
            ended = requests.SessionMayEnd([canAsk] { return canAsk; });
        else {
            requests.Request();
            ended = requests.Granted();
        }

        QCOMPARE(frame.closeRequests, closeRequests);
        QCOMPARE(ended, ends);
        if (!session && modal && changed) {
            // The question comes once the dialog has gone.
            dialog.hide();
            QTRY_COMPARE(frame.closeRequests, 1);
            QCOMPARE(requests.Granted(), true);
        }
    }
};

QTEST_MAIN(TestExitRequests)
#include "tst_shell_exitrequests.moc"
