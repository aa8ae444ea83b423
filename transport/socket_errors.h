#pragma once
// Socket failures as Windows Sockets error codes, and the library's texts for them.

#include <string>

namespace velnet {

// The Windows Sockets code for a POSIX errno value. An errno without a counterpart is returned as it
// is, so that the fallback text shows it.
int WsaCodeFromErrno(int err);

// The calling thread's last socket error (a Windows Sockets code), as the error texts read it.
int LastSocketError();
void SetLastSocketError(int wsaCode);
// Records errno, mapped, as the last socket error.
void RecordErrno();

enum class SocketOperation { Startup, Create, Setup, GetParameters, Bind };

// The operation's outer text around the code's own text, or around the operation's fallback text
// with the code as "%8.8d".
std::string SocketErrorText(SocketOperation op, int wsaCode);

} // namespace velnet
