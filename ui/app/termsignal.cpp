#include "ui/app/termsignal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qb {

namespace {

int s_fds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // Async-signal-safe; a full pipe only drops a repeat of the same news.
    [[maybe_unused]] const ssize_t n = ::write(s_fds[0], &byte, 1);
    errno = saved;
}

} // namespace

CTermSignal::CTermSignal(QObject* parent) : QObject(parent)
{
    if (s_fds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0) return;
    ::fcntl(s_fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(s_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTermSignal::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) ::sigaction(number, &action, nullptr);
}

CTermSignal::~CTermSignal()
{
    if (!m_notifier) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) ::sigaction(number, &action, nullptr);
    delete m_notifier;
    ::close(s_fds[0]);
    ::close(s_fds[1]);
    s_fds[0] = s_fds[1] = -1;
}

void CTermSignal::readSignal()
{
    unsigned char byte = 0;
    while (::read(s_fds[1], &byte, 1) == 1) emit received(byte);
}

} // namespace qb
