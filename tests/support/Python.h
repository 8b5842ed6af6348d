// Running a short Python script of a test (the system's python3, which has the Debian modules
// the set-up installs, such as openpyxl) on files the test wrote: its exit status and output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace test_support {

struct TPythonRun {
  int Status = -1;
  // stdout and stderr together.
  std::string Out;
};

// The script reaches python3 on its standard input; the arguments are its sys.argv[1:].
inline TPythonRun RunPython(const std::string& script, const std::vector<std::string>& args) {
  std::string command = "/usr/bin/python3 -";
  for (const std::string& arg : args) {
    command += " '";
    for (const char c : arg) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "'";
  }
  command += " 2>&1 <<'PYTHON_SCRIPT_END'\n" + script + "\nPYTHON_SCRIPT_END\n";
  TPythonRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Out.append(buffer, n);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Parses an HTML file with Python's own parser and gives "balanced" when every element that
// needs an end tag is closed in order, else the first fault.
inline const char* kBalancedTagsScript = R"PY(
import sys
from html.parser import HTMLParser
VOID = {"meta", "br", "img", "hr", "input", "link", "area", "base", "col", "param"}
class Check(HTMLParser):
    def __init__(self):
        super().__init__()
        self.stack, self.fault = [], None
    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.stack.append((tag, self.getpos()))
    def handle_endtag(self, tag):
        if self.fault:
            return
        if not self.stack or self.stack[-1][0] != tag:
            self.fault = "unexpected </%s> at %s, open: %s" % (tag, self.getpos(), [t for t, _ in self.stack[-3:]])
        else:
            self.stack.pop()
check = Check()
check.feed(open(sys.argv[1], encoding="iso-8859-1").read())
check.close()
print(check.fault or ("unclosed %s" % check.stack if check.stack else "balanced"))
)PY";

}  // namespace test_support
