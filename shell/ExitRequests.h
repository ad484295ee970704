#pragma once

#include <QObject>

#include <functional>

class QSessionManager;
class QTimer;
class QWidget;

// Requests from outside to end the program: SIGTERM, SIGHUP and SIGINT (on
// systems with such signals) and the end of the desktop session. Each is
// taken as a close request of the frame: with an unchanged map the program
// ends; with a changed one the map window's question comes first, and No
// keeps everything running (and cancels the session's end).
class ExitRequests : public QObject {
    Q_OBJECT
public:
    explicit ExitRequests(QWidget& frame, QObject* parent = nullptr);
    ~ExitRequests() override;

    // True once a request has ended the program's event loops.
    bool Granted() const { return granted_; }

    // A request from a signal. While another modal window is open, a changed
    // map waits for it to close before the question comes, so that the map
    // is never taken from under a dialog that works on it.
    void Request();
    // The session's end: true when it may go on. canAsk tells whether the
    // session lets the program show its question (asked only when needed).
    bool SessionMayEnd(const std::function<bool()>& canAsk);

private:
    void WatchSignals();
    void ReadSignals();
    void OnSessionEnd(QSessionManager& manager);
    void End();

    QWidget& frame_;
    QTimer* modalWait_;
    int signalPipe_[2] = {-1, -1};
    bool asking_ = false;
    bool granted_ = false;
};
