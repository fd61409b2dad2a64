#include "common/ui/executeserver.h"

#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>
#else
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#endif

namespace tarvex {

namespace {

// The longest line a client may write: room for the longest path any platform takes, with
// every character in its longest UTF-8 form. A client that writes more without ending its line
// is cut off and asks for nothing, so that no peer makes the program hold what it sends.
constexpr qsizetype kMaxLine = 128 * 1024;
// The most clients served at once: each is a socket held until it has written its line, so a
// peer that opens connections and writes nothing could otherwise use up the program's files.
// A client beyond them is refused: its connection is closed as soon as it is taken.
constexpr int kMaxClients = 16;

QString LineOf(const QByteArray& bytes) {
  QString line = QString::fromUtf8(bytes);
  while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) line.chop(1);
  return line;
}

}  // namespace

#ifdef Q_OS_WIN

struct ExecuteServer::Impl {
  QLocalServer* server = nullptr;
  int clients = 0;  // sockets taken and not yet gone
};

ExecuteServer::ExecuteServer(QObject* parent) : QObject(parent), d_(new Impl) {}
ExecuteServer::~ExecuteServer() {
  delete d_->server;  // its sockets go with it, and count themselves off while d_ is there
  delete d_;
}

bool ExecuteServer::Listen(const QString& name) {
  delete d_->server;
  d_->server = nullptr;
  QLocalSocket probe;
  probe.connectToServer(name);
  if (probe.waitForConnected(200)) {
    probe.disconnectFromServer();
    return false;
  }
  QLocalServer::removeServer(name);
  auto* server = new QLocalServer(this);
  if (!server->listen(name)) {
    delete server;
    return false;
  }
  d_->server = server;
  server->setMaxPendingConnections(kMaxClients);
  connect(server, &QLocalServer::newConnection, this, [this, server] {
    while (QLocalSocket* sock = server->nextPendingConnection()) {
      if (d_->clients >= kMaxClients) {
        sock->abort();
        sock->deleteLater();
        continue;
      }
      ++d_->clients;
      connect(sock, &QObject::destroyed, this, [this] { --d_->clients; });
      connect(sock, &QLocalSocket::disconnected, sock, &QObject::deleteLater);
      connect(sock, &QLocalSocket::readyRead, this, [this, sock] {
        if (!sock->canReadLine()) {
          if (sock->bytesAvailable() > kMaxLine) sock->abort();
          return;
        }
        const QByteArray bytes = sock->readLine(kMaxLine + 1);
        sock->disconnectFromServer();
        if (bytes.endsWith('\n')) emit Request(LineOf(bytes));
      });
    }
  });
  return true;
}

#else

namespace {

// The socket's address; false when the path does not fit.
bool AddressOf(const QByteArray& path, sockaddr_un* addr) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  if (path.isEmpty() || size_t(path.size()) >= sizeof addr->sun_path) return false;
  std::memcpy(addr->sun_path, path.constData(), size_t(path.size()));
  return true;
}

// A client until it has written its line: its socket and what it wrote so far. It lives as long
// as the notifier that reads it (the notifier's connection holds it), so a client that never
// finishes is closed with the server.
struct Client {
  int fd = -1;
  QByteArray bytes;
  ~Client() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

struct ExecuteServer::Impl {
  int fd = -1;
  QByteArray path;
  QSocketNotifier* notifier = nullptr;
  int clients = 0;  // connections taken whose line has not been read yet

  void Close() {
    delete notifier;
    notifier = nullptr;
    if (fd >= 0) {
      ::close(fd);
      ::unlink(path.constData());
    }
    fd = -1;
  }
};

ExecuteServer::ExecuteServer(QObject* parent) : QObject(parent), d_(new Impl) {}

ExecuteServer::~ExecuteServer() {
  d_->Close();
  delete d_;
}

bool ExecuteServer::Listen(const QString& name) {
  d_->Close();
  const QString full = name.startsWith(QLatin1Char('/')) ? name : QDir::tempPath() + QLatin1Char('/') + name;
  const QByteArray path = QFile::encodeName(full);
  sockaddr_un addr;
  if (!AddressOf(path, &addr)) return false;
  const auto* sa = reinterpret_cast<const sockaddr*>(&addr);

  // Only a live server answers on the name: a socket file left behind by a crash does not.
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool taken = ::connect(probe, sa, sizeof addr) == 0;
  ::close(probe);
  if (taken) return false;
  ::unlink(path.constData());

  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  if (::bind(fd, sa, sizeof addr) != 0 || ::listen(fd, kMaxClients) != 0) {
    ::close(fd);
    return false;
  }
  d_->fd = fd;
  d_->path = path;
  d_->notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
  connect(d_->notifier, &QSocketNotifier::activated, this, [this] {
    for (;;) {
      const int c = ::accept4(d_->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (c < 0) return;
      if (d_->clients >= kMaxClients) {
        ::close(c);
        continue;
      }
      ++d_->clients;
      auto client = std::make_shared<Client>();
      client->fd = c;
      auto* notifier = new QSocketNotifier(qintptr(c), QSocketNotifier::Read, this);
      connect(notifier, &QSocketNotifier::activated, this, [this, client, notifier] {
        char buf[4096];
        bool done = false;
        for (;;) {
          const ssize_t n = ::read(client->fd, buf, sizeof buf);
          if (n < 0 && errno == EINTR) continue;
          if (n <= 0) {
            // End of stream, or an error other than "nothing more yet": the client is gone.
            done = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
          }
          const qsizetype had = client->bytes.size();
          client->bytes.append(buf, qsizetype(n));
          if (client->bytes.indexOf('\n', had) >= 0) break;
          if (client->bytes.size() > kMaxLine) {
            done = true;
            break;
          }
        }
        qsizetype nl = client->bytes.indexOf('\n');
        if (nl > kMaxLine) nl = -1;
        if (nl < 0 && !done) return;
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(client->fd);
        client->fd = -1;
        --d_->clients;
        const QByteArray line = nl < 0 ? QByteArray() : client->bytes.left(nl + 1);
        // A client that left without ending its line asked for nothing.
        if (nl >= 0) emit Request(LineOf(line));
      });
    }
  });
  return true;
}

#endif

}  // namespace tarvex
