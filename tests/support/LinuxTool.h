#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs a program of the Linux machine the private server runs on (bash with the scripts,
// isql-fb) and gives its exit code and output, also from a test built for Windows that runs
// under Wine. There a Windows program can start a Linux one, which inherits its environment and
// current folder, but gets none of its pipes, and no process handle comes back to wait on or to
// read the exit code from: so the Linux program runs inside /bin/sh, which reads the input from
// a file, writes the output into files and, once the program ended, its exit code into one more,
// all in a folder under the server's (TestServer::folder()) that both sides see.
//
// A program that cannot be started or does not end within the time throws TestServerError.
namespace tavrel::test {

struct LinuxToolResult {
  int exitCode = -1;  // -1 when it crashed
  QByteArray output;  // with QProcess::MergedChannels also the error output, in the order written
  QByteArray errors;  // with QProcess::SeparateChannels
};

LinuxToolResult runLinuxTool(const QString& program, const QStringList& arguments,
                             const QByteArray& input, QProcess::ProcessChannelMode channels,
                             const QProcessEnvironment& environment, int timeoutMs);

}  // namespace tavrel::test
