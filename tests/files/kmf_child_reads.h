// Reading the files a test child left, in a child of its own: a file damaged
// beyond reading ends that reader with the internal error, and the test then
// fails instead of ending.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf::testing {

// Runs `read` in a child process and returns its answer, so that a file
// damaged beyond reading (an internal error ends the reader) fails the test
// instead of ending it.
inline std::string ReadInChild(const std::function<std::string()>& reader) {
  int channel[2];
  if (pipe(channel) != 0) return "no pipe";
  pid_t pid = fork();
  if (pid == 0) {
    close(channel[0]);
    std::string print = reader();
    const char* data = print.data();
    for (size_t left = print.size(); left > 0;) {
      ssize_t put = write(channel[1], data, left);
      if (put <= 0) _exit(3);
      data += put;
      left -= static_cast<size_t>(put);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string print;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) print.append(buffer, got);
  close(channel[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "unreadable";
  return print;
}

// Everything a table holds, in key order of its first key.
inline std::string ReadFingerprint(const std::string& name) {
  auto table = TapeTable(name);
  if (table->Open(0x42) != 0) return "cannot open";
  std::string print = std::to_string(table->Records()) + ":";
  table->SetKey(0);
  while (table->Next() == 0) {
    print.append(table->record().begin(), table->record().end());
    print += table->memos()[0].substr(0, table->memos()[0].find_last_not_of(' ') + 1);
    print += '|';
  }
  table->Close();
  return print;
}

inline std::string Fingerprint(const std::string& name) {
  return ReadInChild([&] { return ReadFingerprint(name); });
}

}  // namespace rk::kmf::testing
