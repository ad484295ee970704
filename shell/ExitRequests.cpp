#include "shell/ExitRequests.h"

#include "document/MapModule.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <QWidget>

#include <functional>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The write end of the pipe the signal handler writes to; the event loop
// reads the other end.
int signalWriteEnd = -1;
constexpr int WatchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void OnExitSignal(int)
{
    const int savedError = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    errno = savedError;
}
}  // namespace
#endif

ExitRequests::ExitRequests(QWidget& frame, QObject* parent)
    : QObject(parent), frame_(frame), modalWait_(new QTimer(this))
{
    modalWait_->setSingleShot(true);
    modalWait_->setInterval(200);
    connect(modalWait_, &QTimer::timeout, this, &ExitRequests::Request);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &ExitRequests::OnSessionEnd, Qt::DirectConnection);
    WatchSignals();
}

ExitRequests::~ExitRequests()
{
#ifdef Q_OS_UNIX
    if (signalPipe_[0] < 0)
        return;
    for (const int signal : WatchedSignals)
        std::signal(signal, SIG_DFL);
    signalWriteEnd = -1;
    ::close(signalPipe_[0]);
    ::close(signalPipe_[1]);
#endif
}

void ExitRequests::WatchSignals()
{
#ifdef Q_OS_UNIX
    if (signalWriteEnd >= 0 || ::pipe2(signalPipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    signalWriteEnd = signalPipe_[1];
    auto* notifier = new QSocketNotifier(signalPipe_[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ExitRequests::ReadSignals);
    struct sigaction action {};
    action.sa_handler = OnExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : WatchedSignals)
        ::sigaction(signal, &action, nullptr);
#endif
}

void ExitRequests::ReadSignals()
{
#ifdef Q_OS_UNIX
    char bytes[64];
    while (::read(signalPipe_[0], bytes, sizeof bytes) > 0) {
    }
#endif
    Request();
}

void ExitRequests::Request()
{
    if (asking_ || granted_)
        return;
    if (QApplication::activeModalWidget() != nullptr) {
        // Nothing to lose: the dialogs' loops end with the program's.
        if (MapModule::MapChanged != MapModule::True)
            End();
        else
            modalWait_->start();
        return;
    }
    asking_ = true;
    const bool closed = frame_.close();
    asking_ = false;
    if (closed)
        End();
}

bool ExitRequests::SessionMayEnd(const std::function<bool()>& canAsk)
{
    if (MapModule::MapChanged != MapModule::True)
        return true;
    if (asking_ || QApplication::activeModalWidget() != nullptr || !canAsk())
        return false;
    asking_ = true;
    const bool closed = frame_.close();
    asking_ = false;
    return closed;
}

void ExitRequests::OnSessionEnd(QSessionManager& manager)
{
    if (!SessionMayEnd([&manager] { return manager.allowsInteraction(); }))
        manager.cancel();
    else
        manager.release();
}

void ExitRequests::End()
{
    granted_ = true;
    QCoreApplication::exit(0);
}
