#pragma once

#include <QString>
#include <QUrl>

namespace lumeno {

// Where the program may send requests or take files from: https anywhere, or plain http only to this
// machine (a local test or development server), so nothing on the way can read or alter what travels.
namespace ServerAddress {

bool isLoopbackHost(const QString& host);
// True for an https address, or an http one whose host is this machine.
bool isAccepted(const QUrl& url);

} // namespace ServerAddress

} // namespace lumeno
