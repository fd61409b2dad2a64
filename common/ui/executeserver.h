#pragma once
// The execute-request server: a second program hands a running one a line of text (a path to
// open) by connecting to a named local socket and writing the line. On Linux the socket is a
// Unix-domain socket in the temporary folder, at the path QLocalServer gives a plain name, so
// QLocalSocket clients reach it; it is served with QtCore alone, so that the programs do not
// load Qt Network (and what it pulls in) at every start. On Windows it is a QLocalServer
// (a named pipe).
#include <QObject>
#include <QString>

namespace tarvex {

class ExecuteServer : public QObject {
  Q_OBJECT
 public:
  explicit ExecuteServer(QObject* parent = nullptr);
  ~ExecuteServer() override;

  // Serves the name. False when a live server already answers on it or the socket cannot be
  // made; a name left behind by a crashed program is taken over.
  bool Listen(const QString& name);

 signals:
  // One line a client wrote, without its line end; the client is disconnected first.
  void Request(const QString& line);

 private:
  struct Impl;
  Impl* d_;
};

}  // namespace tarvex
